#include "bench/BenchWindows.h"

#include <fstream>

#include "image/ModelPick.h"
#include "shell/TForm1.h"

namespace vortana::bench {
namespace {

constexpr char kModelLine[] = "01 VT8F-F64             0000 - FFFF         64K       0x00";

}  // namespace

BenchWindows::BenchWindows(FakeDesktop& desktop, const ScratchDir& dir, const std::string& port) {
    std::ofstream(dir.File("sysset.ini")) << "[comx]\nnum=" << port << "\n";
    desktop.Dir = dir.Path().string() + "/";
    windows_ = std::make_unique<Forms>(*state_, desktop);
    if (!Form1().Comm1.IsOpen())
        Fail("the port " + port + " did not open");
    PickModel(kModelLine).pick->ApplyTo(*state_);
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
}

}  // namespace vortana::bench
