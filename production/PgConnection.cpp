#include "production/PgConnection.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstdlib>
#include <utility>

namespace vortana {
namespace {

// What a connection takes unless its target or the PG* environment variable named says otherwise:
// a bounded wait to connect, a server gone from the network found within half a minute (so a
// programmer's end is spooled, not stuck), and a counter row held by a station that hangs
// waited for 10 s at most.
struct Default {
    const char* keyword;
    const char* environment;  // the variable that gives it instead; nullptr: none does
    const char* value;
};
constexpr Default kDefaults[] = {
    {"connect_timeout", "PGCONNECT_TIMEOUT", "10"}, {"keepalives_idle", nullptr, "10"},
    {"keepalives_interval", nullptr, "5"},          {"keepalives_count", nullptr, "3"},
    {"tcp_user_timeout", nullptr, "30000"},         {"options", "PGOPTIONS", "-c lock_timeout=10s"},
};

// libpq's messages end in a line end and may run on over lines (a statement's position); the
// first line says it.
std::string FirstLine(const char* message) {
    std::string text = message != nullptr ? message : "";
    return text.substr(0, text.find('\n'));
}

// A statement's failure as the server words it, without the severity libpq puts before it.
std::string Reason(const char* message) {
    std::string line = FirstLine(message);
    for (const std::string_view severity : {"FATAL:  ", "ERROR:  "})
        if (line.starts_with(severity))
            line.erase(0, severity.size());
    return line;
}

// The server's notices ("relation already exists, skipping") are no news to a station.
void IgnoreNotice(void*, const char*) {}

bool Lost(const pg_conn* connection) {
    return PQstatus(connection) != CONNECTION_OK;
}

[[noreturn]] void Refuse(const pg_conn* connection, const pg_result* result) {
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    const char* sqlState = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const std::string reason = Reason(primary != nullptr ? primary : PQerrorMessage(connection));
    const bool lost = Lost(connection);
    throw DatabaseError(
        (lost ? "the connection to the serial database was lost: " : "the serial database says: ") +
            reason,
        sqlState != nullptr ? sqlState : "", lost);
}

}  // namespace

PgResult::~PgResult() {
    PQclear(result_);
}

PgResult::PgResult(PgResult&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}

int PgResult::Rows() const {
    return PQntuples(result_);
}

bool PgResult::IsNull(int row, int column) const {
    return PQgetisnull(result_, row, column) != 0;
}

std::string PgResult::Text(int row, int column) const {
    return PQgetvalue(result_, row, column);
}

std::int64_t PgResult::Integer(int row, int column) const {
    const std::string text = Text(row, column);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw DatabaseError("the serial database answered '" + text + "' for a number", "", false);
    return value;
}

PgConnection::PgConnection(const std::string& target) {
    std::vector<const char*> keywords;
    std::vector<const char*> values;
    for (const Default& setting : kDefaults) {
        keywords.push_back(setting.keyword);
        // An empty value leaves it to the environment.
        const bool inEnvironment = setting.environment && std::getenv(setting.environment);
        values.push_back(inEnvironment ? "" : setting.value);
    }
    keywords.insert(keywords.end(), {"dbname", nullptr});  // the target's own settings come last
    values.insert(values.end(), {target.c_str(), nullptr});
    connection_ = PQconnectdbParams(keywords.data(), values.data(), 1);
    if (connection_ == nullptr)
        throw DatabaseError("cannot connect to the serial database: out of memory", "", true);
    if (Lost(connection_)) {
        const std::string reason = FirstLine(PQerrorMessage(connection_));
        PQfinish(connection_);
        throw DatabaseError("cannot connect to the serial database: " + reason, "", true);
    }
    PQsetNoticeProcessor(connection_, IgnoreNotice, nullptr);
}

PgConnection::~PgConnection() {
    PQfinish(connection_);
}

PgResult PgConnection::Run(std::string_view sql, const std::vector<PgValue>& parameters) {
    std::vector<const char*> values;
    for (const PgValue& parameter : parameters)
        values.push_back(parameter ? parameter->c_str() : nullptr);
    PgResult result(PQexecParams(connection_, std::string(sql).c_str(),
                                 static_cast<int>(values.size()), nullptr, values.data(), nullptr,
                                 nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.result_);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        Refuse(connection_, result.result_);
    return result;
}

bool PgConnection::Reconnect() {
    PQreset(connection_);
    return !Lost(connection_);
}

PgTransaction::PgTransaction(PgConnection& connection) : connection_(connection) {
    connection_.Run("BEGIN");
}

PgTransaction::~PgTransaction() {
    if (!open_)
        return;
    try {
        connection_.Run("ROLLBACK");
    } catch (const DatabaseError&) {
        // A lost connection ends its transaction on the server without a word.
    }
}

void PgTransaction::Commit() {
    open_ = false;  // a commit that fails leaves nothing to roll back
    connection_.Run("COMMIT");
}

}  // namespace vortana
