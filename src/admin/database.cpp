#include "admin/database.h"

#include "admin/postgres_engine.h"
#include "admin/schema.h"
#include "platform/home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <map>
#include <optional>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

namespace {

const QString kCollation = QStringLiteral("CVXTEXT");
constexpr int kBusyTimeoutMs = 5000;

std::map<QString, QString>& registry() // connection name -> file
{
    static std::map<QString, QString> connections;
    return connections;
}

QString fileKey(const QString& path)
{
    if (Postgres::isServerUri(path))
        return path;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QString nextConnectionName()
{
    static int counter = 0;
    return QStringLiteral("corvexdata-%1").arg(++counter);
}

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

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : -1;
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
};

DbResult readIdentity(QSqlDatabase& db, FileIdentity& identity)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT v.user_version, m.name FROM pragma_user_version AS v "
                                   "LEFT JOIN sqlite_master AS m ON m.type = 'table' "
                                   "AND m.name NOT LIKE 'sqlite!_%' ESCAPE '!'")))
        return DbResult::fromSqlError(query.lastError());
    while (query.next()) {
        identity.version = query.value(0).toInt();
        if (!query.isNull(1))
            identity.tables << query.value(1).toString();
    }
    if (query.lastError().isValid())
        return DbResult::fromSqlError(query.lastError());
    return {};
}

// Is the open file ours? An empty file (just created) counts as ours when allowEmpty.
DbResult checkIdentity(QSqlDatabase& db, const QString& path, bool allowEmpty)
{
    FileIdentity identity;
    DbResult result = readIdentity(db, identity);
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

DbResult createInto(QSqlDatabase& db)
{
    if (!db.transaction())
        return DbResult::fromSqlError(db.lastError());
    const QString failure = createSchema(db);
    if (!failure.isEmpty()) {
        db.rollback();
        return DbResult::failure(DbError::General, failure);
    }
    const DbResult marked = runPragma(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
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

} // namespace

DbResult DbResult::fromSqlError(const QSqlError& error)
{
    // The server's SQLSTATE has five characters; SQLite's numbers have at most four digits.
    if (error.nativeErrorCode().size() == 5)
        return Postgres::fromSqlError(error);
    QString description = error.text().trimmed();
    if (description.isEmpty())
        description = QStringLiteral("Unknown database error.");
    switch (primaryCode(error)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return failure(DbError::Locked, description);
    case SQLITE_READONLY:
        return failure(DbError::ReadOnly, description);
    case SQLITE_NOTADB:
        return failure(DbError::NotOurDatabase, description);
    default:
        return failure(DbError::General, description);
    }
}

QString InitDatabasePath(const Home& home)
{
    if (!home.databaseServer.isEmpty())
        return home.databaseServer;
    return QDir(home.dataFolder).filePath(kDatabaseFileName);
}

namespace SqlDialect {
QString counterKey()
{
    return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}
QString textType()
{
    return QStringLiteral("TEXT COLLATE ") + kCollation;
}
QString rowIdColumn()
{
    return QStringLiteral("rowid");
}
} // namespace SqlDialect

namespace DatabaseDetail {

DbResult openUnregistered(const QString& path, QString& name, bool exclusiveAccess)
{
    name = nextConnectionName();
    if (Postgres::isServerUri(path))
        return Postgres::open(path, name, false);
    const QFileInfo info(path);
    if (!info.exists())
        return DbResult::failure(DbError::FileNotFound,
                                 QStringLiteral("Could not find file '%1'.").arg(path));
    if (!info.isFile())
        return notOurs(path, QStringLiteral("it is not a file."));
    if (!hasWriteAccess(path) || !hasWriteAccess(info.absolutePath()))
        return readOnlyResult(path);
    DbResult result = openConnection(path, name, OpenMode::ReadWrite);
    if (!result.ok())
        return result;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    result = checkIdentity(db, path, false);
    if (!result.ok())
        return result;
    if (exclusiveAccess) {
        // Leaving WAL needs every other connection (of any process) closed: that is the test.
        QVariant mode;
        result = runPragma(db, QStringLiteral("PRAGMA journal_mode = DELETE"), &mode);
        if (result.code == DbError::Locked || (result.ok() && mode.toString().toLower() != "delete"))
            return DbResult::failure(DbError::InUse, QStringLiteral("The database is opened by another "
                                                                    "connection."));
    }
    return result;
}

void closeConnection(const QString& name)
{
    if (name.isEmpty() || !QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace DatabaseDetail

Database::~Database()
{
    close();
}

DbResult Database::open(const QString& path, bool createIfMissing)
{
    close();
    const QFileInfo info(path);
    QString name;
    DbResult result;
    if (Postgres::isServerUri(path)) {
        name = nextConnectionName();
        result = Postgres::open(path, name, createIfMissing);
        if (!result.ok()) {
            DatabaseDetail::closeConnection(name);
            return result;
        }
    } else if (!info.exists() && createIfMissing) {
        if (!QDir().mkpath(info.absolutePath()))
            return readOnlyResult(path);
        name = nextConnectionName();
        result = openConnection(path, name, OpenMode::Create);
        if (result.ok()) {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            result = checkIdentity(db, path, true);
            if (result.ok())
                result = runPragma(db, QStringLiteral("PRAGMA journal_mode = WAL"));
            if (result.ok())
                result = createInto(db);
        }
        if (!result.ok()) {
            DatabaseDetail::closeConnection(name);
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                QFile::remove(path + QLatin1String(suffix));
            return result;
        }
    } else {
        result = DatabaseDetail::openUnregistered(path, name);
        if (result.ok()) {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            QVariant mode;
            result = runPragma(db, QStringLiteral("PRAGMA journal_mode = WAL"), &mode);
            if (result.code == DbError::Locked)
                result =
                    DbResult::failure(DbError::InUse, QStringLiteral("The database is opened "
                                                                     "exclusively by another connection."));
        }
        if (!result.ok()) {
            DatabaseDetail::closeConnection(name);
            return result;
        }
    }
    m_name = name;
    m_path = path;
    m_server = Postgres::isServerUri(path);
    registry()[m_name] = fileKey(path);
    return {};
}

void Database::close()
{
    if (m_name.isEmpty())
        return;
    if (m_depth > 0) {
        QSqlDatabase::database(m_name, false).rollback();
        m_depth = 0;
        m_failed = false;
    }
    registry().erase(m_name);
    DatabaseDetail::closeConnection(m_name);
    m_name.clear();
    m_path.clear();
    m_server = false;
}

QSqlDatabase Database::connection() const
{
    return m_name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(m_name, false);
}

DbResult Database::begin()
{
    if (!isOpen())
        return DbResult::failure(DbError::General, QStringLiteral("The database is not open."));
    if (m_depth == 0) {
        QSqlDatabase db = connection();
        if (!db.transaction())
            return DbResult::fromSqlError(db.lastError());
        m_failed = false;
    }
    ++m_depth;
    return {};
}

DbResult Database::inTransaction(const std::function<DbResult()>& work)
{
    DbResult status = begin();
    if (!status.ok())
        return status;
    status = work();
    if (!status.ok()) {
        rollback();
        return status;
    }
    return commit();
}

DbResult Database::commit()
{
    if (m_depth == 0)
        return DbResult::failure(DbError::General, QStringLiteral("No transaction to commit."));
    if (--m_depth > 0)
        return {};
    QSqlDatabase db = connection();
    if (m_failed) {
        db.rollback();
        m_failed = false;
        return DbResult::failure(DbError::General, QStringLiteral("The changes were rolled back."));
    }
    if (!db.commit()) {
        const DbResult result = DbResult::fromSqlError(db.lastError());
        db.rollback();
        return result;
    }
    return {};
}

void Database::rollback()
{
    if (m_depth == 0)
        return;
    if (--m_depth > 0) {
        m_failed = true;
        return;
    }
    connection().rollback();
    m_failed = false;
}

DbResult Database::lockKey(const QString& key)
{
    if (m_depth == 0)
        return DbResult::failure(DbError::General,
                                 QStringLiteral("A key is only taken inside a transaction."));
    if (!m_server)
        return {};
    const DbResult result = Postgres::lockKey(connection(), key);
    if (!result.ok())
        m_failed = true;
    return result;
}

int openConnectionCount(const QString& path)
{
    const QString key = fileKey(path);
    int count = 0;
    for (const auto& [name, file] : registry())
        count += file == key ? 1 : 0;
    return count;
}
