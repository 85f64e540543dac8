// DatabaseSchema: the serial database's tables (docs/database.md shows them), made and brought up
// to this program's version by `db init`, and checked by every station before it takes a number.
//
//   schema_version  one row: the version of the tables below
//   counters        one row per counter (a product's serial numbers): the next free number
//   records         one row per programmer and round: who, where, what, which numbers, how it
//                   ended ('started' until it ends)
//
// The tables change only by numbered steps, each applied once in order, so a database made by an
// older program is brought up to date by `db init` of a newer one, in one transaction.
//
// Errors: DatabaseError (status SerialSource) with a message that says what to do. Qt-free.
#pragma once

#include "production/Database.h"

namespace vortana {

class PgConnection;

// Makes the tables or applies the steps they lack; returns the version they had (0: none).
// Several at once are safe: they take turns.
int CreateSchema(PgConnection& connection);

// Throws DatabaseError unless the tables are there at this program's version.
void RequireSchema(PgConnection& connection);

}  // namespace vortana
