// ImageLoader: the Qt-free work of loading an S-record file: the file's bytes in; the chosen
// model's image, its download blocks, the checksum label text and the listing rows out.
//
// LoadImage takes the model from the session fields FlashStart, ModelCode and ImageSize, parses
// the whole file into a working image (tokens, records, placement) and only when every record is
// accepted writes the session: the image's ImageText entries, its ImageBlocks (image size / 4096
// blocks; later ones keep what they held) and BlockSum (0 once the blocks are built). A refused
// file changes no session field, so the previous image and blocks stay whole.
//
// On failure the caller shows the message and does the load's reset (the same reset as a
// cancelled file dialog); on success it shows the checksum text and the rows.
//
// Qt-free; call on the thread that owns the session.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/SRecordParser.h"
#include "shell/SessionState.h"

namespace vortana {

// Refusal of a load whose model the image cannot be built for: a code byte that is none of the
// five, or an image size outside 4 to 64 KiB in 4 KiB steps.
inline constexpr std::string_view kNoModelMessage = "所选型号无效，请重新选择型号！";

struct ImageLoadOutcome {
    std::optional<SRecordFailure> failure;  // set when the file was refused
    std::string checkSumText;               // "CheckSum:  0x" and eight digits, on success
    std::vector<std::string> listingRows;   // the file-buffer view's rows, on success
};

ImageLoadOutcome LoadImage(std::string_view file, SessionState& session);

}  // namespace vortana
