// The simulator's trace: one line for every frame, block or burst received or sent, and for
// every bad input and injected fault, each with the seconds since the trace began, the
// direction ("<-" received, "->" sent, "--" a note), the bytes in hexadecimal (long ones cut
// short) and what they are.
//
// Qt-free. Used by the simulator's own thread only; the sink is called on that thread.
#pragma once

#include <chrono>
#include <functional>
#include <span>
#include <string_view>

namespace vortana::sim {

class Trace {
  public:
    using Sink = std::function<void(std::string_view line)>;

    // An empty sink turns tracing off.
    explicit Trace(Sink sink = {});

    void Received(std::span<const std::uint8_t> bytes, std::string_view what) const;
    void Sent(std::span<const std::uint8_t> bytes, std::string_view what) const;
    void Note(std::string_view what) const;

  private:
    void Write(std::string_view direction, std::span<const std::uint8_t> bytes,
               std::string_view what) const;

    Sink sink_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace vortana::sim
