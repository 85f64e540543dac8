// The system calls that FileAccess stands on, one backend a system (shell/posix/, shell/win32/),
// picked by the build. Descriptors are the C runtime's; files are opened binary and are not
// inherited by programs started later. A failure returns -1 (or false) and leaves its reason in
// errno, as an errno value on every system. Any thread, on descriptors it alone uses.
#pragma once

#include <cstddef>
#include <string>

namespace vortana::fileops {

int OpenForReading(const std::string& path);
// A new file, readable and writable by everyone the process's file-creation mask allows; fails
// with EEXIST when the name is taken.
int CreateNew(const std::string& path);
// Bytes moved (0 at the end of a file), or -1.
long ReadSome(int fd, char* into, std::size_t count);
long WriteSome(int fd, const char* bytes, std::size_t count);
// The file's bytes on the disk, not only in the system's cache.
bool FlushToDisk(int fd);
bool Close(int fd);
// Renames `from` to `to`, replacing a file there in one step.
bool RenameOver(const std::string& from, const std::string& to);
bool Remove(const std::string& path);
// Tells this process's temporary files from another's.
int ProcessId();

}  // namespace vortana::fileops
