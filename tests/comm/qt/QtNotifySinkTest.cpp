// The Qt notification sink: order and thread of delivery, events left queued when it goes, a
// handler that throws, and a TComm on a pseudo-terminal driven by the Qt event loop.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTest>

#include <stdexcept>
#include <thread>

#include "comm/TComm.h"
#include "comm/qt/QtNotifySink.h"
#include "harness/Pty.h"

namespace vortana::test {
namespace {

constexpr int kWaitMs = 5000;

TEST(QtNotifySink, KeepsEachThreadsOrderAndDeliversOnTheUserInterfaceThread) {
    std::unique_ptr<NotifySink> sink = MakeQtNotifySink();
    std::vector<std::uint32_t> fromFirst, fromSecond;
    bool allOnThisThread = true;
    const auto uiThread = std::this_thread::get_id();
    sink->SetHandler([&](Notification n) {
        allOnThisThread = allOnThisThread && std::this_thread::get_id() == uiThread;
        (n.Kind == NotificationKind::LineError ? fromFirst : fromSecond).push_back(n.Value);
    });
    constexpr std::uint32_t kEach = 500;
    const auto poster = [&](NotificationKind kind) {
        return std::thread([&sink, kind] {
            for (std::uint32_t i = 0; i < kEach; ++i)
                EXPECT_TRUE(sink->Post(Notification{kind, i, {}}));
        });
    };
    std::thread first = poster(NotificationKind::LineError);
    std::thread second = poster(NotificationKind::ModemEvent);
    first.join();
    second.join();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return fromFirst.size() == kEach && fromSecond.size() == kEach; }, kWaitMs));
    for (std::uint32_t i = 0; i < kEach; ++i) {
        ASSERT_EQ(fromFirst[i], i);
        ASSERT_EQ(fromSecond[i], i);
    }
    EXPECT_TRUE(allOnThisThread);
}

TEST(QtNotifySink, EventsStillQueuedGoWithTheSink) {
    bool handled = false;
    {
        std::unique_ptr<NotifySink> sink = MakeQtNotifySink();
        sink->SetHandler([&](Notification) { handled = true; });
        EXPECT_TRUE(sink->Post(Notification::Received(std::vector<std::uint8_t>(4096, 0x55))));
    }
    // The copy went with its event (the sanitizer build checks that it does not leak).
    QCoreApplication::processEvents();
    EXPECT_FALSE(handled);
}

TEST(QtNotifySink, AHandlerThatThrowsDoesNotStopDelivery) {
    std::unique_ptr<NotifySink> sink = MakeQtNotifySink();
    std::vector<std::uint32_t> seen;
    sink->SetHandler([&](Notification n) {
        seen.push_back(n.Value);
        if (n.Value == 1)
            throw std::runtime_error("handler failed");
    });
    sink->Post(Notification{NotificationKind::LineError, 1, {}});
    sink->Post(Notification{NotificationKind::LineError, 2, {}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, kWaitMs));
}

TEST(QtNotifySink, CarriesATCommsEventsThroughTheEventLoop) {
    Pty pty;
    TComm comm(MakeQtNotifySink());
    comm.SetCommName(pty.SlavePath());
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    std::vector<std::uint8_t> received;
    int emptied = 0;
    comm.OnReceiveData = [&](TComm* sender, const void* buffer, std::uint16_t length) {
        EXPECT_EQ(sender, &comm);
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        received.insert(received.end(), bytes, bytes + length);
    };
    comm.OnSendDataEmpty = [&](TComm*) { ++emptied; };
    comm.OpenPort();
    EXPECT_TRUE(QTest::qWaitFor([&] { return emptied == 1; }, kWaitMs));

    const std::vector<std::uint8_t> block = Pattern(4102);
    ASSERT_TRUE(comm.SendBytes(block.data(), static_cast<std::uint16_t>(block.size())));
    EXPECT_EQ(pty.Read(block.size()), block);
    const std::vector<std::uint8_t> reply = Pattern(4096, 9);
    pty.Write(reply);
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == reply.size(); }, kWaitMs));
    EXPECT_EQ(received, reply);
    comm.ClosePort();
}

}  // namespace
}  // namespace vortana::test
