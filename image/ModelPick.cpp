#include "image/ModelPick.h"

#include "image/ModelCodeInfo.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

struct ColumnRange {
    int first;
    int last;
};

// Fixed columns of a catalogue line; everything outside them is free space.
constexpr ColumnRange kNameColumns{4, 18};
constexpr ColumnRange kStartColumns{25, 28};
constexpr ColumnRange kEndColumns{32, 35};
constexpr ColumnRange kSizeColumns{45, 48};
constexpr ColumnRange kCodeColumns{55, 58};

constexpr int kMaxSizeDigits = 2;
constexpr int kWindowK = 4;  // the additional window counts in the image size

// Byte length of the UTF-8 character at `pos`. A byte that starts no well-formed character
// counts as a character of its own, so a broken text is cut without reading past its end.
std::size_t CharLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    for (std::size_t i = 1; i < length; ++i) {
        if (pos + i >= text.size() || (static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

int CharColumns(char lead) {
    return static_cast<unsigned char>(lead) < 0x80 ? 1 : 2;
}

std::string CutColumns(std::string_view line, ColumnRange range) {
    std::string field;
    int column = 1;
    for (std::size_t pos = 0; pos < line.size() && column <= range.last;) {
        const std::size_t length = CharLength(line, pos);
        if (column >= range.first)
            field.append(line.substr(pos, length));
        column += CharColumns(line[pos]);
        pos += length;
    }
    return field;
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The first character of the size field, and its second unless that is the "K".
std::string SizeDigits(std::string_view sizeText) {
    std::string digits(sizeText.substr(0, 1));
    if (sizeText.size() > 1 && sizeText[1] != 'K')
        digits += sizeText[1];
    return digits;
}

std::string CheckCatalogueText(std::string_view what) {
    return std::string(what) + "，请检查 MCUtype.txt！";
}

ModelPickOutcome Refuse(std::string message) {
    return {std::nullopt, CheckCatalogueText(message)};
}

}  // namespace

void ModelPick::ApplyTo(SessionState& session) const {
    session.ModelName = ModelName;
    session.FlashStart = FlashStart;
    session.FlashEnd = FlashEnd;
    session.FlashSizeText = FlashSizeText;
    session.ModelCode = ModelCode;
    session.FlashSizeK = FlashSizeK;
    session.ImageSize = ImageSize;
}

ModelPickOutcome PickModel(std::string_view line) {
    line = WithoutLineEnd(line);
    ModelPick pick;
    pick.ModelName = CutColumns(line, kNameColumns);
    pick.FlashStart = CutColumns(line, kStartColumns);
    pick.FlashEnd = CutColumns(line, kEndColumns);
    pick.FlashSizeText = CutColumns(line, kSizeColumns);
    pick.ModelCode = CutColumns(line, kCodeColumns);

    const ModelCodeInfo* code = FindModelCode(pick.ModelCode);
    if (code == nullptr) {
        return Refuse("型号代码“" + pick.ModelCode + "”无效，应为 0x00、0x10、0x14、0xB0 或 0xB2");
    }
    const std::string digits = SizeDigits(pick.FlashSizeText);
    std::int64_t sizeK = 0;
    try {
        sizeK = StrToInt(digits);
    } catch (const EConvertError&) {
        return Refuse("型号容量“" + pick.FlashSizeText + "”不是数字");
    }
    if (digits.size() == kMaxSizeDigits && pick.FlashSizeText.size() > kMaxSizeDigits &&
        IsDigit(pick.FlashSizeText[kMaxSizeDigits])) {
        return Refuse("型号容量“" + pick.FlashSizeText + "”超过两位数");
    }

    const bool hasWindow = code->windowBase != 0;
    if (hasWindow)
        sizeK += kWindowK;
    if (!IsValidImageSize(sizeK * kBytesPerK)) {
        return Refuse("型号容量 " + std::to_string(sizeK) +
                      "K 超出范围，应为 4K 到 64K 之间 4K 的整数倍");
    }
    pick.ImageSize = static_cast<std::uint32_t>(sizeK * kBytesPerK);
    pick.Edit1 = " " + pick.ModelName;
    if (hasWindow) {
        pick.FlashSizeK = std::to_string(sizeK);
        pick.Edit2 = std::string(code->edit2Prefix) + pick.FlashStart + "-" + pick.FlashEnd + "=" +
                     pick.FlashSizeK + "K";
    } else {
        // The size digits as written, and the size field with whatever trails in its columns.
        pick.FlashSizeK = digits;
        pick.Edit2 = " " + pick.FlashStart + " - " + pick.FlashEnd + " " + pick.FlashSizeText;
    }
    return {std::move(pick), {}};
}

}  // namespace vortana
