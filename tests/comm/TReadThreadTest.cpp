// The reader on a serial line of the system's own (TestLine) with line counters fed by the test
// (the lines tests run on keep none), and its end when its notifications cannot be posted.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "comm/QueueNotifySink.h"
#include "comm/SerialPort.h"
#include "comm/TReadThread.h"
#include "tests/comm/CommEvents.h"
#include "tests/comm/RefusingSink.h"
#include "tests/comm/TestLine.h"

namespace vortana::test {
namespace {

class FakeCounters : public LineCounterSource {
  public:
    std::optional<LineCounters> SampleLineCounters() override {
        std::lock_guard lock(mutex_);
        return counters_;
    }
    void Change(const std::function<void(LineCounters&)>& change) {
        std::lock_guard lock(mutex_);
        change(counters_);
    }

  private:
    std::mutex mutex_;
    LineCounters counters_;
};

class ReaderOnPty : public ::testing::Test {
  protected:
    ReaderOnPty() {
        OpenResult opened = OpenSerialPort(line.CommName());
        port = std::move(opened.port);
        LineSettings raw;
        raw.Outx_XonXoffFlow = raw.Inx_XonXoffFlow = false;
        if (port) {
            port->ApplyLineSettings(raw);
            port->CreateSignals();
        }
        sink.SetHandler([this](Notification n) { got.push_back(std::move(n)); });
    }

    void SetUp() override {
        if (!line.Available())
            GTEST_SKIP() << "no serial line to test on";
    }
    bool PumpUntil(const std::function<bool()>& done) { return test::PumpUntil(sink, done); }
    bool Got(NotificationKind kind, std::uint32_t value) {
        return PumpUntil([&] {
            for (const Notification& n : got)
                if (n.Kind == kind && n.Value == value)
                    return true;
            return false;
        });
    }
    bool GotBytes(const std::string& text) {
        return PumpUntil([&] {
            for (const Notification& n : got)
                if (n.Kind == NotificationKind::DataReceived &&
                    std::string(n.Bytes.begin(), n.Bytes.begin() + n.ByteCount()) == text)
                    return true;
            return false;
        });
    }
    std::size_t Count(NotificationKind kind) const {
        std::size_t count = 0;
        for (const Notification& n : got)
            count += n.Kind == kind;
        return count;
    }

    TestLine line;
    std::unique_ptr<SerialPort> port;
    RefusingSink sink;
    std::vector<Notification> got;
};

TEST_F(ReaderOnPty, LineErrorsAndModemChangesAreReportedAndReadingGoesOn) {
    ASSERT_TRUE(port);
    FakeCounters counters;
    {
        TReadThread reader(*port, sink, counters);
        line.Write("one");
        ASSERT_TRUE(GotBytes("one"));

        counters.Change([](LineCounters& c) {
            c.Frame++;
            c.Overrun += 2;
        });
        EXPECT_TRUE(Got(NotificationKind::LineError, 0x0A));
        counters.Change([](LineCounters& c) { c.CarrierDetect++; });
        EXPECT_TRUE(Got(NotificationKind::ModemEvent, 8));
        counters.Change([](LineCounters& c) { c.Ring++; });
        EXPECT_TRUE(Got(NotificationKind::ModemEvent, 4));
        counters.Change([](LineCounters& c) {
            c.Ring++;
            c.CarrierDetect++;
            c.Break++;
        });
        EXPECT_TRUE(Got(NotificationKind::ModemEvent, 12));
        EXPECT_TRUE(Got(NotificationKind::LineError, 0x10));

        line.Write("two");
        EXPECT_TRUE(GotBytes("two"));
    }
    sink.DeliverPending();
    EXPECT_EQ(Count(NotificationKind::LineError), 2u) << "one report per change";
    EXPECT_EQ(Count(NotificationKind::ModemEvent), 3u);
    EXPECT_EQ(Count(NotificationKind::HangupRequest), 0u) << "stopped, not failed";
}

TEST_F(ReaderOnPty, APostThatFailsEndsTheReader) {
    ASSERT_TRUE(port);
    TReadThread reader(*port, sink);
    sink.SetRefusing(true);
    line.Write("lost");
    std::this_thread::sleep_for(400ms);  // the burst completes; its post and the hang-up fail
    sink.SetRefusing(false);
    line.Write("after");
    std::this_thread::sleep_for(400ms);
    sink.DeliverPending();
    EXPECT_TRUE(got.empty()) << "nothing is read once the reader has ended";
}

}  // namespace
}  // namespace vortana::test
