#include "shell/IniFile.h"

#include <cerrno>

#include "shell/FileAccess.h"
#include "shell/IniText.h"

namespace vortana {
namespace {

// The file's text; empty when it does not exist yet. Other failures throw EFileError.
std::string ExistingText(const std::string& path) {
    try {
        return ReadFileBytes(path);
    } catch (const EFileError& error) {
        if (error.ErrorNumber() == ENOENT)
            return {};
        throw;
    }
}

}  // namespace

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::string text;
    try {
        text = ReadFileBytes(path_);
    } catch (const EFileError&) {
        return std::string(fallback);
    }
    return IniReadValue(text, section, key).value_or(std::string(fallback));
}

void IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) const {
    ReplaceFileAtomically(path_, IniWriteValue(ExistingText(path_), section, key, value));
}

}  // namespace vortana
