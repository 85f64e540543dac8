// The file primitives on the Microsoft C runtime, which keeps errno as POSIX does; paths are
// UTF-8, handed to the wide-character calls. Renaming over a file is MoveFileExW's, whose Win32
// error is turned into the errno value of the same meaning.
#include "shell/FileOps.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <filesystem>

namespace vortana::fileops {
namespace {

std::wstring Wide(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end())).wstring();
}

// Win32 errors a rename meets, and their errno values; any other is EIO.
constexpr struct {
    DWORD win32;
    int posix;
} kErrnoOf[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT}, {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_ACCESS_DENIED, EACCES},  {ERROR_SHARING_VIOLATION, EACCES},
    {ERROR_DISK_FULL, ENOSPC},      {ERROR_HANDLE_DISK_FULL, ENOSPC},
    {ERROR_NOT_SAME_DEVICE, EXDEV}, {ERROR_WRITE_PROTECT, EROFS},
    {ERROR_INVALID_NAME, EINVAL},   {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_ALREADY_EXISTS, EEXIST}, {ERROR_FILE_EXISTS, EEXIST},
};

int ErrnoOf(DWORD win32) {
    for (const auto& e : kErrnoOf)
        if (e.win32 == win32)
            return e.posix;
    return EIO;
}

std::string Utf8(const std::wstring& path) {
    const std::u8string text = std::filesystem::path(path).u8string();
    return {text.begin(), text.end()};
}

// The name the system gives an existing file or folder, through a handle opened for no access
// (which follows links); empty, with errno set, when there is none.
std::string FinalPath(const std::wstring& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(::GetLastError());
        return {};
    }
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                               FILE_NAME_NORMALIZED);
    if (length >= name.size()) {  // too small: the length asked for, the terminator included
        name.resize(length);
        length = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                             FILE_NAME_NORMALIZED);
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (length == 0 || length >= name.size()) {
        errno = ErrnoOf(error);
        return {};
    }
    name.resize(length);
    return Utf8(name);
}

}  // namespace

int OpenForReading(const std::string& path) {
    return ::_wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int CreateNew(const std::string& path) {
    return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

int OpenForWriting(const std::string& path) {
    return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
}

int OpenForAppending(const std::string& path) {
    return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

long ReadSome(int fd, char* into, std::size_t count) {
    return ::_read(fd, into, static_cast<unsigned>(count));
}

long WriteSome(int fd, const char* bytes, std::size_t count) {
    return ::_write(fd, bytes, static_cast<unsigned>(count));
}

bool Rewind(int fd) {
    return ::_lseeki64(fd, 0, SEEK_SET) == 0;
}

bool SetSize(int fd, std::size_t size) {
    return ::_chsize_s(fd, static_cast<__int64>(size)) == 0;
}

int Reserve(int fd, std::size_t size) {
    return SetSize(fd, size) ? 0 : errno;  // lengthening a file takes its room on Windows
}

bool LockExclusive(int fd) {
    // The whole file, as far as a file can reach; a lock of a region is Windows' only kind.
    OVERLAPPED fromTheStart{};
    const HANDLE file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &fromTheStart))
        return true;
    errno = ErrnoOf(::GetLastError());
    return false;
}

long long SizeOf(int fd) {
    return ::_filelengthi64(fd);
}

bool FlushToDisk(int fd) {
    return ::_commit(fd) == 0;
}

bool Close(int fd) {
    return ::_close(fd) == 0;
}

bool RenameOver(const std::string& from, const std::string& to) {
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = ErrnoOf(::GetLastError());
    return false;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    errno = ErrnoOf(::GetLastError());
    return false;
}

bool Remove(const std::string& path) {
    return ::_wunlink(Wide(path).c_str()) == 0;
}

int ProcessId() {
    return ::_getpid();
}

std::string ResolvedPath(const std::string& path) {
    const std::filesystem::path name(Wide(path));
    if (std::string final = FinalPath(name.wstring()); !final.empty() || errno != ENOENT)
        return final;
    const std::filesystem::path folder = name.has_parent_path() ? name.parent_path() : L".";
    const std::string resolvedFolder = FinalPath(folder.wstring());
    return resolvedFolder.empty() ? resolvedFolder
                                  : resolvedFolder + "\\" + Utf8(name.filename().wstring());
}

}  // namespace vortana::fileops
