#include "tests/comm/FakeTree.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace vortana::test {

FakeTree::FakeTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vortana-tree-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

FakeTree::~FakeTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string FakeTree::Path(const std::string& relative) const {
    return relative.empty() ? root_.string() : (root_ / relative).string();
}

void FakeTree::Folder(const std::string& relative) const {
    std::filesystem::create_directories(root_ / relative);
}

void FakeTree::File(const std::string& relative, const std::string& text) const {
    Folder(std::filesystem::path(relative).parent_path().string());
    std::ofstream(root_ / relative) << text;
}

void FakeTree::Link(const std::string& relative, const std::string& target) const {
    Folder(std::filesystem::path(relative).parent_path().string());
    std::filesystem::create_symlink(target, root_ / relative);
}

}  // namespace vortana::test
