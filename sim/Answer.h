// What the device sends back for one thing it received: one or more bursts, each after a pause.
// A burst is written in one go; the pause before it covers the device's work or the gap that
// separates read-out pages. Qt-free value types.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "sim/Wire.h"

namespace vortana::sim {

// Longer than the front end's 100 ms burst gap, so each read-out page arrives as a burst of its
// own.
inline constexpr std::chrono::milliseconds kPageGap{200};

struct Burst {
    std::chrono::milliseconds pause{0};  // before the first byte
    Bytes bytes;
    std::string name;  // what it is, for the trace
};

struct Answer {
    enum class Kind {
        Reply,         // a reply with a status
        BlockRequest,  // a 0x55 reply asking for the next download block
        Pages,         // read-out pages
    };
    Kind kind = Kind::Reply;
    std::vector<Burst> bursts;
    bool hangUp = false;  // after the bursts, hang up the line and stop serving
    int blockNumber = 0;  // BlockRequest: the block asked for
    int blockCount = 0;   // BlockRequest: the download's block count
};

}  // namespace vortana::sim
