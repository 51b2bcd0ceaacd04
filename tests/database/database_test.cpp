#include "admin/admin_data.h"
#include "database/database.h"
#include "database/maintenance.h"
#include "database/schema.h"
#include "platform/home.h"
#include "settings/settings_store.h"
#include "support/database_builder.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

bool exec(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    return query.exec(sql);
}

} // namespace

CORVEX_ON_EVERY_ENGINE(Schema);
CORVEX_ON_EVERY_ENGINE(DatabaseTransactions);
CORVEX_ON_EVERY_ENGINE(BirdsNeedTheirFlyer);

TEST_P(Schema, HasExactlyTheExpectedTablesAndFields)
{
    TestDatabase test(GetParam());
    const QSqlDatabase db = test.database().connection();
    EXPECT_TRUE(schemaProblems(db).isEmpty()) << schemaProblems(db).join('\n').toStdString();

    // Both directions: a missing field and a stray one are each reported.
    ASSERT_TRUE(exec(db, QStringLiteral("ALTER TABLE orte ADD COLUMN extra TEXT")));
    ASSERT_TRUE(exec(db, QStringLiteral("CREATE TABLE stray (x INTEGER)")));
    EXPECT_EQ(checkDatabase(test.path()).problems,
              QStringList({"field orte.extra does not belong", "table stray does not belong"}));
    ASSERT_TRUE(exec(db, QStringLiteral("DROP TABLE clubs")));
    EXPECT_EQ(schemaProblems(db), QStringList({"table clubs is missing", "field orte.extra does not belong",
                                               "table stray does not belong"}));
}

TEST(DatabaseOpen, AMissingFileIs3024ADamagedOne3049AndAForeignOrNewerOne3031)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("garbage.db"));
    QFile text(garbage);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("This is a text file, not a database at all.\n").repeated(100));
    text.close();
    const QString foreign = dir.filePath(QStringLiteral("foreign.db"));
    TestDatabase newer;
    const QSqlDatabase db = newer.database().connection();
    ASSERT_TRUE(exec(db, QStringLiteral("ATTACH DATABASE '%1' AS foreign_file").arg(foreign)));
    ASSERT_TRUE(exec(db, QStringLiteral("CREATE TABLE foreign_file.notes (text TEXT)")));
    ASSERT_TRUE(exec(db, QStringLiteral("DETACH DATABASE foreign_file")));
    ASSERT_TRUE(exec(db, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1)));
    const QString missing = dir.filePath(kDatabaseFileName);
    const std::pair<QString, int> cases[] = {{missing, DbError::FileNotFound},
                                             {garbage, DbError::Damaged},
                                             {foreign, DbError::NotOurDatabase},
                                             {newer.path(), DbError::NotOurDatabase}};
    for (const auto& [path, code] : cases) {
        Database database;
        EXPECT_EQ(database.open(path).code, code) << path.toStdString();
        EXPECT_FALSE(database.isOpen());
    }
    // A missing file is never created by opening it.
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(DatabaseOpen, AReadOnlyFileOrFolderGives3051)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    ASSERT_TRUE(Database().open(path, true).ok());
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    Database database;
    EXPECT_EQ(database.open(path).code, DbError::ReadOnly);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(database.open(path).ok());
    database.close();
    // The super-user may write into any folder.
    if (::geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(database.open(path).code, DbError::ReadOnly);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
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
    // What follows the inner failure is refused, and the outer commit rolls back.
    bool ran = false;
    EXPECT_FALSE(db.step([&]() {
                       ran = true;
                       return DbResult{};
                   }).ok());
    EXPECT_FALSE(ran);
    EXPECT_FALSE(db.commit().ok());
    EXPECT_EQ(test.data().countClubs().value, 0);
    // A failed action stores nothing.
    const DbResult failed = db.inTransaction([&]() {
        test.addClub(QStringLiteral("Lost"));
        return DbResult::failure(DbError::Duplicate, QStringLiteral("refused"));
    });
    EXPECT_EQ(failed.code, DbError::Duplicate);
    EXPECT_EQ(test.data().countClubs().value, 0);
}

// A writer that first reads holds the write lock from its start: another PC's writer waits for it instead
// of slipping in between, and the later one's write then fails no more.
TEST(TwoWriters, AWriterThatReadsFirstIsNotOvertakenAndTheOtherWaits)
{
    TestDatabase test;
    Database& db = test.database();
    ASSERT_TRUE(db.begin().ok());
    ASSERT_TRUE(test.data().countClubs().ok());
    DbResult other;
    std::thread second([&]() {
        Database database;
        other = database.open(test.path());
        if (other.ok())
            other = AdminData(database).addClub(QStringLiteral("Second")).status;
    });
    QThread::msleep(300);
    EXPECT_TRUE(test.data().addClub(QStringLiteral("First")).ok());
    EXPECT_TRUE(db.commit().ok());
    second.join();
    EXPECT_TRUE(other.ok()) << other.description.toStdString();
}

// Whatever writes to the database, a bird cannot lose its flyer.
TEST_P(BirdsNeedTheirFlyer, TheDatabaseRefusesABirdWithoutItsFlyer)
{
    TestDatabase test(GetParam());
    const int smith = test.addFlyer(QStringLiteral("Smith"), 7); // a club number no flyer has
    test.addBird(smith, QStringLiteral("US08 ABC000001"));
    const QSqlDatabase db = test.database().connection();
    EXPECT_FALSE(exec(
        db, QStringLiteral("INSERT INTO birds (BirdFlyerID, bnumber) VALUES (%1, '000002')").arg(smith + 1)));
    EXPECT_FALSE(exec(db, QStringLiteral("UPDATE birds SET BirdFlyerID = %1").arg(smith + 1)));
    EXPECT_FALSE(exec(db, QStringLiteral("DELETE FROM flyerlist WHERE FlyerID = %1").arg(smith)));
    EXPECT_EQ(test.data().birdsOfFlyer(smith).value.size(), 1u);
}

// Two programs opening a file of an older version at once: the one that waits for the lock finds the fields
// already added by the other and opens it as it is.
TEST(OlderFile, OpenedWhileAnotherProgramAddsTheLaterFields)
{
    TestDatabase old;
    for (const char* field : {"latitude", "longitude", "libtime", "night"})
        ASSERT_TRUE(
            QSqlQuery(old.database().connection()).exec(QString("ALTER TABLE orte DROP COLUMN ") + field));
    old.database().close();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other program");
        other.setDatabaseName(old.path());
        ASSERT_TRUE(other.open());
        QSqlQuery query(other);
        ASSERT_TRUE(query.exec("BEGIN IMMEDIATE"));
        DbResult opened;
        std::thread waiting([&] { opened = Database().open(old.path()); });
        QThread::msleep(300);
        for (const char* field : {"latitude", "longitude", "libtime", "night"})
            ASSERT_TRUE(query.exec(QString("ALTER TABLE orte ADD COLUMN %1 TEXT DEFAULT ''").arg(field)));
        ASSERT_TRUE(query.exec("COMMIT"));
        waiting.join();
        EXPECT_TRUE(opened.ok()) << opened.description.toStdString();
        other.close();
    }
    QSqlDatabase::removeDatabase("other program");
}

// The first run creates the folders and the schema; members' addresses and phones are in there, so all
// of it is readable by its owner only.
TEST(NewHome, GetsTheSchemaAndIsTheOwnersOnly)
{
    QTemporaryDir dir;
    const Home home = Home::under(dir.filePath(QStringLiteral("club/home")));
    ASSERT_TRUE(SettingsStore(home.settingsFile).write(QStringLiteral("Combine"), QStringLiteral("05")));
    Database database;
    ASSERT_TRUE(database.open(InitDatabasePath(home), true).ok());
    EXPECT_TRUE(schemaProblems(database.connection()).isEmpty());
    ASSERT_TRUE(AdminData(database).addClub(QStringLiteral("Riverside")).ok());
    const QString db = InitDatabasePath(home);
    const std::pair<QString, unsigned> expected[] = {{dir.filePath(QStringLiteral("club")), 0700u},
                                                     {home.dataFolder, 0700u},
                                                     {home.settingsFile, 0600u},
                                                     {db, 0600u},
                                                     {db + QStringLiteral("-wal"), 0600u},
                                                     {db + QStringLiteral("-shm"), 0600u}};
    for (const auto& [path, mode] : expected) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
        EXPECT_EQ(info.st_mode & 0777u, mode) << path.toStdString();
    }
}
