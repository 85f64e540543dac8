#include "protocol/ReplyMeaning.h"

#include "protocol/Operations.h"

namespace vortana {
namespace {

std::optional<std::uint16_t> Word(const std::optional<std::uint8_t>& high,
                                  const std::optional<std::uint8_t>& low) {
    if (!high || !low)
        return std::nullopt;
    return static_cast<std::uint16_t>(*high << 8 | *low);
}

ReplyMeaning Status(std::span<const std::uint8_t> bytes) {
    ReplyMeaning meaning;
    meaning.status = bytes[kReplyStatus];
    for (std::size_t i = 0; i < meaning.parameters.size(); ++i)
        if (kReplyParam1 + i < bytes.size())
            meaning.parameters[i] = bytes[kReplyParam1 + i];
    return meaning;
}

ReplyMeaning Page() {
    ReplyMeaning meaning;
    meaning.action = ReplyAction::Page;
    return meaning;
}

ReplyMeaning Failed(ReplyMeaning meaning, ReplyFailure failure) {
    meaning.action = ReplyAction::Failed;
    meaning.failure = failure;
    return meaning;
}

// A status reply, read as the operation's row of the table says.
ReplyMeaning StatusMeaning(const Operation& operation, std::span<const std::uint8_t> bytes) {
    ReplyMeaning meaning = Status(bytes);
    meaning.action = ReplyAction::Unexpected;
    switch (meaning.status) {
        case kStatusSuccess:
            // The read-out ends with its last page; a success status is none of its answers.
            if (operation.kind != kCmdReadOut)
                meaning.action = ReplyAction::Done;
            return meaning;
        case kStatusFailure:
            return Failed(meaning, ReplyFailure::Device);
        case kStatusProtected:
            return operation.protectedText != nullptr ? Failed(meaning, ReplyFailure::Protected)
                                                      : meaning;
        case kStatusMismatch:
            return operation.reportsMismatch ? Failed(meaning, ReplyFailure::Mismatch) : meaning;
        case kStatusBlockRequest:
            if (operation.kind == kCmdDownload)
                meaning.action = meaning.parameters[0] ? ReplyAction::SendBlock : ReplyAction::Wait;
            return meaning;
        default:
            return meaning;
    }
}

}  // namespace

std::optional<std::uint16_t> ReplyMeaning::Length() const {
    return Word(parameters[0], parameters[1]);
}

std::optional<std::uint16_t> ReplyMeaning::Address() const {
    return Word(parameters[0], parameters[1]);
}

ReplyMeaning MeaningOf(std::uint8_t cmdKind, std::span<const std::uint8_t> bytes,
                       bool pagePartlyReceived) {
    const Operation* operation = FindOperation(cmdKind);
    if (operation == nullptr)
        return {};
    if (operation->kind == kCmdReadOut &&
        (pagePartlyReceived || bytes.size() > kMaxStatusReplyLength))
        return Page();
    if (bytes.size() < kMinStatusReplyLength)
        return {};
    if (bytes.size() > kMaxReplyLength) {
        ReplyMeaning meaning;
        meaning.action = ReplyAction::NotAReply;
        return meaning;
    }
    return StatusMeaning(*operation, bytes);
}

}  // namespace vortana
