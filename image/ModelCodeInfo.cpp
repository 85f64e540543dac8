#include "image/ModelCodeInfo.h"

#include "shell/Convert.h"

#include <algorithm>
#include <iterator>

namespace vortana {
namespace {

template <typename Match>
const ModelCodeInfo* FindCodeWhere(Match match) {
    const auto it = std::ranges::find_if(kModelCodes, match);
    return it == std::end(kModelCodes) ? nullptr : &*it;
}

}  // namespace

std::uint8_t ModelCodeByte(std::string_view modelCode) {
    constexpr std::size_t kDigitsAt = 2;  // after "0x"
    if (modelCode.size() <= kDigitsAt)
        return 0;
    return static_cast<std::uint8_t>(HexToIntDef(modelCode.substr(kDigitsAt, 2)));
}

const ModelCodeInfo* FindModelCode(std::string_view text) {
    return FindCodeWhere([text](const ModelCodeInfo& code) { return code.text == text; });
}

const ModelCodeInfo* FindModelCode(std::uint8_t byte) {
    return FindCodeWhere([byte](const ModelCodeInfo& code) { return code.byte == byte; });
}

std::uint32_t WindowBaseOf(std::string_view modelCode) {
    const ModelCodeInfo* code = FindModelCode(ModelCodeByte(modelCode));
    return code != nullptr ? code->windowBase : 0;
}

}  // namespace vortana
