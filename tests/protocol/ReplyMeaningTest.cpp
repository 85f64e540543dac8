// What a run of received bytes means to each operation: one table for the window and the
// command-line programmer alike, and the parameters a short reply does not hold said missing.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "protocol/ReplyMeaning.h"

namespace vortana {
namespace {

using Bytes = std::vector<std::uint8_t>;
using A = ReplyAction;
using F = ReplyFailure;

Bytes Reply(std::uint8_t status, std::initializer_list<std::uint8_t> parameters = {}) {
    Bytes bytes{0x68, 0x03, 0x02, status};
    for (const std::uint8_t parameter : parameters)
        bytes.push_back(parameter);
    return bytes;
}

// `length` bytes of one value, as a read-out page of a chip holding it.
Bytes Page(std::uint8_t value, std::size_t length) {
    return Bytes(length, value);
}

struct Case {
    std::uint8_t kind;
    Bytes bytes;
    bool partlyReceived;
    ReplyAction action;
    ReplyFailure failure = F::Device;
};

TEST(ReplyMeaning, EachOperationReadsItsStatusesAndNoOther) {
    const Case cases[] = {
        {kCmdNone, Reply(0x99), false, A::Wait},
        {8, Reply(0x99), false, A::Wait},
        {kCmdErase, Bytes{0x68, 0x01, 0x00}, false, A::Wait},  // no status byte
        {kCmdSettings, Reply(0x99), false, A::Done},
        {kCmdSettings, Reply(0x11), false, A::Unexpected},
        {kCmdErase, Reply(0x00), false, A::Failed, F::Device},
        {kCmdProgram, Reply(0x11), false, A::Unexpected},
        {kCmdProgram, Reply(0xEE, {1, 2, 3, 4}), false, A::Unexpected},
        {kCmdVerify, Reply(0x11), false, A::Failed, F::Protected},
        {kCmdVerify, Reply(0xEE, {1, 2, 3, 4}), false, A::Failed, F::Mismatch},
        {kCmdVerify, Reply(0x55, {1}), false, A::Unexpected},
        {kCmdEpc, Reply(0xEE), false, A::Failed, F::Mismatch},
        {kCmdEpc, Reply(0x5A), false, A::Unexpected},
        {kCmdDownload, Reply(0x55, {3}), false, A::SendBlock},
        {kCmdDownload, Reply(0x55), false, A::Wait},  // names no block
        {kCmdDownload, Reply(0x99, {0x10, 0x00}), false, A::Done},
        {kCmdDownload, Reply(0x11), false, A::Unexpected},
        // A read-out ends by its pages: its short replies only ever fail it.
        {kCmdReadOut, Reply(0x11), false, A::Failed, F::Protected},
        {kCmdReadOut, Reply(0x00, {0}), false, A::Failed, F::Device},
        {kCmdReadOut, Reply(0x99), false, A::Unexpected},
        {kCmdReadOut, Reply(0x99, {0, 0}), false, A::Page},  // six bytes: page data
        {kCmdReadOut, Reply(0x11), true, A::Page},           // the rest of a page
        {kCmdReadOut, Bytes{0x68, 0x04}, false, A::Wait},
        // No frame holds more than 259 bytes: a page left on the line is no answer.
        {kCmdDownload, Page(0x99, kMaxReplyLength), false, A::Done},
        {kCmdDownload, Page(0x99, kMaxReplyLength + 1), false, A::NotAReply},
        {kCmdErase, Page(0x99, 4096), false, A::NotAReply},
    };
    for (const Case& c : cases) {
        const ReplyMeaning meaning = MeaningOf(c.kind, c.bytes, c.partlyReceived);
        SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << ", " << c.bytes.size()
                                        << " bytes, status " << int(c.bytes.back()));
        EXPECT_EQ(meaning.action, c.action);
        if (c.action == A::Failed) {
            EXPECT_EQ(meaning.failure, c.failure);
        }
    }
}

TEST(ReplyMeaning, ParametersAReplyEndsBeforeAreMissingNeverZeroOrStale) {
    const ReplyMeaning whole = MeaningOf(kCmdVerify, Reply(0xEE, {0x4F, 0x3A, 0x12, 0xFF}));
    EXPECT_EQ(whole.Address(), 0x4F3A);
    EXPECT_EQ(whole.Written(), 0x12);
    EXPECT_EQ(whole.ReadBack(), 0xFF);
    EXPECT_EQ(MismatchReport(whole.parameters), "校验没通过，错误地址：4F3A,  写入是 12 读出是 FF");

    const ReplyMeaning cut = MeaningOf(kCmdVerify, Reply(0xEE, {0x4F}));
    EXPECT_EQ(cut.Address(), std::nullopt);
    EXPECT_EQ(cut.Written(), std::nullopt);
    EXPECT_EQ(MismatchReport(cut.parameters), "校验没通过，错误地址：4F??,  写入是 ?? 读出是 ??");

    const ReplyMeaning download = MeaningOf(kCmdDownload, Reply(0x99, {0x10}));
    EXPECT_EQ(download.Length(), std::nullopt);
    EXPECT_EQ(DownloadLengthText(download.parameters), "10??");
    EXPECT_EQ(MeaningOf(kCmdDownload, Reply(0x55, {0x07})).Block(), 0x07);
}

}  // namespace
}  // namespace vortana
