// RunLog: the --log file, one CSV line appended per programmer and job:
//   time,command,port,serial,checksum,outcome,exit,duration_s,message
// (time in UTC, ISO 8601). A new or empty file gets the heading line first. Each line is one
// write to a file opened for appending, under an advisory lock, so runs at once never mix
// their lines. Errors: JobError(FileRefused) when the file cannot be opened or written.
// Qt-free; any thread.
#pragma once

#include <span>
#include <string>

#include "cli/Job.h"

namespace vortana::cli {

void AppendRunLog(const std::string& path, std::string_view command,
                  std::span<const PortOutcome> outcomes);

}  // namespace vortana::cli
