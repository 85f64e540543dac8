// Fuzz target: any bytes as a catalogue line. A pick must describe an image the tables can
// hold; a refusal must say why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "image/ImageLayout.h"
#include "image/ModelPick.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const vortana::ModelPickOutcome outcome = vortana::PickModel(line);
    if (!outcome.pick) {
        if (outcome.refusal.empty())
            std::abort();
        return 0;
    }
    const vortana::ModelPick& pick = *outcome.pick;
    if (!vortana::ImageLayout::FromModel(pick.FlashStart, pick.ModelCode, pick.ImageSize))
        std::abort();
    if (pick.ModelName.size() > line.size() || pick.ModelCode.size() != 4)
        std::abort();
    return 0;
}
