// The per-system file calls beneath file access and the command-line programmer's counter: the
// one name every name of a file leads to, made or not; a new file put in place without replacing
// one.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "shell/FileAccess.h"
#include "shell/FileOps.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

TEST(ResolvedPath, EveryNameOfAFileLeadsToOneNameWhetherItIsMadeOrNot) {
    const fs::path dir = fs::canonical(fs::temp_directory_path()) /
                         ("vortana-resolve-" + std::to_string(::getpid()));
    fs::create_directories(dir / "real");
    fs::create_directory_symlink("real", dir / "linked");
    std::ofstream(dir / "real/counter") << "1\n";
    fs::create_symlink("real/counter", dir / "counter-link");
    fs::create_symlink("real/later", dir / "dangling");
    const std::string counter = (dir / "real/counter").string();
    const std::string later = (dir / "real/later").string();

    EXPECT_EQ(fileops::ResolvedPath((dir / "counter-link").string()), counter);
    EXPECT_EQ(fileops::ResolvedPath((dir / "linked/later").string()), later);
    EXPECT_EQ(fileops::ResolvedPath((dir / "dangling").string()), later);
    EXPECT_EQ(fileops::ResolvedPath((dir / "gone/later").string()), "");
    EXPECT_EQ(errno, ENOENT);
    fs::remove_all(dir);
}

TEST(CreateFileAtomically, MakesANewFileWholeButNeverReplacesOne) {
    const fs::path dir =
        fs::temp_directory_path() / ("vortana-create-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string job = (dir / "job.ini").string();
    CreateFileAtomically(job, "first\n");
    EXPECT_EQ(ReadFileBytes(job), "first\n");
    try {
        CreateFileAtomically(job, "second\n");
        ADD_FAILURE() << "replaced";
    } catch (const EFileError& error) {
        EXPECT_EQ(error.ErrorNumber(), EEXIST);
    }
    EXPECT_EQ(ReadFileBytes(job), "first\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vortana
