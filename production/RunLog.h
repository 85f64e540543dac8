// RunLog: the --log file, one CSV line appended per programmer and job:
//   time,command,port,serial,checksum,outcome,exit,duration_s,message,
//   model,file,crc32,station,operator,version
// (time in UTC, ISO 8601). A new or empty file gets the heading line first; a file begun with
// fewer columns keeps its heading and takes the lines with them all.
//
// The file is opened (made when missing, which its folder must allow) when the job is set up,
// before any serial number is taken or any byte sent, so a log that cannot be kept stops the job
// before anything happens. The records are written under an advisory lock on the file, so runs
// at once never mix their lines. Each line is one append, written whole: a write cut short (a
// full disk, a file-size limit) is cut back to the size the file had before it, so the file
// holds whole lines only, and the lines after it are not tried.
//
// Errors: the constructor throws JobError(FileRefused) when the file cannot be opened;
// WriteRecords returns why records could not be written, naming each programmer left without
// one with its serial number and outcome. Qt-free; one thread at a time.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vortana {

struct PortOutcome;

class RunLog {
  public:
    explicit RunLog(std::string path);
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Appends one line for each outcome of `command`, then closes the file: the log's last use.
    // Empty when every line was written, else what was not recorded and why.
    std::string WriteRecords(std::string_view command, std::span<const PortOutcome> outcomes);

  private:
    std::string path_;
    int fd_;
};

}  // namespace vortana
