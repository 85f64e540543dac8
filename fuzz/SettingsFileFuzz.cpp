// Fuzz target: the settings file (sysset.ini) read and written with any text and any value.
//
// Input: byte 0 picks the section and key (the program's "comx" and "num", the same in other
// case, or names taken from the input) and whether a real file is written too (one value in
// eight), byte 1 the value's length, then the value, then (for names from the input) a length
// and the section, a length and the key; the rest is the file.
//
// Checked, for the text and for a real file in a folder of its own:
//  - reading any text gives nothing or a value that lies on one line of it, without the blanks
//    around it;
//  - a value, section or key the file cannot hold is refused and the file is left as it was;
//  - writing keeps every other byte: the text and the result differ in one place only, and what
//    the text loses there lies within one line; the value reads back (without the blanks around
//    it, which the file format does not keep); every other entry reads as before; writing the
//    same value again changes nothing;
//  - the file holds exactly the written text afterwards, nothing else is left in its folder.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "shell/FileAccess.h"
#include "shell/IniFile.h"
#include "shell/IniText.h"

namespace {

using vortana::fuzz::Check;

namespace fs = std::filesystem;

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}
    std::uint8_t Byte() {
        if (rest_.empty())
            return 0;
        const auto byte = static_cast<std::uint8_t>(rest_[0]);
        rest_.remove_prefix(1);
        return byte;
    }
    std::string_view Text(std::size_t length) {
        const std::string_view text = rest_.substr(0, length);
        rest_.remove_prefix(text.size());
        return text;
    }
    std::string_view Rest() const { return rest_; }

  private:
    std::string_view rest_;
};

struct Case {
    enum class Names { Program, OtherCase, FromInput } names = Names::Program;
    bool throughFile = false;  // also through a real file, which costs far more than the text
    std::string section;
    std::string key;
    std::string value;
    std::string text;
};

Case CaseOf(Input input) {
    Case c;
    const std::uint8_t names = input.Byte();
    c.throughFile = (names & 0x70) == 0;
    c.value = input.Text(input.Byte());
    switch (names % 4) {
        case 0:
        case 1:
            c.section = "comx";
            c.key = "num";
            break;
        case 2:
            c.names = Case::Names::OtherCase;
            c.section = "COMX";
            c.key = "Num";
            break;
        case 3:
            c.names = Case::Names::FromInput;
            c.section = input.Text(input.Byte() % 16);
            c.key = input.Text(input.Byte() % 16);
            break;
    }
    c.text = input.Rest();
    return c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char ch) {
            return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch;
        };
        return lower(x) == lower(y);
    });
}

// Names that may stand in a text: what stands between "[" and "]" and before "=" on its lines,
// a few of each.
struct Names {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
};

Names NamesIn(std::string_view text) {
    constexpr std::size_t kMost = 6;
    Names names;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(start, end - start);
        const std::size_t open = line.find('[');
        if (open != std::string_view::npos && names.sections.size() < kMost)
            names.sections.emplace_back(Trim(line.substr(open + 1, line.find(']') - open - 1)));
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && names.keys.size() < kMost)
            names.keys.emplace_back(Trim(line.substr(0, equals)));
        start = end + 1;
    }
    return names;
}

void CheckRead(std::string_view text, const std::optional<std::string>& value) {
    if (!value)
        return;
    Check(value->find('\n') == std::string::npos && Trim(*value) == *value &&
              text.find(*value) != std::string_view::npos,
          "a value read that is not one line's text");
}

// The result differs from the text in one place, and the text loses there at most the rest of
// one line.
void CheckOtherBytesKept(std::string_view text, std::string_view result) {
    const auto prefix = static_cast<std::size_t>(
        std::mismatch(text.begin(), text.end(), result.begin(), result.end()).first - text.begin());
    const std::size_t room = std::min(text.size(), result.size()) - prefix;
    const auto suffix = static_cast<std::size_t>(
        std::mismatch(text.rbegin(), text.rbegin() + room, result.rbegin()).first - text.rbegin());
    const std::string_view lost = text.substr(prefix, text.size() - prefix - suffix);
    Check(lost.find('\n') == std::string_view::npos, "writing lost a line end of the file");
}

void CheckOtherEntriesKept(const Case& c, std::string_view result) {
    const Names names = NamesIn(c.text);
    for (const std::string& section : names.sections) {
        for (const std::string& key : names.keys) {
            if (SameName(section, c.section) && SameName(key, c.key))
                continue;
            Check(vortana::IniReadValue(c.text, section, key) ==
                      vortana::IniReadValue(result, section, key),
                  "writing changed another entry");
        }
    }
}

void CheckWritten(const Case& c, const std::string& result) {
    CheckOtherBytesKept(c.text, result);
    Check(vortana::IniReadValue(result, c.section, c.key) == std::string(Trim(c.value)),
          "the value written does not read back");
    CheckOtherEntriesKept(c, result);
    Check(vortana::IniWriteValue(result, c.section, c.key, c.value) == result,
          "writing the same value again changed the file");
}

// A folder of its own for the file, in memory where there is one.
class Folder {
  public:
    Folder() {
        const fs::path base =
            fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        path_ = base / ("vortana-fuzz-settings-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~Folder() { fs::remove_all(path_); }
    std::string File() const { return (path_ / "sysset.ini").string(); }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), {}));
    }

  private:
    fs::path path_;
};

void CheckFile(const Case& c, const std::optional<std::string>& written) {
    static const Folder folder;
    const std::string path = folder.File();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << c.text;
    const vortana::IniFile file(path);
    try {
        file.WriteString(c.section, c.key, c.value);
        Check(written.has_value(), "the file took a value the text refused");
    } catch (const vortana::EIniValueError&) {
        Check(!written, "the file refused a value the text took");
    }
    Check(vortana::ReadFileBytes(path) == written.value_or(c.text),
          "the file does not hold the text written, or a refused write changed it");
    Check(folder.Entries() == 1, "writing left a file beside the settings file");
    const std::optional<std::string> value =
        vortana::IniReadValue(written.value_or(c.text), c.section, c.key);
    Check(file.ReadString(c.section, c.key, "\n") == value.value_or("\n"),
          "the file reads otherwise than its text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Case c = CaseOf(Input(data, size));
    CheckRead(c.text, vortana::IniReadValue(c.text, c.section, c.key));
    const bool breaksLine = c.value.find_first_of("\r\n") != std::string::npos;
    std::optional<std::string> written;
    try {
        written = vortana::IniWriteValue(c.text, c.section, c.key, c.value);
    } catch (const vortana::EIniValueError&) {
        Check(breaksLine || c.names == Case::Names::FromInput,
              "a value the file can hold refused for the program's section and key");
    }
    Check(!written || !breaksLine, "a value that breaks the line was written");
    if (written)
        CheckWritten(c, *written);
    if (c.throughFile)
        CheckFile(c, written);
    return 0;
}
