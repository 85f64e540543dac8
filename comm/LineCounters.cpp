#include "comm/LineCounters.h"

namespace vortana {

LineEvents LineEventsBetween(const LineCounters& before, const LineCounters& after) {
    const struct {
        std::uint32_t LineCounters::*counter;
        std::uint32_t flag;
    } errors[] = {
        {&LineCounters::BufferOverrun, kLineErrorRxOver},
        {&LineCounters::Overrun, kLineErrorOverrun},
        {&LineCounters::Parity, kLineErrorParity},
        {&LineCounters::Frame, kLineErrorFrame},
        {&LineCounters::Break, kLineErrorBreak},
    };
    LineEvents events;
    for (const auto& e : errors)
        if (after.*e.counter != before.*e.counter)
            events.ErrorFlags |= e.flag;
    if (after.CarrierDetect != before.CarrierDetect)
        events.ModemCode |= kModemEventCarrier;
    if (after.Ring != before.Ring)
        events.ModemCode |= kModemEventRing;
    return events;
}

}  // namespace vortana
