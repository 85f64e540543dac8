// The command-line program run in-process against simulators on pseudo-terminals, in a scratch
// folder of its own with a catalogue written by the test.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "comm/PortDiscovery.h"
#include "sim/Simulator.h"

namespace vortana::cli::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// A catalogue line with every field in its columns: name, flash start and end (four hexadecimal
// digits), size ("16K"), code ("0xB0").
std::string CatalogueLine(const std::string& name, const std::string& start, const std::string& end,
                          const std::string& size, const std::string& code);

// The serial number the last download header `state` received carries.
std::int64_t SerialOf(const sim::DeviceState& state);

class CliFixture : public ::testing::Test {
  protected:
    CliFixture();
    ~CliFixture() override;

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    void WriteFile(const std::string& name, const std::string& bytes) const;
    std::string ReadFile(const std::string& name) const;
    // The catalogue the program is given with --catalogue.
    void WriteCatalogue(const std::vector<std::string>& lines) const;
    // An S-record file of `bytes` placed from `address`, and more ranges appended after it.
    void WriteImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    std::uint32_t address) const;
    void AppendImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                     std::uint32_t address) const;

    // A simulator serving a new pseudo-terminal; its path for --port.
    sim::Simulator& StartSim(sim::SimConfig config = sim::SimConfig::Immediate());
    std::string PortOf(std::size_t index) const { return ports_.at(index); }
    sim::Simulator& Sim(std::size_t index) const { return *sims_.at(index); }

    // `command` on the test image: --model VT8A-C16 --file image.s19, then `more`.
    std::vector<std::string> OnTheImage(std::vector<std::string> command,
                                        const std::vector<std::string>& more = {}) const;
    // --port for each simulator started, in order.
    std::vector<std::string> EveryPort() const;

    // Where the program looks the ports up (ports, usb: names): the system's unless given.
    void LookPortsUpIn(const PortDiscoveryRoots& roots) { portRoots_ = roots; }

    // Runs the program with `arguments` and --catalogue, `in` as its standard input.
    CliResult Run(std::vector<std::string> arguments, bool terminal = false,
                  std::istream* in = nullptr) const;

  private:
    std::filesystem::path dir_;
    std::vector<std::unique_ptr<sim::Simulator>> sims_;
    std::vector<std::string> ports_;
    PortDiscoveryRoots portRoots_;
};

}  // namespace vortana::cli::test
