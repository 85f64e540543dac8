// Reading a whole file and replacing one, with errors that name the file and the system's reason.
//
// EFileError is the file error that handlers leave uncaught: the toolkit's handler adapter shows
// its text in the standard error box. Its message reads, for example,
//   Cannot open file "/opt/vortana/MCUtype.txt". No such file or directory
// Qt-free; any thread may call these functions on files it alone uses.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vortana {

class EFileError : public std::runtime_error {
  public:
    // The message "<action> file "<path>". <the system's reason for errorNumber>", action being
    // "Cannot open", "Cannot read" and so on.
    EFileError(std::string_view action, const std::string& path, int errorNumber);

    int ErrorNumber() const { return errorNumber_; }  // the errno value behind the failure

  private:
    int errorNumber_;
};

// Every byte of the file at `path`. Throws EFileError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

// Makes `bytes` the whole content of the file at `path`, atomically: the bytes go to a new file
// beside it, which is flushed to the disk and then renamed over the old one. A reader sees either
// the old content or the new, never a mixture; on any failure the old file is left untouched and
// EFileError is thrown. An existing file keeps its permission bits; a link is followed, so the
// file it points to is replaced and the link stays.
void ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Makes a new file at `path` holding `bytes`, atomically as ReplaceFileAtomically does, and never
// over an existing one: when the name is taken, the file there is left as it was and EFileError
// (EEXIST) is thrown. For files that are approved as they are, and replaced only on purpose.
void CreateFileAtomically(const std::string& path, std::string_view bytes);

// Throws the EFileError ReplaceFileAtomically would give when `path` is a folder or no new file
// can be made beside it (its folder missing or taking no new file), so that work whose result
// goes there can be refused before it starts: makes a new file beside it and removes it again.
void CheckReplaceable(const std::string& path);

// Makes `bytes` the whole content of the existing file at `path` by writing over it, for a file
// that may be written in a folder that takes no new file. Room for the new content is taken
// first, so a file that cannot grow is left as it was; should a write fail after that, the old
// content is put back. Not atomic: a reader may see the file half rewritten. Throws EFileError
// ("Cannot write") when the file cannot be opened for writing or written.
void RewriteFileInPlace(const std::string& path, std::string_view bytes);

}  // namespace vortana
