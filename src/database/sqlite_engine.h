#pragma once

// The administration database as a file (SQLite): the program's own text comparison and LIKE registered
// on every connection, write-ahead logging, a busy timeout, and the write lock taken when a writing
// transaction begins.

#include "database/engine.h"

class SqliteEngine final : public DatabaseEngine {
public:
    bool isServer() const override { return false; }
    QString displayName(const QString& location) const override { return location; }
    QString locationKey(const QString& location) const override;
    bool mayHoldData(const QString& location) const override;

    DbResult open(const QString& location, const QString& name, bool createIfMissing) const override;
    DbResult openUnregistered(const QString& location, const QString& name, DatabaseDetail::Hold hold,
                              bool damagedOk) const override;
    DbResult mapError(const QSqlError& error) const override;

    QString counterKey() const override;
    QString textType() const override;
    QString rowIdColumn() const override;

    DbResult begin(const QSqlDatabase& db, bool writing) const override;
    bool statementNeedsTransaction() const override { return true; }
    DbResult step(const QSqlDatabase& db, const std::function<DbResult()>& statement,
                  bool& transactionLost) const override;
    DbResult admitOrphanBirds(const QSqlDatabase& db) const override;
    DbResult commit(const QSqlDatabase& db, bool admitted) const override;
    DbResult lockKey(const QSqlDatabase& db, const QString& key) const override;

    DbResult continueCounters(const QSqlDatabase& db) const override;
    DbResult compactInPlace(const QSqlDatabase& db) const override;
    DbResult reindex(const QSqlDatabase& db) const override;

    // Whether the file the connection has open is no longer the one at its path (a compaction replaced
    // it). False for a connection that is not on a file.
    static bool fileReplaced(const QSqlDatabase& db);
    // Before a connection closes: one left on a replaced file must not touch the new file's log.
    static void beforeClose(const QSqlDatabase& db);
};

const DatabaseEngine& sqliteEngine();
