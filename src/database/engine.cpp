#include "database/engine.h"

#include "database/postgres_engine.h"
#include "database/sqlite_engine.h"

#include <QSqlDatabase>
#include <QSqlError>

const DatabaseEngine& engineFor(const QString& location)
{
    return Postgres::isServerUri(location) ? postgresEngine() : sqliteEngine();
}

DbResult DbResult::fromSqlError(const QSqlError& error)
{
    // The server's SQLSTATE has five characters; SQLite's numbers have at most four digits.
    return (error.nativeErrorCode().size() == 5 ? postgresEngine() : sqliteEngine()).mapError(error);
}

namespace DatabaseDetail {

void closeConnection(const QString& name)
{
    if (name.isEmpty() || !QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        SqliteEngine::beforeClose(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace DatabaseDetail
