// End to end: the main window driving the device simulator over a pseudo-terminal, clicks and
// replies going through the serial component's threads and the Qt event loop.
#include <QPushButton>
#include <QTest>

#include "image/TForm3.h"
#include "shell/TForm1.h"
#include "shell/toolkit/TLabel.h"
#include "sim/Simulator.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

using namespace std::chrono_literals;

class WindowWithDevice : public ShellFixture {
  protected:
    void StartWithDevice() {
        PutFile("sysset.ini", "[comx]\nnum=" + sim_.StartOnPty() + "\n");
        Start();
        ASSERT_TRUE(Form1().Comm1.IsOpen());
    }

    // Runs the event loop until `done` or a generous limit; replies arrive through it.
    template <typename Done>
    bool EventuallyHolds(Done done) {
        return QTest::qWaitFor(done, 10000);
    }

    sim::Simulator sim_{sim::SimConfig::Immediate()};
};

TEST_F(WindowWithDevice, SettingsCommandIsAnsweredAndReported) {
    StartWithDevice();
    QTest::mouseClick(Form1().Button8, Qt::LeftButton);
    ASSERT_TRUE(EventuallyHolds([&] { return !desktop_.Messages.isEmpty(); }));
    EXPECT_EQ(desktop_.Messages, QStringList{"设置成功!请重新 选择型号及加载文件"});
    EXPECT_TRUE(Form1().Button1->isEnabled());
    const sim::DeviceState device = sim_.State();
    ASSERT_EQ(device.frames.size(), 1u);
}

TEST_F(WindowWithDevice, ReadOutOfA16KiBModelIsListedInTheReadOutView) {
    state_->FlashStart = "C000";
    state_->FlashEnd = "FFFF";
    state_->FlashSizeK = "16";
    state_->ModelCode = "0x00";
    state_->ImageSize = 16384;
    StartWithDevice();
    Form1().Button7->setEnabled(true);
    QTest::mouseClick(Form1().Button7, Qt::LeftButton);
    ASSERT_TRUE(EventuallyHolds([&] { return Form1().Label7->Caption() == "100 %"; }));
    const QStringList rows = Windows().Form3->Rows();
    ASSERT_EQ(rows.size(), 4 * 256);
    EXPECT_EQ(rows.front(), "C000:: FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ");
    EXPECT_TRUE(rows.back().startsWith("FFF0:: "));
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

}  // namespace
}  // namespace vortana
