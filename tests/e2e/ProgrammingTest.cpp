// End to end: erase, download, program, verify and the combined command from the main window
// against the simulated device, and what the window shows of each outcome.
#include "image/ui/TForm3.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "tests/e2e/WindowWithDevice.h"

namespace vortana {
namespace {

constexpr std::size_t kFlashStart = 0xC000;
constexpr std::size_t kImageSize = 0x4000;

class Programming : public WindowWithDevice {
  protected:
    // A 16 KiB model at C000 without an additional window.
    void SetUp() override { ChooseModel("0x00", "C000", "FFFF", 16); }

    Bytes ChipFlash() const {
        const sim::DeviceState device = sim_->State();
        const auto memory = device.chip.Memory();
        return Bytes(memory.begin() + kFlashStart, memory.begin() + kFlashStart + kImageSize);
    }
    bool ProgramButtonsEnabled() {
        return Form1().Button4->isEnabled() && Form1().Button5->isEnabled() &&
               Form1().Button6->isEnabled();
    }
    bool TimersStopped() { return !Form1().Timer1.Enabled() && !Form1().Timer2.Enabled(); }
};

TEST_F(Programming, EraseDownloadProgramAndVerifyInTurn) {
    sim::SimConfig config = sim::SimConfig::Immediate();
    config.fill = Bytes(0x10000, 0x00);
    StartWithDevice(config);
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);

    // Nothing downloaded yet: the device can neither program nor verify.
    EXPECT_EQ(Run(&TForm1::Button4), "编 程 失 败");
    EXPECT_EQ(Run(&TForm1::Button5), "校 验 失 败");
    EXPECT_NE(Form1().Label7->Caption(), "100 %");  // where the percentage stood
    EXPECT_TRUE(TimersStopped());

    EXPECT_EQ(Run(&TForm1::Button3), "擦 除 成 功！");
    EXPECT_EQ(Form1().Label7->Caption(), "100 %");
    EXPECT_TRUE(TimersStopped());
    EXPECT_EQ(ChipFlash(), Bytes(kImageSize, 0xFF));

    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
    const Bytes image = AddressPattern(kImageSize, 0x31);
    EXPECT_EQ(Download(image), "文件加载成功，长度是 0400");  // 16 KiB / 16
    EXPECT_TRUE(ProgramButtonsEnabled());
    EXPECT_EQ(sim_->State().blocks.size(), 4u);
    EXPECT_TRUE(TimersStopped());

    EXPECT_EQ(Run(&TForm1::Button4), "编 程 成 功");
    EXPECT_EQ(ChipFlash(), image);
    EXPECT_EQ(Run(&TForm1::Button5), "校 验 成 功!");
    EXPECT_EQ(Form1().Label7->Caption(), "100 %");
    EXPECT_TRUE(TimersStopped());
    EXPECT_TRUE(desktop_.Errors.isEmpty());
}

// Flash bits can only be cleared by programming: over a byte that was not erased, the verify
// finds the first byte that did not take and names its address and both values.
TEST_F(Programming, ProgrammingOverUnerasedBytesIsReportedAtTheFirstMismatch) {
    sim::SimConfig config = sim::SimConfig::Immediate();
    config.fill = Bytes(0xD125, 0xFF);
    config.fill[0xD123] = 0x0F;
    config.fill[0xD124] = 0x00;
    StartWithDevice(config);
    Bytes image(kImageSize, 0xFF);
    image[0xD123 - kFlashStart] = 0x5A;  // 5A over 0F leaves 0A
    image[0xD124 - kFlashStart] = 0x77;  // and 77 over 00 leaves 00, but later
    ASSERT_EQ(Download(image), "文件加载成功，长度是 0400");

    EXPECT_EQ(Run(&TForm1::Button4), "编 程 成 功");
    EXPECT_EQ(Run(&TForm1::Button5), "校验没通过，错误地址：D123,  写入是 5A 读出是 0A");
    EXPECT_NE(Form1().Label7->Caption(), "100 %");
    EXPECT_TRUE(TimersStopped());

    // The combined command with erasing switched off in the settings hits the same byte; with
    // erasing on it succeeds.
    Form1().RadioGroup4->SetItemIndex(1);
    EXPECT_EQ(Run(&TForm1::Button8), "设置成功!请重新 选择型号及加载文件");
    EXPECT_EQ(Run(&TForm1::Button6), "校验没通过，错误地址：D123,  写入是 5A 读出是 0A");
    Form1().RadioGroup4->SetItemIndex(0);
    EXPECT_EQ(Run(&TForm1::Button8), "设置成功!请重新 选择型号及加载文件");
    EXPECT_EQ(Run(&TForm1::Button6), "擦除、编程、校验 成功!");
    EXPECT_EQ(Form1().Label7->Caption(), "100 %");
    EXPECT_EQ(ChipFlash(), image);
}

// Erasing lifts the protection, so the combined command, which erases first, unlocks the chip.
TEST_F(Programming, AReadProtectedChipCanBeNeitherVerifiedNorReadUntilErased) {
    sim::SimConfig config = sim::SimConfig::Immediate();
    config.readProtected = true;
    StartWithDevice(config);
    ASSERT_EQ(Download(Bytes(kImageSize, 0xFF)), "文件加载成功，长度是 0400");

    EXPECT_EQ(Run(&TForm1::Button5), "目标芯片已加密，无法校验。");
    Windows().Form3->AppendRows(std::vector<std::string>{"0000:: 00 "});
    EXPECT_EQ(Run(&TForm1::Button7), "目标芯片已加密，无法读出。");
    EXPECT_TRUE(Windows().Form3->Rows().isEmpty());
    EXPECT_TRUE(TimersStopped());

    EXPECT_EQ(Run(&TForm1::Button6), "擦除、编程、校验 成功!");
    EXPECT_EQ(Run(&TForm1::Button5), "校 验 成 功!");
    Click(&TForm1::Button7);
    ASSERT_TRUE(EventuallyHolds([&] { return Windows().Form3->Rows().size() == 1024; }));
    EXPECT_EQ(Windows().Form3->Rows().front(),
              "C000:: FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ");
}

}  // namespace
}  // namespace vortana
