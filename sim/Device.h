// The programmer device: takes the bytes the front end sends, carries out its commands on the
// chip, and says what to send back and when. It does no I/O and keeps no clock of its own:
// the caller feeds it the bytes it reads, tells it when the line has gone quiet in the middle
// of a frame or block, and sends the answers it returns (see Simulator).
//
// Commands and what they answer (a reply is 0x68, code, count, status, parameters, 0x16):
//   settings         0x99; the five data bytes are kept (erase and verify enables steer
//                    erase+program+verify)
//   erase            0x99 after the erase time; the chip is erased and unprotected
//   download header  no reply; the blocks follow raw, each checked, the next asked for with
//                    0x55 and its number; 0x99 and the length (image size / 16, high byte
//                    first) after the last, 0x00 on a bad block. A new header drops the image
//                    of the previous download; only a download that ends well gives one.
//   program          0x99 after the programming time, or 0x00 when there is no image
//   verify           0x99, 0xEE with the first mismatch (address high, low, value written,
//                    value read), 0x11 when read-protected, 0x00 when there is no image
//   read-out         one 4096-byte page per burst, kPageGap apart, the additional window's page
//                    first; 0x11 when read-protected, 0x00 for a size or model it cannot read
//   erase+program+verify  as the three in turn, erase and verify as the settings enable them
// Bad input: noise outside frames and frames with an unknown code are skipped; a frame with a
// known code but a wrong length or no end byte gets 0x00 for that code. A frame where a block
// belongs ends the download without a reply; a block left unfinished when the line goes quiet
// ends it with 0x00.
//
// Work times are proportional to the flash size (the last header's or read-out's, 64 KiB until
// one arrives) and scaled by `workScale`; 0 makes them none.
//
// Qt-free; one thread at a time.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/Answer.h"
#include "sim/Chip.h"
#include "sim/Download.h"
#include "sim/Fault.h"
#include "sim/InputParser.h"
#include "sim/Trace.h"

namespace vortana::sim {

struct DeviceConfig {
    double workScale = 1.0;
    bool readProtected = false;
    Bytes fill;  // the chip's contents from address 0000 on; the rest stays erased
};

// The data bytes of a settings frame.
struct Settings {
    std::uint8_t mode = 0;           // 0x55 online, 0xAA offline
    std::uint8_t supply = 0;         // 0x50 5 V, 0x33 3.3 V, 0x00 none
    std::uint8_t burnCountHigh = 0;  // packed decimal, thousands and hundreds
    std::uint8_t burnCountLow = 0;   // packed decimal, tens and units
    std::uint8_t enables = 0;        // high nibble 5: no erase; low nibble 5: no verify

    static Settings FromData(std::span<const std::uint8_t> data);  // the 5 data bytes

    bool EraseEnabled() const { return enables >> 4 != 5; }
    bool VerifyEnabled() const { return (enables & 0xF) != 5; }
};

struct ReceivedFrame {
    std::uint8_t code;
    Bytes data;
};

// Everything the device has received and holds, for inspection.
struct DeviceState {
    std::vector<ReceivedFrame> frames;     // every well-formed frame, in order
    std::vector<Bytes> blocks;             // every whole block, good or bad, as received
    std::size_t badInputs = 0;             // noise runs, bad frames, unfinished frames and blocks
    std::optional<DownloadHeader> header;  // the last download header
    std::optional<Settings> settings;      // the last settings
    Image image;                           // the last download that ended well, else empty
    Chip chip;
    std::chrono::milliseconds work{0};  // device work waited out before answers, in total
};

class Device {
  public:
    Device(const DeviceConfig& config, const Trace& trace);

    // Takes bytes received from the front end; returns what to send back, in order.
    std::vector<Answer> Feed(std::span<const std::uint8_t> bytes);

    // True while part of a frame or block has arrived and the rest has not.
    bool HoldsIncomplete() const { return parser_.HoldsIncomplete(); }
    // The line went quiet in the middle of a frame or block: give it up.
    std::vector<Answer> LineWentQuiet();

    void ArmFault(const Fault& fault) { faults_.Arm(fault); }
    std::size_t FaultsWaiting() const { return faults_.Waiting(); }

    const DeviceState& State() const { return state_; }

  private:
    void Handle(InputParser::Event& event, std::vector<Answer>& answers);
    void HandleBadFrame(const InputParser::Event& event, std::vector<Answer>& answers);
    std::optional<Answer> OnFrame(const CommandInfo& command, std::span<const std::uint8_t> data);
    void OnDownloadHeader(std::span<const std::uint8_t> data);
    Answer OnBlock(const Bytes& block);
    Answer FailDownload(const std::string& why);
    void EndDownload();
    Answer OnProgram();
    Answer OnVerify(std::uint8_t code, std::chrono::milliseconds work);
    Answer OnReadOut(std::span<const std::uint8_t> data);
    Answer OnEraseProgramVerify();
    Answer Reply(std::uint8_t code, std::uint8_t status, std::chrono::milliseconds work = {},
                 std::span<const std::uint8_t> parameters = {}, std::string detail = {});
    std::chrono::milliseconds WorkTime(int msPerK, int sizeK) const;
    void Deliver(Answer answer, std::vector<Answer>& answers);

    double workScale_;
    const Trace& trace_;
    InputParser parser_;
    std::optional<Download> download_;
    FaultQueue faults_;
    int flashK_;
    DeviceState state_;
};

}  // namespace vortana::sim
