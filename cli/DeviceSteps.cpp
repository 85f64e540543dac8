#include "cli/DeviceSteps.h"

#include <algorithm>
#include <array>

#include "cli/Text.h"
#include "image/ImageLayout.h"
#include "production/JobError.h"
#include "protocol/ProgressTimers.h"
#include "protocol/ReplyMeaning.h"
#include "shell/Convert.h"

namespace vortana::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kProgressTick{100};  // how often progress is reported while waiting
// How long the line must stay quiet after a read-out's last page, from its last byte. The
// programmer spaces pages more than a burst gap apart (the simulator 200 ms, sim/Answer.h), so a
// page following the last one, a leftover of an earlier read-out, starts within that spacing;
// one spacing and one burst gap more sees its first bytes with room to spare.
constexpr milliseconds kLastPageWatch{300};
constexpr const char* kMissingText = "(not in the reply)";
// The longest a late wait may be drawn out by a programmer that keeps answering: the window's
// time-out.
constexpr milliseconds kLateWaitCeiling{120000};

// clang-format off
// kind           step name
constexpr std::array<std::pair<CmdKindValue, std::string_view>, 7> kStepNames{{
    {kCmdSettings, "settings"},
    {kCmdErase,    "erase"},
    {kCmdProgram,  "program"},
    {kCmdVerify,   "verify"},
    {kCmdReadOut,  "read-out"},
    {kCmdEpc,      "erase+program+verify"},
    {kCmdDownload, "download"},
}};
// clang-format on

std::string Hex(std::uint32_t value, int digits) {
    return IntToHex(static_cast<std::int32_t>(value), digits);
}

std::string ByteText(const std::optional<std::uint8_t>& byte) {
    return byte ? Hex(*byte, 2) : kMissingText;
}

std::string Mismatch(const ReplyMeaning& meaning) {
    const std::optional<std::uint16_t> address = meaning.Address();
    return "verify mismatch at " + (address ? Hex(*address, 4) : kMissingText) + ": wrote " +
           ByteText(meaning.Written()) + ", read back " + ByteText(meaning.ReadBack());
}

// The exit status and the words for an answer that ends `kind`; Success for a Done.
std::pair<ExitStatus, std::string> Outcome(CmdKindValue kind, const ReplyMeaning& meaning) {
    const std::string step(StepName(kind));
    if (meaning.action == ReplyAction::Done)
        return {ExitStatus::Success, step + " succeeded"};
    if (meaning.action == ReplyAction::Unexpected)
        return {ExitStatus::DeviceFailure, step + ": the programmer answered with status " +
                                               Hex(meaning.status, 2) +
                                               ", which this step does not expect"};
    if (meaning.action == ReplyAction::NotAReply)
        return {ExitStatus::DeviceFailure,
                step +
                    ": the programmer sent more bytes than any answer holds "
                    "(an earlier read-out's data, or noise)"};
    switch (meaning.failure) {
        case ReplyFailure::Protected:
            return {ExitStatus::ReadProtected, step + ": the chip is read-protected"};
        case ReplyFailure::Mismatch:
            return {ExitStatus::VerifyMismatch, step + ": " + Mismatch(meaning)};
        default:
            return {ExitStatus::DeviceFailure, step + ": the programmer reported failure"};
    }
}

// Throws the JobError an answer that ends `kind` stands for; returns on success.
void ThrowUnlessDone(CmdKindValue kind, const ReplyMeaning& meaning) {
    auto [status, text] = Outcome(kind, meaning);
    if (status != ExitStatus::Success)
        throw JobError(status, text);
}

// The read-out takes exactly the chip's pages: more is no chip's, but what was left on the line
// (an earlier read-out's pages) or noise, so none of it can be trusted.
JobError SurplusAfterLastPage(std::size_t pages) {
    return JobError(
        ExitStatus::DeviceFailure,
        "read-out: the programmer sent more than the chip's " + std::to_string(pages) + " pages");
}

std::string MorePagesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " more page" : " more pages");
}

std::size_t BlockCount(const SessionState& session) {
    return std::min<std::size_t>(session.ImageSize / kPageBytes, kImageBlockCount);
}

}  // namespace

std::string_view StepName(CmdKindValue kind) {
    for (const auto& [value, name] : kStepNames)
        if (value == kind)
            return name;
    return "step";
}

DeviceSteps::DeviceSteps(Connection& connection, const SessionState& session, StepWaits waits,
                         ProgressReport report)
    : connection_(connection), session_(session), waits_(waits), report_(std::move(report)) {}

void DeviceSteps::Settings(const SettingsControls& controls) {
    AwaitStatus(kCmdSettings, SetCmd(controls));
}

void DeviceSteps::Run(CmdKindValue kind) {
    AwaitStatus(kind, BareFrame(OperationOf(kind).command));
}

void DeviceSteps::AwaitStatus(CmdKindValue kind, const Frame& frame) {
    Exchange(
        kind, frame,
        [kind](const Burst& reply) {
            const ReplyMeaning meaning = MeaningOf(kind, reply);
            if (meaning.action == ReplyAction::Wait)
                return false;
            ThrowUnlessDone(kind, meaning);
            return true;
        },
        [this, kind] { return Estimated(kind); });
}

std::string DeviceSteps::Download(const Frame& header) {
    const std::size_t blocks = BlockCount(session_);
    const auto sendBlock = [this, blocks](std::size_t number) {
        if (number >= blocks)
            throw JobError(ExitStatus::DeviceFailure,
                           "download: the programmer asked for block " + std::to_string(number) +
                               " of an image of " + std::to_string(blocks));
        connection_.Send(std::span<const std::uint8_t>(session_.ImageBlocks)
                             .subspan(number * kImageBlockSize, kImageBlockSize));
    };
    std::size_t acknowledged = 0;
    std::string note;
    Exchange(
        kCmdDownload, header,
        [&](const Burst& reply) {
            const ReplyMeaning meaning = MeaningOf(kCmdDownload, reply);
            if (meaning.action == ReplyAction::Wait)
                return false;
            if (meaning.action == ReplyAction::SendBlock) {
                acknowledged = std::max<std::size_t>(acknowledged, meaning.Block());
                sendBlock(meaning.Block());
                return false;
            }
            ThrowUnlessDone(kCmdDownload, meaning);
            const std::optional<std::uint16_t> length = meaning.Length();
            note = length ? "the programmer reports length " + Hex(*length, 4)
                          : "the programmer reports no length: its answer ends before it";
            acknowledged = blocks;
            return true;
        },
        [&] { return Measured(kCmdDownload, acknowledged, blocks); },
        [&] { sendBlock(0); });  // the header gets no answer: block 0 follows it at once
    return note;
}

std::vector<ReadOutPage> DeviceSteps::ReadOut() {
    const std::size_t pages = session_.ImageSize / kPageBytes;
    std::vector<ReadOutPage> received;
    PageJoiner joiner;
    Exchange(
        kCmdReadOut, ReadCmd(session_),
        [&](const Burst& burst) {
            const ReplyMeaning meaning = MeaningOf(kCmdReadOut, burst, joiner.PartlyReceived());
            if (meaning.action == ReplyAction::Wait)
                return false;
            if (meaning.action != ReplyAction::Page)
                ThrowUnlessDone(kCmdReadOut, meaning);  // a read-out's status is never success
            joiner.Append(burst);
            ReadOutPage page;
            while (received.size() < pages && joiner.TakePage(page))
                received.push_back(page);
            if (received.size() == pages && joiner.PartlyReceived())
                throw SurplusAfterLastPage(pages);
            return received.size() == pages;
        },
        [&] { return Measured(kCmdReadOut, received.size(), pages); }, {},
        [&, late = std::size_t{0}](const Burst& burst) mutable {
            const ReplyMeaning meaning = MeaningOf(kCmdReadOut, burst, joiner.PartlyReceived());
            if (meaning.action != ReplyAction::Page)
                return LateReply(kCmdReadOut, meaning);
            joiner.Append(burst);
            for (ReadOutPage page; joiner.TakePage(page);)
                ++late;
            return LateBurst{MorePagesText(late), received.size() + late >= pages};
        });
    if (!connection_.StaysQuietFor(kLastPageWatch))
        throw SurplusAfterLastPage(pages);
    return received;
}

void DeviceSteps::Exchange(CmdKindValue kind, const Frame& frame, const BurstHandler& handle,
                           const Estimate& estimate, const std::function<void()>& afterSend,
                           const LateListener& late) {
    connection_.LetLineGoQuiet();
    stepStart_ = Clock::now();
    const Deadline deadline = stepStart_ + waits_.timeout;
    connection_.Send(frame);
    if (afterSend)
        afterSend();
    report_(estimate());
    for (;;) {
        const Deadline tick = std::min(deadline, Clock::now() + kProgressTick);
        if (const std::optional<Burst> burst = connection_.NextBurst(tick)) {
            if (handle(*burst)) {
                StepProgress done = estimate();
                done.fraction = 1;
                done.remaining = milliseconds::zero();
                report_(done);
                return;
            }
        } else if (Clock::now() >= deadline) {
            const LateListener byMeaning = [kind](const Burst& reply) {
                return LateReply(kind, MeaningOf(kind, reply));
            };
            throw JobError(ExitStatus::TimedOut,
                           std::string(StepName(kind)) + ": no answer from the programmer within " +
                               SecondsText(waits_.timeout) + LateAnswer(late ? late : byMeaning));
        }
        report_(estimate());
    }
}

// The late wait lasts as long as the programmer keeps answering: every burst that tells something
// gives it --late-wait more, up to kLateWaitCeiling. A read-out still sending its pages is heard
// out to its last page, so the next command does not start on a line this step still feeds.
std::string DeviceSteps::LateAnswer(const LateListener& listen) {
    if (waits_.lateWait <= milliseconds::zero())
        return {};
    const Clock::time_point ceiling = Clock::now() + std::max(waits_.lateWait, kLateWaitCeiling);
    Deadline end = Clock::now() + waits_.lateWait;
    std::optional<milliseconds> cameAfter;  // from the step's start
    LateBurst told;
    while (!(told.final && connection_.IsQuiet()) && Clock::now() < end) {
        const std::optional<Burst> burst =
            connection_.NextBurst(std::min(end, Clock::now() + kProgressTick));
        const LateBurst late = burst ? listen(*burst) : LateBurst{};
        if (late.said.empty())
            continue;
        if (!cameAfter)
            cameAfter = std::chrono::duration_cast<milliseconds>(Clock::now() - stepStart_);
        told = {late.said, told.final || late.final};
        end = std::min(ceiling, Clock::now() + waits_.lateWait);
    }
    if (!cameAfter)
        return "; no late answer within " + SecondsText(waits_.lateWait);
    return "; late answer after " + SecondsText(*cameAfter) + ": " + told.said;
}

DeviceSteps::LateBurst DeviceSteps::LateReply(CmdKindValue kind, const ReplyMeaning& meaning) {
    switch (meaning.action) {
        case ReplyAction::Wait:
            return {};
        case ReplyAction::SendBlock:
            return {"the programmer asks for block " + std::to_string(meaning.Block()), false};
        default:
            return {Outcome(kind, meaning).second, true};
    }
}

StepProgress DeviceSteps::Measured(CmdKindValue kind, std::size_t done, std::size_t total) const {
    StepProgress progress;
    progress.step = StepName(kind);
    progress.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - stepStart_);
    progress.fraction = total == 0 ? 0 : static_cast<double>(done) / total;
    if (done > 0)
        progress.remaining = progress.elapsed * (total - done) / done;
    return progress;
}

StepProgress DeviceSteps::Estimated(CmdKindValue kind) const {
    StepProgress progress;
    progress.step = StepName(kind);
    progress.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - stepStart_);
    const std::uint32_t period = ProgressPeriodMs(OperationOf(kind), session_);
    if (period > 0) {
        const auto percent =
            std::min<std::uint64_t>(kProgressHoldPercent, progress.elapsed.count() / period);
        progress.fraction = percent / 100.0;
    }
    return progress;
}

}  // namespace vortana::cli
