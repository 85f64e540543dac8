// Fuzz target: the reply dispatcher run by a script of user actions, timer ticks and receive
// events, through a host that checks every call the dispatcher makes.
//
// The input is a script: each step's first byte picks an action, the following bytes its
// details (a model, a burn count, the bytes of a reply, a number of ticks). Clicks happen only
// at the top level; while a message box is open, the script may deliver replies and ticks, as
// the box's nested event loop would. Timers tick only while enabled (Timer1 only with a period).
//
// Checked, with models of this file's own:
//  - only whole command frames of the operation just started go out, with the session's bytes,
//    and only whole download blocks of the current image, the one the device asked for;
//  - read-out rows list, in order, exactly the bytes received as page data in this read-out
//    (an event of five bytes or fewer while no page is partly received is a status reply), at
//    the model's addresses; every whole page received is listed or, with a FlashSizeK that is
//    no number, dropped with the conversion error;
//  - a message box shows one of the texts of the pending operation (or the time-out, with
//    Timer2 already stopped); the program buttons are enabled only after a download success box;
//  - a reply too short for a status does nothing; a reply never changes CmdKind; ReplyBuffer
//    holds the last event's bytes over what earlier ones left; the progress never passes 100 %;
//  - a command started on a closed port sends nothing, changes no CmdKind or timer and shows
//    only the closed-port box, once; a lost line stops both timers and shows the loss once
//    exactly when Timer2 was running;
//  - no exception but the conversion error of a bad burn count or a bad FlashSizeK;
//  - every event's meaning (protocol/ReplyMeaning.h, which the command-line programmer shares)
//    agrees with a model of the operation table: action, failure, status, and bytes 4 to 7
//    present exactly where the event holds them.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "protocol/Dispatcher.h"
#include "protocol/ReplyMeaning.h"
#include "shell/Convert.h"

namespace {

using vortana::fuzz::Check;

using vortana::SessionState;

constexpr std::size_t kPage = 4096;
constexpr std::size_t kBlock = vortana::kImageBlockSize;
constexpr int kMaxNesting = 3;                      // message boxes open at once
constexpr std::size_t kLongReplyLimit = 12 * 1024;  // a long reply: up to three pages
constexpr std::size_t kReceivedLimit = 256 * 1024;  // bytes one input may generate in all

// The script: bytes read in order; past its end every read gives 0.
class Script {
  public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return next_ >= size_; }
    std::uint8_t Byte() { return next_ < size_ ? data_[next_++] : 0; }
    std::uint16_t Word() {
        const std::uint8_t high = Byte();
        return static_cast<std::uint16_t>(high << 8 | Byte());
    }
    std::span<const std::uint8_t> Bytes(std::size_t count) {
        const std::size_t taken = std::min(count, size_ - std::min(next_, size_));
        const std::span<const std::uint8_t> bytes(data_ + next_, taken);
        next_ += taken;
        return bytes;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t next_ = 0;
};

// A text read as hexadecimal the way the system reads its address texts: one to eight digits,
// otherwise 0.
std::uint32_t HexValue(std::string_view text) {
    return static_cast<std::uint32_t>(vortana::HexToIntDef(text));
}

std::optional<std::int32_t> Decimal(const std::string& text) {
    try {
        return vortana::StrToInt(text);
    } catch (const vortana::EConvertError&) {
        return std::nullopt;
    }
}

// The window the device sends first in a read-out, by the code byte the frames carry (so "0xb0"
// reads as 0xB0).
std::uint32_t WindowBase(const std::string& code) {
    if (code == "0xB0" || code == "0xB2" || code == "0xb0")
        return 0xB000;
    if (code == "0x10" || code == "0x14")
        return 0x1000;
    return 0;
}

constexpr const char* kCodeTexts[] = {"0x00", "0x10", "0x14", "0xB0", "0xB2", "0xb0", "0x77", ""};
constexpr const char* kBadTexts[] = {"", "XYZ", "4K", " 8", "+12", "-4", "99999999999"};
constexpr std::uint32_t kOddImageSizes[] = {1, 4095, 69632, 0x7FFFFFFF, 0xFFFFFFFF};

// The texts each operation may show, by CmdKind; the download's success text is followed by
// four hexadecimal digits ("??" in place of two where the reply ends early).
struct Texts {
    std::vector<std::string_view> exact;
    std::string_view prefix;  // mismatch report or download success
};

const Texts& TextsOf(std::uint8_t cmdKind) {
    static const std::string_view kProtectedVerify = "目标芯片已加密，无法校验。";
    static const std::string_view kMismatch = "校验没通过，错误地址：";
    static const Texts kNone{};
    static const Texts kTable[] = {
        {{"设置成功!请重新 选择型号及加载文件", "设置失败,可能是目标已供电或连接线问题"}, {}},
        {{"擦 除 成 功！", "擦 除 失 败"}, {}},
        {{"编 程 成 功", "编 程 失 败"}, {}},
        {{"校 验 成 功!", "校 验 失 败", kProtectedVerify}, kMismatch},
        {{"目标芯片已加密，无法读出。", "读 出 失 败！"}, {}},
        {{"擦除、编程、校验 成功!", "擦除、编程、校验 失 败", kProtectedVerify}, kMismatch},
        {{"文 件 加 载 失 败"}, "文件加载成功，长度是 "},
    };
    return cmdKind >= 1 && cmdKind <= 7 ? kTable[cmdKind - 1] : kNone;
}

// Byte texts: two hexadecimal digits each, or "??" for a byte the reply did not hold.
bool IsByteTexts(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const std::string_view pair = text.substr(i, 2);
        if (pair != "??" && !(std::isxdigit(static_cast<unsigned char>(pair[0])) &&
                              std::isxdigit(static_cast<unsigned char>(pair[1]))))
            return false;
    }
    return text.size() % 2 == 0;
}

bool IsShownFor(std::uint8_t cmdKind, const std::string& text) {
    const Texts& texts = TextsOf(cmdKind);
    if (std::find(texts.exact.begin(), texts.exact.end(), text) != texts.exact.end())
        return true;
    if (texts.prefix.empty() || !text.starts_with(texts.prefix))
        return false;
    const std::string_view rest = std::string_view(text).substr(texts.prefix.size());
    if (cmdKind == vortana::kCmdDownload)
        return rest.size() == 4 && IsByteTexts(rest);
    // "4F3A,  写入是 12 读出是 FF"
    return rest.size() > 4 && IsByteTexts(rest.substr(0, 4)) && rest.substr(4).starts_with(",  ");
}

// What the dispatcher may send during the step now running.
struct SendRule {
    int frameCode = -1;  // the command frame's code, -1: none
    int block = -1;      // the download block, -1: none
    int sends = 0;       // sends seen
};

// The bytes of the current read-out, as the device sent them, and how far they were listed.
struct ReadOutModel {
    std::vector<std::uint8_t> received;  // page data since the read-out started
    std::size_t taken = 0;               // bytes of it listed or dropped
    std::uint32_t pages = 0;             // pages listed or dropped, as ReadPageCount counts
    std::uint32_t nextRowAddress = 0;    // after the last row listed, in any read-out

    void Start() {
        received.clear();
        taken = 0;
        pages = 0;
    }
    bool PartlyReceived() const { return received.size() > taken; }
};

class CheckingHost final : public vortana::OperationHost {
  public:
    CheckingHost(SessionState& state, Script& script) : state_(state), script_(script) {}

    void Attach(vortana::Dispatcher& dispatcher) { dispatcher_ = &dispatcher; }

    void RunScript() {
        while (!script_.Done())
            Step(false);
    }

    // OperationHost
    bool PortOpen() const override { return portOpen_; }
    void SendBytes(std::span<const std::uint8_t> bytes) override;
    void ShowMessage(const std::string& text) override;
    void SetProgressLabel(const std::string& text) override;
    void SetElapsedLabel(const std::string& text) override;
    void SetTimer1Interval(std::uint32_t ms) override {
        ++calls_;
        timer1Interval_ = ms;
    }
    void SetTimer1Enabled(bool enabled) override {
        ++calls_;
        timer1Enabled_ = enabled;
    }
    void SetTimer2Enabled(bool enabled) override {
        ++calls_;
        timerStarts_ += enabled ? 1 : 0;
        timer2Enabled_ = enabled;
    }
    void ClearReadOut() override {
        ++calls_;
        Check(inReadOutStart_, "the read-out view emptied outside the read-out start");
    }
    void AppendReadOutRows(std::span<const std::string> rows) override;
    void SettingsSent() override {
        ++calls_;
        Check(inSettings_, "the model boxes reset outside the settings command");
    }
    void DownloadAccepted() override {
        ++calls_;
        Check(successBoxes_ > 0, "the program buttons enabled without a download success");
        --successBoxes_;
    }

  private:
    enum Action : std::uint8_t {
        kChooseModel,
        kSettings,
        kErase,
        kProgram,
        kVerify,
        kEpc,
        kReadOut,
        kDownload,
        kChoosePort,
        kShortReply,
        kLongReply,
        kTimer1,
        kTimer2,
        kHangUp,
        kActionCount
    };

    void Step(bool nested);
    void ChooseModel();
    void Settings();
    void BareCommand(Action action);
    void ReadOut();
    void Download();
    void Receive(std::span<const std::uint8_t> bytes);
    void LongReply();
    void TickTimer1();
    void TickTimer2();
    void HangUp();
    void CheckRows(std::span<const std::string> rows, std::uint32_t address,
                   const std::uint8_t* bytes);

    // The send rule of one step, the rule of the step around it back when it ends.
    class ExpectSends {
      public:
        ExpectSends(CheckingHost& host, SendRule rule) : host_(host), outer_(host.sendRule_) {
            host_.sendRule_ = rule;
        }
        ~ExpectSends() { host_.sendRule_ = outer_; }
        int Sends() const { return host_.sendRule_.sends; }

      private:
        CheckingHost& host_;
        SendRule outer_;
    };

    // Runs `start` (a click, or the load going on after its file dialog) expecting sends by
    // `rule` on an open port, and on a closed one nothing but the closed-port box. Returns
    // whether the port was open.
    template <typename Start>
    bool Begin(SendRule rule, bool sendsOne, Start start) {
        const bool open = portOpen_;
        const std::uint8_t kindBefore = state_.CmdKind;
        const int timerStartsBefore = timerStarts_;
        const ExpectSends expect(*this, open ? rule : SendRule{});
        refusalDue_ = !open;
        start();
        if (open) {
            Check(!sendsOne || expect.Sends() == 1, "a command start that sent no frame");
        } else {
            Check(!refusalDue_ && expect.Sends() == 0 && state_.CmdKind == kindBefore &&
                      timerStarts_ == timerStartsBefore,
                  "a command on a closed port was not refused at once, or did something");
        }
        return open;
    }
    template <typename Start>
    bool Click(int code, Start start) {
        return Begin({code, -1, 0}, true, start);
    }

    SessionState& state_;
    Script& script_;
    vortana::Dispatcher* dispatcher_ = nullptr;
    std::array<std::uint8_t, vortana::kReplyBufferSize> replyShadow_{};
    ReadOutModel readOut_;
    SendRule sendRule_;
    std::size_t calls_ = 0;  // host calls so far
    std::size_t receivedTotal_ = 0;
    std::vector<std::uint8_t> longReply_;
    int nesting_ = 0;
    int successBoxes_ = 0;  // download success boxes whose buttons are not yet enabled
    int lineLostBoxes_ = 0;
    int hangUps_ = 0;      // lost-line notices being handled, nested ones included
    int timerStarts_ = 0;  // Timer2 enabled, ever
    bool portOpen_ = true;
    bool refusalDue_ = false;  // a start on a closed port, not yet refused
    bool inReadOutStart_ = false;
    bool inSettings_ = false;
    bool timer1Enabled_ = false;
    bool timer2Enabled_ = false;
    std::uint32_t timer1Interval_ = 0;
};

void CheckingHost::Step(bool nested) {
    const std::uint8_t choice = script_.Byte();
    // Inside a message box only the line and the timers can do anything.
    const auto action = static_cast<Action>(
        nested ? kShortReply + choice % (kActionCount - kShortReply) : choice % kActionCount);
    switch (action) {
        case kChooseModel:
            return ChooseModel();
        case kSettings:
            return Settings();
        case kErase:
        case kProgram:
        case kVerify:
        case kEpc:
            return BareCommand(action);
        case kReadOut:
            return ReadOut();
        case kDownload:
            return Download();
        case kChoosePort:
            portOpen_ = script_.Byte() % 4 != 0;  // a port chosen again: it opens, or not
            return;
        case kShortReply:
            return Receive(script_.Bytes(script_.Byte() % 12));
        case kLongReply:
            return LongReply();
        case kTimer1:
            return TickTimer1();
        case kTimer2:
            return TickTimer2();
        case kHangUp:
            return HangUp();
        case kActionCount:
            break;
    }
}

// What a catalogue pick or a stale session may leave: any code text, start and end values or
// texts that are none, a FlashSizeK that is no number, an image size the tables cannot hold.
void CheckingHost::ChooseModel() {
    const std::uint8_t code = script_.Byte();
    const std::uint8_t size = script_.Byte();
    const std::uint16_t start = script_.Word();
    const std::uint16_t end = script_.Word();
    char text[8];
    state_.ModelCode = kCodeTexts[code % std::size(kCodeTexts)];
    std::snprintf(text, sizeof text, "%04X", start);
    state_.FlashStart = code & 0x80 ? kBadTexts[start % std::size(kBadTexts)] : text;
    std::snprintf(text, sizeof text, "%04X", end);
    state_.FlashEnd = text;
    state_.FlashSizeK =
        size < 0xE0 ? std::to_string(size % 70) : kBadTexts[size % std::size(kBadTexts)];
    state_.ImageSize = size < 0xF0 ? (size % 17) * 4096u : kOddImageSizes[size % 5];
    const std::span<const std::uint8_t> serial = script_.Bytes(state_.SerialNumberBytes.size());
    std::copy(serial.begin(), serial.end(), state_.SerialNumberBytes.begin());
    state_.SerialIncrement = script_.Byte();
}

void CheckingHost::Settings() {
    vortana::SettingsControls controls;
    controls.RadioGroup1 = script_.Byte() % 3 - 1;
    controls.RadioGroup2 = script_.Byte() % 3 - 1;
    controls.RadioGroup4 = script_.Byte() % 3 - 1;
    controls.RadioGroup5 = script_.Byte() % 3 - 1;
    const std::uint16_t count = script_.Word();
    controls.Edit4 =
        count < 0xF000 ? std::to_string(count % 10500) : kBadTexts[count % std::size(kBadTexts)];
    const std::optional<std::int32_t> burnCount = Decimal(controls.Edit4);
    const bool valid = burnCount && *burnCount >= 0 && *burnCount <= 9999;
    const std::uint8_t kindBefore = state_.CmdKind;
    inSettings_ = true;
    try {
        if (Click(0x06, [&] { dispatcher_->Button8Click(controls); })) {
            Check(valid, "a burn count that is no count was sent");
            Check(state_.CmdKind == vortana::kCmdSettings, "the settings command set no CmdKind");
        }
    } catch (const vortana::EConvertError&) {
        // Nothing was sent: the frame rule would have stopped a send with a second one.
        Check(portOpen_ && !valid && state_.CmdKind == kindBefore,
              "a good burn count refused, or a refused one changed the pending operation");
    }
    inSettings_ = false;
}

void CheckingHost::BareCommand(Action action) {
    struct Bare {
        void (vortana::Dispatcher::*click)();
        int code;
        vortana::CmdKindValue kind;
    };
    static constexpr Bare kBare[] = {
        {&vortana::Dispatcher::Button3Click, 0x01, vortana::kCmdErase},
        {&vortana::Dispatcher::Button4Click, 0x02, vortana::kCmdProgram},
        {&vortana::Dispatcher::Button5Click, 0x03, vortana::kCmdVerify},
        {&vortana::Dispatcher::Button6Click, 0x05, vortana::kCmdEpc},
    };
    const Bare& bare = kBare[action - kErase];
    if (!Click(bare.code, [&] { (dispatcher_->*bare.click)(); }))
        return;
    Check(state_.CmdKind == bare.kind, "a command start set the wrong CmdKind");
    Check(timer1Enabled_ && timer2Enabled_ && state_.ProgressPercent == 0,
          "a command start did not start the timers from 0 %");
}

void CheckingHost::ReadOut() {
    inReadOutStart_ = true;
    const bool started = Click(0x04, [&] { dispatcher_->Button7Click(); });
    inReadOutStart_ = false;
    if (!started)
        return;
    readOut_.Start();
    Check(state_.CmdKind == vortana::kCmdReadOut && state_.ReadPageCount == 0,
          "the read-out start set the wrong CmdKind or page count");
}

// The load-file button: the header, then the file dialog (whose event loop may deliver replies
// and ticks), then, for a file that loaded, block 0.
void CheckingHost::Download() {
    bool started = false;
    if (!Click(0x00, [&] { started = dispatcher_->StartDownload(); }))
        return Check(!started, "a download started on a closed port");
    Check(started, "a download on an open port said it did not start");
    Check(state_.CmdKind == vortana::kCmdDownload, "the download start set the wrong CmdKind");
    const std::uint8_t dialog = script_.Byte();
    ++nesting_;
    for (int i = 0; i < dialog % 3; ++i)
        Step(true);
    --nesting_;
    if (dialog & 0x80)
        return;  // cancelled, or a file refused: no block goes out
    Begin({-1, 0, 0}, false, [&] { dispatcher_->SendFirstBlock(); });
}

void CheckingHost::LongReply() {
    const std::uint16_t word = script_.Word();
    std::size_t length = word == 0xFFFF ? 0xFFFF : word % kLongReplyLimit;
    length = std::min(length, kReceivedLimit - std::min(receivedTotal_, kReceivedLimit));
    const std::uint8_t first = script_.Byte();
    const std::uint8_t step = script_.Byte() | 1;
    longReply_.resize(length);
    for (std::size_t i = 0; i < length; ++i)
        longReply_[i] = static_cast<std::uint8_t>(first + step * i + (i >> 8));
    const std::vector<std::uint8_t> reply = longReply_;  // a nested reply may reuse the buffer
    Receive(reply);
}

// The operation table's statuses, written out again: what an event means to `cmdKind`.
void CheckMeaning(std::uint8_t cmdKind, std::span<const std::uint8_t> bytes, bool partlyReceived) {
    using vortana::ReplyAction;
    using vortana::ReplyFailure;
    const vortana::ReplyMeaning meaning = vortana::MeaningOf(cmdKind, bytes, partlyReceived);
    const bool pageData = cmdKind == vortana::kCmdReadOut && (partlyReceived || bytes.size() > 5);
    ReplyAction action = ReplyAction::Wait;
    ReplyFailure failure = ReplyFailure::Device;
    const bool known = cmdKind >= vortana::kCmdSettings && cmdKind <= vortana::kCmdDownload;
    const bool verifying = cmdKind == vortana::kCmdVerify || cmdKind == vortana::kCmdEpc;
    if (pageData) {
        action = ReplyAction::Page;
    } else if (known && bytes.size() > 259) {
        action = ReplyAction::NotAReply;  // longer than any frame: no status in it
    } else if (known && bytes.size() >= 4) {
        const std::uint8_t status = bytes[3];
        action = ReplyAction::Unexpected;
        if (status == 0x99 && cmdKind != vortana::kCmdReadOut)
            action = ReplyAction::Done;
        if (status == 0x00)
            action = ReplyAction::Failed;
        if (status == 0x11 && (verifying || cmdKind == vortana::kCmdReadOut)) {
            action = ReplyAction::Failed;
            failure = ReplyFailure::Protected;
        }
        if (status == 0xEE && verifying) {
            action = ReplyAction::Failed;
            failure = ReplyFailure::Mismatch;
        }
        if (status == 0x55 && cmdKind == vortana::kCmdDownload)
            action = bytes.size() > 4 ? ReplyAction::SendBlock : ReplyAction::Wait;
        Check(meaning.status == status, "a reply's meaning with another status");
        for (std::size_t i = 0; i < 4; ++i)
            Check(meaning.parameters[i] == (4 + i < bytes.size()
                                                ? std::optional<std::uint8_t>(bytes[4 + i])
                                                : std::nullopt),
                  "a parameter byte the reply does not hold, or one it holds missing");
    }
    Check(meaning.action == action, "a reply's meaning differs from the operation table");
    Check(action != ReplyAction::Failed || meaning.failure == failure,
          "a failure of the wrong kind");
}

void CheckingHost::Receive(std::span<const std::uint8_t> bytes) {
    receivedTotal_ += bytes.size();
    std::copy(bytes.begin(), bytes.end(), replyShadow_.begin());
    const std::uint8_t cmdKind = state_.CmdKind;
    const std::size_t callsBefore = calls_;
    const bool readOut = cmdKind == vortana::kCmdReadOut;
    CheckMeaning(cmdKind, bytes, readOut_.PartlyReceived());
    const bool pageData = readOut && (readOut_.PartlyReceived() || bytes.size() > 5);
    if (pageData)
        readOut_.received.insert(readOut_.received.end(), bytes.begin(), bytes.end());

    // A block request names its block in byte 4, which a 4-byte request leaves as the
    // previous event had it.
    SendRule rule;
    if (cmdKind == vortana::kCmdDownload && bytes.size() >= 4 && bytes[3] == 0x55)
        rule.block = replyShadow_[4];
    bool dropped = false;
    try {
        const ExpectSends expect(*this, rule);
        dispatcher_->Comm1ReceiveData(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
    } catch (const vortana::EConvertError&) {
        Check(pageData && !Decimal(state_.FlashSizeK), "a conversion error from a reply");
        dropped = true;
    }

    Check(state_.CmdKind == cmdKind, "a reply changed the pending operation");
    Check(std::equal(replyShadow_.begin(), replyShadow_.end(), state_.ReplyBuffer.begin()),
          "ReplyBuffer does not hold the last event over the earlier ones");
    if (dropped) {
        readOut_.taken += kPage;
        ++readOut_.pages;
    } else if (pageData) {
        Check(readOut_.received.size() - readOut_.taken < kPage, "a whole page was not listed");
    }
    const bool statusReply =
        cmdKind >= vortana::kCmdSettings && cmdKind <= vortana::kCmdDownload && !pageData;
    if ((statusReply && bytes.size() < 4) || cmdKind == vortana::kCmdNone)
        Check(calls_ == callsBefore, "a reply with no status, or to no command, did something");
    if (statusReply && bytes.size() >= 4 && cmdKind != vortana::kCmdDownload)
        Check(!timer1Enabled_ && !timer2Enabled_, "a status reply left a timer running");
    Check(successBoxes_ == 0 || nesting_ > 0, "a download success did not enable the buttons");
}

void CheckingHost::TickTimer1() {
    for (int ticks = script_.Byte(); ticks > 0 && timer1Enabled_ && timer1Interval_ > 0; --ticks)
        dispatcher_->Timer1Timer();
    Check(state_.ProgressPercent <= 98 || state_.ProgressPercent == 100,
          "the progress estimate passed 98 %");
}

void CheckingHost::TickTimer2() {
    for (int ticks = script_.Byte() * 8; ticks > 0 && timer2Enabled_; --ticks)
        dispatcher_->Timer2Timer();
}

// The window closes the port, then tells the dispatcher; the notice may come at any time, also
// while a box is open or after an earlier one.
void CheckingHost::HangUp() {
    portOpen_ = false;
    const bool waited = timer2Enabled_;
    const int boxesBefore = lineLostBoxes_;
    ++hangUps_;
    dispatcher_->Comm1RequestHangup();
    --hangUps_;
    Check(!timer1Enabled_ && !timer2Enabled_, "a lost line left a timer running");
    Check(lineLostBoxes_ - boxesBefore == (waited ? 1 : 0),
          "a lost line not told once to an operation that waited, or told to none");
}

void CheckingHost::SendBytes(std::span<const std::uint8_t> bytes) {
    ++calls_;
    ++sendRule_.sends;
    if (bytes.size() == kBlock) {
        Check(sendRule_.block >= 0 && sendRule_.sends == 1, "a block sent unasked");
        const std::size_t blocks = std::min<std::size_t>(state_.ImageSize / kPage, 16);
        Check(static_cast<std::size_t>(sendRule_.block) < blocks,
              "a block the current image does not have was sent");
        Check(bytes.data() == state_.ImageBlocks.data() + sendRule_.block * kBlock,
              "a block sent from the wrong place of the table");
        Check(state_.CmdKind == vortana::kCmdDownload, "a block sent outside a download");
        return;
    }
    Check(sendRule_.frameCode >= 0 && sendRule_.sends == 1, "a frame sent unasked");
    static constexpr std::uint8_t kDataLength[] = {8, 0, 0, 0, 3, 0, 5};
    const std::uint8_t n = kDataLength[sendRule_.frameCode];
    Check(bytes.size() == n + 4u && bytes[0] == 0x68 && bytes[1] == sendRule_.frameCode &&
              bytes[2] == n && bytes[n + 3] == 0x16,
          "a frame with the wrong envelope");
    const auto sizeK = static_cast<std::uint8_t>(state_.ImageSize / 1024);
    const auto code = static_cast<std::uint8_t>(
        HexValue(state_.ModelCode.size() > 2 ? state_.ModelCode.substr(2, 2) : ""));
    if (sendRule_.frameCode == 0x04) {
        const auto high = static_cast<std::uint8_t>(HexValue(state_.FlashStart.substr(0, 2)));
        Check(bytes[3] == high && bytes[4] == sizeK && bytes[5] == code,
              "a read-out frame with the wrong start, size or code");
    } else if (sendRule_.frameCode == 0x00) {
        Check(bytes[3] == sizeK && bytes[4] == code &&
                  std::equal(state_.SerialNumberBytes.begin(), state_.SerialNumberBytes.end(),
                             bytes.begin() + 5) &&
                  bytes[10] == state_.SerialIncrement,
              "a download header with the wrong size, code or serial number");
    }
}

void CheckingHost::ShowMessage(const std::string& text) {
    ++calls_;
    static const std::string kTimeOut = "本次操作超时失败，编程器无响应，请检查供电是否正常！";
    if (text == kTimeOut) {
        Check(!timer2Enabled_, "the time-out shown with Timer2 still running");
    } else if (text == vortana::kPortClosedText) {
        Check(refusalDue_, "the closed-port box shown without a start on a closed port");
        refusalDue_ = false;
    } else if (text == vortana::kLineLostText) {
        Check(hangUps_ > 0 && !timer2Enabled_, "the line loss shown outside a lost-line notice");
        ++lineLostBoxes_;
    } else {
        Check(IsShownFor(state_.CmdKind, text), "a message the pending operation does not show");
        if (text.starts_with("文件加载成功"))
            ++successBoxes_;
    }
    if (nesting_ >= kMaxNesting)
        return;
    ++nesting_;
    for (int i = script_.Byte() % 4; i > 0; --i)
        Step(true);
    --nesting_;
}

void CheckingHost::SetProgressLabel(const std::string& text) {
    ++calls_;
    Check(state_.ProgressPercent <= 100 && text == std::to_string(state_.ProgressPercent) + " %",
          "a progress label that is not the progress");
}

void CheckingHost::SetElapsedLabel(const std::string& text) {
    ++calls_;
    Check(text == std::to_string(state_.ElapsedTicks / 10) + "." +
                      std::to_string(state_.ElapsedTicks % 10) + " 秒",
          "an elapsed-time label that is not the elapsed time");
}

void CheckingHost::AppendReadOutRows(std::span<const std::string> rows) {
    ++calls_;
    Check(state_.CmdKind == vortana::kCmdReadOut, "rows listed outside a read-out");
    Check(rows.size() == kPage / 16, "a page listed with other than 256 rows");
    Check(readOut_.received.size() - readOut_.taken >= kPage,
          "a page listed before its bytes were received in this read-out");
    ++readOut_.pages;
    const std::uint32_t window = WindowBase(state_.ModelCode);
    std::uint32_t address = readOut_.nextRowAddress;
    if (readOut_.pages % 256 == 1)
        address = window != 0 ? window : HexValue(state_.FlashStart);
    else if (readOut_.pages % 256 == 2 && window != 0)
        address = HexValue(state_.FlashStart);
    CheckRows(rows, address, readOut_.received.data() + readOut_.taken);
    readOut_.taken += kPage;
    readOut_.nextRowAddress = address + kPage;
    const std::optional<std::int32_t> sizeK = Decimal(state_.FlashSizeK);
    if (sizeK && *sizeK / 4 == static_cast<std::int32_t>(readOut_.pages % 256)) {
        Check(state_.ProgressPercent == 100 && !timer1Enabled_ && !timer2Enabled_,
              "the last page did not end the read-out");
    }
}

// Writes `value` as upper-case hexadecimal, at least `digits` digits, and returns the end.
char* PutHex(char* out, std::uint32_t value, int digits) {
    char reversed[8];
    int length = 0;
    do {
        reversed[length++] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0 || length < digits);
    while (length > 0)
        *out++ = reversed[--length];
    return out;
}

// Each row: the address (four digits or more), ":: ", sixteen bytes as two digits and a blank.
// Formed here by hand: the checks would otherwise cost more than the listing.
void CheckingHost::CheckRows(std::span<const std::string> rows, std::uint32_t address,
                             const std::uint8_t* bytes) {
    char expected[80];
    for (const std::string& row : rows) {
        char* end = PutHex(expected, address, 4);
        end = std::copy_n(":: ", 3, end);
        for (int k = 0; k < 16; ++k) {
            end = PutHex(end, *bytes++, 2);
            *end++ = ' ';
        }
        Check(row == std::string_view(expected, end - expected),
              "a read-out row that is not the next 16 bytes received, at its address");
        address += 16;
    }
}

struct Fixture {
    std::unique_ptr<SessionState> state = std::make_unique<SessionState>();

    // A session as the program starts it, with a model chosen.
    void Reset() {
        SessionState& s = *state;
        s.ModelCode = "0x00";
        s.FlashStart = "4000";
        s.FlashEnd = "FFFF";
        s.FlashSizeK = "48";
        s.ImageSize = 48 * 1024;
        s.CmdKind = vortana::kCmdNone;
        s.ReplyBuffer.fill(0);
        s.ReadPageCount = 0;
        s.ReadRowAddress = 0;
        s.ProgressPercent = 0;
        s.ElapsedTicks = 0;
        s.SerialNumberBytes.fill(0);
        s.SerialIncrement = 0;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    fixture.Reset();
    Script script(data, size);
    CheckingHost host(*fixture.state, script);
    vortana::Dispatcher dispatcher(*fixture.state, host);
    host.Attach(dispatcher);
    host.RunScript();
    return 0;
}
