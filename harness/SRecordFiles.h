// S-record files (and files of other formats) written by the real srec_cat (package srecord),
// for the tests and benchmarks that load files as a user's tool writes them, and a way to run
// such a tool.
//
// Qt-free; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vortana::test {

// The srec_cat program the build found.
const char* SrecCatPath();

// Runs `arguments` (the program's path first) as a process and waits for it: true when it ran
// and exited with 0.
bool RunProgram(const std::vector<std::string>& arguments);

enum class LineEnds { Lf, CrLf };

// Writes `bytes`, placed from `address` on, to `path` as Motorola S-records: a header record,
// S1 records of 16 data bytes with 16-bit addresses, an end record. Throws std::runtime_error
// when srec_cat fails.
void WriteSRecordFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      std::uint32_t address, LineEnds ends = LineEnds::Lf);

// Writes `bytes`, placed from `address` on, to `path` as Intel HEX, as a user might choose by
// mistake. Throws std::runtime_error when srec_cat fails.
void WriteIntelHexFile(const std::string& path, std::span<const std::uint8_t> bytes,
                       std::uint32_t address);

// `count` bytes of a fixed pseudo-random sequence chosen by `seed`.
std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed);

}  // namespace vortana::test
