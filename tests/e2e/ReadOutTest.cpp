// End to end: read-outs of a whole 64 KiB chip listed in the read-out view at the addresses each
// kind of model gives its pages, also when the line cuts a page in two or runs two together, and
// with no other command let in before the last page.
#include <QTest>

#include "image/HexRow.h"
#include "image/ui/TForm3.h"
#include "shell/toolkit/TLabel.h"
#include "tests/e2e/WindowWithDevice.h"

namespace vortana {
namespace {

constexpr std::size_t kChipSize = 0x10000;
constexpr std::size_t kRowsPerPage = 256;

// `pages` pages of rows as the chip holds them: listed from `listedAt`, with the chip's bytes
// from `readFrom` on (the device's addresses wrap at 64 KiB, the listing's run on).
QStringList ChipRows(const Bytes& chip, std::uint32_t listedAt, std::uint32_t readFrom,
                     std::size_t pages) {
    Bytes bytes(pages * kRowsPerPage * kHexRowBytes);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = chip[(readFrom + i) % kChipSize];
    return ListingRows(bytes, listedAt);
}

class ReadOut : public WindowWithDevice {
  protected:
    void StartWithChip() {
        sim::SimConfig config = sim::SimConfig::Immediate();
        config.fill = chip_;
        StartWithDevice(config);
    }
    // Reads the chip out and waits for the page that completes it.
    void ReadOutToTheEnd() {
        Click(&TForm1::Button7);
        ASSERT_TRUE(EventuallyHolds([&] { return Form1().Label7->Caption() == "100 %"; }));
        EXPECT_FALSE(Form1().Timer1.Enabled());
        EXPECT_FALSE(Form1().Timer2.Enabled());
    }

    const Bytes chip_ = AddressPattern(kChipSize, 0x5C);
};

TEST_F(ReadOut, AChipWithoutAWindowIsListedInOneRunFromItsStart) {
    ChooseModel("0x00", "0000", "FFFF", 64);
    StartWithChip();
    ReadOutToTheEnd();
    EXPECT_EQ(Windows().Form3->Rows(), ChipRows(chip_, 0x0000, 0x0000, 16));
    EXPECT_TRUE(desktop_.Messages.isEmpty());
    const sim::ReceivedFrame frame = sim_->State().frames.back();
    EXPECT_EQ(frame.code, 0x04);
    EXPECT_EQ(frame.data, Bytes({0x00, 0x40, 0x00}));
}

TEST_F(ReadOut, AWindowModelListsItsWindowFirstThenItsFlashRunningOnPast64KiB) {
    ChooseModel("0xB0", "4000", "FFFF", 64);
    StartWithChip();
    ReadOutToTheEnd();
    QStringList expected = ChipRows(chip_, 0xB000, 0xB000, 1);
    expected.append(ChipRows(chip_, 0x4000, 0x4000, 15));
    const QStringList rows = Windows().Form3->Rows();
    EXPECT_EQ(rows, expected);
    ASSERT_EQ(rows.size(), 16 * 256);
    EXPECT_TRUE(rows[255].startsWith("BFF0:: "));
    EXPECT_TRUE(rows[256].startsWith("4000:: "));
    EXPECT_TRUE(rows.back().startsWith("12FF0:: "));
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

// The line may cut a page in two or run two pages into one burst: the rows still show each page
// whole, at its address, and only bytes of this read-out.
TEST_F(ReadOut, SplitAndDoublePagesAreListedAsWholePages) {
    ChooseModel("0x00", "C000", "FFFF", 16);
    StartWithChip();
    const QStringList expected = ChipRows(chip_, 0xC000, 0xC000, 4);
    for (const sim::FaultKind fault : {sim::FaultKind::SplitPage, sim::FaultKind::DoublePage}) {
        SCOPED_TRACE(sim::InfoOf(fault).name);
        sim_->InjectFault({fault});
        ReadOutToTheEnd();
        EXPECT_EQ(Windows().Form3->Rows(), expected);
        EXPECT_EQ(sim_->FaultsWaiting(), 0u);
    }
    EXPECT_TRUE(desktop_.Messages.isEmpty());
}

// The other commands wait for the read-out's end: an erase pressed between its pages goes
// nowhere, and every page is listed.
TEST_F(ReadOut, AnEraseCannotBePressedBetweenItsPages) {
    ChooseModel("0x00", "0000", "FFFF", 64);
    StartWithChip();
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
    QTest::mouseClick(Form1().Button7, Qt::LeftButton);
    ASSERT_TRUE(EventuallyHolds([&] { return !Windows().Form3->Rows().isEmpty(); }));
    QTest::mouseClick(Form1().Button3, Qt::LeftButton);
    ASSERT_TRUE(EventuallyHolds([&] { return Form1().Label7->Caption() == "100 %"; }));
    EXPECT_EQ(Windows().Form3->Rows(), ChipRows(chip_, 0x0000, 0x0000, 16));
    EXPECT_TRUE(desktop_.Messages.isEmpty());
    EXPECT_EQ(sim_->State().frames.size(), 1u);
    EXPECT_TRUE(Form1().Button3->isEnabled());
}

}  // namespace
}  // namespace vortana
