#include "database/database.h"

#include "database/schema.h"
#include "platform/home.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <map>

namespace {

std::map<QString, QString>& registry() // connection name -> location key
{
    static std::map<QString, QString> connections;
    return connections;
}

QString nextConnectionName()
{
    static std::atomic<int> counter = 0;
    return QStringLiteral("corvexdata-%1").arg(++counter);
}

DbResult execute(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) ? DbResult{} : DbResult::fromSqlError(query.lastError());
}

DbResult rolledBack()
{
    return DbResult::failure(DbError::General, QStringLiteral("The changes were rolled back."));
}

} // namespace

QString InitDatabasePath(const Home& home)
{
    if (!home.databaseServer.isEmpty())
        return home.databaseServer;
    return QDir(home.dataFolder).filePath(kDatabaseFileName);
}

namespace DatabaseDetail {

DbResult openUnregistered(const QString& path, QString& name, Hold hold, bool damagedOk)
{
    name = nextConnectionName();
    return engineFor(path).openUnregistered(path, name, hold, damagedOk);
}

} // namespace DatabaseDetail

Database::~Database()
{
    close();
}

DbResult Database::open(const QString& path, bool createIfMissing)
{
    close();
    const DatabaseEngine& engine = engineFor(path);
    const QString name = nextConnectionName();
    const DbResult result = engine.open(path, name, createIfMissing);
    if (!result.ok()) {
        DatabaseDetail::closeConnection(name);
        return result;
    }
    m_name = name;
    m_path = path;
    m_engine = &engine;
    registry()[m_name] = engine.locationKey(path);
    return {};
}

void Database::close()
{
    if (m_name.isEmpty())
        return;
    if (m_depth > 0) {
        execute(connection(), QStringLiteral("ROLLBACK"));
        m_depth = 0;
        m_failed = false;
        m_admitting = false;
    }
    registry().erase(m_name);
    DatabaseDetail::closeConnection(m_name);
    m_name.clear();
    m_path.clear();
    m_engine = nullptr;
}

QSqlDatabase Database::connection() const
{
    return m_name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(m_name, false);
}

DbResult Database::begin(Access access)
{
    if (!isOpen())
        return DbResult::failure(DbError::General, QStringLiteral("The database is not open."));
    if (m_depth == 0) {
        const DbResult status = m_engine->begin(connection(), access == Access::Write);
        if (!status.ok())
            return status;
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

DbResult Database::writing(const std::function<DbResult()>& statement)
{
    if (m_depth > 0 || !isOpen() || !m_engine->statementNeedsTransaction())
        return statement();
    return inTransaction(statement);
}

DbResult Database::step(const std::function<DbResult()>& statement)
{
    if (m_depth == 0)
        return statement();
    if (m_failed)
        return rolledBack();
    return m_engine->step(connection(), statement, m_failed);
}

DbResult Database::admitOrphanBirds()
{
    if (m_depth == 0)
        return DbResult::failure(DbError::General, QStringLiteral("Orphan birds are only admitted inside a "
                                                                  "transaction."));
    const DbResult status = m_engine->admitOrphanBirds(connection());
    m_admitting = m_admitting || status.ok();
    return status;
}

DbResult Database::commit()
{
    if (m_depth == 0)
        return DbResult::failure(DbError::General, QStringLiteral("No transaction to commit."));
    if (--m_depth > 0)
        return {};
    const bool admitted = m_admitting;
    m_admitting = false;
    if (m_failed) {
        execute(connection(), QStringLiteral("ROLLBACK"));
        m_failed = false;
        return rolledBack();
    }
    return m_engine->commit(connection(), admitted);
}

void Database::rollback()
{
    if (m_depth == 0)
        return;
    if (--m_depth > 0) {
        m_failed = true;
        return;
    }
    execute(connection(), QStringLiteral("ROLLBACK"));
    m_failed = false;
    m_admitting = false;
}

DbResult Database::lockKey(const QString& key)
{
    if (m_depth == 0)
        return DbResult::failure(DbError::General,
                                 QStringLiteral("A key is only taken inside a transaction."));
    const DbResult result = m_engine->lockKey(connection(), key);
    if (!result.ok())
        m_failed = true;
    return result;
}

int openConnectionCount(const QString& path)
{
    const QString key = engineFor(path).locationKey(path);
    int count = 0;
    for (const auto& [name, file] : registry())
        count += file == key ? 1 : 0;
    return count;
}
