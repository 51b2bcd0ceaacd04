#include "admin/admin_data.h"
#include "database/database_messages.h"
#include "database/mdb_migration.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Made by the Access writer the migration benchmark uses (bench/jet4_writer.h); what they hold:
// season.mdb (password "TravenMoss"): clubs 1, 3, 7 (club 2 deleted, so the ids have a gap); flyers 2, 3, 4,
//   9, 10 of clubs 7, 1, 3, 7, 3, the third without email; 40 birds spread over the flyers in turn, bands
//   099999 downwards, every third without an electronic number; 2 liberation points.
// columns.mdb: those clubs plus a second club 3; a FLYERLIST with other letter case, an extra column Fax and
//   no email, one row without a key.
// foreign.mdb: a table Customers only.
// damaged.mdb: the season's tables with 300 birds, the second page of birds overwritten.
QString fixture(const QString& name)
{
    return QStringLiteral(CORVEX_SOURCE_DIR "/tests/fixtures/access/") + name;
}

class MdbMigration : public ::testing::Test {
protected:
    // The season's file under the name the old program gave it.
    QString seasonMdb()
    {
        const QString path = QDir(m_dir.path()).filePath("corvexdata.mdb");
        EXPECT_TRUE(QFile::copy(fixture("season.mdb"), path));
        return path;
    }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(m_dir.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString target() const { return QDir(m_dir.path()).filePath("corvexdata.db"); }

    // The relations hold through the program's own look-ups, and new rows continue after the old keys.
    static void expectRelationsAndCounters(const QString& path)
    {
        Database database;
        ASSERT_TRUE(database.open(path).ok());
        const AdminData data(database);
        const auto flyer = data.flyerByName(QStringLiteral("Flyer 9"));
        ASSERT_TRUE(flyer.ok() && flyer.value);
        EXPECT_EQ(data.clubName(flyer.value->ClubID).value, "7 Hills");
        EXPECT_EQ(data.birdsOfFlyer(flyer.value->FlyerID).value.size(), 8u);
        EXPECT_EQ(data.addClub("New").value, 8);
        EXPECT_EQ(data.addFlyer({0, 1, "Newcomer", {}, {}, {}, {}, {}, {}}).value, 11);
    }

    // A target that already holds a club, a flyer and a bird of its own.
    void fillTarget()
    {
        Database database;
        ASSERT_TRUE(database.open(target(), true).ok());
        ASSERT_TRUE(fillDatabase(database, 2, 3).ok());
    }

    QTemporaryDir m_dir;
};

TEST_F(MdbMigration, KeepsIdsRelationsOrderAndTextsExactly)
{
    // Written with the database password the old program set.
    const QString mdb = seasonMdb();
    RecordingProgress progress;
    const MdbMigrationReport report = migrateMdb(mdb, target(), false, &progress);
    ASSERT_TRUE(report.ok()) << report.summary().join('\n').toStdString();
    EXPECT_EQ(report.summary(),
              (QStringList{"clubs: 3 rows read, 3 written", "flyerlist: 5 rows read, 5 written",
                           "birds: 40 rows read, 40 written", "orte: 2 rows read, 2 written",
                           "Database check passed."}));

    const QStringList rows = tableRows(target());
    ASSERT_EQ(rows.size(), 3 + 5 + 40 + 2);
    EXPECT_EQ(rows.mid(0, 3),
              QStringList({"clubs|1|Northside Racing Club", "clubs|3|Élan  ", "clubs|7|7 Hills"}));
    EXPECT_EQ(
        rows[3],
        "flyerlist|2|7|Flyer 2   |0 Main St.|Springfield IL 62704|f0@example.com|555-010|0893512|413210");
    EXPECT_EQ(rows[5], "flyerlist|4|3|Flyer 4   |2 Main St.|Springfield IL 62704||555-012|0893512|413210");
    EXPECT_EQ(rows[8], "birds|1|2|US|08| ABC|099999|C|0000000000|BB|0");
    EXPECT_EQ(rows[47], "birds|40|10|US|08| ABC|099960|H|0000000000|BB|0");
    EXPECT_EQ(rows[46], "birds|39|9|US|08| ABC|099961|C|0000000038|BB|0");
    EXPECT_EQ(rows[48], "orte|1|07|0704|O'Hare \"North\" |1||||"); // the position fields came later: empty
    EXPECT_EQ(rows[49], "orte|2|01|0412|Peoria|2||||");

    expectRelationsAndCounters(target());
}

TEST_F(MdbMigration, ServerDatabaseKeepsTheKeysAndCountsOnAfterThem)
{
    if (TestServer::adminUri().isEmpty())
        GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
    const QString uri = TestServer::createDatabase();
    const MdbMigrationReport report = migrateMdb(seasonMdb(), uri, false);
    EXPECT_TRUE(report.ok()) << report.summary().join('\n').toStdString();
    expectRelationsAndCounters(uri);
    TestServer::dropDatabase(uri);
}

TEST_F(MdbMigration, ColumnsAreMatchedIgnoringCaseAndRowsWithUnusableKeysAreLeftOut)
{
    const MdbMigrationReport report = migrateMdb(fixture("columns.mdb"), target(), false);
    ASSERT_TRUE(report.ok()) << report.summary().join('\n').toStdString();
    EXPECT_TRUE(report.check.ok());
    const QStringList summary = report.summary();
    EXPECT_TRUE(summary.contains("  column Fax is not one of ours and was left out"));
    EXPECT_TRUE(summary.contains("  column email is not in the file; stored empty"));
    EXPECT_TRUE(summary.contains("birds: not in the file"));
    EXPECT_EQ(report.tables[0].read, 4);
    EXPECT_EQ(report.tables[0].written, 3);
    EXPECT_EQ(report.tables[0].skipped, QStringList{"row 4 left out: ClubID 3 is there twice"});
    EXPECT_EQ(report.tables[1].skipped, QStringList{"row 2 left out: FlyerID '' is not a valid number"});
    const QStringList rows = tableRows(target());
    EXPECT_TRUE(rows.contains("clubs|3|Élan  "));
    EXPECT_TRUE(rows.contains("flyerlist|5|1|Ann||||123||"));
}

TEST_F(MdbMigration, FilesThatAreNoAccessDatabaseOrDamagedHalfwayChangeNothing)
{
    fillTarget();
    const QStringList before = tableRows(target());
    const QString text = writeFile("notes.mdb", QByteArray("club list\r\n").repeated(900));
    const std::pair<QString, QString> cases[] = {
        {text, QStringLiteral("The file '%1' is not an Access database. Nothing was imported.").arg(text)},
        {writeFile("empty.mdb", {}), "is not an Access database"},
        {fixture("foreign.mdb"), "it is not a Corvex administration database"}};
    for (const auto& [file, reason] : cases) {
        const MdbMigrationReport report = migrateMdb(file, target(), true);
        EXPECT_EQ(report.status.code, DbError::NotOurDatabase);
        EXPECT_TRUE(report.status.description.contains(reason)) << report.status.description.toStdString();
        EXPECT_TRUE(report.tables.empty());
    }
    EXPECT_EQ(migrateMdb(QDir(m_dir.path()).filePath("missing.mdb"), target(), true).status.code,
              DbError::FileNotFound);

    // A damaged page of birds shows after clubs and flyers were written: they go back out too.
    const MdbMigrationReport damaged = migrateMdb(fixture("damaged.mdb"), target(), true);
    EXPECT_EQ(damaged.status.code, DbError::General);
    EXPECT_TRUE(damaged.status.description.startsWith(
        "The table birds of the Access file is damaged: it holds 300 rows"))
        << damaged.status.description.toStdString();
    ASSERT_EQ(damaged.tables.size(), 3u);
    EXPECT_EQ(damaged.tables[1].written, 5);
    EXPECT_EQ(tableRows(target()), before);
    // Nor is a database created where there was none.
    const QString elsewhere = QDir(m_dir.path()).filePath("other.db");
    migrateMdb(text, elsewhere, false);
    EXPECT_FALSE(QFile::exists(elsewhere));
}

TEST_F(MdbMigration, MenuFlowAsksBeforeReplacingAndShowsTheSummary)
{
    fillTarget();
    const QStringList before = tableRows(target());
    const QString mdb = seasonMdb();
    ScriptedDialogs dialogs;
    RecordingProgress progress;

    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_TRUE(importAccessDatabase(mdb, target(), dialogs, progress).refused);
    ASSERT_EQ(dialogs.log().size(), 1u);
    const Dialogs::Box question = dialogs.log()[0].box;
    EXPECT_EQ(question.text, "The database already holds clubs, flyers, birds or liberation points.\r\n\r\n"
                             "Replace ALL of them with the data of 'corvexdata.mdb'?");
    EXPECT_EQ(question.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(tableRows(target()), before);

    {
        // A data window holding the database: refused like compacting.
        Database window;
        ASSERT_TRUE(window.open(target()).ok());
        dialogs.clearLog();
        EXPECT_EQ(importAccessDatabase(mdb, target(), dialogs, progress).status.code, DbError::InUse);
        EXPECT_EQ(dialogs.texts(), QStringList{kDatabaseInUseText});
    }

    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    const MdbMigrationReport report = importAccessDatabase(mdb, target(), dialogs, progress);
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(dialogs.lines().value(1), "[Import Access Database] " + report.summary().join("\r\n"));
    EXPECT_FALSE(progress.isShown());
    EXPECT_EQ(tableRows(target()).size(), 50);
}

TEST_F(MdbMigration, CommandLineImportsThenRefusesWithoutReplace)
{
    const QString mdb = seasonMdb();
    const QStringList command{"--home", QDir(m_dir.path()).filePath("home"), "migrate-mdb", mdb};
    EXPECT_EQ(runCorvexCli(command, 60000).exitCode, 0);
    const CliRun again = runCorvexCli(command, 60000);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.out.contains("Run again with --replace to replace it.\n")) << again.out.toStdString();
    EXPECT_EQ(runCorvexCli(command + QStringList{"--replace"}, 60000).exitCode, 0);
}

} // namespace
