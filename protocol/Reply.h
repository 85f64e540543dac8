// The device's reply as the front end reads it: a run of bytes copied to the start of
// SessionState::ReplyBuffer, read at fixed offsets. Bytes 0 to 2 and the length are never
// examined (except by the read-out, which tells pages from status replies by length). What a
// reply means to the operation awaiting it is decided in protocol/ReplyMeaning.h.
// Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vortana {

// clang-format off
// Offsets into a reply.
inline constexpr std::size_t kReplyStatus = 3;  // status code, table below
inline constexpr std::size_t kReplyParam1 = 4;  // block number; failing address high; length high
inline constexpr std::size_t kReplyParam2 = 5;  // failing address low; length low
inline constexpr std::size_t kReplyWritten = 6; // value written at the failing address
inline constexpr std::size_t kReplyReadBack = 7;  // value read back from it
inline constexpr std::size_t kReplyHead = 8;    // bytes the front end may read

// Status codes.
enum ReplyStatus : std::uint8_t {
    //                       code     meaning                            expected after
    kStatusFailure         = 0x00,  // failure                            every command
    kStatusProtected       = 0x11,  // chip read-protected                CheckCmd, EPCCmd, ReadCmd
    kStatusBlockRequest    = 0x55,  // send image block n (byte 4)        LoadCmd only
    kStatusSuccess         = 0x99,  // success                            every command
    kStatusMismatch        = 0xEE,  // verify mismatch, bytes 4 to 7      CheckCmd, EPCCmd
};
// clang-format on

// A reply shorter than this has no status byte and is ignored.
inline constexpr std::size_t kMinStatusReplyLength = kReplyStatus + 1;
// The longest a reply can be: byte 2 counts the bytes from the status up to the end byte, in one
// byte. A longer burst is no reply, whatever its byte 3 holds (an earlier read-out's page, noise).
inline constexpr std::size_t kMaxReplyLength = kReplyStatus + 0xFF + 1;
// During a read-out, an event this long or shorter (while no page is partly received) is a
// status reply; a longer one is page data.
inline constexpr std::size_t kMaxStatusReplyLength = 5;

// Bytes 4 to 7 of a reply, each where the reply holds it: a byte the reply is too short for is
// missing, never zero and never an earlier reply's.
using ReplyParameters = std::array<std::optional<std::uint8_t>, kReplyHead - kReplyParam1>;

// Parameter bytes as the window shows them: two upper-case hexadecimal digits each, "??" for one
// the reply did not hold. `first` and `count` pick them from bytes 4 to 7.
std::string ParameterText(const ReplyParameters& parameters, std::size_t first, std::size_t count);

// "校验没通过，错误地址：4F3A,  写入是 12 读出是 FF" from bytes 4 to 7 of a 0xEE reply.
std::string MismatchReport(const ReplyParameters& parameters);

// The length that a 0x99 reply to the download reports: bytes 4 and 5 as four upper-case
// hexadecimal digits, high byte first ("1000").
std::string DownloadLengthText(const ReplyParameters& parameters);

}  // namespace vortana
