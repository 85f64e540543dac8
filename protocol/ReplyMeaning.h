// ReplyMeaning: what a run of received bytes means to the operation that awaits it, decided in
// this one place for the window and the command-line programmer alike. The window turns each
// meaning into the boxes and texts it shows, the command-line programmer into its exit statuses.
//
// The reply is read as the device sends it: its status is byte 3, its parameters bytes 4 to 7,
// bytes 0 to 2 and the length are not examined (except by the read-out, which tells a status
// reply from page data by length). A parameter the reply is too short to hold is missing, never
// zero and never an earlier reply's byte.
//
// By operation (statuses the operation does not list are Unexpected):
//   every operation   0x99 Done; 0x00 Failed (Device)
//   verify, erase+program+verify   0x11 Failed (Protected); 0xEE Failed (Mismatch), with the
//                     failing address, the byte written and the byte read back
//   read-out          while no page is partly received, 5 bytes or fewer are a status reply
//                     (0x11 Failed Protected, 0x00 Failed Device); anything else is Page data.
//                     The read-out ends by its pages, not by a status: 0x99 is Unexpected
//   download          0x55 SendBlock, byte 4 the block's number (a request too short to name its
//                     block asks for nothing: Wait); 0x99 Done, bytes 4 and 5 the length
// A reply too short to hold a status, and any reply before the first command (CmdKind 0 or a
// value past the table), means Wait. A burst longer than any reply frame can be (kMaxReplyLength)
// is NotAReply, outside a read-out's pages: byte 3 of a page left over from an earlier read-out
// is the chip's data, and taking it for a status would tell a failure as success. Qt-free; pure.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "protocol/Reply.h"
#include "shell/SessionState.h"

namespace vortana {

enum class ReplyAction : std::uint8_t {
    Wait,        // nothing to act on: the operation goes on waiting
    SendBlock,   // the download asks for block `Block()`
    Page,        // read-out data, to be joined into pages
    Done,        // the operation succeeded
    Failed,      // the device says it failed, and how (`failure`)
    Unexpected,  // a status this operation does not expect (`status`)
    NotAReply,   // more bytes than any reply holds: data or noise, not an answer
};

enum class ReplyFailure : std::uint8_t {
    Device,     // 0x00
    Protected,  // 0x11: the chip is read-protected
    Mismatch,   // 0xEE: verify found a differing byte
};

struct ReplyMeaning {
    ReplyAction action = ReplyAction::Wait;
    ReplyFailure failure = ReplyFailure::Device;  // for Failed
    std::uint8_t status = 0;                      // byte 3, where the reply holds one
    ReplyParameters parameters;

    // The block a SendBlock asks for.
    std::uint8_t Block() const { return parameters[0].value_or(0); }
    // The length a download's Done reports, high byte first; missing when the reply ends early.
    std::optional<std::uint16_t> Length() const;
    // The failing address of a Mismatch; missing when the reply ends before its low byte.
    std::optional<std::uint16_t> Address() const;
    std::optional<std::uint8_t> Written() const { return parameters[2]; }
    std::optional<std::uint8_t> ReadBack() const { return parameters[3]; }
};

// What `bytes`, received while operation `cmdKind` awaits its answer, mean to it.
// `pagePartlyReceived`: a read-out holds bytes of a page not yet whole, so whatever comes next
// belongs to the page.
ReplyMeaning MeaningOf(std::uint8_t cmdKind, std::span<const std::uint8_t> bytes,
                       bool pagePartlyReceived = false);

}  // namespace vortana
