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
// An existing file, for writing over it.
int OpenForWriting(const std::string& path);
// For adding to the end of a file, made if there is none (as CreateNew makes it).
int OpenForAppending(const std::string& path);
// Bytes moved (0 at the end of a file), or -1.
long ReadSome(int fd, char* into, std::size_t count);
long WriteSome(int fd, const char* bytes, std::size_t count);
// Moves to the start of the file.
bool Rewind(int fd);
// Cuts the file at `size` bytes, or lengthens it with zero bytes.
bool SetSize(int fd, std::size_t size);
// Takes room on the disk for a file of `size` bytes, lengthening it if shorter; 0 or, unlike
// the others, the errno value of the failure (errno itself is left alone).
int Reserve(int fd, std::size_t size);
// Waits until this descriptor alone holds the file's lock among all processes that lock it; the
// lock goes with the descriptor's close.
bool LockExclusive(int fd);
// The file's length in bytes, or -1.
long long SizeOf(int fd);
// The file's bytes on the disk, not only in the system's cache.
bool FlushToDisk(int fd);
bool Close(int fd);
// Renames `from` to `to`, replacing a file there in one step.
bool RenameOver(const std::string& from, const std::string& to);
// Gives the file `from` the name `to` in one step, failing with EEXIST when `to` is taken.
bool RenameNoReplace(const std::string& from, const std::string& to);
bool Remove(const std::string& path);
// Tells this process's temporary files from another's.
int ProcessId();
// The one name that every name of the file at `path` leads to, so that what is kept by name (a
// lock file beside it) is shared by all of them: absolute, every symbolic link followed (a
// dangling one to where it points), a file not yet made resolved through its folder, which must
// exist. An empty string on failure.
std::string ResolvedPath(const std::string& path);

}  // namespace vortana::fileops
