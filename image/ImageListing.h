// ImageListing: the file-buffer view's rows for a loaded image.
//
// One hex dump row per 16 image entries, each cell the two characters after the entry's "$" as
// they stand in the file. Row addresses follow the model: the start value on for a model
// without an additional window; the window's 256 rows (1000 to 1FF0, or B000 to BFF0) and then
// the start value on for the others.
//
// Qt-free; a pure function, safe on any thread.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "image/ImageLayout.h"

namespace vortana {

// The rows for the first layout.size entries of `imageText`, which must hold that many.
std::vector<std::string> ListingRows(std::span<const std::string> imageText,
                                     const ImageLayout& layout);

}  // namespace vortana
