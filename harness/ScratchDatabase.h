// ScratchDatabase: a database of its own on a private PostgreSQL server (tools/pg-scratch-server),
// for the tests and benchmarks of the serial database: made empty when constructed (the tables
// made unless asked not to), dropped when destroyed. The server is named by the state file the
// script's `start` wrote: the tests' fixture starts one for all of them, a benchmark its own
// (ScratchServer).
//
// Errors: std::runtime_error when the server cannot be reached or the script fails. Linux only
// (the script runs initdb); one thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "production/PgConnection.h"

namespace vortana::test {

// The state file of the server the tests' fixture starts (CMake names it).
const char* TestDatabaseServer();

// Runs tools/pg-scratch-server `command` (start, pause, resume, stop) on `stateFile`.
void RunScratchServer(std::string_view command, const std::string& stateFile);

// A benchmark's own server, its commits flushed to the disk as a real server's (`start-durable`):
// started when made, stopped and removed with its data when destroyed.
class ScratchServer {
  public:
    explicit ScratchServer(std::string stateFile);
    ~ScratchServer();
    ScratchServer(const ScratchServer&) = delete;
    ScratchServer& operator=(const ScratchServer&) = delete;

    const std::string& StateFile() const { return stateFile_; }

  private:
    std::string stateFile_;
};

class ScratchDatabase {
  public:
    enum class Tables { Made, Missing };

    explicit ScratchDatabase(std::string stateFile = TestDatabaseServer(),
                             Tables tables = Tables::Made);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    // The database's connection URI, as the superuser or as `user` with `password`.
    const std::string& Url() const { return url_; }
    std::string UrlAs(const std::string& user, const std::string& password) const;

    // One statement on a connection of its own.
    PgResult Query(std::string_view sql, const std::vector<PgValue>& parameters = {}) const;

    // Stops the server, keeping its data; starts it again.
    void PauseServer() const { RunScratchServer("pause", stateFile_); }
    void ResumeServer() const { RunScratchServer("resume", stateFile_); }

  private:
    std::string stateFile_;
    std::string folder_;  // the server's, where its socket is
    std::string name_;
    std::string url_;
};

}  // namespace vortana::test
