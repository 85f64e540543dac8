#include "tests/cli/CliFixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "cli/Program.h"
#include "harness/SRecordFiles.h"

namespace vortana::cli::test {
namespace {

// 1-based first column of each field, as the catalogue's columns count them.
constexpr std::size_t kStartColumn = 25;
constexpr std::size_t kEndColumn = 32;
constexpr std::size_t kSizeColumn = 45;
constexpr std::size_t kCodeColumn = 55;

void PutAt(std::string& line, std::size_t column, const std::string& text) {
    line.resize(column - 1, ' ');
    line += text;
}

}  // namespace

std::string CatalogueLine(const std::string& name, const std::string& start, const std::string& end,
                          const std::string& size, const std::string& code) {
    std::string line = "01 " + name;
    PutAt(line, kStartColumn, start + " - ");
    PutAt(line, kEndColumn, end);
    PutAt(line, kSizeColumn, size);
    PutAt(line, kCodeColumn, code);
    return line;
}

std::int64_t SerialOf(const sim::DeviceState& state) {
    std::int64_t number = 0;
    for (auto digit = state.header->serialNumber.rbegin();
         digit != state.header->serialNumber.rend(); ++digit)
        number = number * 100 + *digit;
    return number;
}

CliFixture::CliFixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vortana-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("no scratch folder");
    dir_ = pattern;
}

CliFixture::~CliFixture() {
    sims_.clear();
    std::filesystem::remove_all(dir_);
}

void CliFixture::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
}

std::string CliFixture::ReadFile(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CliFixture::WriteCatalogue(const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    WriteFile("MCUtype.txt", text);
}

void CliFixture::WriteImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                            std::uint32_t address) const {
    vortana::test::WriteSRecordFile(File(name), bytes, address);
}

void CliFixture::AppendImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                             std::uint32_t address) const {
    WriteImage("part.s19", bytes, address);
    WriteFile(name, ReadFile(name) + ReadFile("part.s19"));
}

sim::Simulator& CliFixture::StartSim(sim::SimConfig config) {
    sims_.push_back(std::make_unique<sim::Simulator>(std::move(config)));
    ports_.push_back(sims_.back()->StartOnPty());
    return *sims_.back();
}

std::vector<std::string> CliFixture::OnTheImage(std::vector<std::string> command,
                                                const std::vector<std::string>& more) const {
    command.insert(command.end(), {"--model", "VT8A-C16", "--file", File("image.s19")});
    command.insert(command.end(), more.begin(), more.end());
    return command;
}

std::vector<std::string> CliFixture::EveryPort() const {
    std::vector<std::string> options;
    for (const std::string& port : ports_)
        options.insert(options.end(), {"--port", port});
    return options;
}

CliResult CliFixture::Run(std::vector<std::string> arguments, bool terminal,
                          std::istream* in) const {
    arguments.push_back("--catalogue");
    arguments.push_back(File("MCUtype.txt"));
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.status =
        RunProgram(arguments, out, err, {dir_.string() + "/", terminal, portRoots_, in});
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace vortana::cli::test
