// The serial link's pure rules on every system: property defaults and the flags word, burst
// timing, line events, and the plain notification sink.
#include <gtest/gtest.h>

#include <thread>

#include "comm/BurstTiming.h"
#include "comm/LineCounters.h"
#include "comm/LineSettings.h"
#include "comm/QueueNotifySink.h"
#include "comm/SerialPort.h"
#include "comm/TComm.h"
#include "tests/comm/CommEvents.h"
#include "tests/comm/RefusingSink.h"

namespace vortana {
namespace {

using test::MainWindowSettings;

TEST(TCommProperties, StartWithTheirDefaultsAndReadBackWhatWasStored) {
    TComm comm(std::make_unique<QueueNotifySink>());
    EXPECT_EQ(comm.CommName(), "COM2");
    EXPECT_EQ(comm.BaudRate(), 9600u);
    EXPECT_FALSE(comm.ParityCheck());
    EXPECT_FALSE(comm.Outx_CtsFlow());
    EXPECT_FALSE(comm.Outx_DsrFlow());
    EXPECT_EQ(comm.DtrControl(), TDtrControl::DtrEnable);
    EXPECT_FALSE(comm.DsrSensitivity());
    EXPECT_TRUE(comm.TxContinueOnXoff());
    EXPECT_TRUE(comm.Outx_XonXoffFlow());
    EXPECT_TRUE(comm.Inx_XonXoffFlow());
    EXPECT_FALSE(comm.ReplaceWhenParityError());
    EXPECT_FALSE(comm.IgnoreNullChar());
    EXPECT_EQ(comm.RtsControl(), TRtsControl::RtsEnable);
    EXPECT_EQ(comm.XonLimit(), 500);
    EXPECT_EQ(comm.XoffLimit(), 500);
    EXPECT_EQ(comm.ByteSize(), TByteSize::_8);
    EXPECT_EQ(comm.Parity(), TParity::None);
    EXPECT_EQ(comm.StopBits(), TStopBits::_1);
    EXPECT_EQ(comm.XonChar(), 0x11);
    EXPECT_EQ(comm.XoffChar(), 0x13);
    EXPECT_EQ(comm.ReplacedChar(), 0x00);
    EXPECT_EQ(comm.ReadIntervalTimeout(), 100u);
    EXPECT_EQ(comm.ReadTotalTimeoutMultiplier(), 0u);
    EXPECT_EQ(comm.ReadTotalTimeoutConstant(), 0u);
    EXPECT_EQ(comm.WriteTotalTimeoutMultiplier(), 0u);
    EXPECT_EQ(comm.WriteTotalTimeoutConstant(), 0u);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_TRUE(comm.SendQueueEmpty());

    comm.SetCommName("COM5");
    comm.SetXoffChar(0x93);
    comm.SetStopBits(TStopBits::_1_5);
    comm.SetWriteTotalTimeoutConstant(7);
    EXPECT_EQ(comm.CommName(), "COM5");
    EXPECT_EQ(comm.XoffChar(), 0x93);
    EXPECT_EQ(comm.StopBits(), TStopBits::_1_5);
    EXPECT_EQ(comm.WriteTotalTimeoutConstant(), 7u);

    EXPECT_THROW(TComm(nullptr), std::invalid_argument);
}

TEST(DcbFlags, DefaultsAndTheMainWindowsValues) {
    EXPECT_EQ(DcbFlags(LineSettings{}), 0x1391u);
    EXPECT_EQ(DcbFlags(MainWindowSettings()), 0x0081u);
}

TEST(DcbFlags, EachPropertyHasItsOwnBits) {
    LineSettings all = MainWindowSettings();
    all.TxContinueOnXoff = false;
    ASSERT_EQ(DcbFlags(all), 0x0001u) << "fBinary is always there";
    const struct {
        void (*set)(LineSettings&);
        std::uint32_t bits;
    } cases[] = {
        {[](LineSettings& s) { s.ParityCheck = true; }, 0x0002},
        {[](LineSettings& s) { s.Outx_CtsFlow = true; }, 0x0004},
        {[](LineSettings& s) { s.Outx_DsrFlow = true; }, 0x0008},
        {[](LineSettings& s) { s.DtrControl = TDtrControl::DtrEnable; }, 0x0010},
        {[](LineSettings& s) { s.DtrControl = TDtrControl::DtrHandshake; }, 0x0020},
        {[](LineSettings& s) { s.DsrSensitivity = true; }, 0x0040},
        {[](LineSettings& s) { s.TxContinueOnXoff = true; }, 0x0080},
        {[](LineSettings& s) { s.Outx_XonXoffFlow = true; }, 0x0100},
        {[](LineSettings& s) { s.Inx_XonXoffFlow = true; }, 0x0200},
        {[](LineSettings& s) { s.ReplaceWhenParityError = true; }, 0x0400},
        {[](LineSettings& s) { s.IgnoreNullChar = true; }, 0x0800},
        {[](LineSettings& s) { s.RtsControl = TRtsControl::RtsEnable; }, 0x1000},
        {[](LineSettings& s) { s.RtsControl = TRtsControl::RtsHandshake; }, 0x2000},
        {[](LineSettings& s) { s.RtsControl = TRtsControl::RtsTransmissionAvailable; }, 0x3000},
        {[](LineSettings& s) { s.DtrControl = static_cast<TDtrControl>(9); }, 0x0000},
    };
    for (const auto& c : cases) {
        LineSettings s = all;
        c.set(s);
        EXPECT_EQ(DcbFlags(s), 0x0001u | c.bits) << std::hex << c.bits;
    }
}

TEST(ReadWaitMs, TheIntervalEndsABurstAfterItsFirstByte) {
    const CommTimeouts t;  // interval 100, totals 0
    EXPECT_EQ(ReadWaitMs(t, 0, 5000, 0), kWaitForever) << "the first byte is awaited without limit";
    EXPECT_EQ(ReadWaitMs(t, 3, 10, 0), 100);
    EXPECT_EQ(ReadWaitMs(t, 3, 500, 40.2), 60) << "rounded up, never early";
    EXPECT_EQ(ReadWaitMs(t, 3, 500, 100), 0);
    EXPECT_EQ(ReadWaitMs(t, 3, 500, 250), 0);
    EXPECT_EQ(ReadWaitMs(t, kMaxReadBytes, 1, 0), 0) << "a full read completes at once";
    CommTimeouts none = t;
    none.ReadIntervalTimeout = 0;
    EXPECT_EQ(ReadWaitMs(none, 3, 10000, 10000), kWaitForever) << "0: no interval";
}

TEST(ReadWaitMs, TotalTimeoutsCountFromTheStartOfTheRead) {
    CommTimeouts t;
    t.ReadIntervalTimeout = 0;
    t.ReadTotalTimeoutConstant = 500;
    EXPECT_EQ(ReadWaitMs(t, 0, 100, 0), 400);
    EXPECT_EQ(ReadWaitMs(t, 0, 600, 0), 0) << "an empty read completes too, and is begun again";
    t.ReadTotalTimeoutMultiplier = 1;  // per byte asked for: 65535 ms more
    EXPECT_EQ(ReadWaitMs(t, 0, 0, 0), 66035);
    t.ReadIntervalTimeout = 100;
    EXPECT_EQ(ReadWaitMs(t, 2, 66000, 10), 35) << "whichever comes first";
    EXPECT_EQ(ReadWaitMs(t, 2, 20, 10), 90);
}

TEST(ReadWaitMs, MaximumIntervalReturnsWhatIsThere) {
    CommTimeouts t;
    t.ReadIntervalTimeout = 0xFFFFFFFF;
    EXPECT_EQ(ReadWaitMs(t, 1, 0, 0), 0);
    EXPECT_EQ(ReadWaitMs(t, 0, 9000, 0), kWaitForever) << "no polling for nothing";
    t.ReadTotalTimeoutMultiplier = 0xFFFFFFFF;
    t.ReadTotalTimeoutConstant = 250;
    EXPECT_EQ(ReadWaitMs(t, 0, 50, 0), 200);
    EXPECT_EQ(ReadWaitMs(t, 4, 50, 0), 0);
    t.ReadTotalTimeoutConstant = 0;
    EXPECT_EQ(ReadWaitMs(t, 0, 50, 0), kWaitForever);
}

TEST(LineEventsBetween, ErrorsGiveTheirFlagsModemLinesTheirCodes) {
    const LineCounters before{10, 20, 30, 40, 50, 60, 70};
    EXPECT_EQ(LineEventsBetween(before, before).ErrorFlags, 0u);
    EXPECT_EQ(LineEventsBetween(before, before).ModemCode, 0u);

    const struct {
        std::uint32_t LineCounters::*counter;
        std::uint32_t flags;
        std::uint32_t code;
    } cases[] = {
        {&LineCounters::BufferOverrun, 0x01, 0},
        {&LineCounters::Overrun, 0x02, 0},
        {&LineCounters::Parity, 0x04, 0},
        {&LineCounters::Frame, 0x08, 0},
        {&LineCounters::Break, 0x10, 0},
        {&LineCounters::CarrierDetect, 0, 8},
        {&LineCounters::Ring, 0, 4},
    };
    for (const auto& c : cases) {
        LineCounters after = before;
        after.*c.counter += 3;
        const LineEvents events = LineEventsBetween(before, after);
        EXPECT_EQ(events.ErrorFlags, c.flags);
        EXPECT_EQ(events.ModemCode, c.code);
    }
    LineCounters both = before;
    both.CarrierDetect = 0;  // a wrapped counter is still a change
    both.Ring++;
    both.Frame++;
    both.Overrun++;
    EXPECT_EQ(LineEventsBetween(before, both).ModemCode, 12u);
    EXPECT_EQ(LineEventsBetween(before, both).ErrorFlags, 0x0Au);
}

TEST(Notification, ReceivedCopiesEndInAnUncountedZero) {
    const std::uint8_t bytes[] = {0x68, 0x00, 0x16};
    const Notification n = Notification::Received(bytes);
    EXPECT_EQ(n.Kind, NotificationKind::DataReceived);
    EXPECT_EQ(n.ByteCount(), 3);
    EXPECT_EQ(n.Bytes, (std::vector<std::uint8_t>{0x68, 0x00, 0x16, 0x00}));
    EXPECT_EQ(Notification{}.ByteCount(), 0);
}

TEST(QueueNotifySink, DeliversInPostingOrderOnTheOwnersThreadAndCanRefuse) {
    test::RefusingSink sink;
    std::vector<std::uint32_t> seen;
    std::vector<std::thread::id> threads;
    sink.SetHandler([&](Notification n) {
        seen.push_back(n.Value);
        threads.push_back(std::this_thread::get_id());
        if (n.Value == 2)  // a handler may post, and run a nested loop
            sink.Post(Notification{NotificationKind::ModemEvent, 99, {}});
    });
    std::thread poster([&] {
        for (std::uint32_t i = 1; i <= 3; ++i)
            EXPECT_TRUE(sink.Post(Notification{NotificationKind::LineError, i, {}}));
    });
    poster.join();
    EXPECT_EQ(sink.DeliverPending(), 3u) << "only what was queued when it began";
    EXPECT_EQ(sink.WaitAndDeliver(std::chrono::milliseconds(1000)), 1u);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 2, 3, 99}));
    for (const auto& id : threads)
        EXPECT_EQ(id, std::this_thread::get_id());

    sink.SetRefusing(true);
    EXPECT_FALSE(sink.Post(Notification::Received(std::vector<std::uint8_t>(10, 1))));
    sink.SetRefusing(false);
    EXPECT_EQ(sink.WaitAndDeliver(std::chrono::milliseconds(20)), 0u);
}

TEST(TCommEvents, EachNotificationRaisesItsEventInPostingOrder) {
    auto queue = std::make_unique<QueueNotifySink>();
    QueueNotifySink& sink = *queue;
    TComm comm(std::move(queue));
    test::CommEvents events(comm, sink);
    const std::uint8_t bytes[] = {1, 2};
    sink.Post(Notification{NotificationKind::ModemEvent, 12, {}});
    sink.Post(Notification::Received(bytes));
    sink.Post(Notification{NotificationKind::LineError, 0x08, {}});
    sink.Post(Notification{NotificationKind::HangupRequest, 0, {}});
    sink.Post(Notification{NotificationKind::SendQueueEmpty, 0, {}});
    EXPECT_EQ(sink.DeliverPending(), 5u);
    const std::vector<test::CommEvent>& all = events.All();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0].kind, NotificationKind::ModemEvent);
    EXPECT_EQ(all[0].value, 12u);
    EXPECT_EQ(all[1].kind, NotificationKind::DataReceived);
    EXPECT_EQ(all[1].bytes, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(all[2].kind, NotificationKind::LineError);
    EXPECT_EQ(all[2].value, 0x08u);
    EXPECT_EQ(all[3].kind, NotificationKind::HangupRequest);
    EXPECT_EQ(all[4].kind, NotificationKind::SendQueueEmpty);

    // Without handlers nothing is raised and the copies still go (the sanitizer build checks
    // that none leaks).
    comm.OnReceiveData = nullptr;
    comm.OnModemStateChange = nullptr;
    sink.Post(Notification::Received(bytes));
    sink.Post(Notification{NotificationKind::ModemEvent, 4, {}});
    EXPECT_EQ(sink.DeliverPending(), 2u);
    EXPECT_EQ(events.All().size(), 5u);
}

}  // namespace
}  // namespace vortana
