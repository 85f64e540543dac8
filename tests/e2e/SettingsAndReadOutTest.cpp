// End to end: the main window driving the device simulator over a pseudo-terminal, clicks and
// replies going through the serial component's threads and the Qt event loop.
#include "image/ui/TForm3.h"
#include "shell/toolkit/TLabel.h"
#include "tests/e2e/WindowWithDevice.h"

namespace vortana {
namespace {

TEST_F(WindowWithDevice, SettingsCommandIsAnsweredAndReported) {
    StartWithDevice();
    Click(&TForm1::Button8);
    EXPECT_EQ(NthMessage(1), "设置成功!请重新 选择型号及加载文件");
    EXPECT_TRUE(Form1().Button1->isEnabled());
    const sim::DeviceState device = sim_->State();
    ASSERT_EQ(device.frames.size(), 1u);
}

TEST_F(WindowWithDevice, ReadOutOfA16KiBModelIsListedInTheReadOutView) {
    ChooseModel("0x00", "C000", "FFFF", 16);
    StartWithDevice();
    Click(&TForm1::Button7);
    ASSERT_TRUE(EventuallyHolds([&] { return Form1().Label7->Caption() == "100 %"; }));
    const QStringList rows = Windows().Form3->Rows();
    ASSERT_EQ(rows.size(), 4 * 256);
    EXPECT_EQ(rows.front(), "C000:: FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ");
    EXPECT_TRUE(rows.back().startsWith("FFF0:: "));
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

}  // namespace
}  // namespace vortana
