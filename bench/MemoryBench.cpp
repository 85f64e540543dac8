// Resident memory of the program as a user runs it: the real windows on a real X server (the
// xcb platform, not offscreen), after a 64 KiB S-record file loaded through the load button and
// downloaded to the device, and a 64 KiB read-out from it listed in the read-out view, which is
// then open as the user would look at it. Prints VmRSS and VmHWM from /proc/self/status at
// start-up, with the main window shown, and at the end (goal: VmRSS under 50 MiB at the end).
//
//   xvfb-run -a build/vortana_bench_memory
//
// The device is the simulator program (vortana-sim, unpaced), a process of its own as a real
// programmer is a device of its own: only the front end's memory is counted. The program's own
// desktop serves the windows, except that its file dialog answers with the file and information
// boxes are noted instead of shown (a benchmark has no user to close them).
#include <QApplication>
#include <QPushButton>
#include <cstdio>
#include <fstream>

#include "bench/BenchWindows.h"
#include "harness/SRecordFiles.h"
#include "image/ui/TForm3.h"
#include "image/ui/TForm4.h"
#include "shell/toolkit/TLabel.h"
#include "shell/ui/TForm1.h"

namespace {

using namespace vortana;
using namespace vortana::bench;
using namespace std::chrono_literals;

constexpr std::size_t kImageBytes = kBenchImageBytes;
constexpr qsizetype kListingRows = kImageBytes / 16;
constexpr auto kGiveUp = 60s;
constexpr auto kPaintTime = 500ms;

void PrintUse(const char* when, const MemoryUse& use) {
    std::printf("%-44s VmRSS %7.2f MiB   VmHWM %7.2f MiB\n", when, use.residentMiB, use.peakMiB);
}

// Lets the windows lay out and paint whatever changed.
void Paint() {
    RunUntil([] { return false; }, kPaintTime);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        Fail("no X server: run it under xvfb-run");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    PrintUse("start-up (the application, no window yet):", ReadMemoryUse());

    const ScratchDir dir;
    const std::string records = dir.File("image.s19");
    test::WriteSRecordFile(records, test::RandomBytes(kImageBytes, 7), 0x0000);
    const std::vector<std::uint8_t> chip = test::RandomBytes(kImageBytes, 8);
    std::ofstream(dir.File("chip.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(chip.data()),
               static_cast<std::streamsize>(chip.size()));
    const SimulatorProcess device(
        VORTANA_SIM_PROGRAM, {"--no-pace", "--work-scale", "0", "--fill", dir.File("chip.bin")});
    BenchDesktop desktop(dir, records);
    BenchWindows windows(desktop, device.Path());
    TForm1& form = windows.Form1();
    form.show();
    Paint();
    PrintUse("the main window shown:", ReadMemoryUse());

    form.Button2->click();
    if (!RunUntil([&] { return !desktop.Messages.isEmpty(); }, kGiveUp) ||
        !desktop.Messages.front().startsWith("文件加载成功"))
        Fail("the download did not succeed: " + desktop.Messages.join(" / ").toStdString());
    if (windows.Windows().Form4->Rows().size() != kListingRows)
        Fail("the file-buffer view does not list the whole image");
    form.Button7->click();
    if (!RunUntil([&] { return form.Label7->Caption() == "100 %"; }, kGiveUp) ||
        windows.Windows().Form3->Rows().size() != kListingRows)
        Fail("the read-out did not list the whole chip");
    windows.Windows().Form3->show();
    Paint();

    const MemoryUse end = ReadMemoryUse();
    PrintUse("after a 64 KiB load and a 64 KiB read-out:", end);
    std::printf("goal: VmRSS under 50 MiB after the load and the read-out\n");
    PrintFigure("resident_mib", end.residentMiB);
    PrintFigure("peak_resident_mib", end.peakMiB);
    return 0;
}
