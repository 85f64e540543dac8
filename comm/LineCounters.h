// Line errors and modem-line changes, read as running counters that the driver keeps, and the
// notifications a change of them gives.
//
// The line-error flags take the values of the communication error flags (CE_RXOVER 0x0001,
// CE_OVERRUN 0x0002, CE_RXPARITY 0x0004, CE_FRAME 0x0008, CE_BREAK 0x0010); the modem-event code
// is 8 for a carrier-detect change, 4 for a ring, 12 for both. Changes of CTS and DSR give
// nothing. Qt-free.
#pragma once

#include <cstdint>
#include <optional>

namespace vortana {

inline constexpr std::uint32_t kLineErrorRxOver = 0x0001;
inline constexpr std::uint32_t kLineErrorOverrun = 0x0002;
inline constexpr std::uint32_t kLineErrorParity = 0x0004;
inline constexpr std::uint32_t kLineErrorFrame = 0x0008;
inline constexpr std::uint32_t kLineErrorBreak = 0x0010;
inline constexpr std::uint32_t kModemEventCarrier = 8;
inline constexpr std::uint32_t kModemEventRing = 4;

// Counts since the device was opened by the driver; they only grow (and wrap).
struct LineCounters {
    std::uint32_t Frame = 0;
    std::uint32_t Overrun = 0;
    std::uint32_t Parity = 0;
    std::uint32_t Break = 0;
    std::uint32_t BufferOverrun = 0;
    std::uint32_t CarrierDetect = 0;
    std::uint32_t Ring = 0;
};

struct LineEvents {
    std::uint32_t ErrorFlags = 0;  // 0: no line error
    std::uint32_t ModemCode = 0;   // 0: no modem event
};

// What happened between two samples.
LineEvents LineEventsBetween(const LineCounters& before, const LineCounters& after);

// Where the reader takes its samples from: the device, or a test. Sample is called by the reader
// thread only; nullopt means the device keeps no counters (then it is never asked again).
class LineCounterSource {
  public:
    virtual ~LineCounterSource() = default;
    virtual std::optional<LineCounters> SampleLineCounters() = 0;
};

}  // namespace vortana
