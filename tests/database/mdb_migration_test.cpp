#include "admin/admin_data.h"
#include "database/database_messages.h"
#include "database/jet4_writer.h"
#include "database/mdb_migration.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using jet4::Long;
using jet4::Text;

namespace {

jet4::Table clubsTable()
{
    jet4::Table t = jet4::accessTable("clubs");
    // Club 2 was deleted in the old program: the ids have a gap that the flyers' ClubID must keep pointing
    // across.
    t.rows = {{1, "Northside Racing Club"}, {3, "Élan  "}, {7, "7 Hills"}};
    return t;
}

jet4::Table flyersTable()
{
    jet4::Table t = jet4::accessTable("flyerlist");
    const int ids[] = {2, 3, 4, 9, 10};
    const int clubs[] = {7, 1, 3, 7, 3};
    for (int i = 0; i < 5; ++i) {
        t.rows.push_back({ids[i], clubs[i], QStringLiteral("Flyer %1   ").arg(ids[i]),
                          QStringLiteral("%1 Main St.").arg(i), "Springfield IL 62704",
                          i == 2 ? QVariant() : QVariant(QStringLiteral("f%1@example.com").arg(i)),
                          QStringLiteral("555-01%1").arg(i), "0893512", "413210"});
    }
    return t;
}

jet4::Table birdsTable(int count, int flyers = 5)
{
    jet4::Table t = jet4::accessTable("birds");
    const int ids[] = {2, 3, 4, 9, 10};
    for (int i = 0; i < count; ++i) {
        t.rows.push_back({ids[i % flyers], "US", "08", " ABC",
                          QStringLiteral("%1").arg(99999 - i, 6, 10, QLatin1Char('0')), i % 2 ? "H" : "C",
                          i % 3 ? QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')) : kNoElecnumber, "BB",
                          "0"});
    }
    return t;
}

jet4::Table orteTable()
{
    jet4::Table t = jet4::accessTable("orte");
    t.rows = {{"07", "0704", "O'Hare \"North\" ", "1"}, {"01", "0412", "Peoria", "2"}};
    return t;
}

std::vector<jet4::Table> seasonTables()
{
    return {clubsTable(), flyersTable(), birdsTable(40), orteTable()};
}

class MdbMigration : public ::testing::Test {
protected:
    QString writeMdb(const std::vector<jet4::Table>& tables, const jet4::Options& options = {},
                     const QString& name = "corvexdata.mdb")
    {
        m_written = jet4::write(tables, options);
        return writeFile(name, m_written.file);
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

    // Every row of the four tables in stored order, every field as stored.
    QStringList dump(const QString& path) const
    {
        Database database;
        EXPECT_TRUE(database.open(path).ok());
        QStringList rows;
        for (const TableShape& shape : expectedTables()) {
            QSqlQuery query(database.connection());
            EXPECT_TRUE(query.exec(
                QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(shape.fields.join(','), shape.name)));
            while (query.next()) {
                QStringList values{shape.name};
                for (int i = 0; i < shape.fields.size(); ++i)
                    values << (query.isNull(i) ? "<null>" : query.value(i).toString());
                rows << values.join('|');
            }
        }
        return rows;
    }

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
    jet4::Written m_written;
};

TEST_F(MdbMigration, KeepsIdsRelationsOrderAndTextsExactly)
{
    // Written with the database password the old program set.
    const QString mdb = writeMdb(seasonTables(), {"TravenMoss"});
    RecordingProgress progress;
    const MdbMigrationReport report = migrateMdb(mdb, target(), false, &progress);
    ASSERT_TRUE(report.ok()) << report.summary().join('\n').toStdString();
    EXPECT_TRUE(report.check.ok()) << report.check.problems.join('\n').toStdString();
    EXPECT_EQ(report.summary(),
              (QStringList{"clubs: 3 rows read, 3 written", "flyerlist: 5 rows read, 5 written",
                           "birds: 40 rows read, 40 written", "orte: 2 rows read, 2 written",
                           "Database check passed."}));

    const QStringList rows = dump(target());
    ASSERT_EQ(rows.size(), 3 + 5 + 40 + 2);
    EXPECT_EQ(rows.mid(0, 3),
              QStringList({"clubs|1|Northside Racing Club", "clubs|3|Élan  ", "clubs|7|7 Hills"}));
    EXPECT_EQ(
        rows[3],
        "flyerlist|2|7|Flyer 2   |0 Main St.|Springfield IL 62704|f0@example.com|555-010|0893512|413210");
    EXPECT_EQ(rows[5], "flyerlist|4|3|Flyer 4   |2 Main St.|Springfield IL 62704||555-012|0893512|413210");
    EXPECT_EQ(rows[8], "birds|2|US|08| ABC|099999|C|0000000000|BB|0");
    EXPECT_EQ(rows[47], "birds|10|US|08| ABC|099960|H|0000000000|BB|0");
    EXPECT_EQ(rows[46], "birds|9|US|08| ABC|099961|C|0000000038|BB|0");
    EXPECT_EQ(rows[48], "orte|07|0704|O'Hare \"North\" |1||||"); // the position fields came later: empty
    EXPECT_EQ(rows[49], "orte|01|0412|Peoria|2||||");

    expectRelationsAndCounters(target());
}

TEST_F(MdbMigration, ServerDatabaseKeepsTheKeysAndCountsOnAfterThem)
{
    if (TestServer::adminUri().isEmpty())
        GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
    const QString uri = TestServer::createDatabase();
    const MdbMigrationReport report = migrateMdb(writeMdb(seasonTables()), uri, false);
    EXPECT_TRUE(report.ok()) << report.summary().join('\n').toStdString();
    expectRelationsAndCounters(uri);
    TestServer::dropDatabase(uri);
}

TEST_F(MdbMigration, ColumnsAreMatchedIgnoringCaseAndRowsWithUnusableKeysAreLeftOut)
{
    jet4::Table clubs = clubsTable();
    clubs.rows.push_back({3, "Copy of club 3"});
    jet4::Table flyers{
        "FLYERLIST",
        {{"flyerid", Long, true}, {"CLUBID", Long}, {"name", Text}, {"Fax", Text}, {"phone", Text}},
        {{5, 1, "Ann", "555", "123"}, {QVariant(), 1, "Nobody", "", ""}}};
    const MdbMigrationReport report = migrateMdb(writeMdb({clubs, flyers}), target(), false);
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
    const QStringList rows = dump(target());
    EXPECT_TRUE(rows.contains("clubs|3|Élan  "));
    EXPECT_TRUE(rows.contains("flyerlist|5|1|Ann||||123||"));
}

TEST_F(MdbMigration, FilesThatAreNoAccessDatabaseChangeNothing)
{
    fillTarget();
    const QStringList before = dump(target());
    const QString text = writeFile("notes.mdb", QByteArray("club list\r\n").repeated(900));
    const std::pair<QString, QString> cases[] = {
        {text, QStringLiteral("The file '%1' is not an Access database. Nothing was imported.").arg(text)},
        {writeFile("empty.mdb", {}), "is not an Access database"},
        {writeMdb({{"Customers", {{"Id", Long}}, {{1}}}}), "it is not a Corvex administration database"}};
    for (const auto& [file, reason] : cases) {
        const MdbMigrationReport report = migrateMdb(file, target(), true);
        EXPECT_EQ(report.status.code, DbError::NotOurDatabase);
        EXPECT_TRUE(report.status.description.contains(reason)) << report.status.description.toStdString();
        EXPECT_TRUE(report.tables.empty());
    }
    EXPECT_EQ(migrateMdb(QDir(m_dir.path()).filePath("missing.mdb"), target(), true).status.code,
              DbError::FileNotFound);
    EXPECT_EQ(dump(target()), before);
    // Nor is a database created where there was none.
    const QString elsewhere = QDir(m_dir.path()).filePath("other.db");
    migrateMdb(text, elsewhere, false);
    EXPECT_FALSE(QFile::exists(elsewhere));
}

TEST_F(MdbMigration, DamagedPageHalfwayLeavesTheTargetAsItWas)
{
    fillTarget();
    const QStringList before = dump(target());
    writeMdb({clubsTable(), flyersTable(), birdsTable(300), orteTable()});
    const std::vector<int>& birdPages = m_written.dataPages.at("birds");
    ASSERT_GE(birdPages.size(), 3u);
    QByteArray bytes = m_written.file;
    bytes.replace(birdPages[1] * jet4::kPageSize, jet4::kPageSize, QByteArray(jet4::kPageSize, char(0xAB)));
    const QString mdb = writeFile("damaged.mdb", bytes);

    const MdbMigrationReport report = migrateMdb(mdb, target(), true);
    EXPECT_EQ(report.status.code, DbError::General);
    EXPECT_TRUE(report.status.description.startsWith(
        "The table birds of the Access file is damaged: it holds 300 rows"))
        << report.status.description.toStdString();
    ASSERT_EQ(report.tables.size(), 3u); // clubs and flyers had been written before the damage showed
    EXPECT_EQ(report.tables[1].written, 5);
    EXPECT_EQ(dump(target()), before);
}

TEST_F(MdbMigration, MenuFlowAsksBeforeReplacingAndShowsTheSummary)
{
    fillTarget();
    const QStringList before = dump(target());
    const QString mdb = writeMdb(seasonTables());
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
    EXPECT_EQ(dump(target()), before);

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
    ASSERT_EQ(dialogs.log().size(), 2u);
    EXPECT_EQ(dialogs.log()[1].box.text, report.summary().join("\r\n"));
    EXPECT_EQ(dialogs.log()[1].box.title, "Import Access Database");
    EXPECT_FALSE(progress.isShown());
    EXPECT_EQ(dump(target()).size(), 50);
}

TEST_F(MdbMigration, CommandLineImportsThenRefusesWithoutReplace)
{
    const QString mdb = writeMdb(seasonTables());
    const QStringList command{"--home", QDir(m_dir.path()).filePath("home"), "migrate-mdb", mdb};
    CliRun run = runCorvexCli(command, 60000);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("birds: 40 rows read, 40 written\norte: 2 rows read, 2 written\n"
                                 "Database check passed.\n"))
        << run.out.toStdString();
    run = runCorvexCli(command, 60000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("The database already holds data; nothing was imported.\n"
                                 "Run again with --replace to replace it.\n"));
    EXPECT_EQ(runCorvexCli(command + QStringList{"--replace"}, 60000).exitCode, 0);
}

} // namespace
