#include "harness/ScratchDatabase.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "harness/SRecordFiles.h"
#include "production/Database.h"

namespace vortana::test {
namespace {

std::string ServerFolder(const std::string& stateFile) {
    std::string folder;
    std::getline(std::ifstream(stateFile), folder);
    if (folder.empty())
        throw std::runtime_error("no database server: " + stateFile + " names none");
    return folder;
}

std::string ServerUrl(const std::string& folder, const std::string& database,
                      const std::string& user) {
    return "postgresql:///" + database + "?host=" + folder + "&user=" + user;
}

}  // namespace

const char* TestDatabaseServer() {
    return VORTANA_TEST_DB_STATE;
}

void RunScratchServer(std::string_view command, const std::string& stateFile) {
    if (!RunProgram({VORTANA_PG_SCRATCH_SERVER, std::string(command), stateFile}))
        throw std::runtime_error("pg-scratch-server " + std::string(command) + " failed");
}

ScratchServer::ScratchServer(std::string stateFile) : stateFile_(std::move(stateFile)) {
    RunScratchServer("start-durable", stateFile_);
}

ScratchServer::~ScratchServer() {
    RunScratchServer("stop", stateFile_);
}

ScratchDatabase::ScratchDatabase(std::string stateFile, Tables tables)
    : stateFile_(std::move(stateFile)), folder_(ServerFolder(stateFile_)) {
    static int made = 0;
    name_ = "scratch_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
    // A name of digits this class made: no value of anyone's goes into the statement.
    PgConnection(ServerUrl(folder_, "postgres", "postgres")).Run("CREATE DATABASE " + name_);
    url_ = ServerUrl(folder_, name_, "postgres");
    if (tables == Tables::Made)
        InitSerialDatabase(url_);
}

ScratchDatabase::~ScratchDatabase() {
    try {
        PgConnection(ServerUrl(folder_, "postgres", "postgres"))
            .Run("DROP DATABASE " + name_ + " WITH (FORCE)");
    } catch (const DatabaseError&) {
        // A server stopped by a failed test: the fixture's end removes it whole.
    }
}

std::string ScratchDatabase::UrlAs(const std::string& user, const std::string& password) const {
    return ServerUrl(folder_, name_, user) + "&password=" + password;
}

PgResult ScratchDatabase::Query(std::string_view sql,
                                const std::vector<PgValue>& parameters) const {
    return PgConnection(url_).Run(sql, parameters);
}

}  // namespace vortana::test
