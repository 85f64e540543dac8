#include "sim/Fault.h"

#include <algorithm>
#include <charconv>

namespace vortana::sim {
namespace {

constexpr std::size_t kShortLength = 3;
constexpr std::size_t kStatusOffset = 3;
constexpr std::size_t kBlockNumberOffset = 4;

// Bytes a noise burst never holds: a start or end byte, or a status the front end acts on.
bool LooksMeaningful(std::uint8_t byte) {
    static constexpr std::array<std::uint8_t, 7> kAvoided{kStartByte,
                                                          kEndByte,
                                                          status::kSuccess,
                                                          status::kFailure,
                                                          status::kReadProtected,
                                                          status::kMismatch,
                                                          status::kBlockRequest};
    return std::find(kAvoided.begin(), kAvoided.end(), byte) != kAvoided.end();
}

bool HasStatus(const Answer& answer) {
    return answer.kind != Answer::Kind::Pages && !answer.bursts.empty() &&
           answer.bursts.front().bytes.size() > kStatusOffset;
}

int HangUpBlock(const Answer& answer) {
    return std::max(1, answer.blockCount / 2);
}

void SplitFirstPage(Answer& answer) {
    Burst& first = answer.bursts.front();
    const std::size_t half = first.bytes.size() / 2;
    Burst second{kPageGap, Bytes(first.bytes.begin() + half, first.bytes.end()),
                 first.name + ", second half"};
    first.bytes.resize(half);
    first.name += ", first half";
    answer.bursts.insert(answer.bursts.begin() + 1, std::move(second));
}

void JoinFirstTwoPages(Answer& answer) {
    Burst& first = answer.bursts[0];
    const Burst& second = answer.bursts[1];
    first.bytes.insert(first.bytes.end(), second.bytes.begin(), second.bytes.end());
    first.name += " and " + second.name + " in one burst";
    answer.bursts.erase(answer.bursts.begin() + 1);
}

}  // namespace

// The same noise every time, so that a test sees what a run showed.
Bytes Noise(std::size_t length) {
    Bytes noise;
    noise.reserve(length);
    std::uint32_t state = 0x2545F491;
    while (noise.size() < length) {
        state = state * 1664525u + 1013904223u;
        const auto byte = static_cast<std::uint8_t>(state >> 24);
        if (!LooksMeaningful(byte))
            noise.push_back(byte);
    }
    return noise;
}

const FaultInfo& InfoOf(FaultKind kind) {
    return *std::find_if(kFaults.begin(), kFaults.end(),
                         [kind](const FaultInfo& info) { return info.kind == kind; });
}

std::optional<Fault> ParseFault(std::string_view text, std::string& error) {
    const std::size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const auto* info = std::find_if(kFaults.begin(), kFaults.end(),
                                    [name](const FaultInfo& i) { return name == i.name; });
    if (info == kFaults.end()) {
        error = "unknown fault '" + std::string(name) + "'";
        return std::nullopt;
    }
    Fault fault{info->kind, std::nullopt};
    if (equals == std::string_view::npos)
        return fault;
    if (!info->valueName) {
        error = "the fault '" + std::string(name) + "' takes no value";
        return std::nullopt;
    }
    const std::string_view digits = text.substr(equals + 1);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size() ||
        value > info->maxValue) {
        error = "the fault '" + std::string(name) + "' takes a number from 0 to " +
                std::to_string(info->maxValue) + ", not '" + std::string(digits) + "'";
        return std::nullopt;
    }
    fault.value = value;
    return fault;
}

std::string FaultText(const Fault& fault) {
    std::string text = InfoOf(fault.kind).name;
    if (fault.value)
        text += "=" + std::to_string(*fault.value);
    return text;
}

bool Applies(const Fault& fault, const Answer& answer) {
    if (answer.bursts.empty())
        return false;
    switch (fault.kind) {
        case FaultKind::Silence:
        case FaultKind::Late:
        case FaultKind::Garbage:
        case FaultKind::Short:
        case FaultKind::DropLine:
            return true;
        case FaultKind::WrongStatus:
            return HasStatus(answer);
        case FaultKind::SplitPage:
            return answer.kind == Answer::Kind::Pages;
        case FaultKind::DoublePage:
            return answer.kind == Answer::Kind::Pages && answer.bursts.size() >= 2;
        case FaultKind::BlockOutOfRange:
            return answer.kind == Answer::Kind::BlockRequest;
        case FaultKind::HangUp:
            return answer.kind == Answer::Kind::BlockRequest &&
                   answer.blockNumber >= HangUpBlock(answer);
    }
    return false;
}

void Apply(const Fault& fault, Answer& answer) {
    Burst& first = answer.bursts.front();
    switch (fault.kind) {
        case FaultKind::Silence:
            answer.bursts.clear();
            break;
        case FaultKind::Late:
            first.pause += fault.value ? std::chrono::milliseconds(*fault.value) : kDefaultLateness;
            break;
        case FaultKind::Garbage:
            first.bytes = Noise(first.bytes.size());
            first.name = "noise instead of " + first.name;
            break;
        case FaultKind::Short:
            first.bytes.resize(std::min(first.bytes.size(), kShortLength));
            first.name += ", cut short";
            break;
        case FaultKind::WrongStatus:
            first.bytes[kStatusOffset] = kWrongStatus;
            first.name += ", with a wrong status";
            break;
        case FaultKind::SplitPage:
            SplitFirstPage(answer);
            break;
        case FaultKind::DoublePage:
            JoinFirstTwoPages(answer);
            break;
        case FaultKind::BlockOutOfRange:
            first.name = "request for block " +
                         std::to_string(fault.value.value_or(answer.blockCount)) + " instead of " +
                         std::to_string(answer.blockNumber);
            answer.blockNumber = static_cast<int>(fault.value.value_or(answer.blockCount));
            first.bytes[kBlockNumberOffset] = static_cast<std::uint8_t>(answer.blockNumber);
            break;
        case FaultKind::HangUp:
        case FaultKind::DropLine:
            answer.bursts.clear();
            answer.hangUp = true;
            break;
    }
}

std::optional<Fault> FaultQueue::ApplyTo(Answer& answer) {
    const auto found = std::find_if(waiting_.begin(), waiting_.end(),
                                    [&answer](const Fault& f) { return Applies(f, answer); });
    if (found == waiting_.end())
        return std::nullopt;
    const Fault fault = *found;
    waiting_.erase(found);
    Apply(fault, answer);
    return fault;
}

}  // namespace vortana::sim
