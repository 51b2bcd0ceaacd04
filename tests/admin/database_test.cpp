#include "admin/database.h"
#include "admin/schema.h"
#include "platform/home.h"
#include "support/database_builder.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool exec(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    return query.exec(sql);
}

} // namespace

CORVEX_ON_EVERY_ENGINE(Schema);
CORVEX_ON_EVERY_ENGINE(SharedConnections);
CORVEX_ON_EVERY_ENGINE(DatabaseTransactions);

TEST(DatabasePath, LiesInTheHomesDataFolder)
{
    EXPECT_EQ(InitDatabasePath(Home::under(QStringLiteral("/srv/club"))),
              QStringLiteral("/srv/club/corvexdata.db"));
    EXPECT_EQ(InitDatabasePath(Home::under(QStringLiteral("/"))), QStringLiteral("/corvexdata.db"));
}

TEST_P(Schema, HasExactlyTheExpectedTablesAndFields)
{
    TestDatabase test(GetParam());
    const QSqlDatabase db = test.database().connection();
    EXPECT_TRUE(schemaProblems(db).isEmpty()) << schemaProblems(db).join('\n').toStdString();

    // Both directions: a missing field and a stray one are each reported.
    ASSERT_TRUE(exec(db, QStringLiteral("ALTER TABLE orte ADD COLUMN extra TEXT")));
    ASSERT_TRUE(exec(db, QStringLiteral("CREATE TABLE stray (x INTEGER)")));
    ASSERT_TRUE(exec(db, QStringLiteral("DROP TABLE clubs")));
    const QStringList problems = schemaProblems(db);
    EXPECT_TRUE(problems.contains(QStringLiteral("field orte.extra does not belong")));
    EXPECT_TRUE(problems.contains(QStringLiteral("table stray does not belong")));
    EXPECT_TRUE(problems.contains(QStringLiteral("table clubs is missing")));
    EXPECT_EQ(problems.size(), 3);
}

TEST(DatabaseOpen, MissingFileIsReportedAndNeverCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    Database database;
    const DbResult result = database.open(path);
    EXPECT_EQ(result.code, DbError::FileNotFound);
    EXPECT_FALSE(database.isOpen());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(DatabaseOpen, FirstRunCreatesTheFolderAndSchemaThenReopens)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new/home/") + kDatabaseFileName);
    {
        Database database;
        const DbResult created = database.open(path, true);
        ASSERT_TRUE(created.ok()) << created.code << created.description.toStdString();
        EXPECT_TRUE(schemaProblems(database.connection()).isEmpty());
        AdminData data(database);
        EXPECT_TRUE(data.addClub(QStringLiteral("Riverside")).ok());
    }
    Database again;
    ASSERT_TRUE(again.open(path).ok());
    EXPECT_EQ(AdminData(again).countClubs().value, 1);
}

TEST(DatabaseOpen, FilesThatAreNotOursGive3031)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("garbage.db"));
    writeFile(garbage, QByteArray("This is a text file, not a database at all.\n").repeated(100));
    Database database;
    EXPECT_EQ(database.open(garbage).code, DbError::NotOurDatabase);

    // An SQLite file of some other program.
    const QString foreign = dir.filePath(QStringLiteral("foreign.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(foreign);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(exec(db, QStringLiteral("CREATE TABLE notes (text TEXT)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    EXPECT_EQ(database.open(foreign).code, DbError::NotOurDatabase);

    // Ours, but written by a newer version.
    TestDatabase newer;
    ASSERT_TRUE(exec(newer.database().connection(),
                     QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1)));
    const DbResult result = database.open(newer.path());
    EXPECT_EQ(result.code, DbError::NotOurDatabase);
    EXPECT_TRUE(result.description.contains(QStringLiteral("newer"))) << result.description.toStdString();
    EXPECT_FALSE(database.isOpen());
}

TEST(DatabaseOpen, ReadOnlyFileGives3051)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    {
        Database database;
        ASSERT_TRUE(database.open(path, true).ok());
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    Database database;
    EXPECT_EQ(database.open(path).code, DbError::ReadOnly);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(database.open(path).ok());
}

TEST(DatabaseOpen, ReadOnlyFolderGives3051)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the super-user may write into any folder";
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    {
        Database database;
        ASSERT_TRUE(database.open(path, true).ok());
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    Database database;
    EXPECT_EQ(database.open(path).code, DbError::ReadOnly);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_P(SharedConnections, EveryConnectionIsRegisteredUntilClosed)
{
    TestDatabase test(GetParam());
    EXPECT_EQ(openConnectionCount(test.path()), 1);
    {
        Database second;
        ASSERT_TRUE(second.open(test.path()).ok());
        EXPECT_EQ(openConnectionCount(test.path()), 2);
        // Both see each other's rows: the database is shared.
        test.addClub(QStringLiteral("Shared"));
        EXPECT_EQ(AdminData(second).countClubs().value, 1);
    }
    EXPECT_EQ(openConnectionCount(test.path()), 1);
    test.database().close();
    EXPECT_EQ(openConnectionCount(test.path()), 0);
}

TEST_P(DatabaseTransactions, InnerRollbackUndoesTheWholeAction)
{
    TestDatabase test(GetParam());
    Database& db = test.database();
    ASSERT_TRUE(db.begin().ok());
    test.addClub(QStringLiteral("Outer"));
    ASSERT_TRUE(db.begin().ok());
    test.addClub(QStringLiteral("Inner"));
    db.rollback();
    EXPECT_FALSE(db.commit().ok());
    EXPECT_EQ(test.data().countClubs().value, 0);
}
