// JobFile: a production job kept in a file, for an engineer to review and approve and for a
// station to run board after board: the firmware (model, S-record file and the CRC-32 of the
// image it made when the job was saved), the settings, the serial numbers, the ports, the records
// and the run's timing. The text is a sectioned settings file (production/IniReader.h), the
// program's version named in a comment at its top:
//
//   ; vortana-cli 5.0 job: review it before use; the CRC-32 approves the firmware
//   [job]
//   model=VT8B-W16
//   file=demo.s19
//   crc32=8A7D8A3D
//   [settings]                mode, supply, count, erase, verify
//   [serial]                  counter, start, increment, serial-db, db-counter
//   [ports]
//   ports=/dev/ttyUSB0, usb:A10K3Z1Q
//   [records]                 log, station, operator
//   [run]                     timeout, late-wait, loop
//
// The three entries of [job] are required; every other one may be left out, and then the
// command's default holds. Values are spelt as the options of `vortana-cli write` take them
// (production/JobValues.h); loop is yes or no. The paths (file, counter, log) are the job file's
// own: a relative one is relative to the job file's folder, and a saved job names a path below
// that folder relative to it (with '/', which every system takes), any other absolutely.
//
// Errors: JobError(FileRefused) for a file that cannot be read or written, one that exists
// already when a job is saved, and every line the job cannot take, named "NAME:LINE: reason"
// (an unknown section or key, a key given twice, a bad value); a required entry missing is named
// "NAME: reason". A job whose values could not be read back as they are (a line break, blanks
// around a value, a comma in a port's name) is refused before anything is written. Qt-free; any
// thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vortana {

// Every text field is empty when the job leaves it to the command's default.
struct JobFile {
    // [job]
    std::string model;
    std::string file;         // the S-record file
    std::uint32_t crc32 = 0;  // of the image `file` makes for `model`, when the job was saved
    // [settings]
    std::string mode;
    std::string supply;
    std::string count;
    std::string erase;
    std::string verify;
    // [serial]
    std::string counter;  // the counter file
    std::string start;
    std::string increment;
    std::string serialDb;   // the serial database's URL (docs/database.md), "-": the PG* variables
    std::string dbCounter;  // the database's counter; empty: the model
    // [ports]
    std::vector<std::string> ports;
    // [records]
    std::string log;
    std::string station;
    std::string operatorName;
    // [run]
    std::string timeout;
    std::string lateWait;
    bool loop = false;

    bool operator==(const JobFile&) const = default;
};

// The job the text holds, its paths as written; `name` names the file in errors.
JobFile ParseJobFile(std::string_view text, const std::string& name);

// The text of `job`, its paths as they are, under a comment naming `savedBy` ("vortana-cli 5.0").
std::string JobFileText(const JobFile& job, std::string_view savedBy);

// The job the file at `path` holds, its relative paths made relative to the folder `path` is in.
JobFile ReadJobFile(const std::string& path);

// Writes `job` (its relative paths relative to the current folder) to a new file at `path`,
// atomically: it appears whole or not at all, and never over an existing file.
void SaveJobFile(const std::string& path, const JobFile& job, std::string_view savedBy);

}  // namespace vortana
