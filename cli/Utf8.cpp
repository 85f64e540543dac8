#include "cli/Utf8.h"

namespace vortana::cli {
namespace {

constexpr unsigned char kContinuationLow = 0x80;
constexpr unsigned char kContinuationHigh = 0xBF;

// What a lead byte announces: the sequence's length and the range its first continuation byte
// must lie in, which is what keeps out overlong forms, surrogates and code points past U+10FFFF
// (RFC 3629). Length 1: the byte leads no sequence.
struct Lead {
    std::size_t length;
    unsigned char firstLow = kContinuationLow;
    unsigned char firstHigh = kContinuationHigh;
};

Lead LeadOf(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF)
        return {2};
    if (byte == 0xE0)
        return {3, 0xA0};
    if (byte == 0xED)
        return {3, kContinuationLow, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF)
        return {3};
    if (byte == 0xF0)
        return {4, 0x90};
    if (byte >= 0xF1 && byte <= 0xF3)
        return {4};
    if (byte == 0xF4)
        return {4, kContinuationLow, 0x8F};
    return {1};
}

}  // namespace

Utf8Char DecodeUtf8(std::string_view text) {
    const auto first = static_cast<unsigned char>(text[0]);
    if (first < 0x80)
        return {first, 1, true};
    const Lead lead = LeadOf(first);
    if (lead.length == 1 || text.size() < lead.length)
        return {};
    char32_t codePoint = first & (0x7Fu >> lead.length);  // the lead byte's share of the bits
    unsigned char low = lead.firstLow;
    unsigned char high = lead.firstHigh;
    for (std::size_t i = 1; i < lead.length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < low || byte > high)
            return {};
        codePoint = codePoint << 6 | (byte & 0x3Fu);
        low = kContinuationLow;
        high = kContinuationHigh;
    }
    return {codePoint, lead.length, true};
}

}  // namespace vortana::cli
