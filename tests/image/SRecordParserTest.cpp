#include "image/SRecordParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace vortana {
namespace {

// Writes down every call, so a test sees what reached the image and in which order.
class RecordingSink : public SRecordSink {
  public:
    std::function<bool(const SRecordHead&)> fits = [](const SRecordHead&) { return true; };
    std::vector<std::string> calls;

    bool Fits(const SRecordHead& head) override {
        calls.push_back("fits " + Describe(head));
        return fits(head);
    }
    void Store(const SRecordHead& head, std::string_view data) override {
        calls.push_back("store " + Describe(head) + " " + std::string(data));
    }

  private:
    static std::string Describe(const SRecordHead& head) {
        return std::string(head.type) + " " + std::to_string(head.count) + " " +
               std::string(head.addressText) + "=" + std::to_string(head.address);
    }
};

struct Parsed {
    std::vector<std::string> calls;
    std::optional<SRecordFailure> failure;
};

Parsed Parse(std::string_view file, RecordingSink sink = {}) {
    std::optional<SRecordFailure> failure = ParseSRecordFile(file, sink);
    return {sink.calls, failure};
}

// The file read as pairs of characters from its start, line ends included, each handed over
// only once the first byte of the next pair has been read: the reading a CR LF file of records
// of even length must agree with.
Parsed ParseAsPairsOfTheWholeFile(std::string_view file) {
    RecordingSink sink;
    SRecordParser parser(sink);
    for (std::size_t i = 0; i + 2 < file.size(); i += 2)
        parser.Token(file.substr(i, 2));
    return {sink.calls, parser.Failure()};
}

TEST(SRecordParser, StoresCheckedS1DataAndWalksThroughHeaderAndEnd) {
    const Parsed parsed = Parse(
        "S00600004844521B\r\n"
        "S1068000A1b2c363\r\n"
        "S9030000FC\r\n");
    ASSERT_FALSE(parsed.failure) << parsed.failure->message;
    EXPECT_EQ(parsed.calls, (std::vector<std::string>{
                                "fits S0 6 0000=0",
                                "fits S1 6 8000=32768",
                                "store S1 6 8000=32768 A1b2c3",
                                "fits S9 3 0000=0",
                            }));
}

TEST(SRecordParser, AHeaderOfCountThreeIsFollowedByTheNextRecord) {
    const std::string_view file = "S0030000FC\r\nS1048000FF7C\r\n";
    for (const Parsed& parsed : {Parse(file), ParseAsPairsOfTheWholeFile(file)}) {
        ASSERT_FALSE(parsed.failure);
        EXPECT_EQ(parsed.calls,
                  (std::vector<std::string>{"fits S0 3 0000=0", "fits S1 4 8000=32768",
                                            "store S1 4 8000=32768 FF"}));
    }
}

TEST(SRecordParser, SkipsRecordsWithoutDataAndStrayTokensAfterARecord) {
    const Parsed parsed = Parse(
        "S5030004F8\n"
        "S70500008000FA\n"
        "S804008000FB\n"
        "S6040000047B\n"
        "S1048000FF7C garbage\n");
    ASSERT_FALSE(parsed.failure);
    EXPECT_EQ(parsed.calls,
              (std::vector<std::string>{"fits S1 4 8000=32768", "store S1 4 8000=32768 FF"}));
}

TEST(SRecordParser, ChecksumOfHeaderAndEndRecordsIsNeverChecked) {
    const Parsed parsed = Parse("S00600004844520000\nS1048000FF7C\nS9030000FF\n");
    EXPECT_FALSE(parsed.failure);
}

TEST(SRecordParser, ALineThatStartsNoRecordIsRefusedWithItsNumber) {
    struct Case {
        std::string_view line;
        std::string_view fault;
    };
    const Case cases[] = {
        {"s1048000FF7B", "不是S记录"},  // the type is case-sensitive
        {" S1048000FF7C", "不是S记录"},    {"X", "不是S记录"},
        {"S4030000FC", "记录类型错误 S4"}, {"S", "记录类型错误 S"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Parsed parsed = Parse("S1048000FF7C\r\n\r\n" + std::string(c.line) + "\r\n");
        ASSERT_TRUE(parsed.failure);
        EXPECT_EQ(parsed.failure->message, "文件加载错误，第3行" + std::string(c.fault));
        EXPECT_EQ(parsed.failure->line, 3u);
        EXPECT_EQ(parsed.calls.size(), 2u);
    }
}

TEST(SRecordParser, LinesAreCountedWhateverTheirEndAndBlankLinesAndAByteOrderMarkAreSkipped) {
    const Parsed parsed = Parse("\xEF\xBB\xBFS1048000FF7C\r \t\r\n\nS10480013F00\r");
    ASSERT_TRUE(parsed.failure);
    EXPECT_EQ(parsed.failure->message, "文件加载错误，8001地址行校验和错误 3B");
    EXPECT_EQ(parsed.failure->line, 4u);
    EXPECT_EQ(parsed.calls[1], "store S1 4 8000=32768 FF");
}

TEST(SRecordParser, AWrongChecksumNamesTheAddressAndTheExpectedSum) {
    const Parsed parsed = Parse("S0030000FC\nS10480003F3C\nS10480003F00\nS1048000FF7C\n");
    ASSERT_TRUE(parsed.failure);
    EXPECT_EQ(parsed.failure->message, "文件加载错误，8000地址行校验和错误 3C");
    EXPECT_EQ(parsed.failure->line, 3u);
    // The bad record is not stored, and nothing after it is read.
    EXPECT_EQ(parsed.calls.back(), "fits S1 4 8000=32768");
    EXPECT_EQ(parsed.calls.size(), 4u);
    // Address characters appear as they stand in the file.
    EXPECT_EQ(Parse("S104ab0001FF\n").failure.value().message,
              "文件加载错误，ab00地址行校验和错误 4F");
}

TEST(SRecordParser, AFieldThatIsNotHexadecimalRefusesTheFileNamingItsLine) {
    // Each record's checksum is right when its bad field is read as 00.
    for (std::string_view record : {
             "S1zz8000FF7C",  // count (as 00 it would be refused for its length)
             "S1048G00FFFC",  // address
             "S1048000zz7B",  // data
             "S1048000FFzz",  // checksum (right: 7C)
             "S9030G00FC",    // the end record's address: every record read is checked
         }) {
        SCOPED_TRACE(record);
        const Parsed parsed = Parse("S1048001FF7B\n" + std::string(record) + "\n");
        ASSERT_TRUE(parsed.failure);
        EXPECT_EQ(parsed.failure->message, "文件加载错误，第2行不是S记录");
        EXPECT_EQ(parsed.failure->line, 2u);
        EXPECT_EQ(parsed.calls[1], "store S1 4 8001=32769 FF");
        EXPECT_EQ(std::count_if(parsed.calls.begin(), parsed.calls.end(),
                                [](const std::string& call) { return call.starts_with("store"); }),
                  1);  // the bad record is not stored
    }
}

TEST(SRecordParser, AnS1RecordCutShortByItsLineEndIsRefused) {
    struct Case {
        std::string_view file;
        std::string_view message;
        std::size_t line;
    };
    const Case cases[] = {
        {"S0030000FC\nS10580003F3C\nS9030000FC\n", "文件加载错误，8000地址行校验和错误 FF", 2},
        {"S10480003F\r\nS9030000FC\r\n", "文件加载错误，8000地址行校验和错误 3C", 1},
        {"S1048000\n", "文件加载错误，8000地址行校验和错误 7B", 1},
        {"S10480\n", "文件加载错误，80地址行校验和错误 7B", 1},
        {"S104\n", "文件加载错误，地址行校验和错误 FB", 1},
        {"S1\n", "文件加载错误，地址行校验和错误 FF", 1},
        {"S1048000FF7\n", "文件加载错误，8000地址行校验和错误 7C", 1},           // half a checksum
        {"S0030000FC\nS10480003F", "文件加载错误，8000地址行校验和错误 3C", 2},  // end of file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Parsed parsed = Parse(c.file);
        ASSERT_TRUE(parsed.failure);
        EXPECT_EQ(parsed.failure->message, c.message);
        EXPECT_EQ(parsed.failure->line, c.line);
        for (const std::string& call : parsed.calls)
            EXPECT_NE(call.substr(0, 5), "store");
    }
}

TEST(SRecordParser, ACutShortHeaderOrEndRecordIsLeftBehindAtItsLineEnd) {
    const Parsed parsed = Parse("S006000048\nS9\nS1048000FF7C\n");
    ASSERT_FALSE(parsed.failure);
    EXPECT_EQ(parsed.calls.back(), "store S1 4 8000=32768 FF");
}

TEST(SRecordParser, ACountBelowThreeIsRefusedInsteadOfSwallowingTheFile) {
    for (std::string_view record : {"S1028000", "S0020000", "S9020000"}) {
        SCOPED_TRACE(record);
        const std::string file = "S0030000FC\n" + std::string(record) + "\nS1048000FF7C\n";
        const Parsed parsed = Parse(file);
        ASSERT_TRUE(parsed.failure);
        EXPECT_EQ(parsed.failure->message,
                  "文件加载错误，第2行记录长度错误 " + std::string(record.substr(2, 2)));
        EXPECT_EQ(parsed.failure->line, 2u);
        EXPECT_EQ(parsed.calls.size(), 1u);  // only the header reached the sink
    }
}

TEST(SRecordParser, TheAddressIsRefusedBeforeTheChecksumIsRead) {
    RecordingSink sink;
    sink.fits = [](const SRecordHead& head) { return head.address != 0x3000; };
    const Parsed parsed = Parse("S1048000FF7C\nS1043000FF00\nS1048001FF7B\n", sink);
    ASSERT_TRUE(parsed.failure);
    EXPECT_EQ(parsed.failure->message, "所选型号跟烧写文件地址不符，请重新选择！");
    EXPECT_EQ(parsed.failure->line, 2u);
    EXPECT_EQ(parsed.calls.size(), 3u);
}

TEST(SRecordParser, NothingIsTakenOnceTheParseHasFailed) {
    RecordingSink sink;
    SRecordParser parser(sink);
    for (std::string_view token : {"S1", "04", "80", "00", "FF", "00"})
        parser.Token(token);
    ASSERT_TRUE(parser.Failure());
    EXPECT_FALSE(parser.LineEnd());
    for (std::string_view token : {"S1", "04", "80", "00", "FF", "7B"})
        EXPECT_FALSE(parser.Token(token));
    EXPECT_EQ(sink.calls.size(), 1u);
}

TEST(SRecordParser, ACrLfFileOfEvenRecordsParsesAlikeByLinesAndByPairsOfCharacters) {
    const std::string_view file =
        "S00600004844521B\r\n"
        "S5030004F8\r\n"
        "S1068000A1b2c363\r\n"
        "S1058003D4E5BE\r\n"
        "\r\n"
        "S9030000FC\r\n";
    const Parsed byLine = Parse(file);
    const Parsed byPair = ParseAsPairsOfTheWholeFile(file);
    EXPECT_FALSE(byLine.failure);
    EXPECT_FALSE(byPair.failure);
    EXPECT_EQ(byLine.calls, byPair.calls);
    EXPECT_EQ(byLine.calls.size(), 6u);
}

TEST(SRecordParser, LfLineEndsLoseNoRecordWherePairingTheFileLostEveryOther) {
    const std::string_view file = "S1048000FF7C\nS1048001FF7B\nS1048002FF7A\nS1048003FF79\n";
    EXPECT_EQ(Parse(file).calls.size(), 8u);
    EXPECT_EQ(ParseAsPairsOfTheWholeFile(file).calls.size(), 4u);
}

}  // namespace
}  // namespace vortana
