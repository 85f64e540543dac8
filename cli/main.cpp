// vortana-cli: the command-line programmer. Everything but finding its own folder and whether
// it prints to a terminal lives in the vortana_cli library (cli/Program.h).
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Program.h"

int main(int argc, char** argv) {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    vortana::cli::ProgramEnvironment environment;
    environment.exeDir = error ? std::string("./") : exe.parent_path().string() + "/";
    environment.terminal = ::isatty(STDOUT_FILENO) == 1;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return vortana::cli::RunProgram(arguments, std::cout, std::cerr, environment);
}
