#pragma once

// What the database layer needs from an engine: the file (SQLite) or a shared server (PostgreSQL).
// Database, maintenance, copy and migration talk to this interface; engineFor is the one place that
// decides which engine a location means.

#include "database/db_result.h"

#include <QString>
#include <functional>

class QSqlDatabase;

namespace DatabaseDetail {
// How an unregistered connection holds the database: shared like every window, or for itself alone from
// now until it is closed (others wait or are refused with 3356), as compacting and repairing need.
enum class Hold { Shared, Alone };
// Closes and forgets the Qt connection called name (nothing when there is none).
void closeConnection(const QString& name);
} // namespace DatabaseDetail

class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;

    virtual bool isServer() const = 0;
    // The location as messages show it (a server's without its password).
    virtual QString displayName(const QString& location) const = 0;
    // Equal for two locations of the same database.
    virtual QString locationKey(const QString& location) const = 0;
    // A location that may hold a database already (a server always may).
    virtual bool mayHoldData(const QString& location) const = 0;

    // Opens the connection called name and checks that the database is ours (3031 otherwise). An empty
    // or missing database gets the schema when createIfMissing. On failure the caller closes name.
    virtual DbResult open(const QString& location, const QString& name, bool createIfMissing) const = 0;
    // The same for compacting, repairing and checking: hold as asked, a damaged file readable when
    // damagedOk.
    virtual DbResult openUnregistered(const QString& location, const QString& name, DatabaseDetail::Hold hold,
                                      bool damagedOk) const = 0;
    // Maps an error of this engine onto the program's numbers.
    virtual DbResult mapError(const QSqlError& error) const = 0;

    // The pieces of SQL that differ: an auto-numbered key column, a text column that compares ignoring
    // letter case and trailing spaces, and the column that numbers rows in stored order.
    virtual QString counterKey() const = 0;
    virtual QString textType() const = 0;
    virtual QString rowIdColumn() const = 0;

    // Starts the outermost transaction; a writing one holds the write lock from its start where the
    // engine has one.
    virtual DbResult begin(const QSqlDatabase& db, bool writing) const = 0;
    // Whether a statement outside a transaction needs one of its own to wait for other writers.
    virtual bool statementNeedsTransaction() const = 0;
    // Runs one statement inside a transaction so that its failure undoes only that statement; sets
    // transactionLost when the whole transaction is gone.
    virtual DbResult step(const QSqlDatabase& db, const std::function<DbResult()>& statement,
                          bool& transactionLost) const = 0;
    // Birds without their flyer are admitted until the transaction ends.
    virtual DbResult admitOrphanBirds(const QSqlDatabase& db) const = 0;
    // Ends the outermost transaction with a commit.
    virtual DbResult commit(const QSqlDatabase& db, bool admitted) const = 0;
    // Serialises, until the transaction ends, every connection taking the same key.
    virtual DbResult lockKey(const QSqlDatabase& db, const QString& key) const = 0;

    // After rows were stored with their IDs: the counters continue after the largest.
    virtual DbResult continueCounters(const QSqlDatabase& db) const = 0;
    // Upkeep the server does in place of the file copy; the file engine is compacted by copying.
    virtual DbResult compactInPlace(const QSqlDatabase& db) const = 0;
    virtual DbResult reindex(const QSqlDatabase& db) const = 0;
};

// The engine for a location: a PostgreSQL URI means the server, anything else a file path.
const DatabaseEngine& engineFor(const QString& location);
