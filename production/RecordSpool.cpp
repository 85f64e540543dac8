#include "production/RecordSpool.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "production/FileLock.h"
#include "production/JobError.h"
#include "shell/FileAccess.h"
#include "shell/FileOps.h"

namespace vortana {
namespace {

// A JSON string of `text`: quotes, backslashes and control characters escaped, other bytes as
// they are (the spool is read back by this program alone).
std::string JsonText(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string SpoolLine(const RecordEnd& end) {
    return "{\"record\":" + std::to_string(end.record) + ",\"counter\":" + JsonText(end.counter) +
           ",\"serial\":" + std::to_string(end.serial) +
           ",\"outcome\":" + JsonText(NameOf(end.status)) +
           ",\"exit\":" + std::to_string(static_cast<int>(end.status)) +
           ",\"duration_ms\":" + std::to_string(end.duration.count()) +
           ",\"message\":" + JsonText(end.message) + "}\n";
}

// Reads back the flat objects SpoolLine writes: string and whole-number values by their names.
class LineReader {
  public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    std::optional<std::map<std::string, std::string>> Fields() {
        std::map<std::string, std::string> fields;
        if (!Take('{'))
            return std::nullopt;
        do {
            std::optional<std::string> name = Take('"') ? String() : std::nullopt;
            if (!name || !Take(':'))
                return std::nullopt;
            std::optional<std::string> value = Take('"') ? String() : Number();
            if (!value)
                return std::nullopt;
            fields[*name] = *value;
        } while (Take(','));
        return Take('}') && rest_.find_first_not_of(" \r\n") == std::string_view::npos
                   ? std::optional(fields)
                   : std::nullopt;
    }

  private:
    bool Take(char c) {
        rest_.remove_prefix(std::min(rest_.find_first_not_of(' '), rest_.size()));
        if (rest_.empty() || rest_.front() != c)
            return false;
        rest_.remove_prefix(1);
        return true;
    }

    // The rest of a string whose opening quote was taken; escapes of ASCII characters only.
    std::optional<std::string> String() {
        std::string text;
        while (!rest_.empty()) {
            const char c = rest_.front();
            rest_.remove_prefix(1);
            if (c == '"')
                return text;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (rest_.empty())
                return std::nullopt;
            const char escaped = rest_.front();
            rest_.remove_prefix(1);
            if (escaped == 'u') {
                unsigned code = 0;
                if (rest_.size() < 4)
                    return std::nullopt;
                const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + 4, code, 16);
                if (error != std::errc() || end != rest_.data() + 4 || code >= 0x80)
                    return std::nullopt;
                text += static_cast<char>(code);
                rest_.remove_prefix(4);
            } else if (escaped == 'n' || escaped == 't' || escaped == 'r') {
                text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : '\r';
            } else {
                text += escaped;  // " \ /
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> Number() {
        const std::size_t length = rest_.find_first_not_of("-0123456789");
        if (length == 0 || length == std::string_view::npos)
            return std::nullopt;
        std::string digits(rest_.substr(0, length));
        rest_.remove_prefix(length);
        return digits;
    }

    std::string_view rest_;
};

std::optional<std::int64_t> WholeNumber(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<RecordEnd> ReadEnd(std::string_view line) {
    const auto fields = LineReader(line).Fields();
    if (!fields || !fields->contains("counter") || !fields->contains("message"))
        return std::nullopt;
    std::optional<std::int64_t> numbers[4];
    const char* names[] = {"record", "serial", "exit", "duration_ms"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        if (fields->contains(names[i]))
            numbers[i] = WholeNumber(fields->at(names[i]));
    if (!numbers[0] || !numbers[1] || !numbers[2] || !numbers[3])
        return std::nullopt;
    return RecordEnd{
        .record = *numbers[0],
        .counter = fields->at("counter"),
        .serial = *numbers[1],
        .status = static_cast<ExitStatus>(*numbers[2]),
        .message = fields->at("message"),
        .duration = std::chrono::milliseconds(*numbers[3]),
    };
}

// The spool's lines, each with its line end; none when there is no spool.
std::vector<std::string> ReadLines(const std::string& path) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const EFileError& error) {
        if (error.ErrorNumber() != ENOENT)
            throw JobError(ExitStatus::FileRefused, error.what());
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size() - 1) + 1;
        lines.push_back(bytes.substr(start, end - start));
        start = end;
    }
    return lines;
}

// Makes `lines` the spool, or removes it when there are none.
void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line.ends_with('\n') ? line : line + "\n";
    try {
        if (!bytes.empty())
            ReplaceFileAtomically(path, bytes);
        else if (!fileops::Remove(path) && errno != ENOENT)
            throw EFileError("Cannot remove", path, errno);
    } catch (const EFileError& error) {
        throw JobError(ExitStatus::FileRefused, error.what());
    }
}

}  // namespace

void RecordSpool::Add(const RecordEnd& end) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    const FileLock lock(path_ + ".lock");
    std::vector<std::string> lines = ReadLines(path_);
    lines.push_back(SpoolLine(end));
    WriteLines(path_, lines);
}

RecordSpool::Drained RecordSpool::Drain(const std::function<bool(const RecordEnd&)>& send) {
    Drained drained;
    std::error_code error;
    if (!std::filesystem::exists(path_, error))
        return drained;  // no lock file made beside a spool that never was
    const FileLock lock(path_ + ".lock");
    std::vector<std::string> kept;
    const std::vector<std::string> lines = ReadLines(path_);
    std::size_t next = 0;
    try {
        for (; next < lines.size(); ++next) {
            const std::optional<RecordEnd> end = ReadEnd(lines[next]);
            if (end && send(*end))
                ++drained.sent;
            else
                kept.push_back(lines[next]);
        }
    } catch (...) {
        kept.insert(kept.end(), lines.begin() + static_cast<std::ptrdiff_t>(next), lines.end());
        WriteLines(path_, kept);
        throw;
    }
    WriteLines(path_, kept);
    drained.kept = kept.size();
    return drained;
}

}  // namespace vortana
