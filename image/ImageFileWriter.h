// ImageFileWriter: saving an image held as address ranges (a read-out, say) to a file in the
// format its name asks for.
//
// Formats, chosen by the file name's extension, case ignored:
//   .bin            raw bytes from the lowest address to the end of the highest segment, gaps
//                   between segments filled with 0xFF
//   .s19, .srec     Motorola S-records: an S0 header, S1 records of 16 data bytes with 16-bit
//                   addresses, an S9 end record; read back by srec_cat byte for byte
//   .hex            Intel HEX: data records (type 00) of 16 bytes, an end-of-file record (01)
// Any other name is refused with a message naming the three.
//
// Addresses are 16-bit: a segment running past 0xFFFF is refused (std::invalid_argument), as are
// overlapping segments. WriteImageFile replaces the file whole or not at all (a temporary file
// beside it, flushed, then renamed) and throws EFileError when it cannot.
//
// Qt-free; pure functions apart from WriteImageFile, safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vortana {

enum class ImageFileFormat { Binary, SRecord, IntelHex };

struct ImageSegment {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;
};

struct ImageFileFormatChoice {
    std::optional<ImageFileFormat> format;  // empty when the name is refused
    std::string refusal;                    // why, when refused
};

ImageFileFormatChoice ImageFileFormatFor(std::string_view path);

// The whole file's bytes for `segments` (in any order).
std::string FormatImage(ImageFileFormat format, std::span<const ImageSegment> segments);

void WriteImageFile(const std::string& path, ImageFileFormat format,
                    std::span<const ImageSegment> segments);

}  // namespace vortana
