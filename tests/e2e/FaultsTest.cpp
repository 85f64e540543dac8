// End to end, beyond the fault matrix: a late reply after the time-out, and block requests past
// an image that a larger one came before.
#include <QTest>

#include "shell/toolkit/TLabel.h"
#include "tests/e2e/WindowWithDevice.h"

namespace vortana {
namespace {

using namespace std::chrono_literals;

const QString kTimeOut = "本次操作超时失败，编程器无响应，请检查供电是否正常！";
const QString kDownloadFailed = "文 件 加 载 失 败";

class Faults : public WindowWithDevice {
  protected:
    void SetUp() override { ChooseModel("0x00", "C000", "FFFF", 16); }

    // Two minutes of the elapsed-time timer, tick by tick, before any reply can be handled.
    void TwoMinutesPass() {
        for (int tick = 0; tick < 1200; ++tick)
            Form1().Timer2Timer();
    }
    std::size_t FramesReceived() const { return sim_->State().frames.size(); }
    // Whether the device gets a frame or block after the `frames` and `blocks` it already had,
    // within a moment.
    bool DeviceGetsMore(std::size_t frames, std::size_t blocks) const {
        return sim_->WaitUntil(
            [&](const sim::DeviceState& s) {
                return s.frames.size() > frames || s.blocks.size() > blocks;
            },
            500ms);
    }
};

TEST_F(Faults, ASilentDeviceTimesOutOnceAndALateReplyIsStillShown) {
    StartWithDevice();
    sim_->InjectFault({sim::FaultKind::Silence});
    Click(&TForm1::Button3);
    TwoMinutesPass();
    EXPECT_EQ(Form1().Label9->Caption(), "120.0 秒");
    EXPECT_FALSE(Form1().Timer2.Enabled());
    EXPECT_EQ(desktop_.Messages, QStringList{kTimeOut});
    ASSERT_TRUE(sim_->WaitUntil([](const sim::DeviceState& s) { return !s.frames.empty(); }, 5s));
    QTest::qWait(400);  // the device stays silent
    EXPECT_EQ(desktop_.Messages, QStringList{kTimeOut});
    EXPECT_NE(Form1().Label7->Caption(), "100 %");

    sim_->InjectFault({sim::FaultKind::Late, 500});
    Click(&TForm1::Button3);
    TwoMinutesPass();
    EXPECT_EQ(NthMessage(3), "擦 除 成 功！");
    EXPECT_EQ(desktop_.Messages, QStringList({kTimeOut, kTimeOut, "擦 除 成 功！"}));
    EXPECT_EQ(Form1().Label7->Caption(), "100 %");
    EXPECT_EQ(Form1().Label9->Caption(), "120.0 秒");
}

// A request for a block the current image does not have ends the download: nothing is sent,
// neither a block an earlier, larger image left in the table nor bytes from past the table.
TEST_F(Faults, ABlockRequestPastTheImageEndsTheDownloadAndSendsNothing) {
    ChooseModel("0x00", "0000", "FFFF", 64);
    StartWithDevice();
    ASSERT_EQ(Download(AddressPattern(0x10000)), "文件加载成功，长度是 1000");

    ChooseModel("0x00", "C000", "FFFF", 16);
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
    const std::optional<unsigned> requests[] = {std::nullopt, 5u, 16u, 255u};
    for (const std::optional<unsigned> block : requests) {
        SCOPED_TRACE(block.value_or(4));
        sim_->InjectFault({sim::FaultKind::BlockOutOfRange, block});
        EXPECT_EQ(Download(AddressPattern(0x4000)), kDownloadFailed);
        EXPECT_FALSE(Form1().Timer1.Enabled());
        EXPECT_FALSE(Form1().Timer2.Enabled());
        EXPECT_FALSE(Form1().Button4->isEnabled());
        EXPECT_EQ(sim_->State().blocks.size(), 1u);  // block 0 only
        EXPECT_FALSE(DeviceGetsMore(FramesReceived(), 1));
    }
    EXPECT_EQ(Download(AddressPattern(0x4000)), "文件加载成功，长度是 0400");
    EXPECT_TRUE(Form1().Button4->isEnabled());
}

}  // namespace
}  // namespace vortana
