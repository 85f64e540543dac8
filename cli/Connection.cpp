#include "cli/Connection.h"

#include <algorithm>
#include <memory>

#include "cli/Interruption.h"
#include "cli/Text.h"
#include "comm/PortFailure.h"
#include "production/JobError.h"

namespace vortana::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::uint32_t kBaudRate = 38400;
// A programmer still sending after this long is not finishing an answer: something keeps the
// line busy, and no command could be told from it.
constexpr milliseconds kQuietLimit{2000};
// The longest single wait, so a signal is seen within it.
constexpr milliseconds kTick{100};

// Every wait and every send passes here, so a signal stops the job within one wait (at most a
// progress tick) and no command goes out after it.
void StopIfInterrupted() {
    if (InterruptionSignal() != 0)
        throw InterruptionError();
}

std::unique_ptr<QueueNotifySink> MakeSink(QueueNotifySink*& keep) {
    auto sink = std::make_unique<QueueNotifySink>();
    keep = sink.get();
    return sink;
}

}  // namespace

Connection::Connection(const std::string& port) : port_(port), comm_(MakeSink(sink_)) {
    comm_.SetCommName(port);
    comm_.SetBaudRate(kBaudRate);
    comm_.SetByteSize(TByteSize::_8);
    comm_.SetParity(TParity::None);
    comm_.SetStopBits(TStopBits::_1);
    comm_.SetDtrControl(TDtrControl::DtrDisable);
    comm_.SetRtsControl(TRtsControl::RtsDisable);
    comm_.SetOutx_XonXoffFlow(false);
    comm_.SetInx_XonXoffFlow(false);
    comm_.OnReceiveData = [this](TComm*, const void* buffer, std::uint16_t length) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        received_.emplace_back(bytes, bytes + length);
        delivered_ += length;
    };
    comm_.OnRequestHangup = [this](TComm*) { lost_ = true; };
    try {
        comm_.OpenPort();
    } catch (const ECommsError& error) {
        throw JobError(ExitStatus::PortFailure, "cannot open port " + port + ": " +
                                                    PortFailureHintEnglish(error.Reason()) + " (" +
                                                    error.what() + ")");
    }
}

Connection::~Connection() {
    comm_.ClosePort();
}

void Connection::Send(std::span<const std::uint8_t> bytes) {
    StopIfInterrupted();
    if (lost_ || !comm_.SendBytes(bytes.data(), static_cast<std::uint16_t>(bytes.size())))
        throw JobError(ExitStatus::PortFailure, "the line to " + port_ + " went away");
}

milliseconds Connection::LetLineGoQuiet() {
    std::optional<Clock::time_point> waitBegan;
    for (;;) {
        sink_->DeliverPending();
        received_.clear();
        const milliseconds left = UntilQuiet();
        if (left == milliseconds::zero())
            return waitBegan ? std::chrono::duration_cast<milliseconds>(Clock::now() - *waitBegan)
                             : milliseconds::zero();
        if (!waitBegan)
            waitBegan = Clock::now();
        else if (Clock::now() - *waitBegan >= kQuietLimit)
            throw JobError(ExitStatus::DeviceFailure,
                           "the programmer is still sending: the line did not pause for " +
                               std::to_string(comm_.ReadIntervalTimeout()) + " ms within " +
                               SecondsText(kQuietLimit));
        Await(std::min(left, kTick));
    }
}

bool Connection::IsQuiet() const {
    return received_.empty() && UntilQuiet() == milliseconds::zero();
}

bool Connection::StaysQuietFor(milliseconds span) {
    const Clock::time_point until = comm_.ReceiveActivity().lastByte.value_or(Clock::now()) + span;
    for (;;) {
        if (!received_.empty() || comm_.ReceiveActivity().bytesRead != delivered_)
            return false;
        const auto left = std::chrono::ceil<milliseconds>(until - Clock::now());
        if (left <= milliseconds::zero())
            return true;
        Await(std::min(left, kTick));
    }
}

milliseconds Connection::UntilQuiet() const {
    const ReadActivity activity = comm_.ReceiveActivity();
    if (!activity.lastByte)
        return milliseconds::zero();
    const milliseconds gap(comm_.ReadIntervalTimeout());
    const auto gapLeft = std::chrono::ceil<milliseconds>(*activity.lastByte + gap - Clock::now());
    if (gapLeft > milliseconds::zero())
        return gapLeft;
    // The gap has passed: a burst not yet handed over is being posted now.
    return activity.bytesRead == delivered_ ? milliseconds::zero() : kTick;
}

void Connection::Await(milliseconds timeout) {
    StopIfInterrupted();
    sink_->WaitAndDeliver(timeout);
}

std::optional<Burst> Connection::NextBurst(Deadline deadline) {
    using namespace std::chrono;
    while (received_.empty() && !lost_) {
        StopIfInterrupted();
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left <= milliseconds::zero())
            return std::nullopt;
        sink_->WaitAndDeliver(left + milliseconds(1));
    }
    if (received_.empty())
        throw JobError(ExitStatus::PortFailure, "the line to " + port_ + " went away");
    Burst burst = std::move(received_.front());
    received_.pop_front();
    return burst;
}

}  // namespace vortana::cli
