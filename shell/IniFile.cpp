#include "shell/IniFile.h"

#include <cerrno>
#include <filesystem>

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
    const std::string text = IniWriteValue(ExistingText(path_), section, key, value);
    try {
        ReplaceFileAtomically(path_, text);
    } catch (const EFileError& error) {
        // A folder that refuses a new file beside the old one may still hold a file that may be
        // written: that one is written over.
        const bool folderRefused = error.ErrorNumber() == EACCES || error.ErrorNumber() == EPERM;
        std::error_code unknown;
        if (!folderRefused || !std::filesystem::exists(path_, unknown))
            throw;
        RewriteFileInPlace(path_, text);
    }
}

}  // namespace vortana
