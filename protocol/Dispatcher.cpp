#include "protocol/Dispatcher.h"

#include "protocol/ProgressTimers.h"
#include "protocol/ReadOutListing.h"
#include "protocol/ReplyMeaning.h"
#include "shell/Convert.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vortana {
namespace {

constexpr std::int32_t kKiBPerPage = 4;  // read-out pages are 4 KiB
constexpr std::size_t kFlashStartHighDigits = 2;

}  // namespace

Dispatcher::Dispatcher(SessionState& state, OperationHost& host) : state_(state), host_(host) {}

void Dispatcher::Button8Click(const SettingsControls& controls) {
    if (!PortReady())
        return;
    host_.SettingsSent();
    const Frame frame = SetCmd(controls);
    state_.CmdKind = kCmdSettings;
    host_.SendBytes(frame);
}

void Dispatcher::Button3Click() {
    StartBareCommand(kCmdErase);
}

void Dispatcher::Button4Click() {
    StartBareCommand(kCmdProgram);
}

void Dispatcher::Button5Click() {
    StartBareCommand(kCmdVerify);
}

void Dispatcher::Button6Click() {
    StartBareCommand(kCmdEpc);
}

void Dispatcher::Button7Click() {
    if (!PortReady())
        return;
    host_.ClearReadOut();
    state_.FlashStartHigh = state_.FlashStart.substr(0, kFlashStartHighDigits);
    const Frame frame = ReadCmd(state_);
    state_.CmdKind = kCmdReadOut;
    state_.ReadPageCount = 0;
    readOutPages_.Clear();  // rows only ever show bytes of this read-out
    host_.SendBytes(frame);
    StartTimers(OperationOf(kCmdReadOut));
}

bool Dispatcher::StartDownload() {
    if (!PortReady())
        return false;
    const Frame frame = LoadCmd(state_);
    state_.CmdKind = kCmdDownload;
    host_.SendBytes(frame);
    return true;
}

// The port may have gone while the file dialog was open.
void Dispatcher::SendFirstBlock() {
    if (!PortReady())
        return;
    StartTimers(OperationOf(kCmdDownload));
    SendBlock(0);
}

void Dispatcher::Comm1ReceiveData(const void* Buffer, std::uint16_t BufferLength) {
    const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(Buffer),
                                              BufferLength);
    std::copy(bytes.begin(), bytes.end(), state_.ReplyBuffer.begin());
    const ReplyMeaning meaning = MeaningOf(state_.CmdKind, bytes, readOutPages_.PartlyReceived());
    switch (meaning.action) {
        case ReplyAction::Wait:
            return;
        case ReplyAction::Page:
            ReceivePages(bytes);
            return;
        case ReplyAction::SendBlock:
            SendBlock(meaning.Block());
            return;
        default:
            if (state_.CmdKind == kCmdDownload)
                EndDownload(meaning);
            else
                EndOperation(OperationOf(static_cast<CmdKindValue>(state_.CmdKind)), meaning);
    }
}

void Dispatcher::Timer1Timer() {
    if (AdvanceProgress(state_))
        host_.SetProgressLabel(ProgressText(state_.ProgressPercent));
    else
        host_.SetTimer1Enabled(false);
}

void Dispatcher::Timer2Timer() {
    const ElapsedTick tick = AdvanceElapsed(state_);
    host_.SetElapsedLabel(tick.label);
    if (tick.timedOut) {
        SetWaiting(false);  // first, so the time-out is shown once
        host_.ShowMessage(kTimeOutText);
    }
}

void Dispatcher::Comm1RequestHangup() {
    const bool wasWaiting = waiting_;
    StopTimers();  // first, so the loss is told once
    if (wasWaiting)
        host_.ShowMessage(kLineLostText);
}

// A frame sent on a closed port would be lost without a word until the time-out.
bool Dispatcher::PortReady() {
    if (host_.PortOpen())
        return true;
    host_.ShowMessage(kPortClosedText);
    return false;
}

void Dispatcher::SetWaiting(bool waiting) {
    waiting_ = waiting;
    host_.SetTimer2Enabled(waiting);
}

void Dispatcher::StartBareCommand(CmdKindValue kind) {
    if (!PortReady())
        return;
    const Operation& operation = OperationOf(kind);
    state_.CmdKind = kind;
    host_.SendBytes(BareFrame(operation.command));
    StartTimers(operation);
}

void Dispatcher::StartTimers(const Operation& operation) {
    const std::uint32_t period = ProgressPeriodMs(operation, state_);
    state_.ElapsedTicks = 0;
    state_.ProgressPercent = 0;
    host_.SetProgressLabel(ProgressText(state_.ProgressPercent));
    host_.SetTimer1Interval(period);
    host_.SetTimer1Enabled(true);
    SetWaiting(true);
}

void Dispatcher::StopTimers() {
    host_.SetTimer1Enabled(false);
    SetWaiting(false);
}

void Dispatcher::ShowFullProgress() {
    state_.ProgressPercent = kProgressDonePercent;
    host_.SetProgressLabel(ProgressText(state_.ProgressPercent));
}

// The statuses that end an operation, shown as its row of the table says; a status the operation
// does not expect stops it silently, except where every other status means failure.
void Dispatcher::EndOperation(const Operation& operation, const ReplyMeaning& meaning) {
    StopTimers();
    std::string text;
    switch (meaning.action) {
        case ReplyAction::Done:
            if (operation.successShowsProgress)
                ShowFullProgress();
            text = operation.successText;
            break;
        case ReplyAction::Failed:
            text = meaning.failure == ReplyFailure::Protected  ? operation.protectedText
                   : meaning.failure == ReplyFailure::Mismatch ? MismatchReport(meaning.parameters)
                                                               : operation.failureText;
            break;
        default:
            if (!operation.failsOnAnyOther)
                return;
            text = operation.failureText;
    }
    host_.ShowMessage(text);
}

void Dispatcher::ReceivePages(std::span<const std::uint8_t> bytes) {
    readOutPages_.Append(bytes);
    ReadOutPage page;
    while (readOutPages_.TakePage(page))
        ListPage(page);
}

void Dispatcher::ListPage(const ReadOutPage& page) {
    ++state_.ReadPageCount;
    if (StrToInt(state_.FlashSizeK) / kKiBPerPage == state_.ReadPageCount) {
        StopTimers();
        ShowFullProgress();
    }
    state_.ReadRowAddress = PageStartAddress(state_);
    const std::vector<std::string> rows = PageRows(state_.ReadRowAddress, page);
    state_.ReadRowAddress += kPageBytes;
    host_.AppendReadOutRows(rows);
}

// A status the download does not expect changes nothing: the timers keep running.
void Dispatcher::EndDownload(const ReplyMeaning& meaning) {
    const Operation& download = OperationOf(kCmdDownload);
    if (meaning.action == ReplyAction::Done) {
        StopTimers();
        ShowFullProgress();
        host_.ShowMessage(download.successText + DownloadLengthText(meaning.parameters));
        host_.DownloadAccepted();
    } else if (meaning.action == ReplyAction::Failed) {
        StopTimers();
        host_.ShowMessage(download.failureText);
    }
}

// A block the current image does not have is never sent: past the blocks the loader built it
// would be an older image's bytes, past the table no block at all.
void Dispatcher::SendBlock(std::uint8_t number) {
    const std::uint32_t blocks =
        std::min<std::uint32_t>(state_.ImageSize / kPageBytes, kImageBlockCount);
    if (number >= blocks) {
        StopTimers();
        host_.ShowMessage(OperationOf(kCmdDownload).failureText);
        return;
    }
    host_.SendBytes(std::span<const std::uint8_t>(state_.ImageBlocks)
                        .subspan(number * kImageBlockSize, kImageBlockSize));
}

}  // namespace vortana
