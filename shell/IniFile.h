// IniFile: one sectioned key = value settings file on disk (the program's is sysset.ini).
//
// Reading never creates or changes the file; a missing or unreadable file reads as empty.
// Writing changes one value and keeps every other byte of the file, replacing the file
// atomically, so an interrupted or failed write leaves the old file whole. Where the folder takes
// no new file (write permission) but the file may be written, the file is rewritten in place.
// Errors: WriteString throws EFileError (file or directory cannot be written) or
// EIniValueError (a value the file cannot hold); ReadString never throws.
// Qt-free; call from one thread at a time.
#pragma once

#include <string>
#include <string_view>

namespace vortana {

class IniFile {
  public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // The value of `key` in `section`, or `fallback` when the file or the entry is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;

    // Sets `key` in `section` to `value`, creating the file, the section or the key as needed.
    void WriteString(std::string_view section, std::string_view key, std::string_view value) const;

  private:
    std::string path_;
};

}  // namespace vortana
