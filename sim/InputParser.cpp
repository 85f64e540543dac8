#include "sim/InputParser.h"

#include <utility>

namespace vortana::sim {
namespace {

constexpr std::size_t kFrameHeadSize = 3;  // start byte, code, length

InputParser::Event Make(InputParser::Kind kind, Bytes bytes, const CommandInfo* command = nullptr,
                        std::string problem = {}) {
    return {kind, std::move(bytes), command, std::move(problem)};
}

}  // namespace

std::optional<InputParser::Event> InputParser::Next(std::span<const std::uint8_t>& input) {
    for (;;) {
        std::uint8_t byte;
        if (!rereading_.empty()) {
            byte = rereading_.front();
            rereading_.pop_front();
        } else if (!input.empty()) {
            byte = input.front();
            input = input.subspan(1);
        } else {
            break;
        }
        auto event = expectingBlock_ ? TakeBlockByte(byte) : TakeFrameByte(byte);
        if (event)
            return event;
    }
    if (!noise_.empty())
        return Make(Kind::Noise, std::exchange(noise_, {}));
    return std::nullopt;
}

std::optional<InputParser::Event> InputParser::TakeFrameByte(std::uint8_t byte) {
    if (pending_.empty()) {
        if (byte != kStartByte) {
            noise_.push_back(byte);
            return std::nullopt;
        }
        pending_.push_back(byte);
        if (!noise_.empty())
            return Make(Kind::Noise, std::exchange(noise_, {}));
        return std::nullopt;
    }
    pending_.push_back(byte);
    if (pending_.size() == 2) {
        command_ = FindCommand(byte);
        if (!command_)
            return RejectFrame("unknown command code " + HexByte(byte));
        return std::nullopt;
    }
    if (pending_.size() == kFrameHeadSize) {
        if (byte != command_->dataLength)
            return RejectFrame("wrong data length " + std::to_string(byte) + " (takes " +
                               std::to_string(command_->dataLength) + ")");
        return std::nullopt;
    }
    if (pending_.size() < kFrameHeadSize + command_->dataLength + 1)
        return std::nullopt;
    if (byte != kEndByte)
        return RejectFrame("no end byte (" + HexByte(byte) + " where 0x16 belongs)");
    Event frame = Make(Kind::Frame, std::exchange(pending_, {}), command_);
    command_ = nullptr;
    return frame;
}

InputParser::Event InputParser::RejectFrame(std::string problem) {
    // Everything after the start byte is read again: it may hold the next frame's start.
    rereading_.insert(rereading_.begin(), pending_.begin() + 1, pending_.end());
    Event bad = Make(Kind::BadFrame, std::exchange(pending_, {}), command_, std::move(problem));
    command_ = nullptr;
    return bad;
}

std::optional<InputParser::Event> InputParser::TakeBlockByte(std::uint8_t byte) {
    if (pending_.empty() && byte == kStartByte) {
        expectingBlock_ = false;
        pending_.push_back(byte);
        return Make(Kind::BlockWaitEnded, {});
    }
    pending_.push_back(byte);
    if (pending_.size() < kBlockSize)
        return std::nullopt;
    return Make(Kind::Block, std::exchange(pending_, {}));
}

std::optional<InputParser::Event> InputParser::DropIncomplete() {
    if (pending_.empty())
        return std::nullopt;
    Event dropped = Make(Kind::Incomplete, std::exchange(pending_, {}), command_);
    command_ = nullptr;
    return dropped;
}

}  // namespace vortana::sim
