// Fuzz target: any bytes as an S-record file, loaded for each model code. The loader must
// neither crash nor write outside the image tables, and a refused file must leave the session
// as it found it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "image/ImageLoader.h"

namespace {

struct Model {
    const char* flashStart;
    const char* code;
    std::uint32_t imageSize;
};

constexpr Model kModels[] = {
    {"8000", "0x00", 32768},
    {"0000", "0x00", 65536},
    {"4000", "0x10", 53248},
    {"C000", "0xB2", 20480},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto session = std::make_unique<vortana::SessionState>();
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    for (const Model& model : kModels) {
        session->FlashStart = model.flashStart;
        session->ModelCode = model.code;
        session->ImageSize = model.imageSize;
        const auto blocksBefore = session->ImageBlocks;
        const std::string firstEntryBefore = session->ImageText[0];
        const vortana::ImageLoadOutcome outcome = vortana::LoadImage(file, *session);
        if (outcome.failure) {
            if (session->ImageBlocks != blocksBefore || session->ImageText[0] != firstEntryBefore)
                std::abort();
        } else if (outcome.listingRows.size() != model.imageSize / 16 ||
                   session->ImageText[model.imageSize - 1].size() != 3) {
            std::abort();
        }
    }
    return 0;
}
