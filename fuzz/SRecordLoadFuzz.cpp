// Fuzz target: any bytes as an S-record file, loaded into the image of a model the input chooses.
//
// Input: byte 0 picks the model code text (the five, a lower-case one, an unknown one, none),
// byte 1 the image size (1 to 16 blocks, or a size the tables cannot hold), bytes 2 and 3 the
// start value; the rest is the file. One session lives across inputs, so every load meets the
// image and blocks an earlier one left.
//
// Checked against a shadow of the session kept here, with formulas of this file's own:
//  - the tokeniser splits the file into the lines and pairs a plain split gives (a byte-order
//    mark opening the file skipped; LF, CR LF or a lone CR ending a line; blank lines giving
//    no token);
//  - a refused file changes no entry of ImageText, no byte of ImageBlocks and not BlockSum, and
//    says why with one of the loader's messages and a line of the file;
//  - a loaded file rewrites exactly the image's entries and blocks: every block carries its
//    number, its address high byte, the values of its entries and their sum; the checksum text
//    and the listing rows match the entries; a file without any "S1" is refused;
//  - a file of record lines, blank lines and lines that are no records loads or is refused as
//    worked out here line by line: the refusal's line and reason, or every byte of the image.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "image/ImageLoader.h"
#include "image/SRecordTokeniser.h"
#include "shell/Convert.h"

namespace {

using vortana::fuzz::Check;

using vortana::SessionState;

// Stops the run with a message libFuzzer shows beside the input.
struct CodeChoice {
    const char* text;
    int windowBase;  // -1: the loader has no layout for this code
};

constexpr CodeChoice kCodes[] = {
    {"0x00", 0},      {"0x10", 0x1000}, {"0x14", 0x1000}, {"0xB0", 0xB000},
    {"0xB2", 0xB000}, {"0xb0", 0xB000}, {"0x77", -1},     {"", 0},  // "" reads as code 0x00
};

constexpr std::size_t kModelBytes = 4;
constexpr std::uint32_t kBlockData = 4096;
constexpr std::uint32_t kTableEntries = vortana::kImageTextEntries;
constexpr char kUnloaded[] = "**";  // what the shadow says of an entry no load has written

struct Model {
    const CodeChoice* code;
    std::uint32_t start;
    std::uint32_t size;
    std::string flashStart;

    bool Loadable() const {
        return code->windowBase >= 0 && size >= kBlockData && size <= kTableEntries &&
               size % kBlockData == 0;
    }
    bool HasWindow() const { return code->windowBase > 0; }
};

// Sizes the tables cannot hold: none, not whole blocks, past 64 KiB, far past it.
constexpr std::uint32_t kBadSizes[] = {0, 1, 4095, 4097, 6144, 65537, 69632, 0x80000000};

// Mostly small images, since a load costs in proportion to its size; any size now and then.
std::uint32_t ImageSizeOf(std::uint8_t choice) {
    if (choice < 0xC0)
        return (1 + choice % 4) * kBlockData;
    if (choice < 0xF0)
        return (1 + choice % 16) * kBlockData;
    return kBadSizes[choice % std::size(kBadSizes)];
}

Model ModelOf(const std::uint8_t* data) {
    Model model;
    model.code = &kCodes[data[0] % std::size(kCodes)];
    model.size = ImageSizeOf(data[1]);
    model.start = std::uint32_t{data[2]} << 8 | data[3];
    char text[5];
    std::snprintf(text, sizeof text, "%04X", model.start);
    model.flashStart = text;
    return model;
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Two characters (of an image entry, of a record field) as a hexadecimal byte, 0 when they are
// not one.
std::uint8_t PairValue(std::string_view pair) {
    return static_cast<std::uint8_t>(vortana::HexToIntDef(pair.substr(0, 2)));
}

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// The file's lines, after a UTF-8 byte-order mark opening it: each ends at a LF, a CR LF or a
// lone CR, which are no part of it.
std::vector<std::string_view> Lines(std::string_view file) {
    if (file.starts_with("\xEF\xBB\xBF"))
        file.remove_prefix(3);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < file.size();) {
        std::size_t end = start;
        while (end < file.size() && file[end] != '\n' && file[end] != '\r')
            ++end;
        lines.push_back(file.substr(start, end - start));
        start = end + (file.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

bool IsBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The tokeniser against the plain split: each line that is not blank gives its characters in
// pairs from its start, an odd last one alone; then every line its end; the file ends after its
// last line.
void CheckTokens(std::string_view file, const std::vector<std::string_view>& lines) {
    vortana::SRecordTokeniser tokeniser(file);
    std::string_view token;
    for (std::string_view line : lines) {
        for (std::size_t pair = 0; !IsBlank(line) && pair < line.size(); pair += 2) {
            Check(tokeniser.Next(token) == vortana::SRecordTokeniser::Step::Token, "token missed");
            Check(token.data() == line.data() + pair &&
                      token.size() == std::min<std::size_t>(2, line.size() - pair),
                  "token misplaced");
        }
        Check(tokeniser.Next(token) == vortana::SRecordTokeniser::Step::LineEnd, "line end missed");
    }
    for (int i = 0; i < 2; ++i)
        Check(tokeniser.Next(token) == vortana::SRecordTokeniser::Step::FileEnd, "file end missed");
}

// A line holding one record, whole or cut short by the line end or by a field that is not
// hexadecimal: "S0", "S1" or "S9", then pairs: the count c, two address bytes, c - 3 data bytes
// and the checksum, nothing after them. An odd character at the end of a line is no part of it
// (its token holds no field).
struct RecordLine {
    char type;
    std::size_t pairs;          // hexadecimal pairs after the type, up to the first bad field
    bool badField = false;      // the pair after them is a field that is not hexadecimal
    std::uint8_t count = 0;     // when pairs >= 1
    std::uint32_t address = 0;  // when pairs >= 3
    std::string_view data;      // when the record is whole: two characters a byte
    bool sumRight = false;      // when the record is whole

    bool HasAddress() const { return pairs >= 3; }
    bool Whole() const { return pairs == 1 + std::size_t{count}; }
    // Data bytes the record announces for the image: only S1 records carry any.
    std::uint32_t DataLength() const { return type == '1' && count > 3 ? count - 3 : 0; }
};

std::optional<RecordLine> ReadRecordLine(std::string_view line) {
    line = line.substr(0, line.size() & ~std::size_t{1});
    if (line.size() < 2 || line[0] != 'S' || (line[1] != '0' && line[1] != '1' && line[1] != '9'))
        return std::nullopt;
    RecordLine record;
    record.type = line[1];
    record.pairs = line.size() / 2 - 1;
    for (std::size_t pair = 0; pair < record.pairs && pair <= record.count; ++pair) {
        const std::string_view field = line.substr(2 + 2 * pair, 2);
        if (!IsHexDigit(field[0]) || !IsHexDigit(field[1])) {
            record.pairs = pair;
            record.badField = true;
            break;
        }
        if (pair == 0)
            record.count = PairValue(field);
    }
    if (record.pairs > 1 + std::size_t{record.count})
        return std::nullopt;  // more after the record: not a line of one record
    if (record.HasAddress())
        record.address = std::uint32_t{PairValue(line.substr(4))} << 8 | PairValue(line.substr(6));
    if (record.count >= 3 && record.Whole()) {
        std::uint32_t sum = 0;
        for (std::size_t at = 2; at + 2 < line.size(); at += 2)
            sum += PairValue(line.substr(at));
        record.data = line.substr(8, line.size() - 10);
        record.sumRight = PairValue(line.substr(line.size() - 2)) == 0xFF - sum % 256;
    }
    return record;
}

// Where a record's first byte goes in the image: below 0 when it lies below the image.
std::int64_t ImageIndex(const Model& model, std::uint32_t address) {
    if (!model.HasWindow() || address >= model.start)
        return std::int64_t{address} - model.start + (model.HasWindow() ? kBlockData : 0);
    return std::int64_t{address} - model.code->windowBase;
}

// The address image position `index` holds: the window's first, then the main flash's.
std::int64_t AddressAt(const Model& model, std::int64_t index) {
    if (!model.HasWindow())
        return model.start + index;
    return index < kBlockData ? model.code->windowBase + index : model.start + index - kBlockData;
}

// Whether the model takes a record: each data byte must land in the image at a position that
// holds its own address; a record without data only must not lie below the image, address 0
// always passing.
bool Fits(const Model& model, const RecordLine& record) {
    const std::int64_t index = ImageIndex(model, record.address);
    const std::uint32_t length = record.DataLength();
    if (length == 0)
        return record.address == 0 || index >= 0;
    for (std::uint32_t k = 0; k < length; ++k) {
        if (index + k < 0 || index + k >= model.size ||
            AddressAt(model, index + k) != record.address + k)
            return false;
    }
    return true;
}

constexpr std::string_view kFileErrorStart = "文件加载错误，";  // checksum or count

struct ExpectedOutcome {
    std::optional<std::size_t> failedLine;  // counting from 1
    std::string messageStart;
    std::vector<char> chars;  // the image's characters, two a byte, on success
};

std::string NoRecordMessage(std::size_t line) {
    return std::string(kFileErrorStart) + "第" + std::to_string(line) + "行不是S记录";
}

// Why record line `line` fails the load, or nothing when it passes, in the order the fields are
// read: a count below 3; a count or address that is not hexadecimal; an address the model does
// not take; any other field that is not hexadecimal; an S1 record cut short or with the wrong
// checksum.
std::optional<std::string> RecordFailure(const Model& model, const RecordLine& record,
                                         std::size_t line) {
    if (record.pairs >= 1 && record.count < 3)
        return std::string(kFileErrorStart);
    if (record.badField && !record.HasAddress())
        return NoRecordMessage(line);
    if (record.HasAddress() && !Fits(model, record))
        return std::string(vortana::kAddressMismatchMessage);
    if (record.badField)
        return NoRecordMessage(line);
    if (record.type == '1' && !(record.Whole() && record.sumRight))
        return std::string(kFileErrorStart);
    return std::nullopt;
}

// Why a line that is not blank fails the load before any record is read from it: it does not
// start with "S", or its type is none the loader reads or skips.
bool StartsNoRecord(std::string_view line) {
    const char type = line.size() > 1 ? line[1] : '\0';
    return line[0] != 'S' || type < '0' || type > '9' || (type >= '2' && type <= '4');
}

// Records of the types skipped, hexadecimal pairs after their type. (A type token among the
// characters would start a record of its own.)
bool IsSkippedRecord(std::string_view line) {
    return line[1] >= '5' && line[1] <= '8' &&
           std::all_of(line.begin() + 2, line.end(), IsHexDigit);
}

// What loading a file of lines must give, worked out line by line: blank lines, lines that start
// no record, records of the types skipped, and lines holding one S0, S1 or S9 record. Nothing
// for a file with any other line.
std::optional<ExpectedOutcome> OutcomeOfRecordFile(const Model& model,
                                                   const std::vector<std::string_view>& lines) {
    ExpectedOutcome outcome;
    outcome.chars.assign(2 * std::size_t{model.size}, 'F');
    bool storedData = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (IsBlank(line))
            continue;
        if (StartsNoRecord(line)) {
            outcome.failedLine = i + 1;
            outcome.messageStart = kFileErrorStart;
            return outcome;
        }
        if (IsSkippedRecord(line))
            continue;
        const std::optional<RecordLine> record = ReadRecordLine(line);  // S0, S1, S9 or nothing
        if (!record)
            return std::nullopt;
        if (auto failure = RecordFailure(model, *record, i + 1)) {
            outcome.failedLine = i + 1;
            outcome.messageStart = std::move(*failure);
            return outcome;
        }
        if (record->DataLength() > 0) {
            std::copy(record->data.begin(), record->data.end(),
                      outcome.chars.begin() + 2 * ImageIndex(model, record->address));
            storedData = true;
        }
    }
    if (!storedData) {
        outcome.failedLine = lines.size() + 1;
        outcome.messageStart = kFileErrorStart;
    }
    return outcome;
}

void CheckExpectedOutcome(const ExpectedOutcome& expected, const vortana::ImageLoadOutcome& outcome,
                          const SessionState& session) {
    Check(expected.failedLine.has_value() == outcome.failure.has_value(),
          "a file of record lines loaded or refused wrongly");
    if (expected.failedLine) {
        Check(outcome.failure->line == *expected.failedLine &&
                  outcome.failure->message.starts_with(expected.messageStart),
              "a file of record lines refused on the wrong line or for the wrong reason");
        return;
    }
    for (std::size_t i = 0; i < expected.chars.size() / 2; ++i) {
        Check(session.ImageText[i][1] == expected.chars[2 * i] &&
                  session.ImageText[i][2] == expected.chars[2 * i + 1],
              "a file of record lines put a byte in the wrong place");
    }
}

// The session and what it must hold: the characters of every ImageText entry and the blocks.
struct Shadow {
    std::unique_ptr<SessionState> session = std::make_unique<SessionState>();
    std::vector<char> chars;
    std::unique_ptr<decltype(SessionState::ImageBlocks)> blocks =
        std::make_unique<decltype(SessionState::ImageBlocks)>();
    std::int32_t blockSum = 0x5A5A5A5A;

    Shadow() {
        for (std::string& entry : session->ImageText)
            entry = std::string("$") + kUnloaded;
        chars.resize(2 * session->ImageText.size());
        for (std::size_t i = 0; i < chars.size(); ++i)
            chars[i] = kUnloaded[i % 2];
        for (std::size_t i = 0; i < blocks->size(); ++i)
            (*blocks)[i] = static_cast<std::uint8_t>(i * 7);
        session->ImageBlocks = *blocks;
        session->BlockSum = blockSum;
    }

    // Entries `first` to `first + count - 1` (as far as the table goes) hold what the shadow
    // says. Checking the whole table every time would cost more than most loads.
    void CheckEntriesKept(std::size_t first, std::size_t count) const {
        const auto& text = session->ImageText;
        for (std::size_t i = first; i < std::min(first + count, text.size()); ++i) {
            Check(text[i].size() == 3 && text[i][0] == '$' && text[i][1] == chars[2 * i] &&
                      text[i][2] == chars[2 * i + 1],
                  "an ImageText entry outside the loaded image changed");
        }
    }
    void CheckBlocksKept(std::size_t firstBlock) const {
        const std::size_t from = firstBlock * vortana::kImageBlockSize;
        Check(
            std::equal(blocks->begin() + from, blocks->end(), session->ImageBlocks.begin() + from),
            "a download block outside the loaded image changed");
    }
};

bool IsLoaderMessage(const std::string& message) {
    return message == vortana::kNoModelMessage || message == vortana::kAddressMismatchMessage ||
           message.starts_with("文件加载错误，");
}

void CheckRefused(const Shadow& shadow, const Model& model, std::size_t lines,
                  const vortana::SRecordFailure& failure) {
    Check(IsLoaderMessage(failure.message), "a refusal without a loader message");
    const bool noModel = failure.message == vortana::kNoModelMessage;
    Check(noModel == !model.Loadable(), "a model refused or not refused wrongly");
    Check(noModel || (failure.line >= 1 && failure.line <= lines + 1),
          "a refusal names no line of the file");
    shadow.CheckEntriesKept(0, std::min(model.size, kTableEntries) + kBlockData);
    shadow.CheckBlocksKept(0);
    Check(shadow.session->BlockSum == shadow.blockSum, "a refused file changed BlockSum");
}

std::uint8_t BlockAddressHigh(const Model& model, std::uint32_t block) {
    const std::uint32_t startHigh = model.start >> 8;
    if (!model.HasWindow())
        return static_cast<std::uint8_t>(startHigh + 16 * block);
    if (block == 0)
        return static_cast<std::uint8_t>(model.code->windowBase >> 8);
    return static_cast<std::uint8_t>(startHigh + 16 * (block - 1));
}

std::uint32_t RowAddress(const Model& model, std::uint32_t row) {
    if (!model.HasWindow())
        return model.start + 16 * row;
    if (row < 256)
        return model.code->windowBase + 16 * row;
    return model.start + 16 * (row - 256);
}

// A listing row: the address, ":: ", then each entry's two characters and a blank.
void CheckRow(const std::string& row, std::uint32_t address, const std::string* entries) {
    char head[16];
    const int headLength = std::snprintf(head, sizeof head, "%04X:: ", address);
    Check(row.size() == static_cast<std::size_t>(headLength) + 16 * 3 &&
              row.compare(0, headLength, head) == 0,
          "a listing row with the wrong address");
    for (std::size_t k = 0; k < 16; ++k) {
        const char* cell = row.data() + headLength + 3 * k;
        Check(cell[0] == entries[k][1] && cell[1] == entries[k][2] && cell[2] == ' ',
              "a listing row differs from its entries");
    }
}

void CheckLoaded(Shadow& shadow, const Model& model, std::string_view file,
                 const vortana::ImageLoadOutcome& outcome) {
    Check(model.Loadable(), "a file loaded for a model the tables cannot hold");
    const SessionState& session = *shadow.session;
    Check(file.find("S1") != std::string_view::npos, "a file without any S1 loaded");
    std::uint32_t checkSum = 0;
    for (std::uint32_t block = 0; block < model.size / kBlockData; ++block) {
        const std::uint8_t* bytes = session.ImageBlocks.data() + block * vortana::kImageBlockSize;
        Check(bytes[0] == block, "a block with the wrong number");
        Check(bytes[1] == BlockAddressHigh(model, block), "a block with the wrong address byte");
        std::uint32_t sum = 0;
        for (std::uint32_t k = 0; k < kBlockData; ++k) {
            const std::string& entry = session.ImageText[block * kBlockData + k];
            Check(entry.size() == 3 && entry[0] == '$', "an image entry that is not $hh");
            Check(bytes[2 + k] == PairValue(std::string_view(entry).substr(1)),
                  "a block byte differs from its entry");
            sum += bytes[2 + k];
        }
        for (int i = 0; i < 4; ++i) {
            Check(bytes[kBlockData + 2 + i] == static_cast<std::uint8_t>(sum >> (24 - 8 * i)),
                  "a block sum differs from its bytes");
        }
        checkSum += sum;
    }
    Check(outcome.checkSumText == "CheckSum:  0x" + Hex(checkSum, 8), "wrong checksum text");

    Check(outcome.listingRows.size() == model.size / 16, "wrong number of listing rows");
    for (std::uint32_t row = 0; row < outcome.listingRows.size(); ++row)
        CheckRow(outcome.listingRows[row], RowAddress(model, row), &session.ImageText[row * 16]);

    Check(session.BlockSum == 0, "BlockSum not 0 after the blocks were built");
    shadow.CheckEntriesKept(model.size, kBlockData);
    shadow.CheckBlocksKept(model.size / kBlockData);
    for (std::uint32_t i = 0; i < model.size; ++i) {
        shadow.chars[2 * i] = session.ImageText[i][1];
        shadow.chars[2 * i + 1] = session.ImageText[i][2];
    }
    std::copy(session.ImageBlocks.begin(), session.ImageBlocks.end(), shadow.blocks->begin());
    shadow.blockSum = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kModelBytes)
        return 0;
    static Shadow shadow;
    const Model model = ModelOf(data);
    const std::string_view file(reinterpret_cast<const char*>(data + kModelBytes),
                                size - kModelBytes);
    const std::vector<std::string_view> lines = Lines(file);
    CheckTokens(file, lines);
    const std::optional<ExpectedOutcome> expected =
        model.Loadable() ? OutcomeOfRecordFile(model, lines) : std::nullopt;

    SessionState& session = *shadow.session;
    session.FlashStart = model.flashStart;
    session.ModelCode = model.code->text;
    session.ImageSize = model.size;
    const vortana::ImageLoadOutcome outcome = vortana::LoadImage(file, session);
    if (outcome.failure)
        CheckRefused(shadow, model, lines.size(), *outcome.failure);
    else
        CheckLoaded(shadow, model, file, outcome);
    if (expected)
        CheckExpectedOutcome(*expected, outcome, session);
    return 0;
}
