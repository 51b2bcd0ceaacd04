#include "database/maintenance.h"

#include "database/database_messages.h"
#include "database/schema.h"
#include "platform/dialogs.h"
#include "platform/home.h"
#include "platform/progress.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <system_error>
#include <unistd.h>

namespace {

// Closes the unregistered connection when the operation ends, however it ends.
class ScopedConnection {
public:
    ~ScopedConnection() { close(); }
    void close()
    {
        DatabaseDetail::closeConnection(name);
        name.clear();
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
    QString name;
};

const char* const kJournalSuffixes[] = {"-journal", "-wal", "-shm"};

bool syncPath(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void removeWithJournals(const QString& path)
{
    QFile::remove(path);
    for (const char* suffix : kJournalSuffixes)
        QFile::remove(path + QLatin1String(suffix));
}

DbResult fileFailure(const QString& what)
{
    return DbResult::failure(DbError::General, what);
}

DbResult inUse()
{
    return DbResult::failure(DbError::InUse, QStringLiteral("The database is opened by another connection."));
}

DbResult run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    return query.exec(sql) ? DbResult{} : DbResult::fromSqlError(query.lastError());
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
    if (query.lastError().isValid())
        status = DbResult::fromSqlError(query.lastError());
    return problems;
}

const QString kOrphanCondition =
    QStringLiteral("NOT EXISTS (SELECT 1 FROM flyerlist f WHERE f.FlyerID = b.BirdFlyerID)");

QStringList orphanProblems(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT b.%1, b.NatOrg || b.HatchYr || b.clubletters || b.bnumber, "
                                   "b.BirdFlyerID FROM birds b WHERE %2 ORDER BY b.%1")
                        .arg(kRowIdColumn, kOrphanCondition)))
        return {query.lastError().text()};
    QStringList problems;
    while (query.next())
        problems << QStringLiteral("bird %1 (row %2) belongs to flyer %3, which does not exist")
                        .arg(query.value(1).toString(), query.value(0).toString(), query.value(2).toString());
    return problems;
}

// Birds whose flyer is gone would be in no list yet hold their bands for ever: they get a flyer that
// stands in for the lost one, under its number.
DbResult giveOrphansAFlyer(const QSqlDatabase& db)
{
    return run(
        db, QStringLiteral("INSERT INTO flyerlist (FlyerID, ClubID, Name, Address, CityStateZip, email, "
                           "Phone, Longitude, Latitude) SELECT DISTINCT b.BirdFlyerID, 0, 'Unknown flyer ' "
                           "|| b.BirdFlyerID, '', '', '', '', '', '' FROM birds b WHERE %1")
                .arg(kOrphanCondition));
}

// A server database is never copied: the server reclaims space and refreshes statistics in place, beside
// the connections of other PCs.
DbResult maintainServer(const QString& path, bool repair)
{
    ScopedConnection connection;
    DbResult status = DatabaseDetail::openUnregistered(path, connection.name);
    const DatabaseEngine& engine = engineFor(path);
    if (status.ok() && repair)
        status = engine.reindex(connection.db());
    if (status.ok() && repair)
        status = giveOrphansAFlyer(connection.db());
    if (status.ok() && repair)
        status = engine.continueCounters(connection.db());
    if (status.ok())
        status = engine.compactInPlace(connection.db());
    return status;
}

// Takes the file for this operation alone; a window of this process holding it is refused at once.
DbResult holdFile(const QString& path, ScopedConnection& held, bool damagedOk = false)
{
    if (openConnectionCount(path) > 0)
        return inUse();
    return DatabaseDetail::openUnregistered(path, held.name, DatabaseDetail::Hold::Alone, damagedOk);
}

QString copyPathOf(const QString& path)
{
    return QDir(QFileInfo(path).absolutePath()).filePath(kCompactFileName);
}

// The copy must be on disk, and opening it as a database must work (that also puts it into the mode the
// file is used in), before it replaces the only good file. A repair rebuilds the copy's indexes and gives
// birds whose flyer is gone a flyer.
DbResult finishCopy(const QString& copy, bool repair = false)
{
    if (!syncPath(copy))
        return fileFailure(QStringLiteral("Cannot write '%1' to disk.").arg(copy));
    Database check;
    DbResult status = check.open(copy);
    if (status.ok() && repair)
        status = run(check.connection(), QStringLiteral("REINDEX"));
    if (status.ok() && repair)
        status = check.writing([&]() { return giveOrphansAFlyer(check.connection()); });
    check.close();
    if (status.ok() && !syncPath(copy))
        status = fileFailure(QStringLiteral("Cannot write '%1' to disk.").arg(copy));
    return status;
}

// Called while the file is held: nobody has it open in write-ahead mode, so no log of it can be lost.
DbResult putInPlace(const QString& path, const QString& copy, const std::function<void()>& beforeRename)
{
    for (const char* suffix : kJournalSuffixes)
        QFile::remove(path + QLatin1String(suffix));
    if (beforeRename)
        beforeRename();
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData(), error);
    if (error) {
        removeWithJournals(copy);
        return fileFailure(
            QStringLiteral("Cannot replace '%1': %2").arg(path, QString::fromStdString(error.message())));
    }
    syncPath(QFileInfo(path).absolutePath());
    return {};
}

DbResult compactFile(const QString& path, const std::function<void()>& beforeRename, bool repair)
{
    if (engineFor(path).isServer())
        return maintainServer(path, false);
    ScopedConnection source;
    DbResult status = holdFile(path, source);
    if (!status.ok())
        return status;

    const QString copy = copyPathOf(path);
    removeWithJournals(copy);
    if (QFile::exists(copy) || !CreatePrivateFile(copy))
        return fileFailure(QStringLiteral("Cannot write '%1'.").arg(copy));
    QSqlQuery vacuum(source.db());
    if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?"))) {
        status = DbResult::fromSqlError(vacuum.lastError());
    } else {
        vacuum.addBindValue(copy);
        if (!vacuum.exec())
            status = DbResult::fromSqlError(vacuum.lastError());
    }
    vacuum = QSqlQuery();
    if (status.ok())
        status = finishCopy(copy, repair);
    if (!status.ok()) {
        removeWithJournals(copy);
        return status;
    }
    return putInPlace(path, copy, beforeRename);
}

// --- salvaging a damaged file

struct TableSalvage {
    QString table;
    int saved = 0;
    qint64 unreadable = 0;
};

// Copies the rows of one table that can still be read. A damaged page makes a read in key order stop;
// reading the other way from the end and then the parts in between, halving them, finds every page that
// is still readable.
class TableSalvager {
public:
    TableSalvager(const QSqlDatabase& source, const QSqlDatabase& target, const TableShape& shape)
        : m_source(source), m_target(target), m_shape(shape)
    {
    }

    DbResult run(TableSalvage& salvage)
    {
        salvage.table = m_shape.name;
        const QString fields = m_shape.fields.join(QStringLiteral(", "));
        // A damaged file made by an older version still gives up its rows.
        m_read = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid >= ? AND rowid <= ? ORDER BY rowid ")
                     .arg(readableColumns(m_source, m_shape).join(QStringLiteral(", ")), m_shape.name);
        m_insert = QSqlQuery(m_target);
        if (!m_insert.prepare(
                QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (?%3)")
                    .arg(m_shape.name, fields, QStringLiteral(", ?").repeated(m_shape.fields.size()))))
            return DbResult::fromSqlError(m_insert.lastError());
        salvageRange(bound(QStringLiteral("min"), 1),
                     bound(QStringLiteral("max"), std::numeric_limits<int>::max()));
        salvage.saved = m_saved;
        const std::optional<qint64> held = rowsHeldByAnIndex();
        salvage.unreadable = held ? std::max<qint64>(0, *held - m_saved) : m_unreadableKeys;
        return m_status;
    }

private:
    struct Run {
        int rows = 0;
        bool complete = false;
        qint64 last = 0;
    };

    // The smallest or largest key, read along the edge of the table; otherwise the widest the keys go.
    qint64 bound(const QString& function, qint64 otherwise) const
    {
        QSqlQuery query(m_source);
        if (query.exec(QStringLiteral("SELECT %1(rowid) FROM %2").arg(function, m_shape.name)) &&
            query.next())
            return query.isNull(0) ? otherwise : query.value(0).toLongLong();
        return otherwise;
    }

    Run readRun(qint64 low, qint64 high, bool ascending)
    {
        Run run;
        QSqlQuery rows(m_source);
        rows.setForwardOnly(true);
        rows.prepare(m_read + (ascending ? QStringLiteral("ASC") : QStringLiteral("DESC")));
        rows.addBindValue(low);
        rows.addBindValue(high);
        if (!rows.exec())
            return run;
        while (m_status.ok() && rows.next()) {
            for (int column = 0; column <= m_shape.fields.size(); ++column)
                m_insert.bindValue(column, rows.value(column));
            if (!m_insert.exec()) {
                m_status = DbResult::fromSqlError(m_insert.lastError());
                return run;
            }
            ++m_saved;
            ++run.rows;
            run.last = rows.value(0).toLongLong();
        }
        run.complete = !rows.lastError().isValid();
        return run;
    }

    void salvageRange(qint64 low, qint64 high)
    {
        if (low > high || !m_status.ok())
            return;
        // Past the budget the rest counts as unreadable without a number: a damaged last page makes
        // every key after it unreadable, rows or not.
        if (--m_budget < 0)
            return;
        const Run up = readRun(low, high, true);
        if (up.complete)
            return;
        const qint64 from = up.rows > 0 ? up.last + 1 : low;
        const Run down = readRun(from, high, false);
        if (down.complete)
            return;
        const qint64 to = down.rows > 0 ? down.last - 1 : high;
        if (from >= to) {
            m_unreadableKeys += std::max<qint64>(0, to - from + 1);
            return;
        }
        const qint64 middle = from + (to - from) / 2;
        salvageRange(from, middle);
        salvageRange(middle + 1, to);
    }

    // Every index holds one entry per row: one that can still be read tells how many rows there were.
    std::optional<qint64> rowsHeldByAnIndex() const
    {
        QSqlQuery indexes(m_source);
        indexes.prepare(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?"));
        indexes.addBindValue(m_shape.name);
        if (!indexes.exec())
            return std::nullopt;
        while (indexes.next()) {
            QSqlQuery count(m_source);
            if (count.exec(QStringLiteral("SELECT count(*) FROM %1 INDEXED BY %2")
                               .arg(m_shape.name, indexes.value(0).toString())) &&
                count.next())
                return count.value(0).toLongLong();
        }
        return std::nullopt;
    }

    QSqlDatabase m_source;
    QSqlDatabase m_target;
    const TableShape& m_shape;
    QString m_read;
    QSqlQuery m_insert;
    DbResult m_status;
    int m_saved = 0;
    qint64 m_unreadableKeys = 0;
    int m_budget = 20000;
};

// Copies what the held damaged file still holds into the compaction's copy file.
DbResult salvageInto(const QSqlDatabase& source, const QString& copy, std::vector<TableSalvage>& salvaged)
{
    removeWithJournals(copy);
    Database target;
    DbResult status = target.open(copy, true);
    if (status.ok())
        status = target.begin();
    if (status.ok())
        status = target.admitOrphanBirds();
    for (const TableShape& shape : expectedTables()) {
        if (!status.ok())
            break;
        salvaged.push_back({});
        status = TableSalvager(source, target.connection(), shape).run(salvaged.back());
    }
    if (status.ok())
        status = giveOrphansAFlyer(target.connection());
    if (status.ok())
        status = target.commit();
    else
        target.rollback();
    target.close();
    if (status.ok())
        status = finishCopy(copy);
    if (!status.ok())
        removeWithJournals(copy);
    return status;
}

QString salvageReport(const std::vector<TableSalvage>& salvaged, const QString& keptAs)
{
    QStringList lines = {
        QStringLiteral("The database file was damaged. What could still be read was saved:")};
    for (const TableSalvage& table : salvaged)
        lines << QStringLiteral("%1: %2 rows saved, %3 could not be read")
                     .arg(table.table)
                     .arg(table.saved)
                     .arg(table.unreadable);
    lines << QStringLiteral("The damaged file is kept as '%1'.").arg(keptAs);
    return lines.join(QStringLiteral("\r\n"));
}

// The damaged original stays under a dated name; a second name for the same file costs no copy.
DbResult keepDamaged(const QString& path, QString& keptAs)
{
    const QFileInfo info(path);
    keptAs = info.dir().filePath(
        QStringLiteral("%1-damaged-%2.%3")
            .arg(info.completeBaseName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")), info.suffix()));
    std::error_code error;
    std::filesystem::create_hard_link(QFile::encodeName(path).constData(),
                                      QFile::encodeName(keptAs).constData(), error);
    if (error && !QFile::copy(path, keptAs))
        return fileFailure(QStringLiteral("Cannot keep the damaged file as '%1'.").arg(keptAs));
    return {};
}

void startProgress(Progress& progress, const QString& lower)
{
    progress.show();
    progress.setUpperLine(QStringLiteral("Please wait..."));
    progress.setLowerLine(lower);
    progress.repaint();
}

void showFailure(Dialogs& dialogs, const DbResult& status)
{
    dialogs.inform(status.code == DbError::InUse ? kDatabaseInUseText : status.description);
}

DbResult compactShown(const QString& path, Dialogs& dialogs, Progress& progress,
                      const std::function<void()>& beforeRename, bool repair)
{
    startProgress(progress, QStringLiteral("Compacting Database"));
    const DbResult status = compactFile(path, beforeRename, repair);
    progress.close();
    if (!status.ok())
        showFailure(dialogs, status);
    return status;
}

} // namespace

DbResult compactDatabase(const QString& path, Dialogs& dialogs, Progress& progress,
                         const std::function<void()>& beforeRename)
{
    return compactShown(path, dialogs, progress, beforeRename, false);
}

DbResult repairDatabase(const QString& path, Dialogs& dialogs, Progress& progress)
{
    startProgress(progress, QStringLiteral("Repairing database"));
    if (engineFor(path).isServer()) {
        const DbResult status = maintainServer(path, true);
        progress.close();
        if (!status.ok())
            showFailure(dialogs, status);
        return status;
    }
    ScopedConnection held;
    DbResult status = holdFile(path, held, true);
    if (status.code == DbError::Damaged)
        status.description =
            QStringLiteral("Nothing can be read from the damaged file '%1'; it is left as it "
                           "is.")
                .arg(path);
    DbResult integrity;
    const QStringList problems = status.ok() ? integrityProblems(held.db(), integrity) : QStringList();
    const bool damaged = status.ok() && (integrity.code == DbError::Damaged || !problems.isEmpty());
    std::vector<TableSalvage> salvaged;
    if (damaged) {
        status = salvageInto(held.db(), copyPathOf(path), salvaged);
        int saved = 0;
        for (const TableSalvage& table : salvaged)
            saved += table.saved;
        if (status.ok() && saved == 0) {
            removeWithJournals(copyPathOf(path));
            status =
                DbResult::failure(DbError::Damaged, QStringLiteral("Nothing could be read from the damaged "
                                                                   "file '%1'; it is left as it is.")
                                                        .arg(path));
        }
    } else if (status.ok()) {
        status = integrity;
    }
    progress.close();
    QString keptAs;
    if (damaged && status.ok())
        status = keepDamaged(path, keptAs);
    if (damaged && status.ok()) {
        dialogs.inform(salvageReport(salvaged, QFileInfo(keptAs).fileName()));
        status = putInPlace(path, copyPathOf(path), {});
    }
    held.close();
    if (!status.ok()) {
        showFailure(dialogs, status);
        return status;
    }
    // A sound file is mended in its compacted copy: the file itself is only ever read.
    return compactShown(path, dialogs, progress, {}, !damaged);
}

DatabaseCheck checkDatabase(const QString& path)
{
    DatabaseCheck check;
    ScopedConnection connection;
    check.status = DatabaseDetail::openUnregistered(path, connection.name);
    if (!check.status.ok())
        return check;
    check.problems = integrityProblems(connection.db(), check.status);
    if (!check.problems.isEmpty() || check.status.code == DbError::Damaged) {
        check.status = DbResult::failure(DbError::Damaged, QStringLiteral("The database file is damaged."));
        return check;
    }
    if (check.status.ok())
        check.problems += schemaProblems(connection.db());
    if (check.ok())
        check.problems += orphanProblems(connection.db());
    return check;
}

void RemoveStrayCompactFiles(const QString& path)
{
    if (engineFor(path).isServer())
        return;
    const QString copy = copyPathOf(path);
    bool stray = QFile::exists(copy);
    for (const char* suffix : kJournalSuffixes)
        stray = stray || QFile::exists(copy + QLatin1String(suffix));
    if (!stray)
        return;
    // While a connection holds the file no compaction can be running.
    Database holding;
    if (holding.open(path).ok())
        removeWithJournals(copy);
}
