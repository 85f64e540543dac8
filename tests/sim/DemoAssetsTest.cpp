// The demo's catalogue and S-record file must load in the front end as they are: fixed
// columns, valid records, data that fits the model it is made for.
#include <gtest/gtest.h>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string ReadFile(const std::string& name) {
    std::ifstream file(std::string(VORTANA_DEMO_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
        lines.push_back(text.substr(start, at - start));
    EXPECT_EQ(start, text.size()) << "the last line has no line end";
    return lines;
}

// Columns as the catalogue reader counts them: a character outside ASCII (three bytes in
// UTF-8, a Chinese one here) takes two.
std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
    std::string field;
    std::size_t column = 1;
    for (std::size_t i = 0; i < line.size();) {
        const bool wide = static_cast<unsigned char>(line[i]) >= 0x80;
        const std::size_t bytes = wide ? 3 : 1;
        if (column >= first && column <= last)
            field += line.substr(i, bytes);
        column += wide ? 2 : 1;
        i += bytes;
    }
    return field;
}

TEST(DemoAssets, CatalogueCoversTheModelCodesInFixedColumns) {
    std::set<std::string> codes;
    for (const std::string& line : Lines(ReadFile("MCUtype.txt"), "\n")) {
        const std::string start = Columns(line, 25, 28), end = Columns(line, 32, 35);
        EXPECT_EQ(start.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;
        EXPECT_EQ(end, "FFFF") << line;
        const std::string size = Columns(line, 45, 48);
        const int sizeK = std::stoi(size);
        std::string sizeText = std::to_string(sizeK) + "K";
        sizeText.resize(4, ' ');
        EXPECT_EQ(size, sizeText) << line;
        EXPECT_EQ((0x10000 - std::stoi(start, nullptr, 16)) / 1024, sizeK) << line;
        codes.insert(Columns(line, 55, 58));
        EXPECT_NE(Columns(line, 4, 18).substr(0, 1), " ") << line;
    }
    EXPECT_EQ(codes, (std::set<std::string>{"0x00", "0x10", "0x14", "0xB0", "0xB2"}));
}

// S0, S1 and S9 records with 16-bit addresses and good checksums, CR LF line ends, and data
// only in VT8B-W16's window (B000-BFFF) and main flash (C000-FFFF).
TEST(DemoAssets, SRecordFileSuitsItsModel) {
    const auto lines = Lines(ReadFile("demo.s19"), "\r\n");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front().substr(0, 2), "S0");
    EXPECT_EQ(lines.back().substr(0, 2), "S9");
    std::size_t dataBytes = 0;
    for (const std::string& line : lines) {
        ASSERT_TRUE(line.size() >= 10 && line.size() % 2 == 0) << line;
        const std::string type = line.substr(0, 2);
        EXPECT_TRUE(type == "S0" || type == "S1" || type == "S9") << line;
        std::vector<int> bytes;
        for (std::size_t i = 2; i < line.size(); i += 2)
            bytes.push_back(std::stoi(line.substr(i, 2), nullptr, 16));
        ASSERT_EQ(bytes[0], static_cast<int>(bytes.size()) - 1) << line;
        int sum = 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
            sum += bytes[i];
        EXPECT_EQ(bytes.back(), 255 - sum % 256) << line;
        if (type != "S1")
            continue;
        const int address = bytes[1] << 8 | bytes[2];
        const int end = address + bytes[0] - 3;
        EXPECT_TRUE(address >= 0xB000 && end <= 0x10000 && (address >= 0xC000 || end <= 0xC000))
            << line;
        dataBytes += bytes.size() - 4;
    }
    EXPECT_GT(dataBytes, 256u);
}

}  // namespace
