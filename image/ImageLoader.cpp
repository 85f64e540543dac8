#include "image/ImageLoader.h"

#include "image/ImageBlocks.h"
#include "image/ImageLayout.h"
#include "image/ImageListing.h"
#include "image/ImagePlacement.h"

namespace vortana {

ImageLoadOutcome LoadImage(std::string_view file, SessionState& session) {
    const std::optional<ImageLayout> layout =
        ImageLayout::FromModel(session.FlashStart, session.ModelCode, session.ImageSize);
    if (!layout)
        return {SRecordFailure{std::string(kNoModelMessage), 0}, {}, {}};

    ImagePlacement image(*layout);
    if (std::optional<SRecordFailure> failure = ParseSRecordFile(file, image))
        return {std::move(failure), {}, {}};

    image.CopyTo(session.ImageText);
    BuildImageBlocks(image.Values(), *layout, session.ImageBlocks);
    session.BlockSum = 0;
    return {std::nullopt, CheckSumText(ImageCheckSum(image.Values())),
            ListingRows(session.ImageText, *layout)};
}

}  // namespace vortana
