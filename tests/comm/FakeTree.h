// A folder tree made for one test under the temporary folder and removed with it: stands in for
// sysfs and /dev. Paths given to it are relative to its root; parents are made as needed.
#pragma once

#include <filesystem>
#include <string>

namespace vortana::test {

class FakeTree {
  public:
    FakeTree();
    ~FakeTree();
    FakeTree(const FakeTree&) = delete;
    FakeTree& operator=(const FakeTree&) = delete;

    std::string Path(const std::string& relative = "") const;
    void Folder(const std::string& relative) const;
    void File(const std::string& relative, const std::string& text = "") const;
    // A symbolic link at `relative` holding `target` unchanged (absolute or relative to it).
    void Link(const std::string& relative, const std::string& target) const;

  private:
    std::filesystem::path root_;
};

}  // namespace vortana::test
