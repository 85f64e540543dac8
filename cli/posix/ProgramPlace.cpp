#include "cli/ProgramPlace.h"

#include <unistd.h>

#include <filesystem>

namespace vortana::cli {

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("./") : exe.parent_path().string() + "/";
}

bool OutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

}  // namespace vortana::cli
