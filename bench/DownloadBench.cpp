// Times a whole 64 KiB download through the real main window against the device simulator
// paced at 38400 baud (no work time): from the download header to the device's success reply
// handled. Prints each run beside the protocol's minimum, the bytes on the wire at 3840 bytes a
// second plus the 100 ms of silence after each of the 16 replies by which the serial component
// knows a reply is whole, and their ratio.
//
//   build/vortana_bench_download [runs]
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "bench/BenchWindows.h"
#include "harness/SRecordFiles.h"
#include "harness/ui/FakeDesktop.h"
#include "shell/ui/TForm1.h"
#include "sim/Simulator.h"

namespace {

using namespace vortana;
using namespace vortana::bench;

constexpr std::size_t kImageBytes = kBenchImageBytes;
constexpr std::size_t kBlocks = kImageBytes / 4096;
constexpr std::size_t kHeaderBytes = 12;
constexpr double kLineBytesPerSecond = 3840;  // 38400 baud, 8N1
constexpr double kReplyGapSeconds = 0.1;      // the reader's ReadIntervalTimeout
constexpr int kDefaultRuns = 3;
constexpr int kGiveUpMs = 120000;

// Information boxes answered at once, the time of the last one noted and the waiting loop ended.
class TimedDesktop : public FakeDesktop {
  public:
    void ShowMessage(const QString& text) override {
        FakeDesktop::ShowMessage(text);
        shownAt = Clock::now();
        if (waiting != nullptr)
            waiting->quit();
    }

    Clock::time_point shownAt;
    QEventLoop* waiting = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = CountArgument(argc, argv, 1, kDefaultRuns);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    sim::SimConfig config;  // paced at 38400 baud
    config.workScale = 0;
    sim::Simulator device(config);
    const ScratchDir dir;
    const std::string records = dir.File("image.s19");
    test::WriteSRecordFile(records, test::RandomBytes(kImageBytes, 99), 0x0000);
    TimedDesktop desktop;
    desktop.Dir = dir.Path().string() + "/";
    BenchWindows windows(desktop, device.StartOnPty());
    TForm1& form = windows.Form1();
    std::size_t received = 0;
    const TReceiveDataEvent handler = form.Comm1.OnReceiveData;
    form.Comm1.OnReceiveData = [&](TComm* sender, const void* buffer, std::uint16_t length) {
        received += length;
        handler(sender, buffer, length);
    };

    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        received = 0;
        desktop.Messages.clear();
        desktop.FileAnswers.push_back(QString::fromStdString(records));
        QEventLoop loop;
        desktop.waiting = &loop;
        QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
        const Clock::time_point start = Clock::now();
        form.Button2Click();
        loop.exec();
        desktop.waiting = nullptr;
        if (desktop.Messages.size() != 1 || !desktop.Messages[0].startsWith("文件加载成功"))
            Fail("the download did not succeed: " + desktop.Messages.join(" / ").toStdString());
        // The device keeps the blocks of the last download only.
        const std::size_t blocks = device.State().blocks.size();
        if (blocks != kBlocks || device.State().image.size() != kBlocks)
            Fail("the device took " + std::to_string(blocks) + " blocks");

        const std::size_t wire = kHeaderBytes + blocks * kImageBlockSize + received;
        const double minimum = wire / kLineBytesPerSecond + kBlocks * kReplyGapSeconds;
        const double measured = MsBetween(start, desktop.shownAt) / 1000;
        ratios.push_back(measured / minimum);
        std::printf(
            "run %d: %zu bytes on the wire (%zu received); measured %.3f s, minimum %.3f s, "
            "ratio %.4f\n",
            run, wire, received, measured, minimum, measured / minimum);
        std::fflush(stdout);
    }
    std::printf("median ratio measured / minimum: %.4f (goal: at most 1.02)\n", Median(ratios));
    PrintFigure("download_over_minimum", Median(ratios));
    return 0;
}
