#include "tests/e2e/WindowWithDevice.h"

#include <QTest>

#include "image/HexRow.h"
#include "image/ImageBlocks.h"
#include "image/ImageLayout.h"

namespace vortana {
namespace {

constexpr int kLimitMs = 15000;

}  // namespace

void WindowWithDevice::StartWithDevice(sim::SimConfig config) {
    sim_ = std::make_unique<sim::Simulator>(std::move(config));
    PutFile("sysset.ini", "[comx]\nnum=" + sim_->StartOnPty() + "\n");
    Start();
    ASSERT_TRUE(Form1().Comm1.IsOpen());
}

void WindowWithDevice::ChooseModel(const char* code, const char* flashStart, const char* flashEnd,
                                   int sizeK) {
    state_->ModelCode = code;
    state_->FlashStart = flashStart;
    state_->FlashEnd = flashEnd;
    state_->FlashSizeK = std::to_string(sizeK);
    state_->ImageSize = static_cast<std::uint32_t>(sizeK) * 1024;
}

void WindowWithDevice::Click(QPushButton* TForm1::*button) {
    (Form1().*button)->setEnabled(true);
    QTest::mouseClick(Form1().*button, Qt::LeftButton);
}

QString WindowWithDevice::Run(QPushButton* TForm1::*button) {
    const qsizetype before = desktop_.Messages.size();
    Click(button);
    return NthMessage(before + 1);
}

bool WindowWithDevice::EventuallyHolds(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, kLimitMs);
}

bool WindowWithDevice::MessagesShown(qsizetype count) {
    return EventuallyHolds([&] { return desktop_.Messages.size() >= count; });
}

QString WindowWithDevice::NthMessage(qsizetype count) {
    return MessagesShown(count) ? desktop_.Messages[count - 1] : QString();
}

QString WindowWithDevice::Download(const Bytes& image) {
    const auto layout =
        ImageLayout::FromModel(state_->FlashStart, state_->ModelCode, state_->ImageSize);
    if (!layout || image.size() != layout->size) {
        ADD_FAILURE() << "the image does not suit the chosen model";
        return {};
    }
    BuildImageBlocks(image, *layout, state_->ImageBlocks);
    const qsizetype before = desktop_.Messages.size();
    Form1().Protocol().StartDownload();
    Form1().Protocol().SendFirstBlock();
    return NthMessage(before + 1);
}

QStringList ListingRows(std::span<const std::uint8_t> bytes, std::uint32_t listedAt) {
    QStringList rows;
    for (std::size_t offset = 0; offset + kHexRowBytes <= bytes.size(); offset += kHexRowBytes) {
        const auto row = bytes.subspan(offset).first<kHexRowBytes>();
        rows.append(
            QString::fromStdString(HexRow(listedAt + static_cast<std::uint32_t>(offset), row)));
    }
    return rows;
}

Bytes AddressPattern(std::size_t count, std::uint8_t seed) {
    Bytes bytes(count);
    for (std::size_t a = 0; a < count; ++a)
        bytes[a] = static_cast<std::uint8_t>(a * 7 + a / 256 + seed);
    return bytes;
}

}  // namespace vortana
