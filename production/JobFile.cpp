#include "production/JobFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>
#include <set>

#include "image/SerialNumber.h"
#include "production/IniReader.h"
#include "production/JobError.h"
#include "production/JobValues.h"
#include "shell/Convert.h"
#include "shell/FileAccess.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCrc32Digits = 8;
constexpr std::string_view kPortSeparator = ", ";

// What a key's value must be, and where it is kept.
enum class Rule {
    Text,
    Path,
    Crc32,
    Mode,
    Supply,
    YesNo,
    BurnCount,
    SerialStart,
    SerialIncrement,
    Seconds,
    SecondsOrZero,
    Ports,
    Loop,
};

struct Key {
    std::string_view section;
    std::string_view name;
    Rule rule;
    std::string JobFile::*text = nullptr;  // the field, for the rules kept as text
    bool required = false;
};

// In the order a saved job lists them.
constexpr Key kKeys[] = {
    {"job", "model", Rule::Text, &JobFile::model, true},
    {"job", "file", Rule::Path, &JobFile::file, true},
    {"job", "crc32", Rule::Crc32, nullptr, true},
    {"settings", "mode", Rule::Mode, &JobFile::mode},
    {"settings", "supply", Rule::Supply, &JobFile::supply},
    {"settings", "count", Rule::BurnCount, &JobFile::count},
    {"settings", "erase", Rule::YesNo, &JobFile::erase},
    {"settings", "verify", Rule::YesNo, &JobFile::verify},
    {"serial", "counter", Rule::Path, &JobFile::counter},
    {"serial", "start", Rule::SerialStart, &JobFile::start},
    {"serial", "increment", Rule::SerialIncrement, &JobFile::increment},
    {"serial", "serial-db", Rule::Text, &JobFile::serialDb},
    {"serial", "db-counter", Rule::Text, &JobFile::dbCounter},
    {"ports", "ports", Rule::Ports},
    {"records", "log", Rule::Path, &JobFile::log},
    {"records", "station", Rule::Text, &JobFile::station},
    {"records", "operator", Rule::Text, &JobFile::operatorName},
    {"run", "timeout", Rule::Seconds, &JobFile::timeout},
    {"run", "late-wait", Rule::SecondsOrZero, &JobFile::lateWait},
    {"run", "loop", Rule::Loop},
};

[[noreturn]] void Refuse(const std::string& what) {
    throw JobError(ExitStatus::FileRefused, what);
}

std::string Named(const Key& key) {
    return std::string(key.name) + " in [" + std::string(key.section) + "]";
}

std::optional<std::uint32_t> ParseCrc32(std::string_view text) {
    std::uint32_t crc32 = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), crc32, 16);
    if (text.size() != kCrc32Digits || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return crc32;
}

std::vector<std::string> SplitPorts(std::string_view text) {
    std::vector<std::string> ports;
    for (std::size_t begin = 0; begin <= text.size();) {
        const std::size_t comma = std::min(text.find(',', begin), text.size());
        ports.emplace_back(TrimBlanks(text.substr(begin, comma - begin)));
        begin = comma + 1;
    }
    return ports;
}

// What a value of `rule` takes, when `value` is none of it.
std::optional<std::string> Problem(Rule rule, std::string_view value) {
    const auto wholeNumber = [value](std::int64_t high) -> std::optional<std::string> {
        if (ParseWholeNumber(value, 0, high))
            return std::nullopt;
        return "takes a whole number from 0 to " + std::to_string(high);
    };
    const auto choice = [value](std::span<const std::string_view> choices) {
        return ParseChoice(value, choices)
                   ? std::nullopt
                   : std::optional<std::string>("takes " + ChoicesText(choices));
    };
    switch (rule) {
        case Rule::Text:
        case Rule::Path:
            return value.empty() ? std::optional<std::string>("takes a value") : std::nullopt;
        case Rule::Crc32:
            return ParseCrc32(value) ? std::nullopt
                                     : std::optional<std::string>("takes eight hexadecimal digits");
        case Rule::Mode:
            return choice(kModeValues);
        case Rule::Supply:
            return choice(kSupplyValues);
        case Rule::YesNo:
        case Rule::Loop:
            return choice(kYesNoValues);
        case Rule::BurnCount:
            return wholeNumber(kMaxBurnCount);
        case Rule::SerialStart:
            return wholeNumber(kSerialNumberMax);
        case Rule::SerialIncrement:
            return wholeNumber(kMaxSerialIncrement);
        case Rule::Seconds:
        case Rule::SecondsOrZero:
            if (ParseSeconds(value, rule == Rule::SecondsOrZero))
                return std::nullopt;
            return rule == Rule::Seconds ? "takes a number of seconds above 0"
                                         : "takes a number of seconds, 0 or more";
        case Rule::Ports: {
            const std::vector<std::string> ports = SplitPorts(value);
            if (std::none_of(ports.begin(), ports.end(), [](const auto& p) { return p.empty(); }))
                return std::nullopt;
            return "takes port names separated by commas";
        }
    }
    return std::nullopt;
}

void Store(JobFile& job, const Key& key, const std::string& value) {
    if (key.text != nullptr)
        job.*key.text = value;
    else if (key.rule == Rule::Crc32)
        job.crc32 = *ParseCrc32(value);
    else if (key.rule == Rule::Ports)
        job.ports = SplitPorts(value);
    else
        job.loop = value == kYesNoValues[0];
}

// The value the job gives `key`, as its file spells it; empty when the job leaves it out.
std::string ValueOf(const JobFile& job, const Key& key) {
    if (key.text != nullptr)
        return job.*key.text;
    if (key.rule == Rule::Crc32)
        return IntToHex(job.crc32, kCrc32Digits);
    if (key.rule == Rule::Loop)
        return std::string(kYesNoValues[job.loop ? 0 : 1]);
    std::string ports;
    for (const std::string& port : job.ports)
        ports += (ports.empty() ? "" : std::string(kPortSeparator)) + port;
    return ports;
}

bool KnownSection(std::string_view section) {
    return std::any_of(std::begin(kKeys), std::end(kKeys),
                       [section](const Key& key) { return key.section == section; });
}

const Key* FindKey(std::string_view section, std::string_view name) {
    const auto found = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const Key& key) {
        return key.section == section && key.name == name;
    });
    return found == std::end(kKeys) ? nullptr : found;
}

// Why `value` is no value for `key`, when it is none.
std::optional<std::string> BadValue(const Key& key, std::string_view value) {
    const std::optional<std::string> problem = Problem(key.rule, value);
    if (!problem)
        return std::nullopt;
    return Named(key) + " " + *problem + ", not '" + std::string(value) + "'";
}

// Refuses a value that would not read back as it is, or one its key does not take.
void RequireKeepable(const Key& key, const JobFile& job, const std::string& value) {
    const auto keepable = [](std::string_view text) {
        return text.find_first_of("\r\n") == std::string_view::npos && TrimBlanks(text) == text;
    };
    const bool kept =
        key.rule == Rule::Ports
            ? std::all_of(job.ports.begin(), job.ports.end(),
                          [&](const std::string& port) {
                              return keepable(port) && port.find(',') == std::string::npos;
                          })
            : keepable(value);
    if (!kept)
        Refuse(Named(key) + " cannot be kept in a job file as it is: '" + value + "'");
    if (const auto bad = BadValue(key, value))
        Refuse(*bad);
}

fs::path PathOf(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string TextOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// Gives every path of the job that is given the text `change` makes of it.
template <typename Change>
void ChangePaths(JobFile& job, Change change) {
    for (const Key& key : kKeys)
        if (key.rule == Rule::Path && !(job.*key.text).empty())
            job.*key.text = change(PathOf(job.*key.text));
}

}  // namespace

JobFile ParseJobFile(std::string_view text, const std::string& name) {
    IniContents contents;
    try {
        contents = ReadIni(text);
    } catch (const IniSyntaxError& error) {
        Refuse(name + ":" + std::to_string(error.Line()) + ": " + error.what());
    }
    for (const IniSection& section : contents.sections)
        if (!KnownSection(section.name))
            Refuse(name + ":" + std::to_string(section.line) + ": unknown section [" +
                   section.name + "]");
    JobFile job;
    std::set<const Key*> given;
    for (const IniEntry& entry : contents.entries) {
        const std::string where = name + ":" + std::to_string(entry.line) + ": ";
        const Key* key = FindKey(entry.section, entry.key);
        if (key == nullptr)
            Refuse(where + "unknown key '" + entry.key + "' in [" + entry.section + "]");
        if (const auto bad = BadValue(*key, entry.value))
            Refuse(where + *bad);
        Store(job, *key, entry.value);
        given.insert(key);
    }
    for (const Key& key : kKeys)
        if (key.required && !given.contains(&key))
            Refuse(name + ": no " + Named(key) + ": a job names its firmware");
    return job;
}

std::string JobFileText(const JobFile& job, std::string_view savedBy) {
    std::string text = "; " + std::string(savedBy) +
                       " job: review it before use; the CRC-32 approves the firmware\n";
    std::string_view section;
    for (const Key& key : kKeys) {
        const std::string value = ValueOf(job, key);
        if (value.empty() && !key.required)
            continue;
        RequireKeepable(key, job, value);
        if (key.section != section) {
            section = key.section;
            text += "\n[" + std::string(section) + "]\n";
        }
        text += std::string(key.name) + " = " + value + "\n";
    }
    return text;
}

JobFile ReadJobFile(const std::string& path) {
    std::string text;
    try {
        text = ReadFileBytes(path);
    } catch (const EFileError& error) {
        Refuse(error.what());
    }
    JobFile job = ParseJobFile(text, path);
    const fs::path folder = PathOf(path).parent_path();
    ChangePaths(job, [&folder](const fs::path& given) {
        return TextOf(given.is_relative() ? folder / given : given);
    });
    return job;
}

void SaveJobFile(const std::string& path, const JobFile& job, std::string_view savedBy) {
    const fs::path folder = fs::absolute(PathOf(path)).lexically_normal().parent_path();
    JobFile saved = job;
    ChangePaths(saved, [&folder](const fs::path& given) {
        const fs::path whole = fs::absolute(given).lexically_normal();
        const fs::path below = whole.lexically_relative(folder);
        if (below.empty() || *below.begin() == "..")
            return TextOf(whole);
        // With '/', which every system takes, so a job and its files may move between them.
        const std::u8string relative = below.generic_u8string();
        return std::string(relative.begin(), relative.end());
    });
    const std::string text = JobFileText(saved, savedBy);
    try {
        CreateFileAtomically(path, text);
    } catch (const EFileError& error) {
        if (error.ErrorNumber() == EEXIST)
            Refuse(path +
                   " exists already: a saved job is never replaced; remove it first, or "
                   "save the job under another name");
        Refuse(error.what());
    }
}

}  // namespace vortana
