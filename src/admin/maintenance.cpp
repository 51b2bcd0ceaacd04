#include "admin/maintenance.h"

#include "admin/database_messages.h"
#include "admin/postgres_engine.h"
#include "admin/schema.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {

// Closes the unregistered connection when the operation ends, however it ends.
class ScopedConnection {
public:
    ~ScopedConnection() { DatabaseDetail::closeConnection(name); }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
    QString name;
};

bool syncPath(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

DbResult fileFailure(const QString& what)
{
    return DbResult::failure(DbError::General, what);
}

DbResult inUse()
{
    return DbResult::failure(DbError::InUse, QStringLiteral("The database is opened by another connection."));
}

QStringList integrityProblems(const QSqlDatabase& db, DbResult& status)
{
    QSqlQuery query(db);
    QStringList problems;
    // A server checks its own storage.
    if (db.driverName() != QLatin1String("QSQLITE"))
        return problems;
    if (!query.exec(QStringLiteral("PRAGMA integrity_check"))) {
        status = DbResult::fromSqlError(query.lastError());
        return problems;
    }
    while (query.next()) {
        const QString line = query.value(0).toString();
        if (line != QLatin1String("ok"))
            problems << line;
    }
    return problems;
}

// A server database is never copied: the server reclaims space and refreshes statistics in place, beside
// the connections of other PCs.
DbResult maintainServer(const QString& path, bool rebuildIndexes)
{
    ScopedConnection connection;
    DbResult status = DatabaseDetail::openUnregistered(path, connection.name);
    if (status.ok() && rebuildIndexes)
        status = Postgres::reindex(connection.db());
    if (status.ok())
        status = Postgres::compact(connection.db());
    return status;
}

DbResult compactFile(const QString& path)
{
    if (Postgres::isServerUri(path))
        return maintainServer(path, false);
    if (openConnectionCount(path) > 0)
        return inUse();
    ScopedConnection source;
    DbResult status = DatabaseDetail::openUnregistered(path, source.name, true);
    if (!status.ok())
        return status;

    const QString folder = QFileInfo(path).absolutePath();
    const QString copy = QDir(folder).filePath(kCompactFileName);
    if (QFile::exists(copy) && !QFile::remove(copy))
        return fileFailure(QStringLiteral("Cannot remove the old '%1'.").arg(copy));

    QSqlQuery vacuum(source.db());
    if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?"))) {
        status = DbResult::fromSqlError(vacuum.lastError());
    } else {
        vacuum.addBindValue(copy);
        if (!vacuum.exec())
            status = DbResult::fromSqlError(vacuum.lastError());
    }
    vacuum = QSqlQuery();
    // The copy is not synced by SQLite; it must be on disk before it replaces the only good file.
    if (status.ok() && !syncPath(copy))
        status = fileFailure(QStringLiteral("Cannot write '%1' to disk.").arg(copy));
    if (status.ok()) {
        ScopedConnection check;
        status = DatabaseDetail::openUnregistered(copy, check.name);
    }
    if (!status.ok()) {
        QFile::remove(copy);
        return status;
    }

    // Leaving WAL has removed these; a stale one would be replayed onto the new file.
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData(), error);
    if (error) {
        QFile::remove(copy);
        return fileFailure(
            QStringLiteral("Cannot replace '%1': %2").arg(path, QString::fromStdString(error.message())));
    }
    syncPath(folder);
    return {};
}

DbResult repairFile(const QString& path)
{
    if (Postgres::isServerUri(path))
        return maintainServer(path, true);
    ScopedConnection connection;
    DbResult status = DatabaseDetail::openUnregistered(path, connection.name);
    if (!status.ok())
        return status;
    QSqlQuery reindex(connection.db());
    if (!reindex.exec(QStringLiteral("REINDEX")))
        return DbResult::fromSqlError(reindex.lastError());
    const QStringList problems = integrityProblems(connection.db(), status);
    if (!status.ok())
        return status;
    if (!problems.isEmpty())
        return DbResult::failure(DbError::General,
                                 QStringLiteral("The database is damaged and cannot be repaired: ") +
                                     problems.first());
    return {};
}

void startProgress(Progress& progress, const QString& lower)
{
    progress.show();
    progress.setUpperLine(QStringLiteral("Please wait..."));
    progress.setLowerLine(lower);
    progress.repaint();
}

} // namespace

DbResult CompactDatabase(const QString& path, Dialogs& dialogs, Progress& progress)
{
    startProgress(progress, QStringLiteral("Compacting Database"));
    const DbResult status = compactFile(path);
    progress.close();
    if (status.code == DbError::InUse)
        dialogs.inform(kDatabaseInUseText);
    else if (!status.ok())
        dialogs.inform(status.description);
    return status;
}

DbResult RepairDatabase(const QString& path, Dialogs& dialogs, Progress& progress)
{
    startProgress(progress, QStringLiteral("Repairing database"));
    const DbResult status = repairFile(path);
    progress.close();
    if (!status.ok()) {
        dialogs.inform(status.description);
        return status;
    }
    return CompactDatabase(path, dialogs, progress);
}

DatabaseCheck CheckDatabase(const QString& path)
{
    DatabaseCheck check;
    ScopedConnection connection;
    check.status = DatabaseDetail::openUnregistered(path, connection.name);
    if (!check.status.ok())
        return check;
    check.problems = integrityProblems(connection.db(), check.status);
    if (check.status.ok())
        check.problems += schemaProblems(connection.db());
    return check;
}
