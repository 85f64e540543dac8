#include "shell/FileAccess.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "shell/FileOps.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

// How many names beside the target are tried for the new file before giving up.
constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kReadChunk = 65536;

// Owns one descriptor of FileOps.
class FileOpsFd {
  public:
    explicit FileOpsFd(int fd) : fd_(fd) {}
    ~FileOpsFd() {
        if (fd_ >= 0)
            fileops::Close(fd_);
    }
    FileOpsFd(const FileOpsFd&) = delete;
    FileOpsFd& operator=(const FileOpsFd&) = delete;

    int Get() const { return fd_; }
    // Closes now, so that a failure of the close itself can be reported.
    bool Close() { return fileops::Close(std::exchange(fd_, -1)); }

  private:
    int fd_;
};

// The file a link at `path` points to, or `path` itself.
std::string FollowLink(const std::string& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    const fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved.string();  // a dangling link: the rename replaces the link
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const long written = fileops::WriteSome(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes `bytes` from the start of the file and cuts it there.
bool WriteWhole(int fd, std::string_view bytes) {
    return fileops::Rewind(fd) && WriteAll(fd, bytes) && fileops::SetSize(fd, bytes.size());
}

// Gives the new file the permission bits of the file it replaces, if there is one.
bool KeepPermissions(const std::string& target, const std::string& replacement) {
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (error || !fs::exists(old))
        return true;
    fs::permissions(replacement, old.permissions(), error);
    errno = error.default_error_condition().value();
    return !error;
}

// Creates a new file beside `target`, named after it, and returns its descriptor and name.
int CreateBeside(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name =
            target + ".new" + std::to_string(fileops::ProcessId()) + "-" + std::to_string(attempt);
        const int fd = fileops::CreateNew(name);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes `bytes` to a new file beside `target`, flushed to the disk, and gives it the target's
// name with `rename`; on any failure the new file is removed and EFileError names `path`.
void WriteBesideAndRename(const std::string& path, const std::string& target,
                          std::string_view bytes,
                          bool (*rename)(const std::string& from, const std::string& to)) {
    std::string temporary;
    FileOpsFd fd(CreateBeside(target, temporary));
    if (fd.Get() < 0)
        throw EFileError("Cannot create", path, errno);

    const bool written = KeepPermissions(target, temporary) && WriteAll(fd.Get(), bytes) &&
                         fileops::FlushToDisk(fd.Get());
    const int writeError = errno;
    if (!written || !fd.Close() || !rename(temporary, target)) {
        const int error = written ? errno : writeError;
        fileops::Remove(temporary);
        throw EFileError("Cannot write", path, error);
    }
}

}  // namespace

EFileError::EFileError(std::string_view action, const std::string& path, int errorNumber)
    : std::runtime_error(std::string(action) + " file \"" + path + "\". " +
                         std::generic_category().message(errorNumber)),
      errorNumber_(errorNumber) {}

std::string ReadFileBytes(const std::string& path) {
    FileOpsFd fd(fileops::OpenForReading(path));
    if (fd.Get() < 0)
        throw EFileError("Cannot open", path, errno);
    std::string bytes;
    char chunk[kReadChunk];
    for (;;) {
        const long count = fileops::ReadSome(fd.Get(), chunk, sizeof chunk);
        if (count == 0)
            return bytes;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw EFileError("Cannot read", path, errno);
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
}

void ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    WriteBesideAndRename(path, FollowLink(path), bytes, fileops::RenameOver);
}

void CreateFileAtomically(const std::string& path, std::string_view bytes) {
    WriteBesideAndRename(path, path, bytes, fileops::RenameNoReplace);
}

void CheckReplaceable(const std::string& path) {
    const std::string target = FollowLink(path);
    std::error_code error;
    if (fs::is_directory(target, error))
        throw EFileError("Cannot write", path, EISDIR);
    std::string temporary;
    FileOpsFd fd(CreateBeside(target, temporary));
    if (fd.Get() < 0)
        throw EFileError("Cannot create", path, errno);
    fd.Close();
    fileops::Remove(temporary);
}

void RewriteFileInPlace(const std::string& path, std::string_view bytes) {
    const std::string old = ReadFileBytes(path);
    FileOpsFd fd(fileops::OpenForWriting(path));
    if (fd.Get() < 0)
        throw EFileError("Cannot write", path, errno);
    const int roomError = bytes.size() > old.size() ? fileops::Reserve(fd.Get(), bytes.size()) : 0;
    if (roomError != 0)
        throw EFileError("Cannot write", path, roomError);
    if (!WriteWhole(fd.Get(), bytes) || !fileops::FlushToDisk(fd.Get())) {
        const int error = errno;
        WriteWhole(fd.Get(), old);
        throw EFileError("Cannot write", path, error);
    }
    if (!fd.Close())
        throw EFileError("Cannot write", path, errno);
}

}  // namespace vortana
