#include "database/database_messages.h"
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

// A database with some rows and some deleted ones, closed again.
QString preparedDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(kDatabaseFileName);
    Database database;
    EXPECT_TRUE(database.open(path, true).ok());
    EXPECT_TRUE(fillDatabase(database, 40, 25).ok());
    AdminData data(database);
    for (int flyer = 1; flyer <= 20; ++flyer)
        EXPECT_TRUE(data.eraseFlyer(flyer).ok());
    return path;
}

int rowCount(const QString& path, const QString& table)
{
    return int(tableRows(path).filter(QRegularExpression(QStringLiteral("^%1\\|").arg(table))).size());
}

struct Maintenance {
    ScriptedDialogs dialogs;
    RecordingProgress progress;
};

} // namespace

TEST(Compact, CompactAndRepairRefuseWhileAWindowHoldsTheDatabaseAndLeaveItByteForByte)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    Database window;
    ASSERT_TRUE(window.open(path).ok());
    AdminData(window).addClub(QStringLiteral("Unsaved in the log"));
    const QByteArray before = fileBytes(path);
    const QByteArray walBefore = fileBytes(path + "-wal");

    Maintenance m;
    EXPECT_EQ(compactDatabase(path, m.dialogs, m.progress).code, DbError::InUse);
    EXPECT_EQ(repairDatabase(path, m.dialogs, m.progress).code, DbError::InUse);
    EXPECT_EQ(m.dialogs.texts(),
              QStringList(2, "Database already open!\r\nPlease close all data entry forms and try again."));
    EXPECT_FALSE(m.progress.isShown());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(fileBytes(path + "-wal"), walBefore);
    EXPECT_FALSE(QFile::exists(dir.filePath(kCompactFileName)));

    // Once the window is closed, compacting goes through.
    window.close();
    m.dialogs.clearLog();
    EXPECT_TRUE(compactDatabase(path, m.dialogs, m.progress).ok());
    EXPECT_EQ(rowCount(path, "clubs"), 21);
}

TEST(Compact, FailureLeavesTheFileAndShowsTheReason)
{
    QTemporaryDir dir;
    Maintenance m;
    const QString missing = dir.filePath(QStringLiteral("missing.db"));
    EXPECT_EQ(compactDatabase(missing, m.dialogs, m.progress).code, DbError::FileNotFound);
    EXPECT_FALSE(QFile::exists(missing));

    const QString path = preparedDatabase(dir);
    // The copy cannot be written where a folder of its name stands.
    ASSERT_TRUE(QDir(dir.path()).mkpath(kCompactFileName + "/inside"));
    const DbResult result = compactDatabase(path, m.dialogs, m.progress);
    EXPECT_FALSE(result.ok());
    ASSERT_EQ(m.dialogs.log().size(), 2u);
    EXPECT_EQ(m.dialogs.log()[1].box.text, result.description);
    EXPECT_EQ(rowCount(path, "flyerlist"), 20);
    EXPECT_TRUE(checkDatabase(path).ok());
}

TEST(Compact, WhatAKilledCompactionLeftIsRemovedAtTheNextStart)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    for (const QString& stray : {kCompactFileName, kCompactFileName + "-journal"})
        QFile(dir.filePath(stray)).open(QIODevice::WriteOnly);
    RemoveStrayCompactFiles(path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{kDatabaseFileName});
}

// A writer that comes while the copy is ready but not yet in place waits, then stores into the new file:
// nothing it is told was stored may be left behind in the old one.
TEST(Compact, AWriterArrivingBetweenCopyAndRenameLandsInTheNewFile)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    Maintenance m;
    DbResult written = DbResult::failure(DbError::General, QStringLiteral("never ran"));
    std::thread writer;
    const DbResult compacted = compactDatabase(path, m.dialogs, m.progress, [&] {
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
    EXPECT_TRUE(compactDatabase(path, m.dialogs, m.progress).ok());
}

// Several PCs at once: three keep adding clubs while two others compact and repair. Whatever an add
// confirmed must be in the file, which must pass the check and compact again; an add or upkeep that
// cannot wait long enough is refused with the in-use message, never with another.
TEST(Compact, NoConfirmedAddIsLostWhileOthersCompactAndRepair)
{
    QTemporaryDir home;
    ASSERT_EQ(runCorvexCli({"--home", home.path(), "db", "init"}).exitCode, 0);
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
        processes[i].start(QStringLiteral(CORVEX_CLI_PATH), QStringList{"--home", home.path()} + job);
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
    const QString path = QDir(home.path()).filePath(kDatabaseFileName);
    EXPECT_TRUE(checkDatabase(path).ok());
    Database database;
    ASSERT_TRUE(database.open(path).ok());
    for (const QString& club : confirmed)
        EXPECT_TRUE(AdminData(database).clubByName(club).value.has_value()) << club.toStdString();
    database.close();
    Maintenance m;
    EXPECT_TRUE(compactDatabase(path, m.dialogs, m.progress).ok());
    EXPECT_GT(confirmed.size(), 10);
    EXPECT_GT(upkeepDone, 0);
}

TEST(Repair, OfASoundFileEndsWithACompactionKeepingEveryRow)
{
    QTemporaryDir dir;
    const QString path = preparedDatabase(dir);
    const qint64 before = QFileInfo(path).size();
    Maintenance m;
    ASSERT_TRUE(repairDatabase(path, m.dialogs, m.progress).ok());
    EXPECT_TRUE(m.dialogs.log().empty());
    EXPECT_EQ(m.progress.events(),
              QStringList({"show", "upper: Please wait...", "lower: Repairing database", "close", "show",
                           "upper: Please wait...", "lower: Compacting Database", "close"}));
    EXPECT_LT(QFileInfo(path).size(), before);
    EXPECT_FALSE(QFile::exists(dir.filePath(kCompactFileName)));
    EXPECT_FALSE(QFile::exists(path + "-wal"));
    EXPECT_EQ(rowCount(path, "flyerlist"), 20);
    EXPECT_TRUE(checkDatabase(path).ok());
}

// Bytes overwritten in the middle of the birds table and of the liberation points (a table without an
// index to tell its row count): the check calls the file damaged; the repair saves every row it can still
// read, counts every one it cannot, keeps the damaged file, and its result passes the check.
TEST(Repair, ADamagedFileKeepsEveryReadableRowAndTheDamagedOriginal)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDatabaseFileName);
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

    Maintenance m;
    ASSERT_TRUE(repairDatabase(path, m.dialogs, m.progress).ok());
    ASSERT_EQ(m.dialogs.texts().size(), 1);
    const QString report = m.dialogs.texts()[0];
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
    Maintenance m;
    ASSERT_TRUE(repairDatabase(test.path(), m.dialogs, m.progress).ok());
    EXPECT_TRUE(checkDatabase(test.path()).ok());
    ASSERT_TRUE(test.database().open(test.path()).ok());
    EXPECT_EQ(test.data().flyerNameById(smith + 100).value,
              QStringLiteral("Unknown flyer %1").arg(smith + 100));
    EXPECT_EQ(test.data().birdsOfFlyer(smith + 100).value.size(), 1u);
    EXPECT_GT(test.addFlyer(QStringLiteral("Jones")), smith + 100);
    // A server is compacted beside the connections of other PCs.
    if (GetParam() == Engine::Server) {
        EXPECT_TRUE(compactDatabase(test.path(), m.dialogs, m.progress).ok());
    }
}

// The command's wiring: each action runs and says so; without a database the check fails.
TEST(DbCommand, InitCheckCompactAndRepair)
{
    QTemporaryDir home;
    const auto run = [&](const QString& action) {
        const CliRun done = runCorvexCli({"--home", home.path(), "db", action}, 60000);
        return std::make_pair(done.exitCode, QString::fromUtf8(done.out));
    };
    const auto [status, output] = run("check");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(output.contains("error 3024")) << output.toStdString();
    const QString path = QDir(home.path()).filePath(kDatabaseFileName);
    EXPECT_EQ(run("init"), std::make_pair(0, QStringLiteral("created: ") + path + "\n"));
    for (const char* action : {"check", "compact", "repair"})
        EXPECT_EQ(run(action), std::make_pair(0, QStringLiteral("ok\n")));
}
