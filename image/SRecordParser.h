// SRecordParser: the record layer of the S-record loader. It takes two-character tokens and
// line ends, runs the record states over them and reports each record to an SRecordSink.
//
// Every line that gives a token holds a record: its first token is "S" and the type's digit.
// Records start with "S0", "S1" or "S9"; any other token at a record start is skipped, which
// passes over the records "S5" to "S8", which carry no data, token by token. A record is the
// count byte, two address bytes, count - 3 data bytes and a checksum, each one token of two
// hexadecimal digits (either case). Only S1 records carry data into the image and have their
// checksum checked; S0 and S9 records are walked through. The token after
// the checksum is skipped (the line end, when a file is fed two characters at a time); a line end
// always brings the parser back to the record start. A token of one character (the odd end of a
// line) holds no field and is skipped.
//
// The parse fails, for good, with the first of:
//  - a line that starts no record: its first character is not "S", its type is S2 or S3 (24- or
//    32-bit addresses, which this 16-bit image cannot hold as the file means them), or it is
//    no record type at all (S4, or no digit);
//  - a field of a record read (S0, S1, S9) that is not two hexadecimal digits: the line is no
//    S-record, however right its checksum would be with the field read as 00;
//  - a count below 3 (there would be no end to the record's data);
//  - an address the sink refuses (the file does not fit the chosen model), checked as soon as
//    the address is read;
//  - an S1 record whose checksum differs from the one its bytes call for, or that its line
//    end cut short before its checksum;
//  - at the end of the file, not a single S1 record with data (an empty file, a header and an
//    end record alone, or a file of another format).
// Message texts are the ones the user sees. A sink hears of an S1 record's data only once its
// checksum has been found right, so a refused record is never stored.
//
// Qt-free; one parser per file, used by one thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vortana {

inline constexpr std::string_view kAddressMismatchMessage =
    "所选型号跟烧写文件地址不符，请重新选择！";

struct SRecordHead {
    std::string_view type;         // "S0", "S1" or "S9"
    std::uint8_t count = 0;        // bytes after the count: address, data, checksum
    std::string_view addressText;  // the four address characters as they stand in the file
    std::uint16_t address = 0;     // addressText read as hexadecimal

    // Data bytes the record carries into the image: only S1 records carry any.
    std::uint32_t StoredLength() const;
};

// Why a parse failed: the message the user sees and the line it stopped on, counting from 1.
struct SRecordFailure {
    std::string message;
    std::size_t line = 0;
};

// Where the parser's records go. Called only from the parser, in file order.
class SRecordSink {
  public:
    virtual ~SRecordSink() = default;
    // A record's address has just been read. False refuses the record: the parse then fails
    // with the mismatch message.
    virtual bool Fits(const SRecordHead& head) = 0;
    // An S1 record whose checksum is right: its head.StoredLength() data bytes, two characters
    // each, as they stand in the file.
    virtual void Store(const SRecordHead& head, std::string_view data) = 0;
};

class SRecordParser {
  public:
    explicit SRecordParser(SRecordSink& sink) : sink_(sink) {}

    // Each returns false once the parse has failed; later calls are then ignored.
    bool Token(std::string_view token);
    bool LineEnd();
    // The file has ended: fails when no S1 record brought data.
    bool End();

    // Why the parse failed, or nullopt while it has not. Lines are counted by the line ends.
    const std::optional<SRecordFailure>& Failure() const { return failure_; }

  private:
    enum class State { RecordStart, Count, AddressHigh, AddressLow, Data, CheckSum, AfterRecord };

    bool Fail(std::string message);
    bool LineFailure(std::string_view what);
    bool StartsRecordLine(std::string_view token);
    bool CheckSumFailure(std::uint8_t expected);
    std::uint8_t ExpectedCheckSum() const;
    bool IsS1() const;
    std::uint32_t DataLength() const;  // data bytes the record's count announces
    SRecordHead Head() const;

    SRecordSink& sink_;
    State state_ = State::RecordStart;
    std::array<char, 2> type_{};
    std::uint8_t count_ = 0;
    std::array<char, 4> addressText_{};
    std::size_t addressLength_ = 0;  // address characters read so far
    std::uint16_t address_ = 0;
    std::uint32_t dataRead_ = 0;  // data bytes read so far
    std::uint32_t sum_ = 0;
    std::array<char, 2 * 255> data_{};  // the S1 record's data characters until its checksum
    std::size_t line_ = 1;
    bool atLineStart_ = true;  // no token of the current line has been taken yet
    bool storedData_ = false;  // an S1 record has brought data
    std::optional<SRecordFailure> failure_;
};

// Runs the whole file through the tokeniser and the parser: why it failed, or nullopt when every
// record was accepted.
std::optional<SRecordFailure> ParseSRecordFile(std::string_view file, SRecordSink& sink);

}  // namespace vortana
