#include "sim/Trace.h"

#include <cstdio>
#include <string>

#include "sim/Wire.h"

namespace vortana::sim {

Trace::Trace(Sink sink) : sink_(std::move(sink)), start_(std::chrono::steady_clock::now()) {}

void Trace::Received(std::span<const std::uint8_t> bytes, std::string_view what) const {
    Write("<-", bytes, what);
}

void Trace::Sent(std::span<const std::uint8_t> bytes, std::string_view what) const {
    Write("->", bytes, what);
}

void Trace::Note(std::string_view what) const {
    Write("--", {}, what);
}

void Trace::Write(std::string_view direction, std::span<const std::uint8_t> bytes,
                  std::string_view what) const {
    if (!sink_)
        return;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%10.3f] ", elapsed.count());
    std::string line = stamp;
    line += direction;
    line += ' ';
    if (!bytes.empty()) {
        line += HexBytes(bytes);
        line += "  ";
    }
    line += what;
    sink_(line);
}

}  // namespace vortana::sim
