#include "database/sqlite_engine.h"

#include "database/schema.h"
#include "platform/home.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <optional>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

namespace {

const QString kCollation = QStringLiteral("CVXTEXT");
constexpr int kBusyTimeoutMs = 5000;

// While this table exists (only ever inside a copy's own transaction) the guards below let a copy store
// what its source holds.
const QString kCopyingMark = QStringLiteral("corvex_copying");

// The rule that a bird always has its flyer, kept by the file itself for every connection.
QStringList guardStatements()
{
    const QString notCopying =
        QStringLiteral("NOT EXISTS (SELECT 1 FROM sqlite_master WHERE name = '%1')").arg(kCopyingMark);
    const QString noFlyer =
        QStringLiteral("NOT EXISTS (SELECT 1 FROM flyerlist WHERE FlyerID = NEW.BirdFlyerID)");
    const QString refuseBird =
        QStringLiteral("BEGIN SELECT RAISE(ABORT, 'The flyer of this bird does not exist.'); END");
    return {
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS birds_need_flyer BEFORE INSERT ON birds WHEN %1 AND %2 %3")
            .arg(noFlyer, notCopying, refuseBird),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS birds_keep_flyer BEFORE UPDATE OF BirdFlyerID ON birds "
                       "WHEN %1 AND %2 %3")
            .arg(noFlyer, notCopying, refuseBird),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS flyerlist_keep_birds BEFORE DELETE ON flyerlist WHEN "
                       "EXISTS (SELECT 1 FROM birds WHERE BirdFlyerID = OLD.FlyerID) AND %1 "
                       "BEGIN SELECT RAISE(ABORT, 'The flyer still has birds.'); END")
            .arg(notCopying),
    };
}
const QStringList kGuardNames = {QStringLiteral("birds_need_flyer"), QStringLiteral("birds_keep_flyer"),
                                 QStringLiteral("flyerlist_keep_birds")};

// --- text comparison as the program has always had it: letter case and trailing spaces do not count

int withoutTrailingSpaces(const char* text, int length)
{
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return length;
}

bool isAscii(const char* text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

QString folded(const char* text, int length)
{
    return QString::fromUtf8(text, length).toCaseFolded();
}

// The ASCII path is the Unicode path restricted to ASCII, so the order stays one total order (indexes
// rely on it).
int compareText(void*, int length1, const void* data1, int length2, const void* data2)
{
    const auto* a = static_cast<const char*>(data1);
    const auto* b = static_cast<const char*>(data2);
    length1 = withoutTrailingSpaces(a, length1);
    length2 = withoutTrailingSpaces(b, length2);
    if (isAscii(a, length1) && isAscii(b, length2)) {
        const int common = std::min(length1, length2);
        for (int i = 0; i < common; ++i) {
            const char x = asciiLower(a[i]);
            const char y = asciiLower(b[i]);
            if (x != y)
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        }
        return length1 == length2 ? 0 : (length1 < length2 ? -1 : 1);
    }
    const int order = QString::compare(folded(a, length1), folded(b, length2), Qt::CaseSensitive);
    return order == 0 ? 0 : (order < 0 ? -1 : 1);
}

// LIKE with % and _ (and an optional escape character), ignoring letter case for every letter, not only
// for ASCII as SQLite's own does.
bool likeMatches(QStringView pattern, QStringView text, QChar escape)
{
    enum class Kind { Any, One, Literal };
    struct Token {
        Kind kind;
        QChar c;
    };
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (!escape.isNull() && c == escape && i + 1 < pattern.size())
            tokens.push_back({Kind::Literal, pattern[++i]});
        else if (c == u'%')
            tokens.push_back({Kind::Any, c});
        else if (c == u'_')
            tokens.push_back({Kind::One, c});
        else
            tokens.push_back({Kind::Literal, c});
    }
    size_t i = 0;
    qsizetype t = 0;
    std::optional<size_t> star;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (i < tokens.size() &&
            (tokens[i].kind == Kind::One || (tokens[i].kind == Kind::Literal && tokens[i].c == text[t]))) {
            ++i;
            ++t;
        } else if (i < tokens.size() && tokens[i].kind == Kind::Any) {
            star = i++;
            starText = t;
        } else if (star) {
            i = *star + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (i < tokens.size() && tokens[i].kind == Kind::Any)
        ++i;
    return i == tokens.size();
}

QString argumentText(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(value)) : QString();
}

void likeFunction(sqlite3_context* context, int count, sqlite3_value** values)
{
    if (sqlite3_value_type(values[0]) == SQLITE_NULL || sqlite3_value_type(values[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    QChar escape;
    if (count == 3) {
        const QString escapeText = argumentText(values[2]);
        if (escapeText.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = escapeText.at(0).toCaseFolded();
    }
    const QString pattern = argumentText(values[0]).toCaseFolded();
    const QString text = argumentText(values[1]).toCaseFolded();
    sqlite3_result_int(context, likeMatches(pattern, text, escape) ? 1 : 0);
}

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool registerTextFunctions(sqlite3* handle)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_collation(handle, kCollation.toLatin1().constData(), SQLITE_UTF8, nullptr,
                                    compareText) == SQLITE_OK &&
           sqlite3_create_function(handle, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(handle, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) ==
               SQLITE_OK;
}

int nativeCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : -1;
}

int primaryCode(const QSqlError& error)
{
    const int code = nativeCode(error);
    return code < 0 ? code : (code & 0xFF);
}

DbResult inUse(const QString& why)
{
    return DbResult::failure(DbError::InUse, why);
}

DbResult runPragma(QSqlDatabase& db, const QString& statement, QVariant* value = nullptr)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        return DbResult::fromSqlError(query.lastError());
    if (value)
        *value = query.next() ? query.value(0) : QVariant();
    return {};
}

DbResult runAll(QSqlDatabase& db, const QStringList& statements)
{
    for (const QString& statement : statements) {
        const DbResult status = runPragma(db, statement);
        if (!status.ok())
            return status;
    }
    return {};
}

bool hasWriteAccess(const QString& path)
{
    // A file without any write permission bit is read only for us even where the system would let the
    // super-user write it.
    const QFile::Permissions permissions = QFile::permissions(path);
    const bool writeBit = permissions & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
    return writeBit && ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

DbResult readOnlyResult(const QString& path)
{
    return DbResult::failure(DbError::ReadOnly,
                             QStringLiteral("Cannot open '%1' for writing: it is read only.").arg(path));
}

DbResult notOurs(const QString& path, const QString& why)
{
    return DbResult::failure(DbError::NotOurDatabase,
                             QStringLiteral("'%1' is not a database of this program: %2").arg(path, why));
}

// The schema version and the names of the user tables, read by one statement: the first statement on a
// connection also reads the schema, so checking the file costs little more than opening it.
struct FileIdentity {
    int version = 0;
    QStringList tables;
    QStringList triggers;
};

DbResult readIdentity(QSqlDatabase& db, FileIdentity& identity)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT v.user_version, m.type, m.name FROM pragma_user_version AS v "
                                   "LEFT JOIN sqlite_master AS m ON m.type IN ('table', 'trigger') "
                                   "AND m.name NOT LIKE 'sqlite!_%' ESCAPE '!'")))
        return DbResult::fromSqlError(query.lastError());
    while (query.next()) {
        identity.version = query.value(0).toInt();
        if (!query.isNull(2))
            (query.value(1).toString() == QLatin1String("table") ? identity.tables : identity.triggers)
                << query.value(2).toString();
    }
    if (query.lastError().isValid())
        return DbResult::fromSqlError(query.lastError());
    return {};
}

// Is the open file ours? An empty file (just created) counts as ours when allowEmpty.
DbResult checkIdentity(QSqlDatabase& db, const QString& path, bool allowEmpty, FileIdentity& identity)
{
    DbResult result = readIdentity(db, identity);
    if (result.code == DbError::Damaged)
        return DbResult::failure(
            DbError::Damaged,
            QStringLiteral("The database file '%1' is damaged: %2").arg(path, result.description));
    if (!result.ok()) {
        if (result.code == DbError::General || result.code == DbError::NotOurDatabase)
            return notOurs(path, QStringLiteral("unrecognized database format."));
        return result;
    }
    const int number = identity.version;
    if (number == 0) {
        if (allowEmpty && identity.tables.isEmpty())
            return {};
        return notOurs(path, QStringLiteral("it holds no Corvex tables."));
    }
    if (number > kSchemaVersion)
        return notOurs(path, QStringLiteral("it was made by a newer version of Corvex Admin (schema %1, "
                                            "this program knows %2).")
                                 .arg(number)
                                 .arg(kSchemaVersion));
    if (number != kSchemaVersion)
        return notOurs(path, QStringLiteral("unknown schema version %1.").arg(number));
    for (const TableShape& table : expectedTables()) {
        if (!identity.tables.contains(table.name, Qt::CaseInsensitive))
            return notOurs(path, QStringLiteral("table %1 is missing.").arg(table.name));
    }
    return {};
}

// The four tables and their indexes in an empty file (no transaction of its own). Empty when it worked,
// else the failing statement's error.
QString createSchema(QSqlDatabase& db)
{
    const QString text = QStringLiteral("TEXT COLLATE ") + kCollation;
    const QString counter = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QStringList statements = {
        QStringLiteral("CREATE TABLE clubs (ClubID %1, ClubName %2)").arg(counter, text),
        QStringLiteral("CREATE TABLE flyerlist (FlyerID %1, ClubID INTEGER, Name %2, Address %2, "
                       "CityStateZip %2, email %2, Phone %2, Longitude %2, Latitude %2)")
            .arg(counter, text),
        QStringLiteral("CREATE TABLE birds (BirdFlyerID INTEGER, NatOrg %1, HatchYr %1, clubletters %1, "
                       "bnumber %1, sex %1, elecnumber %1, color %1, type %1)")
            .arg(text),
        QStringLiteral("CREATE TABLE orte (racenum %1, racedate %1, racename %1, racetype %1, latitude %1, "
                       "longitude %1, libtime %1, night %1)")
            .arg(text),
        // bnumber first: the same index serves the look-up by club letters and number alone.
        QStringLiteral("CREATE INDEX birds_band ON birds (bnumber, clubletters, NatOrg, HatchYr)"),
        QStringLiteral("CREATE INDEX birds_elecnumber ON birds (elecnumber)"),
        QStringLiteral("CREATE INDEX birds_flyer ON birds (BirdFlyerID)"),
        QStringLiteral("CREATE INDEX flyerlist_name ON flyerlist (Name)"),
    };
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement))
            return statement + QStringLiteral(": ") + query.lastError().text();
    }
    return {};
}

DbResult createInto(QSqlDatabase& db)
{
    if (!db.transaction())
        return DbResult::fromSqlError(db.lastError());
    const QString failure = createSchema(db);
    if (!failure.isEmpty()) {
        db.rollback();
        return DbResult::failure(DbError::General, failure);
    }
    DbResult marked = runAll(db, guardStatements());
    if (marked.ok())
        marked = runPragma(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    if (!marked.ok()) {
        db.rollback();
        return marked;
    }
    if (!db.commit())
        return DbResult::fromSqlError(db.lastError());
    return {};
}

enum class OpenMode { ReadWrite, Create };

DbResult openConnection(const QString& path, const QString& name, OpenMode mode)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // A URI with mode=rw: a file that vanished after our checks is an error, never a new empty file.
    QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += mode == OpenMode::Create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    db.setDatabaseName(uri);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        if (primaryCode(error) == SQLITE_CANTOPEN && !QFileInfo::exists(path))
            return DbResult::failure(DbError::FileNotFound,
                                     QStringLiteral("Could not find file '%1'.").arg(path));
        return DbResult::fromSqlError(error);
    }
    sqlite3* handle = handleOf(db);
    if (!handle || !registerTextFunctions(handle))
        return DbResult::failure(DbError::General,
                                 QStringLiteral("The SQLite driver does not allow the text comparison "
                                                "functions to be registered."));
    if (sqlite3_db_readonly(handle, "main") == 1)
        return readOnlyResult(path);
    return runPragma(db, QStringLiteral("PRAGMA foreign_keys = OFF"));
}

// Opens the file that is at path now and checks that it is ours. While a compaction holds the file the
// first read waits; when the file was replaced meanwhile, the new one is opened instead.
DbResult openCurrentFile(const QString& path, const QString& name, bool damagedOk, FileIdentity& identity)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        DbResult result = openConnection(path, name, OpenMode::ReadWrite);
        bool replaced = false;
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (result.ok()) {
                identity = {};
                result = checkIdentity(db, path, false, identity);
            }
            if (result.code == DbError::Damaged && damagedOk)
                result = {};
            // A file replaced meanwhile can fail in any way (its journal is the new file's): open anew.
            replaced = SqliteEngine::fileReplaced(db);
        }
        if (!replaced)
            return result;
        DatabaseDetail::closeConnection(name);
        if (waited.elapsed() > kBusyTimeoutMs)
            return inUse(QStringLiteral("The database is being replaced by another connection."));
    }
}

// Write-ahead logging lets readers and one writer work at once, and keeps every connection's shared
// lock visible to a compaction. A file found in another mode is switched, but never by waiting: a
// compaction holding the file may be about to replace it.
DbResult useWriteAheadLog(QSqlDatabase& db)
{
    QVariant mode;
    DbResult result = runPragma(db, QStringLiteral("PRAGMA journal_mode"), &mode);
    if (!result.ok() || mode.toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return result;
    sqlite3* handle = handleOf(db);
    sqlite3_busy_timeout(handle, 0);
    result = runPragma(db, QStringLiteral("PRAGMA journal_mode = WAL"), &mode);
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    if (result.ok() && SqliteEngine::fileReplaced(db))
        return inUse(QStringLiteral("The database was replaced while it was opened."));
    return result;
}

// Brings a file made by an older version up to date, all or nothing. missing() is asked again once the lock
// is held: another program may have made the same change while this one waited for it.
DbResult upgrade(QSqlDatabase& db, const std::function<QStringList()>& missing)
{
    if (missing().isEmpty())
        return {};
    DbResult result = runPragma(db, QStringLiteral("BEGIN IMMEDIATE"));
    if (!result.ok())
        return result;
    result = SqliteEngine::fileReplaced(db) ? inUse(QStringLiteral("The database was replaced."))
                                            : runAll(db, missing());
    if (result.ok())
        return runPragma(db, QStringLiteral("COMMIT"));
    runPragma(db, QStringLiteral("ROLLBACK"));
    return result;
}

// Older files lack the rule that a bird needs its flyer and the fields added since; both are added on
// their first ordinary open.
DbResult addMissingParts(QSqlDatabase& db, const FileIdentity& identity)
{
    bool complete = true;
    for (const QString& guard : kGuardNames)
        complete = complete && identity.triggers.contains(guard);
    DbResult result = complete ? DbResult{} : upgrade(db, guardStatements);
    if (result.ok())
        result = upgrade(db, [&db] { return laterFieldStatements(db, sqliteEngine().textType()); });
    return result;
}

// Takes the file for this connection alone until it closes: leaving write-ahead logging needs every other
// connection closed (that is the test that nobody holds it), and the exclusive locking mode keeps the lock
// from then on. The holder only reads: its journal is kept in memory, so that no journal file is left
// beside the file when it lets go.
DbResult holdAlone(QSqlDatabase& db)
{
    QVariant mode;
    DbResult result = runPragma(db, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    if (result.ok())
        result = runPragma(db, QStringLiteral("PRAGMA journal_mode = DELETE"), &mode);
    if (result.ok() && mode.toString().compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
        result = inUse({});
    if (result.ok())
        result = runPragma(db, QStringLiteral("PRAGMA journal_mode = MEMORY"));
    // A file that was in the rollback journal mode already is locked by a first write.
    if (result.ok())
        result = runAll(db, {QStringLiteral("BEGIN EXCLUSIVE"), QStringLiteral("COMMIT")});
    if (result.code == DbError::InUse)
        result = inUse(QStringLiteral("The database is opened by another connection."));
    return result;
}

DbResult execute(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) ? DbResult{} : DbResult::fromSqlError(query.lastError());
}

DbResult openExisting(const QString& path, const QString& name, DatabaseDetail::Hold hold, bool damagedOk,
                      FileIdentity& identity)
{
    const QFileInfo info(path);
    if (!info.exists())
        return DbResult::failure(DbError::FileNotFound,
                                 QStringLiteral("Could not find file '%1'.").arg(path));
    if (!info.isFile())
        return notOurs(path, QStringLiteral("it is not a file."));
    if (!hasWriteAccess(path) || !hasWriteAccess(info.absolutePath()))
        return readOnlyResult(path);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        DbResult result = openCurrentFile(path, name, damagedOk, identity);
        if (!result.ok() || hold == DatabaseDetail::Hold::Shared)
            return result;
        bool replaced = false;
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            result = holdAlone(db);
            // Another compaction may have replaced the file between the open and the hold.
            replaced = result.ok() && SqliteEngine::fileReplaced(db);
        }
        if (!replaced || waited.elapsed() > kBusyTimeoutMs)
            return result;
        DatabaseDetail::closeConnection(name);
    }
}

} // namespace

const DatabaseEngine& sqliteEngine()
{
    static const SqliteEngine engine;
    return engine;
}

QString SqliteEngine::locationKey(const QString& location) const
{
    const QFileInfo info(location);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool SqliteEngine::mayHoldData(const QString& location) const
{
    return QFileInfo::exists(location);
}

DbResult SqliteEngine::open(const QString& path, const QString& name, bool createIfMissing) const
{
    const QFileInfo info(path);
    if (!info.exists() && createIfMissing) {
        if (!MakePrivateFolder(info.absolutePath()) || !CreatePrivateFile(path))
            return readOnlyResult(path);
        DbResult result = openConnection(path, name, OpenMode::Create);
        if (result.ok()) {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            FileIdentity identity;
            result = checkIdentity(db, path, true, identity);
            if (result.ok())
                result = runPragma(db, QStringLiteral("PRAGMA journal_mode = WAL"));
            if (result.ok())
                result = createInto(db);
        }
        if (!result.ok()) {
            DatabaseDetail::closeConnection(name);
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                QFile::remove(path + QLatin1String(suffix));
        }
        return result;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        FileIdentity identity;
        DbResult result = openExisting(path, name, DatabaseDetail::Hold::Shared, false, identity);
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (result.ok())
                result = useWriteAheadLog(db);
            if (result.ok())
                result = addMissingParts(db, identity);
        }
        if (result.ok())
            return result;
        DatabaseDetail::closeConnection(name);
        if (result.code != DbError::InUse || waited.elapsed() > kBusyTimeoutMs)
            return result;
        QThread::msleep(20);
    }
}

DbResult SqliteEngine::openUnregistered(const QString& path, const QString& name, DatabaseDetail::Hold hold,
                                        bool damagedOk) const
{
    FileIdentity identity;
    DbResult result = openExisting(path, name, hold, damagedOk, identity);
    if (!result.ok() || damagedOk)
        return result;
    bool behind = false;
    {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        behind = !laterFieldStatements(db, textType()).isEmpty();
    }
    if (!behind)
        return result;
    // Compacting and checking work on the fields of today: an ordinary open adds them first.
    DatabaseDetail::closeConnection(name);
    result = open(path, name, false);
    DatabaseDetail::closeConnection(name);
    return result.ok() ? openExisting(path, name, hold, damagedOk, identity) : result;
}

DbResult SqliteEngine::mapError(const QSqlError& error) const
{
    QString description = error.text().trimmed();
    if (description.isEmpty())
        description = QStringLiteral("Unknown database error.");
    switch (primaryCode(error)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbResult::failure(DbError::InUse, description);
    case SQLITE_READONLY:
        if (nativeCode(error) == SQLITE_READONLY_DBMOVED)
            return DbResult::failure(DbError::InUse,
                                     QStringLiteral("The database was replaced while it was open."));
        return DbResult::failure(DbError::ReadOnly, description);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DbResult::failure(DbError::Damaged, description);
    case SQLITE_CONSTRAINT:
        // The file's own rules speak for themselves.
        if (nativeCode(error) == SQLITE_CONSTRAINT_TRIGGER)
            return DbResult::failure(DbError::NoCurrentRecord, error.databaseText().trimmed());
        return DbResult::failure(DbError::General, description);
    default:
        return DbResult::failure(DbError::General, description);
    }
}

QString SqliteEngine::counterKey() const
{
    return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString SqliteEngine::textType() const
{
    return QStringLiteral("TEXT COLLATE ") + kCollation;
}

QString SqliteEngine::rowIdColumn() const
{
    return kRowIdColumn;
}

DbResult SqliteEngine::begin(const QSqlDatabase& db, bool writing) const
{
    // Writers take the write lock at once: a transaction that first reads and then writes could not
    // wait for another writer and would fail at once instead.
    DbResult status = execute(db, writing ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    if (status.ok() && writing && fileReplaced(db)) {
        execute(db, QStringLiteral("ROLLBACK"));
        status = inUse(QStringLiteral("The database was compacted or repaired while this connection was "
                                      "open; close the window and open it again."));
    }
    return status;
}

DbResult SqliteEngine::step(const QSqlDatabase& db, const std::function<DbResult()>& statement,
                            bool& transactionLost) const
{
    const DbResult status = statement();
    // A few failures (a full disk) end the whole transaction, not only the statement.
    if (!status.ok() && sqlite3_get_autocommit(handleOf(db)))
        transactionLost = true;
    return status;
}

DbResult SqliteEngine::admitOrphanBirds(const QSqlDatabase& db) const
{
    return execute(db, QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (x INTEGER)").arg(kCopyingMark));
}

DbResult SqliteEngine::commit(const QSqlDatabase& db, bool admitted) const
{
    DbResult result;
    if (admitted)
        result = execute(db, QStringLiteral("DROP TABLE %1").arg(kCopyingMark));
    if (result.ok())
        result = execute(db, QStringLiteral("COMMIT"));
    if (!result.ok())
        execute(db, QStringLiteral("ROLLBACK"));
    return result;
}

DbResult SqliteEngine::lockKey(const QSqlDatabase&, const QString&) const
{
    // The file's writers are serialised already.
    return {};
}

DbResult SqliteEngine::continueCounters(const QSqlDatabase&) const
{
    // The file's counters follow its largest key by themselves.
    return {};
}

DbResult SqliteEngine::compactInPlace(const QSqlDatabase&) const
{
    return DbResult::failure(DbError::General, QStringLiteral("A database file is compacted by copying."));
}

DbResult SqliteEngine::reindex(const QSqlDatabase& db) const
{
    return execute(db, QStringLiteral("REINDEX"));
}

bool SqliteEngine::fileReplaced(const QSqlDatabase& db)
{
    sqlite3* handle = db.isOpen() ? handleOf(db) : nullptr;
    int moved = 0;
    return handle && sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
           moved != 0;
}

void SqliteEngine::beforeClose(const QSqlDatabase& db)
{
    // The log beside the path belongs to the file now there: a connection left on the file it replaced
    // must neither copy that log into its own file nor delete it.
    if (sqlite3* handle = handleOf(db); handle && fileReplaced(db))
        sqlite3_db_config(handle, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}
