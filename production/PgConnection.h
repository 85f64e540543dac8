// PgConnection: one connection to a PostgreSQL server through libpq, its reference C client,
// owned for as long as the object lives; PgResult owns one statement's result, PgTransaction one
// transaction, rolled back unless committed.
//
// Statements take their values as parameters ($1, $2...) sent apart from the statement's text, in
// libpq's text form, so no value is ever part of the SQL: a name with a quote in it is a name.
// The target is a connection URI ("postgresql://user@host/db?sslmode=require") or, empty, what
// the PG* environment variables say (PGHOST, PGDATABASE...). Unless the target or the environment
// says otherwise, a connection attempt gives up after 10 s, a server gone from the network is
// found within half a minute (TCP keepalives and user timeout), and a row lock is waited for 10 s
// at most (lock_timeout).
//
// Errors: DatabaseError (a JobError with status SerialSource) with the server's or libpq's
// message, its SQLSTATE where the server gave one, and whether the connection was lost by it.
// Qt-free; one thread at a time per connection.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "production/JobError.h"

struct pg_conn;
struct pg_result;

namespace vortana {

class DatabaseError : public JobError {
  public:
    DatabaseError(const std::string& message, std::string sqlState, bool lost)
        : JobError(ExitStatus::SerialSource, message),
          sqlState_(std::move(sqlState)),
          lost_(lost) {}
    const std::string& SqlState() const { return sqlState_; }  // "42P01"; empty when none
    bool Lost() const { return lost_; }                        // the connection went with it

  private:
    std::string sqlState_;
    bool lost_;
};

// A statement's value: text in the form PostgreSQL reads for the column's type, or NULL.
using PgValue = std::optional<std::string>;

class PgResult {
  public:
    explicit PgResult(pg_result* result) : result_(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept;
    PgResult& operator=(PgResult&&) = delete;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    int Rows() const;
    bool IsNull(int row, int column) const;
    std::string Text(int row, int column) const;
    std::int64_t Integer(int row, int column) const;

  private:
    friend class PgConnection;
    pg_result* result_;
};

class PgConnection {
  public:
    explicit PgConnection(const std::string& target);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs one statement with its parameters; throws DatabaseError when it fails.
    PgResult Run(std::string_view sql, const std::vector<PgValue>& parameters = {});

    // Connects again to the same target after the connection was lost; true when it worked.
    bool Reconnect();

  private:
    pg_conn* connection_;
};

class PgTransaction {
  public:
    explicit PgTransaction(PgConnection& connection);
    ~PgTransaction();
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;

    void Commit();

  private:
    PgConnection& connection_;
    bool open_ = true;
};

}  // namespace vortana
