// The serial database's entry points (Database.h) in a build without PostgreSQL's client library:
// each says so, with the status of a serial source that cannot be used.
#include "production/Database.h"
#include "production/JobError.h"

namespace vortana {
namespace {

[[noreturn]] void Unavailable() {
    throw JobError(ExitStatus::SerialSource,
                   "the serial database (--serial-db, db) is not available in this build");
}

}  // namespace

std::unique_ptr<SerialSource> OpenSerialDatabase(const DatabaseTarget&) {
    Unavailable();
}

int InitSerialDatabase(const std::string&) {
    Unavailable();
}

std::vector<StationModelCounts> ReportSerialDatabase(const std::string&, const std::string&) {
    Unavailable();
}

}  // namespace vortana
