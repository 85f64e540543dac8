#include "harness/SRecordFiles.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

extern char** environ;

namespace vortana::test {

const char* SrecCatPath() {
    return SREC_CAT;
}

bool RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

namespace {

// Has srec_cat write `bytes`, placed from `address` on, to `path` in the format `output` names.
void WriteWithSrecCat(const std::string& path, std::span<const std::uint8_t> bytes,
                      std::uint32_t address, const std::vector<std::string>& output) {
    const std::string binary = path + ".bin";
    std::ofstream(binary, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::vector<std::string> arguments = {
        SREC_CAT, binary, "-binary", "-offset", std::to_string(address), "-o", path};
    arguments.insert(arguments.end(), output.begin(), output.end());
    const bool written = RunProgram(arguments);
    std::remove(binary.c_str());
    if (!written)
        throw std::runtime_error("srec_cat could not write " + path);
}

}  // namespace

void WriteSRecordFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      std::uint32_t address, LineEnds ends) {
    WriteWithSrecCat(
        path, bytes, address,
        {"-motorola", "-Address_Length=2", "-Output_Block_Size=16", "-execution-start-address=0",
         ends == LineEnds::CrLf ? "-line-termination=crlf" : "-line-termination=nl"});
}

void WriteIntelHexFile(const std::string& path, std::span<const std::uint8_t> bytes,
                       std::uint32_t address) {
    WriteWithSrecCat(path, bytes, address, {"-intel"});
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

}  // namespace vortana::test
