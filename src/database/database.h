#pragma once

// Connections on the administration database (a file or a server, see engine.h). Every window opens its own
// Database and keeps it while it is open; each open connection is registered, so compacting knows when the
// file is in use.

#include "database/db_result.h"
#include "database/engine.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

struct Home;

// The database of a home: the server URI of home.databaseServer when set, else <data folder>/corvexdata.db.
QString InitDatabasePath(const Home& home);

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file shared and read-write. A missing file is 3024 unless createIfMissing (first run only:
    // the caller knows), which creates the folder, the file and the empty schema. A PostgreSQL URI opens
    // the server database instead (createIfMissing: the schema goes into an empty database).
    DbResult open(const QString& path, bool createIfMissing = false);
    void close();
    bool isOpen() const { return !m_name.isEmpty(); }
    bool isServer() const { return m_engine && m_engine->isServer(); }
    // The engine of the open database.
    const DatabaseEngine& engine() const { return m_engine ? *m_engine : engineFor(m_path); }

    const QString& path() const { return m_path; }
    // The Qt connection for queries; invalid while closed.
    QSqlDatabase connection() const;

    // All or nothing for one user action. Transactions nest: only the outermost begin and commit reach
    // the database, and a rollback at any depth makes the outermost commit roll back. A writing
    // transaction takes the write lock when it begins, waiting for other writers within the busy timeout.
    enum class Access { Write, Read };
    DbResult begin(Access access = Access::Write);
    DbResult commit();
    void rollback();
    // Runs work as one such action: committed when it returns ok, rolled back otherwise.
    DbResult inTransaction(const std::function<DbResult()>& work);
    // One statement that changes rows. On the file it runs in a writing transaction of its own unless one
    // is open, so that it waits for other writers and never goes into a file a compaction has replaced;
    // a server's statement is all or nothing by itself.
    DbResult writing(const std::function<DbResult()>& statement);
    // Inside a transaction: runs one statement so that its failure undoes only that statement; the
    // transaction and what was stored before it stay usable (a server needs a savepoint for that).
    DbResult step(const std::function<DbResult()>& statement);
    // Inside a transaction: until it ends, birds may be stored without their flyer and flyers removed
    // before their birds, so that a copy keeps what its source holds.
    DbResult admitOrphanBirds();

    // Inside a transaction: another connection taking the same key waits until this transaction ends
    // (a check followed by an insert cannot interleave with another PC's). The file needs no key: its
    // writers are serialised already.
    DbResult lockKey(const QString& key);

private:
    QString m_name;
    QString m_path;
    int m_depth = 0;
    bool m_failed = false;
    const DatabaseEngine* m_engine = nullptr;
    bool m_admitting = false;
};

// How many registered connections of this process hold the file at path.
int openConnectionCount(const QString& path);

namespace DatabaseDetail {
// Opens a connection that is not registered (for compacting, repairing and checking): the same text
// comparison as every other connection. Returns the connection name in name. A damaged file opens when
// damagedOk, so that what it still holds can be read.
DbResult openUnregistered(const QString& path, QString& name, Hold hold = Hold::Shared,
                          bool damagedOk = false);
} // namespace DatabaseDetail
