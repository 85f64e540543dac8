// Times the load as the user meets it: from the file chosen in the main window's file dialog to
// block 0 handed to the serial component, through the real windows on the offscreen platform
// (file read, parse, blocks, checksum label, the file-buffer view's 4096 rows, timers). Prints
// the median beside srec_cat turning the same 64 KiB file into binary in the same run, and
// their ratio. Loads and srec_cat runs take turns.
//
//   build/vortana_bench_load_window [loads] [srec_cat runs]
//
// The port is a pseudo-terminal whose other end the benchmark reads, so every header and
// block 0 really goes out and is checked. srec_cat runs are whole processes, start-up included.
#include <QApplication>
#include <cstdio>

#include "bench/BenchWindows.h"
#include "harness/Pty.h"
#include "harness/SRecordFiles.h"
#include "harness/ui/FakeDesktop.h"
#include "image/ui/TForm4.h"
#include "shell/ui/TForm1.h"

namespace {

using namespace vortana;
using namespace vortana::bench;
using namespace std::chrono_literals;

constexpr std::size_t kImageBytes = kBenchImageBytes;
constexpr std::size_t kHeaderBytes = 12;
constexpr int kDefaultLoads = 50;
constexpr int kDefaultSrecCatRuns = 30;

}  // namespace

int main(int argc, char** argv) {
    const int loads = CountArgument(argc, argv, 1, kDefaultLoads);
    const int srecCatRuns = CountArgument(argc, argv, 2, kDefaultSrecCatRuns);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const ScratchDir dir;
    const std::string records = dir.File("image.s19");
    const std::vector<std::uint8_t> bytes = test::RandomBytes(kImageBytes, 2024);
    test::WriteSRecordFile(records, bytes, 0x0000);
    test::Pty line;
    FakeDesktop desktop;
    desktop.Dir = dir.Path().string() + "/";
    BenchWindows windows(desktop, line.SlavePath());
    TForm1& form = windows.Form1();

    Clock::time_point chosen;
    desktop.WhileFileDialogOpen = [&] { chosen = Clock::now(); };
    const std::string binary = dir.File("out.bin");
    std::vector<double> loadTimes;
    std::vector<double> srecCatTimes;
    // Loads and srec_cat runs take turns, so that both meet the machine as it is at the time.
    for (int i = 0; i < std::max(loads, srecCatRuns); ++i) {
        if (i < srecCatRuns) {
            const Clock::time_point start = Clock::now();
            SrecCatToBinary(records, binary);
            srecCatTimes.push_back(MsBetween(start, Clock::now()));
        }
        if (i >= loads)
            continue;
        desktop.FileAnswers.push_back(QString::fromStdString(records));
        form.Button2Click();
        loadTimes.push_back(MsBetween(chosen, Clock::now()));
        const std::vector<std::uint8_t> sent = line.Read(kHeaderBytes + kImageBlockSize, 5s);
        if (sent.size() != kHeaderBytes + kImageBlockSize ||
            !std::equal(bytes.begin(), bytes.begin() + 4096, sent.begin() + kHeaderBytes + 2))
            Fail("block 0 did not go out whole after its header");
        if (!desktop.Messages.isEmpty() || !desktop.Errors.isEmpty())
            Fail("the load was refused");
    }
    CheckSrecCatBinary(binary, bytes);
    const qsizetype rows = windows.Windows().Form4->Rows().size();
    if (rows != kImageBytes / 16)
        Fail("the file-buffer view lists " + std::to_string(rows) + " rows");

    const double loadMs = Median(loadTimes);
    const double srecCatMs = Median(srecCatTimes);
    std::printf("S-record file: %zu bytes, %zu data bytes, %lld listing rows\n",
                static_cast<std::size_t>(std::filesystem::file_size(records)), kImageBytes,
                static_cast<long long>(rows));
    std::printf("window load, file chosen to block 0 sent: %8.3f ms  (median of %d)\n", loadMs,
                loads);
    std::printf("srec_cat to binary (whole process):       %8.3f ms  (median of %d)\n", srecCatMs,
                srecCatRuns);
    std::printf("ratio window load / srec_cat: %.3f (goal: at most 1)\n", loadMs / srecCatMs);
    PrintFigure("load_over_srec_cat", loadMs / srecCatMs);
    return 0;
}
