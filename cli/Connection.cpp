#include "cli/Connection.h"

#include <memory>

#include "cli/Interruption.h"
#include "cli/JobError.h"
#include "comm/PortFailure.h"

namespace vortana::cli {
namespace {

constexpr std::uint32_t kBaudRate = 38400;

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

void Connection::DropReceived() {
    sink_->DeliverPending();
    received_.clear();
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
