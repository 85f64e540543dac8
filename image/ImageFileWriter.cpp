#include "image/ImageFileWriter.h"

#include "shell/FileAccess.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace vortana {
namespace {

constexpr std::uint32_t kAddressSpace = 0x10000;  // 16-bit addresses
constexpr std::size_t kRecordDataBytes = 16;
constexpr std::uint8_t kErasedByte = 0xFF;
constexpr std::string_view kSRecordHeader = "vortana";  // the S0 record's text

// extension, format
constexpr std::pair<std::string_view, ImageFileFormat> kExtensions[] = {
    {".bin", ImageFileFormat::Binary},
    {".s19", ImageFileFormat::SRecord},
    {".srec", ImageFileFormat::SRecord},
    {".hex", ImageFileFormat::IntelHex},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

void AppendHex(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

// Sorted by address, checked to lie in the address space without overlapping.
std::vector<ImageSegment> Ordered(std::span<const ImageSegment> segments) {
    std::vector<ImageSegment> ordered(segments.begin(), segments.end());
    std::sort(ordered.begin(), ordered.end(),
              [](const ImageSegment& a, const ImageSegment& b) { return a.address < b.address; });
    std::uint32_t end = 0;
    for (const ImageSegment& segment : ordered) {
        if (segment.address < end)
            throw std::invalid_argument("image segments overlap");
        end = segment.address + static_cast<std::uint32_t>(segment.bytes.size());
        if (end > kAddressSpace)
            throw std::invalid_argument("image segment runs past address FFFF");
    }
    return ordered;
}

std::string Binary(const std::vector<ImageSegment>& segments) {
    if (segments.empty())
        return {};
    const std::uint32_t base = segments.front().address;
    const std::uint32_t end = segments.back().address + segments.back().bytes.size();
    std::string out(end - base, static_cast<char>(kErasedByte));
    for (const ImageSegment& segment : segments)
        std::copy(segment.bytes.begin(), segment.bytes.end(),
                  out.begin() + (segment.address - base));
    return out;
}

// One record: "S" and its type, or ":"; then the fields as hexadecimal pairs and a checksum.
// An S-record counts its address, data and checksum and sums its count, address and data, the
// checksum being the ones' complement; an Intel HEX record counts its data only, puts the type
// after the address and takes the two's complement of the sum of everything before it.
void AppendSRecord(std::string& out, char type, std::uint16_t address,
                   std::span<const std::uint8_t> data) {
    const std::uint8_t count = static_cast<std::uint8_t>(data.size() + 3);
    std::uint8_t sum = count + (address >> 8) + (address & 0xFF);
    out += 'S';
    out += type;
    AppendHex(out, count);
    AppendHex(out, address >> 8);
    AppendHex(out, address & 0xFF);
    for (std::uint8_t byte : data) {
        AppendHex(out, byte);
        sum += byte;
    }
    AppendHex(out, static_cast<std::uint8_t>(~sum));
    out += '\n';
}

void AppendIntelRecord(std::string& out, std::uint8_t type, std::uint16_t address,
                       std::span<const std::uint8_t> data) {
    const std::uint8_t count = static_cast<std::uint8_t>(data.size());
    std::uint8_t sum = count + (address >> 8) + (address & 0xFF) + type;
    out += ':';
    AppendHex(out, count);
    AppendHex(out, address >> 8);
    AppendHex(out, address & 0xFF);
    AppendHex(out, type);
    for (std::uint8_t byte : data) {
        AppendHex(out, byte);
        sum += byte;
    }
    AppendHex(out, static_cast<std::uint8_t>(-sum));
    out += '\n';
}

template <typename AppendData>
void ForEachRecord(const std::vector<ImageSegment>& segments, AppendData append) {
    for (const ImageSegment& segment : segments) {
        const std::span<const std::uint8_t> bytes(segment.bytes);
        for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordDataBytes) {
            const std::size_t length = std::min(kRecordDataBytes, bytes.size() - offset);
            append(static_cast<std::uint16_t>(segment.address + offset),
                   bytes.subspan(offset, length));
        }
    }
}

std::string SRecords(const std::vector<ImageSegment>& segments) {
    std::string out;
    const std::span header(reinterpret_cast<const std::uint8_t*>(kSRecordHeader.data()),
                           kSRecordHeader.size());
    AppendSRecord(out, '0', 0, header);
    ForEachRecord(segments, [&out](std::uint16_t address, std::span<const std::uint8_t> data) {
        AppendSRecord(out, '1', address, data);
    });
    AppendSRecord(out, '9', 0, {});
    return out;
}

std::string IntelHex(const std::vector<ImageSegment>& segments) {
    constexpr std::uint8_t kData = 0x00;
    constexpr std::uint8_t kEndOfFile = 0x01;
    std::string out;
    ForEachRecord(segments, [&out](std::uint16_t address, std::span<const std::uint8_t> data) {
        AppendIntelRecord(out, kData, address, data);
    });
    AppendIntelRecord(out, kEndOfFile, 0, {});
    return out;
}

}  // namespace

ImageFileFormatChoice ImageFileFormatFor(std::string_view path) {
    const std::string lower = Lower(path);
    for (const auto& [extension, format] : kExtensions) {
        if (lower.size() > extension.size() && lower.ends_with(extension) &&
            lower[lower.size() - extension.size() - 1] != '/')
            return {format, {}};
    }
    return {std::nullopt, "cannot tell the format of \"" + std::string(path) +
                              "\": name it .bin (binary), .s19 or .srec (Motorola S-records) or "
                              ".hex (Intel HEX)"};
}

std::string FormatImage(ImageFileFormat format, std::span<const ImageSegment> segments) {
    const std::vector<ImageSegment> ordered = Ordered(segments);
    switch (format) {
        case ImageFileFormat::Binary:
            return Binary(ordered);
        case ImageFileFormat::SRecord:
            return SRecords(ordered);
        case ImageFileFormat::IntelHex:
            return IntelHex(ordered);
    }
    throw std::invalid_argument("unknown image file format");
}

void WriteImageFile(const std::string& path, ImageFileFormat format,
                    std::span<const ImageSegment> segments) {
    ReplaceFileAtomically(path, FormatImage(format, segments));
}

}  // namespace vortana
