// Fuzz target: any bytes as a double-clicked catalogue line.
//
// Checked:
//  - a line is either picked or refused with a message that sends the user to the catalogue;
//  - the fields lie in the line in column order, never holding half a character of a well-formed
//    line; for a line of ASCII characters they are exactly the bytes of their columns;
//  - a pick describes an image the loader can build, with the sizes and box texts its code calls
//    for, and the size digits of its size field;
//  - a line end after the line changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "image/ImageLayout.h"
#include "image/ModelPick.h"
#include "shell/Convert.h"

namespace {

using vortana::fuzz::Check;

using vortana::ModelPick;
using vortana::ModelPickOutcome;

struct Columns {
    std::size_t first;  // 1-based
    std::size_t width;
};

constexpr Columns kName{4, 15}, kStart{25, 4}, kEnd{32, 4}, kSize{45, 4}, kCode{55, 4};

struct CodeRule {
    std::string_view code;
    std::string_view edit2Prefix;  // empty: no additional window
};

constexpr CodeRule kCodeRules[] = {
    {"0x00", ""},           {"0x10", "1000-1FFF+"}, {"0x14", "1000-1FFF+"},
    {"0xB0", "B000-BFFF+"}, {"0xB2", "B000-BFFF+"},
};

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Whether `text` is well-formed UTF-8 (shortest forms and surrogates are not looked at: only
// whether every lead byte has its continuation bytes).
bool IsWholeUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC0 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF8 ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

std::string_view WithoutLineEnd(std::string_view line) {
    const std::size_t last = line.find_last_not_of("\r\n");
    return line.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::string_view Cut(std::string_view line, Columns columns) {
    return columns.first - 1 < line.size() ? line.substr(columns.first - 1, columns.width)
                                           : std::string_view{};
}

// Fields appear in the line in order, each after the one before (empty ones anywhere).
void CheckFieldsInOrder(std::string_view line, const ModelPick& pick) {
    std::size_t from = 0;
    for (const std::string* field : {&pick.ModelName, &pick.FlashStart, &pick.FlashEnd,
                                     &pick.FlashSizeText, &pick.ModelCode}) {
        if (field->empty())
            continue;
        const std::size_t at = line.find(*field, from);
        Check(at != std::string_view::npos, "a field that is not in the line after the one before");
        from = at + field->size();
    }
}

void CheckFields(std::string_view line, const ModelPick& pick) {
    CheckFieldsInOrder(line, pick);
    if (IsAscii(line)) {
        Check(pick.ModelName == Cut(line, kName) && pick.FlashStart == Cut(line, kStart) &&
                  pick.FlashEnd == Cut(line, kEnd) && pick.FlashSizeText == Cut(line, kSize) &&
                  pick.ModelCode == Cut(line, kCode),
              "an ASCII line cut at the wrong columns");
    } else if (IsWholeUtf8(line)) {
        for (const std::string* field : {&pick.ModelName, &pick.FlashStart, &pick.FlashEnd,
                                         &pick.FlashSizeText, &pick.ModelCode}) {
            Check(IsWholeUtf8(*field), "a field holding half a character");
        }
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void CheckPick(const ModelPick& pick) {
    const CodeRule* rule = nullptr;
    for (const CodeRule& candidate : kCodeRules) {
        if (pick.ModelCode == candidate.code)
            rule = &candidate;
    }
    Check(rule != nullptr, "a pick of a code that is none of the five");
    const bool window = !rule->edit2Prefix.empty();

    Check(pick.ImageSize >= 4096 && pick.ImageSize <= 65536 && pick.ImageSize % 4096 == 0,
          "a pick of an image size the tables cannot hold");
    const std::uint32_t sizeK = pick.ImageSize / 1024;
    const std::uint32_t digitsK = sizeK - (window ? 4 : 0);
    const std::string& sizeText = pick.FlashSizeText;
    const std::string digits =
        sizeText.size() > 1 && sizeText[1] != 'K' ? sizeText.substr(0, 2) : sizeText.substr(0, 1);
    Check(vortana::StrToInt(digits) == static_cast<std::int32_t>(digitsK),
          "a pick whose size is not its size digits");
    Check(sizeText.size() <= 2 || !IsDigit(sizeText[2]) || digits.size() < 2,
          "a pick of a size with three digits");

    Check(pick.Edit1 == " " + pick.ModelName, "wrong model box text");
    if (window) {
        Check(pick.FlashSizeK == std::to_string(sizeK), "wrong FlashSizeK");
        Check(pick.Edit2 == std::string(rule->edit2Prefix) + pick.FlashStart + "-" + pick.FlashEnd +
                                "=" + pick.FlashSizeK + "K",
              "wrong address box text");
    } else {
        Check(pick.FlashSizeK == digits, "wrong FlashSizeK");
        Check(pick.Edit2 == " " + pick.FlashStart + " - " + pick.FlashEnd + " " + sizeText,
              "wrong address box text");
    }
    Check(vortana::ImageLayout::FromModel(pick.FlashStart, pick.ModelCode, pick.ImageSize)
              .has_value(),
          "a pick the loader has no layout for");
}

bool SameOutcome(const ModelPickOutcome& a, const ModelPickOutcome& b) {
    if (a.refusal != b.refusal || a.pick.has_value() != b.pick.has_value())
        return false;
    if (!a.pick)
        return true;
    const ModelPick& x = *a.pick;
    const ModelPick& y = *b.pick;
    return x.ModelName == y.ModelName && x.FlashStart == y.FlashStart && x.FlashEnd == y.FlashEnd &&
           x.FlashSizeText == y.FlashSizeText && x.ModelCode == y.ModelCode &&
           x.FlashSizeK == y.FlashSizeK && x.ImageSize == y.ImageSize && x.Edit1 == y.Edit1 &&
           x.Edit2 == y.Edit2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const ModelPickOutcome outcome = vortana::PickModel(line);
    if (outcome.pick) {
        Check(outcome.refusal.empty(), "a pick with a refusal");
        CheckFields(WithoutLineEnd(line), *outcome.pick);
        CheckPick(*outcome.pick);
    } else {
        Check(outcome.refusal.ends_with("，请检查 MCUtype.txt！"), "a refusal that says no why");
    }
    Check(SameOutcome(outcome, vortana::PickModel(std::string(line) + "\r\n")),
          "a line end changed the pick");
    return 0;
}
