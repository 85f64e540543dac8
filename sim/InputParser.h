// Cuts the bytes that arrive from the front end into command frames and download blocks.
//
// Frames: 0x68, code, data length n, n data bytes, 0x16. A frame whose length does not match
// its code, or whose end byte is missing, is reported as bad together with its command; a
// frame with an unknown code is reported as bad without one. After a bad frame the bytes that
// followed its start byte are read again, so that a start byte among them begins the next
// frame (the device resynchronises on the next 0x68). Bytes outside any frame are reported as
// noise, one run at a time.
//
// Blocks: while the device waits for a download block (ExpectBlock), the next kBlockSize bytes
// are one block, taken raw. A 0x68 where a block should begin cannot be a block number (they
// run from 0 to 15): it ends the wait for blocks and begins a frame.
//
// Qt-free; one thread at a time.
#pragma once

#include <deque>
#include <optional>
#include <span>
#include <string>

#include "sim/Wire.h"

namespace vortana::sim {

class InputParser {
  public:
    enum class Kind {
        Frame,           // a well-formed frame: `command` and `bytes` (the whole frame)
        BadFrame,        // `problem`; `command` when the code is known
        Noise,           // bytes outside a frame
        Block,           // kBlockSize bytes of a download block
        BlockWaitEnded,  // a frame began where a block was expected
        Incomplete,      // DropIncomplete: the bytes of an unfinished frame or block
    };
    struct Event {
        Kind kind;
        Bytes bytes;
        const CommandInfo* command = nullptr;
        std::string problem;
    };

    // The next kBlockSize bytes are a block (until ExpectFrames or a 0x68 at a block's start).
    void ExpectBlock() { expectingBlock_ = true; }
    void ExpectFrames() { expectingBlock_ = false; }
    bool ExpectingBlock() const { return expectingBlock_; }

    // Takes bytes from the front of `input` until one event is complete and returns it, or
    // returns nothing once `input` is used up. Call again until it returns nothing.
    std::optional<Event> Next(std::span<const std::uint8_t>& input);

    // True while part of a frame or block has arrived and the rest has not.
    bool HoldsIncomplete() const { return !pending_.empty(); }

    // Gives up the unfinished frame or block (the line went quiet in the middle of it).
    std::optional<Event> DropIncomplete();

  private:
    std::optional<Event> TakeFrameByte(std::uint8_t byte);
    std::optional<Event> TakeBlockByte(std::uint8_t byte);
    Event RejectFrame(std::string problem);

    bool expectingBlock_ = false;
    Bytes pending_;  // the frame or block being received
    const CommandInfo* command_ = nullptr;
    Bytes noise_;                         // the current run of bytes outside a frame
    std::deque<std::uint8_t> rereading_;  // bytes of a rejected frame, read again first
};

}  // namespace vortana::sim
