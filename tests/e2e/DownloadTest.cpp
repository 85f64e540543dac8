// End to end: a model chosen from the catalogue beside the executable, a 64 KiB S-record file
// written by srec_cat loaded and downloaded block by block on the simulated device's requests,
// then erased, programmed and verified into its chip; a file of another format refused before
// any block goes out; and serial numbers entered in the offline mode reaching the device in the
// download header.
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "harness/SRecordFiles.h"
#include "image/ui/TForm5.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "shell/ui/TForm1.h"
#include "sim/Simulator.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kFullImage = 65536;
const std::string kCatalogue =
    "01 VT8A-C16             C000 - FFFF         16K       0x00\r\n"
    "02 VT8F-F64             0000 - FFFF         64K       0x00\r\n";
constexpr int kFullModelLine = 1;

class DownloadToDevice : public ShellFixture {
  protected:
    void StartWithDevice() {
        RememberPort(sim_.StartOnPty());
        PutFile("MCUtype.txt", kCatalogue);
        Start();
        ASSERT_TRUE(Form1().Comm1.IsOpen());
        Form1().show();
    }

    // Clicks `button` and runs the event loop until the device's answer has been shown.
    QString ClickForMessage(QPushButton* button) {
        desktop_.Messages.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop_.Messages.isEmpty(); }, 20000));
        return desktop_.Messages.value(0);
    }

    // The settings command, then a double click on catalogue line `line` in the model list.
    void SettingsAndModel(int line) {
        EXPECT_EQ(ClickForMessage(Form1().Button8), "设置成功!请重新 选择型号及加载文件");
        PickCatalogueLine(line);
    }

    // Loads `data` as an S-record file placed at `address` and waits for the device's verdict.
    QString Download(const Bytes& data, std::uint32_t address) {
        test::WriteSRecordFile(PathOf("image.s19"), data, address);
        desktop_.FileAnswers.push_back(QString::fromStdString(PathOf("image.s19")));
        return ClickForMessage(Form1().Button2);
    }

    sim::Simulator sim_{sim::SimConfig::Immediate()};
};

TEST_F(DownloadToDevice, AFullImageIsAskedForBlockByBlockAndEndsUpInTheChip) {
    StartWithDevice();
    SettingsAndModel(kFullModelLine);
    ASSERT_EQ(state_->ImageSize, kFullImage);
    ASSERT_TRUE(Form1().Button2->isEnabled());

    const Bytes data = test::RandomBytes(kFullImage, 11);
    // The device's length is the image size / 16, high byte first: 10 00.
    EXPECT_EQ(Download(data, 0x0000), "文件加载成功，长度是 1000");
    EXPECT_EQ(Form1().Label7->Caption(), "100 %");
    for (QPushButton* button : {Form1().Button4, Form1().Button5, Form1().Button6})
        EXPECT_TRUE(button->isEnabled());
    const sim::DeviceState loaded = sim_.State();
    ASSERT_EQ(loaded.blocks.size(), 16u);
    for (std::size_t n = 0; n < 16; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(loaded.blocks[n][0], n);
        EXPECT_EQ(loaded.blocks[n][1], n * 0x10);  // the address high byte
    }
    EXPECT_EQ(loaded.badInputs, 0u);

    EXPECT_EQ(ClickForMessage(Form1().Button6), "擦除、编程、校验 成功!");
    EXPECT_EQ(sim_.State().chip.Read(0x0000, kFullImage), data);
    EXPECT_TRUE(desktop_.Errors.isEmpty());
}

TEST_F(DownloadToDevice, AnIntelHexFileIsRefusedAndNoBlockReachesTheDevice) {
    StartWithDevice();
    SettingsAndModel(0);
    test::WriteIntelHexFile(PathOf("image.hex"), test::RandomBytes(16384, 5), 0xC000);
    desktop_.FileAnswers.push_back(QString::fromStdString(PathOf("image.hex")));
    // The user takes a moment in the file dialog, long enough for the header to reach the device.
    desktop_.WhileFileDialogOpen = [&] {
        EXPECT_TRUE(
            sim_.WaitUntil([](const sim::DeviceState& s) { return s.header.has_value(); }, 5s));
    };
    EXPECT_EQ(ClickForMessage(Form1().Button2), "文件加载错误，第1行不是S记录");

    EXPECT_FALSE(
        sim_.WaitUntil([](const sim::DeviceState& s) { return !s.blocks.empty(); }, 500ms));
    EXPECT_FALSE(Form1().Timer2.Enabled());
    EXPECT_TRUE(Form1().Comm1.IsOpen()) << "the load was given up: the port opened again";
    // Nothing can be programmed until a load succeeds, so no blank chip is reported as done.
    for (QPushButton* button : {Form1().Button4, Form1().Button5, Form1().Button6})
        EXPECT_FALSE(button->isEnabled());
}

TEST_F(DownloadToDevice, SerialNumbersOfTheOfflineModeTravelInTheHeader) {
    StartWithDevice();
    QTest::mouseClick(Form1().RadioGroup1->Item(1), Qt::LeftButton);  // "离线"
    WhenModalShown([&](QWidget*) {
        TForm5& dialog = *Windows().Form5;
        dialog.Edit1->clear();
        QTest::keyClicks(dialog.Edit1, "2024061799");
        dialog.Edit2->clear();
        QTest::keyClicks(dialog.Edit2, "5");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    QTest::mouseClick(Form1().RadioGroup3->Item(1), Qt::LeftButton);  // "是"
    SettingsAndModel(0);
    EXPECT_EQ(Download(test::RandomBytes(16384, 3), 0xC000), "文件加载成功，长度是 0400");

    const sim::DeviceState device = sim_.State();
    ASSERT_TRUE(device.settings.has_value());
    EXPECT_EQ(device.settings->mode, 0xAA);  // offline
    ASSERT_TRUE(device.header.has_value());
    EXPECT_EQ(device.header->sizeK, 16);
    EXPECT_EQ(device.header->serialNumber, (std::array<std::uint8_t, 5>{99, 17, 6, 24, 20}));
    EXPECT_EQ(device.header->increment, 5);
}

}  // namespace
}  // namespace vortana
