#include "sim/Wire.h"

#include <algorithm>
#include <cstdio>

namespace vortana::sim {

const CommandInfo* FindCommand(std::uint8_t code) {
    const auto* found = std::find_if(kCommands.begin(), kCommands.end(),
                                     [code](const CommandInfo& c) { return c.code == code; });
    return found == kCommands.end() ? nullptr : found;
}

const ModelInfo* FindModel(std::uint8_t code) {
    const auto* found = std::find_if(kModels.begin(), kModels.end(),
                                     [code](const ModelInfo& m) { return m.code == code; });
    return found == kModels.end() ? nullptr : found;
}

std::string StatusName(std::uint8_t status) {
    switch (status) {
        case status::kSuccess:
            return "success";
        case status::kFailure:
            return "failure";
        case status::kReadProtected:
            return "read-protected";
        case status::kMismatch:
            return "mismatch";
        case status::kBlockRequest:
            return "block request";
        default:
            return "status " + HexByte(status);
    }
}

Bytes Reply(std::uint8_t code, std::uint8_t status, std::span<const std::uint8_t> parameters) {
    constexpr std::size_t kHeadSize = 4;  // start byte, code, count, status
    Bytes reply(kHeadSize + parameters.size() + 1);
    reply[0] = kStartByte;
    reply[1] = code;
    reply[2] = static_cast<std::uint8_t>(parameters.size() + 2);
    reply[3] = status;
    std::copy(parameters.begin(), parameters.end(), reply.begin() + kHeadSize);
    reply.back() = kEndByte;
    return reply;
}

std::string HexBytes(std::span<const std::uint8_t> bytes, std::size_t limit) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    const std::size_t shown = std::min(bytes.size(), limit);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
    if (shown < bytes.size())
        text += " ... (" + std::to_string(bytes.size()) + " bytes)";
    return text;
}

std::string HexByte(std::uint8_t byte) {
    char text[5];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

}  // namespace vortana::sim
