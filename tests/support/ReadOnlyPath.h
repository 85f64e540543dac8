// ReadOnlyPath: a file or folder that nobody may write while the guard lives. Its write bits are
// removed; since they do not stop root, it is made immutable as well when the test runs as root
// (a folder then takes no new name, a file no new byte). Both are given back afterwards.
#pragma once

#include <string>

namespace vortana::test {

class ReadOnlyPath {
  public:
    explicit ReadOnlyPath(std::string path);
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

    // The system's reason a write into a read-only path is refused with: root meets the
    // immutable flag (EPERM), anyone else the permission bits (EACCES).
    static int RefusalError();

  private:
    bool SetImmutable(bool on) const;

    std::string path_;
};

}  // namespace vortana::test
