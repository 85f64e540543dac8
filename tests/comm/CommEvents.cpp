#include "tests/comm/CommEvents.h"

#include <thread>

namespace vortana::test {

bool PumpUntil(QueueNotifySink& sink, const std::function<bool()>& done,
               std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < end)
        sink.WaitAndDeliver(std::chrono::milliseconds(10));
    return done();
}

bool WaitUntilRead(const TComm& comm, std::size_t bytes, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (comm.ReceiveActivity().bytesRead < bytes && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return comm.ReceiveActivity().bytesRead >= bytes;
}

CommEvents::CommEvents(TComm& comm, QueueNotifySink& sink) : sink_(sink) {
    comm.OnReceiveData = [this](TComm*, const void* buffer, std::uint16_t length) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        events_.push_back({NotificationKind::DataReceived, {bytes, bytes + length}, bytes[length]});
    };
    comm.OnReceiveError = [this](TComm*, std::uint32_t mask) {
        events_.push_back({NotificationKind::LineError, {}, mask});
    };
    comm.OnModemStateChange = [this](TComm*, std::uint32_t code) {
        events_.push_back({NotificationKind::ModemEvent, {}, code});
    };
    comm.OnRequestHangup = [this](TComm*) {
        events_.push_back({NotificationKind::HangupRequest, {}, 0});
    };
    comm.OnSendDataEmpty = [this](TComm*) {
        events_.push_back({NotificationKind::SendQueueEmpty, {}, 0});
    };
}

bool CommEvents::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return test::PumpUntil(sink_, done, timeout);
}

void CommEvents::PumpFor(std::chrono::milliseconds period) {
    PumpUntil([] { return false; }, period);
}

std::size_t CommEvents::Count(NotificationKind kind) const {
    std::size_t n = 0;
    for (const CommEvent& e : events_)
        n += e.kind == kind;
    return n;
}

std::vector<std::uint8_t> CommEvents::Received() const {
    std::vector<std::uint8_t> joined;
    for (const CommEvent& e : events_)
        joined.insert(joined.end(), e.bytes.begin(), e.bytes.end());
    return joined;
}

std::vector<std::vector<std::uint8_t>> CommEvents::Bursts() const {
    std::vector<std::vector<std::uint8_t>> bursts;
    for (const CommEvent& e : events_)
        if (e.kind == NotificationKind::DataReceived)
            bursts.push_back(e.bytes);
    return bursts;
}

std::vector<std::size_t> CommEvents::BurstSizes() const {
    std::vector<std::size_t> sizes;
    for (const auto& burst : Bursts())
        sizes.push_back(burst.size());
    return sizes;
}

LineSettings MainWindowSettings() {
    LineSettings s;
    s.BaudRate = 38400;
    s.DtrControl = TDtrControl::DtrDisable;
    s.RtsControl = TRtsControl::RtsDisable;
    s.Outx_XonXoffFlow = false;
    s.Inx_XonXoffFlow = false;
    return s;
}

RecordedComm::RecordedComm(const std::string& commName) {
    auto queue = std::make_unique<QueueNotifySink>();
    sink = queue.get();
    comm = std::make_unique<TComm>(std::move(queue));
    events = std::make_unique<CommEvents>(*comm, *sink);
    comm->SetCommName(commName);
    comm->SetBaudRate(38400);
    comm->SetDtrControl(TDtrControl::DtrDisable);
    comm->SetRtsControl(TRtsControl::RtsDisable);
    comm->SetOutx_XonXoffFlow(false);
    comm->SetInx_XonXoffFlow(false);
}

bool RecordedComm::OpenAndSettle() {
    comm->OpenPort();
    const bool settled =
        events->PumpUntil([&] { return events->Count(NotificationKind::SendQueueEmpty) == 1; });
    events->Clear();
    return settled;
}

bool RecordedComm::Send(const std::vector<std::uint8_t>& bytes) {
    return comm->SendBytes(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

bool RecordedComm::ReceivedCount(std::size_t count) {
    return events->PumpUntil([&] { return events->Received().size() >= count; });
}

}  // namespace vortana::test
