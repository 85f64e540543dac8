#include "cli/DeviceSteps.h"

#include <algorithm>
#include <array>

#include "cli/JobError.h"
#include "cli/Text.h"
#include "image/ImageLayout.h"
#include "protocol/ProgressTimers.h"
#include "protocol/Reply.h"
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

// The bytes of a reply the steps read, zero where the reply is shorter.
std::array<std::uint8_t, kReplyHead> PaddedHead(const Burst& reply) {
    std::array<std::uint8_t, kReplyHead> head{};
    std::copy_n(reply.begin(), std::min(reply.size(), head.size()), head.begin());
    return head;
}

std::string Mismatch(const Burst& reply) {
    const std::array<std::uint8_t, kReplyHead> head = PaddedHead(reply);
    return "verify mismatch at " + Hex(head[kReplyParam1], 2) + Hex(head[kReplyParam2], 2) +
           ": wrote " + Hex(head[kReplyWritten], 2) + ", read back " + Hex(head[kReplyReadBack], 2);
}

// The read-out takes exactly the chip's pages: more is no chip's, but what was left on the line
// (an earlier read-out's pages) or noise, so none of it can be trusted.
JobError SurplusAfterLastPage(std::size_t pages) {
    return JobError(
        ExitStatus::DeviceFailure,
        "read-out: the programmer sent more than the chip's " + std::to_string(pages) + " pages");
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
        [this, kind](const Burst& reply) {
            if (reply.size() < kMinStatusReplyLength)
                return false;  // no status in it
            CheckStatus(kind, reply);
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
    std::string length;
    Exchange(
        kCmdDownload, header,
        [&](const Burst& reply) {
            if (reply.size() < kMinStatusReplyLength)
                return false;
            if (reply[kReplyStatus] == kStatusBlockRequest) {
                if (reply.size() <= kReplyParam1)
                    return false;  // names no block
                acknowledged = std::max<std::size_t>(acknowledged, reply[kReplyParam1]);
                sendBlock(reply[kReplyParam1]);
                return false;
            }
            CheckStatus(kCmdDownload, reply);
            length = DownloadLengthText(PaddedHead(reply));
            acknowledged = blocks;
            return true;
        },
        [&] { return Measured(kCmdDownload, acknowledged, blocks); },
        [&] { sendBlock(0); });  // the header gets no answer: block 0 follows it at once
    return length;
}

std::vector<ReadOutPage> DeviceSteps::ReadOut() {
    const std::size_t pages = session_.ImageSize / kPageBytes;
    std::vector<ReadOutPage> received;
    PageJoiner joiner;
    Exchange(
        kCmdReadOut, ReadCmd(session_),
        [&](const Burst& burst) {
            if (!joiner.PartlyReceived() && burst.size() <= kMaxStatusReplyLength) {
                if (burst.size() >= kMinStatusReplyLength)
                    CheckStatus(kCmdReadOut, burst);
                return false;
            }
            joiner.Append(burst);
            ReadOutPage page;
            while (received.size() < pages && joiner.TakePage(page))
                received.push_back(page);
            if (received.size() == pages && joiner.PartlyReceived())
                throw SurplusAfterLastPage(pages);
            return received.size() == pages;
        },
        [&] { return Measured(kCmdReadOut, received.size(), pages); });
    if (!connection_.StaysQuietFor(kLastPageWatch))
        throw SurplusAfterLastPage(pages);
    return received;
}

void DeviceSteps::Exchange(CmdKindValue kind, const Frame& frame, const BurstHandler& handle,
                           const Estimate& estimate, const std::function<void()>& afterSend) {
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
            throw JobError(ExitStatus::TimedOut, std::string(StepName(kind)) +
                                                     ": no answer from the programmer within " +
                                                     SecondsText(waits_.timeout));
        }
        report_(estimate());
    }
}

void DeviceSteps::CheckStatus(CmdKindValue kind, const Burst& reply) const {
    const Operation& operation = OperationOf(kind);
    const std::uint8_t status = reply[kReplyStatus];
    const std::string step(StepName(kind));
    if (status == kStatusSuccess)
        return;
    if (status == kStatusProtected && operation.protectedText != nullptr)
        throw JobError(ExitStatus::ReadProtected, step + ": the chip is read-protected");
    if (status == kStatusMismatch && operation.reportsMismatch)
        throw JobError(ExitStatus::VerifyMismatch, step + ": " + Mismatch(reply));
    if (status == kStatusFailure)
        throw JobError(ExitStatus::DeviceFailure, step + ": the programmer reported failure");
    throw JobError(ExitStatus::DeviceFailure, step + ": the programmer answered with status " +
                                                  Hex(status, 2) +
                                                  ", which this step does not expect");
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
