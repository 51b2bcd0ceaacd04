#include "database/maintenance.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <array>
#include <gtest/gtest.h>
#include <thread>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int rowCount(const QString& path, const QString& table)
{
    return int(tableRows(path).filter(QRegularExpression(QStringLiteral("^%1\\|").arg(table))).size());
}

class Maintenance : public ::testing::Test {
protected:
    // A database with some rows and some deleted ones, closed again.
    void prepareDatabase()
    {
        Database database;
        ASSERT_TRUE(database.open(path, true).ok());
        ASSERT_TRUE(fillDatabase(database, 40, 25).ok());
        AdminData data(database);
        for (int flyer = 1; flyer <= 20; ++flyer)
            ASSERT_TRUE(data.eraseFlyer(flyer).ok());
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
    ScriptedDialogs dialogs;
    RecordingProgress progress;
};
class Compact : public Maintenance {};
class Repair : public Maintenance {};

} // namespace

// A repair ends with a compaction; both wait until no window holds the database.
TEST_F(Repair, RefusedWhileAWindowHoldsTheDatabaseThenKeepsEveryRowAndCompacts)
{
    prepareDatabase();
    Database window;
    ASSERT_TRUE(window.open(path).ok());
    AdminData(window).addClub(QStringLiteral("Unsaved in the log"));
    const QByteArray before = fileBytes(path);
    const QByteArray walBefore = fileBytes(path + "-wal");

    EXPECT_EQ(compactDatabase(path, dialogs, progress).code, DbError::InUse);
    EXPECT_EQ(repairDatabase(path, dialogs, progress).code, DbError::InUse);
    EXPECT_EQ(dialogs.texts(),
              QStringList(2, "Database already open!\r\nPlease close all data entry forms and try again."));
    EXPECT_FALSE(progress.isShown());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(fileBytes(path + "-wal"), walBefore);
    EXPECT_FALSE(QFile::exists(dir.filePath(kCompactFileName)));

    window.close();
    dialogs.clearLog();
    const qint64 size = QFileInfo(path).size() + QFileInfo(path + "-wal").size();
    ASSERT_TRUE(repairDatabase(path, dialogs, progress).ok());
    EXPECT_TRUE(dialogs.log().empty());
    // After the four lines each refused attempt showed and closed again.
    EXPECT_EQ(progress.events().mid(8),
              QStringList({"show", "upper: Please wait...", "lower: Repairing database", "close", "show",
                           "upper: Please wait...", "lower: Compacting Database", "close"}));
    EXPECT_LT(QFileInfo(path).size(), size);
    EXPECT_FALSE(QFile::exists(dir.filePath(kCompactFileName)));
    EXPECT_FALSE(QFile::exists(path + "-wal"));
    EXPECT_EQ(rowCount(path, "clubs"), 21);
    EXPECT_EQ(rowCount(path, "flyerlist"), 20);
    EXPECT_TRUE(checkDatabase(path).ok());
}

TEST_F(Compact, FailureLeavesTheFileAndShowsTheReason)
{
    EXPECT_EQ(compactDatabase(path, dialogs, progress).code, DbError::FileNotFound);
    EXPECT_FALSE(QFile::exists(path));

    prepareDatabase();
    // The copy cannot be written where a folder of its name stands.
    ASSERT_TRUE(QDir(dir.path()).mkpath(kCompactFileName + "/inside"));
    const DbResult result = compactDatabase(path, dialogs, progress);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(dialogs.texts().value(1), result.description);
    EXPECT_EQ(rowCount(path, "flyerlist"), 20);
    EXPECT_TRUE(checkDatabase(path).ok());
}

TEST_F(Compact, WhatAKilledCompactionLeftIsRemovedAtTheNextStart)
{
    prepareDatabase();
    for (const QString& stray : {kCompactFileName, kCompactFileName + "-journal"})
        QFile(dir.filePath(stray)).open(QIODevice::WriteOnly);
    RemoveStrayCompactFiles(path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{kDatabaseFileName});
}

// A writer that comes while the copy is ready but not yet in place waits, then stores into the new file:
// nothing it is told was stored may be left behind in the old one.
TEST_F(Compact, AWriterArrivingBetweenCopyAndRenameLandsInTheNewFile)
{
    prepareDatabase();
    DbResult written = DbResult::failure(DbError::General, QStringLiteral("never ran"));
    std::thread writer;
    const DbResult compacted = compactDatabase(path, dialogs, progress, [&] {
        writer = std::thread([&] {
            Database late;
            written = late.open(path);
            if (written.ok())
                written = AdminData(late).addClub(QStringLiteral("Late")).status;
        });
        QThread::msleep(300);
    });
    writer.join();
    ASSERT_TRUE(compacted.ok()) << compacted.description.toStdString();
    ASSERT_TRUE(written.ok()) << written.description.toStdString();
    Database after;
    ASSERT_TRUE(after.open(path).ok());
    EXPECT_TRUE(AdminData(after).clubByName(QStringLiteral("Late")).value.has_value());
    after.close();
    EXPECT_TRUE(checkDatabase(path).ok());
    EXPECT_TRUE(compactDatabase(path, dialogs, progress).ok());
}

// Several PCs at once: three keep adding clubs while two others compact and repair. Whatever an add
// confirmed must be in the file, which must pass the check and compact again; an add or upkeep that
// cannot wait long enough is refused with the in-use message, never with another.
TEST_F(Compact, NoConfirmedAddIsLostWhileOthersCompactAndRepair)
{
    const auto db = [&](const char* action) {
        const CliRun run = runCorvexCli({"--home", dir.path(), "db", action}, 60000);
        return std::make_pair(run.exitCode, QString::fromUtf8(run.out));
    };
    const auto [failed, said] = db("check");
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(said.startsWith("error 3024")) << said.toStdString();
    EXPECT_EQ(db("init"), std::make_pair(0, QStringLiteral("created: ") + path + "\n"));
    // Each starts its next run when its last one ends.
    const char* const jobs[] = {"add", "add", "add", "compact", "repair"};
    std::array<QProcess, 5> processes;
    std::array<QString, 5> clubs;
    QStringList confirmed;
    int upkeepDone = 0;
    QElapsedTimer clock;
    clock.start();
    const auto start = [&](size_t i) {
        clubs[i] = QStringLiteral("Club %1-%2").arg(i).arg(clock.elapsed());
        const QStringList job = i < 3 ? QStringList{"club", "add", clubs[i]} : QStringList{"db", jobs[i]};
        processes[i].setProcessChannelMode(QProcess::MergedChannels);
        processes[i].start(QStringLiteral(CORVEX_CLI_PATH), QStringList{"--home", dir.path()} + job);
    };
    for (size_t i = 0; i < processes.size(); ++i)
        start(i);
    for (int running = 5; running > 0;) {
        for (size_t i = 0; i < processes.size(); ++i) {
            if (!processes[i].waitForFinished(5))
                continue;
            const QString output = QString::fromUtf8(processes[i].readAll());
            if (processes[i].exitCode() != 0)
                EXPECT_TRUE(output.contains("Database already open!")) << output.toStdString();
            else if (i < 3)
                confirmed << clubs[i];
            else
                ++upkeepDone;
            if (clock.elapsed() < 4000)
                start(i);
            else
                --running;
        }
    }
    EXPECT_EQ(db("check"), std::make_pair(0, QStringLiteral("ok\n")));
    Database database;
    ASSERT_TRUE(database.open(path).ok());
    for (const QString& club : confirmed)
        EXPECT_TRUE(AdminData(database).clubByName(club).value.has_value()) << club.toStdString();
    database.close();
    for (const char* action : {"compact", "repair"})
        EXPECT_EQ(db(action), std::make_pair(0, QStringLiteral("ok\n")));
    EXPECT_GT(confirmed.size(), 10);
    EXPECT_GT(upkeepDone, 0);
}

// Bytes overwritten in the middle of the birds table and of the liberation points (a table without an
// index to tell its row count): the check calls the file damaged; the repair saves every row it can still
// read, counts every one it cannot, keeps the damaged file, and its result passes the check.
TEST_F(Repair, ADamagedFileKeepsEveryReadableRowAndTheDamagedOriginal)
{
    std::vector<int> pages;
    {
        Database database;
        ASSERT_TRUE(database.open(path, true).ok());
        ASSERT_TRUE(fillDatabase(database, 40, 25).ok());
        QSqlQuery query(database.connection());
        ASSERT_TRUE(database.begin().ok());
        for (int i = 0; i < 2000; ++i)
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO orte (racenum, racedate, racename, racetype) "
                                                  "VALUES ('01', '0614', 'Dixon %1', '1')")
                                       .arg(i)));
        ASSERT_TRUE(database.commit().ok());
        for (const char* table : {"birds", "orte"}) {
            const QString leaves =
                QStringLiteral("FROM dbstat WHERE name = '%1' AND pagetype = 'leaf'").arg(table);
            ASSERT_TRUE(query.exec("SELECT pageno " + leaves +
                                   " ORDER BY pageno LIMIT 1 OFFSET (SELECT count(*) / 2 " + leaves + ")") &&
                        query.next());
            pages.push_back(query.value(0).toInt());
        }
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (const int page : pages) {
        file.seek(qint64(page - 1) * 4096);
        file.write(QByteArray(4096, char(0x5A)));
    }
    file.close();

    const DatabaseCheck check = checkDatabase(path);
    EXPECT_EQ(check.status.code, DbError::Damaged);
    EXPECT_FALSE(check.problems.isEmpty());

    ASSERT_TRUE(repairDatabase(path, dialogs, progress).ok());
    ASSERT_EQ(dialogs.texts().size(), 1);
    const QString report = dialogs.texts()[0];
    EXPECT_TRUE(report.contains("clubs: 20 rows saved, 0 could not be read")) << report.toStdString();
    EXPECT_TRUE(report.contains("flyerlist: 40 rows saved, 0 could not be read"));
    // A damaged page in the middle loses a page of rows, not the half after it.
    for (const auto& [table, rows] : {std::pair<QString, int>{"birds", 1000}, {"orte", 2000}}) {
        const QRegularExpressionMatch counts =
            QRegularExpression(table + QStringLiteral(": (\\d+) rows saved, (\\d+) could not be read"))
                .match(report);
        ASSERT_TRUE(counts.hasMatch()) << report.toStdString();
        const int saved = counts.captured(1).toInt();
        EXPECT_EQ(saved + counts.captured(2).toInt(), rows) << table.toStdString();
        EXPECT_GT(saved, rows * 3 / 4);
        EXPECT_LT(saved, rows);
        EXPECT_EQ(rowCount(path, table), saved);
    }
    const QStringList kept = QDir(dir.path()).entryList({"corvexdata-damaged-*.db"});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(report.endsWith(QStringLiteral("The damaged file is kept as '%1'.").arg(kept[0])));
    EXPECT_EQ(fileBytes(dir.filePath(kept[0])).mid(qint64(pages[0] - 1) * 4096, 4096),
              QByteArray(4096, char(0x5A)));
    EXPECT_TRUE(checkDatabase(path).ok());
}

CORVEX_ON_EVERY_ENGINE(OrphanBirds);

// An older file may hold birds of flyers that are gone: the check names them and the repair gives them a
// flyer, so that they show in the lists again and their bands can be dealt with.
TEST_P(OrphanBirds, AreListedByTheCheckAndGivenAFlyerByTheRepair)
{
    TestDatabase test(GetParam());
    const int smith = test.addFlyer(QStringLiteral("Smith"));
    test.addBird(smith, QStringLiteral("US08 ABC000001"));
    test.addOrphanBird(smith + 100, QStringLiteral("US08 ABC000002"));
    test.database().close();
    EXPECT_EQ(
        checkDatabase(test.path()).problems,
        QStringList{QStringLiteral("bird US08 ABC000002 (row 2) belongs to flyer %1, which does not exist")
                        .arg(smith + 100)});
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    ASSERT_TRUE(repairDatabase(test.path(), dialogs, progress).ok());
    EXPECT_TRUE(checkDatabase(test.path()).ok());
    ASSERT_TRUE(test.database().open(test.path()).ok());
    EXPECT_EQ(test.data().flyerNameById(smith + 100).value,
              QStringLiteral("Unknown flyer %1").arg(smith + 100));
    EXPECT_EQ(test.data().birdsOfFlyer(smith + 100).value.size(), 1u);
    EXPECT_GT(test.addFlyer(QStringLiteral("Jones")), smith + 100);
    // A server is compacted beside the connections of other PCs.
    if (GetParam() == Engine::Server) {
        EXPECT_TRUE(compactDatabase(test.path(), dialogs, progress).ok());
    }
}
