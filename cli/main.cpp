// vortana-cli: the command-line programmer. Everything lives in the vortana_cli library
// (cli/Program.h); the system tells where the program runs (cli/ProgramPlace.h). Signals are
// caught before anything else, so that none can end the process between a serial number taken
// and its record written (cli/Interruption.h).
#include <iostream>
#include <string>
#include <vector>

#include "cli/Interruption.h"
#include "cli/Program.h"
#include "cli/ProgramPlace.h"

int main(int argc, char** argv) {
    vortana::cli::CatchInterruptions();
    vortana::cli::ProgramEnvironment environment;
    environment.exeDir = vortana::cli::ExecutableFolder();
    environment.terminal = vortana::cli::OutputIsTerminal();
    environment.in = &std::cin;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return vortana::cli::RunProgram(arguments, std::cout, std::cerr, environment);
}
