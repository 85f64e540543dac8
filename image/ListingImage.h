// ListingImage: the bytes a hex view's listing shows, as image segments at the addresses they are
// listed at, for saving a listing to a file.
//
// Each row (HexRow.h) gives its address and its sixteen cells; a cell's two characters are read
// as the image reads its byte texts (hexadecimal, a bad text counting as 0), so a file-buffer
// listing saves the bytes the download sends. Rows that follow each other without a gap join one
// segment; the segments stand in listing order. A row that is not a hex dump row is refused with
// std::invalid_argument naming it. Qt-free; pure.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "image/ImageFileWriter.h"

namespace vortana {

std::vector<ImageSegment> ListingImage(std::span<const std::string> rows);

}  // namespace vortana
