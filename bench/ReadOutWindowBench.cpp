// How long the user-interface thread is busy with one read-out page in the real main window: from
// the entry of the receive handler (as the serial component calls it) to its return, for
// 4096-byte pages appended to a growing read-out view, first hidden, then shown. The pages of a
// 64 KiB chip and the pages after them (a listing growing to 1 MiB) are counted apart. With the
// view shown, the event loop's work after each page (layout, painting) is measured as well; it
// does not count for the handler but keeps the thread busy too. The figure is the longest that
// one page of a 64 KiB read-out keeps the thread busy, handler and event loop after it, with the
// view hidden or shown. Offscreen platform; the port is a pseudo-terminal on which nobody
// answers: the read-out frame goes out there, and the pages are handed to the receive handler.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

#include "bench/BenchWindows.h"
#include "harness/Pty.h"
#include "image/ui/TForm3.h"
#include "shell/SessionState.h"
#include "shell/ui/Forms.h"
#include "shell/ui/TForm1.h"

namespace {

using namespace vortana;
using Clock = std::chrono::steady_clock;

constexpr int kChipPages = 16;  // 64 KiB
constexpr int kPages = 256;     // 1 MiB of listing: 65536 rows
constexpr std::size_t kPageBytes = 4096;

struct Figures {
    std::vector<double> chip;   // ms per page, the first 64 KiB
    std::vector<double> after;  // ms per page, beyond
};

double Ms(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

void Print(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("  %-34s median %7.3f ms   max %7.3f ms   (%zu pages)\n", what, ms[ms.size() / 2],
                ms.back(), ms.size());
}

struct ReadOutFigures {
    double startMs;  // the read-out button's handler, which empties the view
    Figures handler;
    Figures loop;
    double longestChipPageMs;  // handler and event loop after it, the most for one of 16 pages
};

// One read-out of kPages pages; the handler's time and the event loop's after it, per page.
ReadOutFigures ReadOut(TForm1& form, bool viewShown) {
    std::vector<std::uint8_t> page(kPageBytes);
    Figures handler, loop;
    double longest = 0;
    const auto clicked = Clock::now();
    form.Button7Click();
    const double startMs = Ms(Clock::now() - clicked);
    for (int n = 0; n < kPages; ++n) {
        for (std::size_t i = 0; i < page.size(); ++i)
            page[i] = static_cast<std::uint8_t>(i * 7 + n);
        const auto start = Clock::now();
        form.Comm1.OnReceiveData(&form.Comm1, page.data(), kPageBytes);
        const auto handled = Clock::now();
        if (viewShown)
            QApplication::processEvents();
        const auto idle = Clock::now();
        (n < kChipPages ? handler.chip : handler.after).push_back(Ms(handled - start));
        (n < kChipPages ? loop.chip : loop.after).push_back(Ms(idle - handled));
        if (n < kChipPages)
            longest = std::max(longest, Ms(idle - start));
    }
    return {startMs, handler, loop, longest};
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bench::ScratchDir dir;
    const test::Pty line;
    std::ofstream(dir.File("sysset.ini")) << "[comx]\nnum=" << line.SlavePath() << "\n";

    const auto state = std::make_unique<SessionState>();
    state->ModelCode = "0xB0";
    state->FlashStart = "4000";
    state->FlashEnd = "FFFF";
    state->FlashSizeK = "64";
    state->ImageSize = 65536;
    bench::BenchDesktop desktop(dir);
    Forms forms(*state, desktop);
    forms.Form1->show();
    QApplication::processEvents();

    std::printf("UI thread per 4096-byte read-out page, receive handler entry to return\n");
    std::printf("(goal: under 16 ms)\n");
    double longest = 0;
    for (const bool shown : {false, true}) {
        if (shown)
            forms.Form3->show();
        QApplication::processEvents();
        const qsizetype rowsBefore = forms.Form3->Rows().size();
        const auto [startMs, handler, loop, longestChipPageMs] = ReadOut(*forms.Form1, shown);
        longest = std::max(longest, longestChipPageMs);
        std::printf("read-out view %s, %d rows at the end:\n", shown ? "shown" : "hidden",
                    static_cast<int>(forms.Form3->Rows().size()));
        std::printf("  read-out start, emptying %6d rows:  %7.3f ms\n",
                    static_cast<int>(rowsBefore), startMs);
        Print("handler, pages 1-16 (64 KiB)", handler.chip);
        Print("handler, pages 17-256", handler.after);
        if (shown) {
            Print("event loop after, pages 1-16", loop.chip);
            Print("event loop after, pages 17-256", loop.after);
        }
    }
    std::printf(
        "longest UI-thread time for one page of a 64 KiB read-out, handler and event loop "
        "after it: %.3f ms\n",
        longest);
    bench::PrintFigure("readout_page_ui_longest_ms", longest);
    return 0;
}
