#include "report_fixture.h"
#include "reports/database_owner_lookup.h"
#include "reports/race_result.h"
#include "reports/report_document.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report_test;

namespace {

CliRun cli(const QString& home, const QStringList& arguments)
{
    return runCorvexCli(QStringList{"--home", home} + arguments, 60000);
}

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        const int club = database.addClub("Club");
        const int flyer = database.addFlyer("John Smith", club);
        database.addBird(flyer, "US08 ABC000001");
        // A bird whose flyer is gone reads as unknown.
        database.addOrphanBird(flyer + 100, "US08 ABC000002");
        ASSERT_TRUE(QDir(database.folder()).mkpath("CVX"));
        raceFolder = QDir(database.folder()).filePath("CVX");
        writeFile(
            QDir(raceFolder).filePath("00120307.045"),
            fileBytes({raceHeader(), clocking("000001", "083000", "0512"),
                       clocking("000002", "083100", "0512"), raceHeader("051208080000", "051208080000", "05"),
                       clocking("000003", "090000", "0519")}));
        writeFile(QDir(raceFolder).filePath("9.045"), fileBytes({trainingHeader()}));
        writeFile(QDir(raceFolder).filePath("RBM00001.045"), fileBytes({}));
    }

    TestDatabase database;
    QString raceFolder;
};

} // namespace

TEST_F(ReportCli, OwnersComeFromTheBirdsFlyer)
{
    DatabaseOwnerLookup owners;
    ASSERT_TRUE(owners.open(database.path()).ok());
    EXPECT_EQ(owners.ownerOf(" ABC000001"), std::optional<QString>("John Smith"));
    EXPECT_EQ(owners.ownerOf(" abc000001"), std::optional<QString>("John Smith"));
    EXPECT_EQ(owners.ownerOf(" ABC000002"), std::nullopt);
    EXPECT_EQ(owners.ownerOf(" XYZ000001"), std::nullopt);

    QTemporaryDir empty;
    DatabaseOwnerLookup missing;
    EXPECT_FALSE(missing.open(QDir(empty.path()).filePath("corvexdata.db")).ok());
    EXPECT_FALSE(QFileInfo::exists(QDir(empty.path()).filePath("corvexdata.db")));
    EXPECT_EQ(missing.ownerOf(" ABC000001"), std::nullopt);
}

TEST_F(ReportCli, RaceFilesListsTheChoosersEntries)
{
    const CliRun run = cli(database.folder(), {"race-files"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("00120307.045\n9.045 T\n2 file(s) listed\n"));
    EXPECT_EQ(cli(database.folder(), {"race-files", QDir(database.folder()).filePath("nothing")}).exitCode,
              1);
}

TEST_F(ReportCli, TextIsThePreviewAndTheReportFileIsWritten)
{
    FixedToday today;
    const CliRun run = cli(database.folder(), {"report", "00120307.045", "--text"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    MapOwners owners;
    owners.owners.insert(" ABC000001", "John Smith");
    const RaceResult expected =
        computeRaceResult(raceFileContent(readFile(QDir(raceFolder).filePath("00120307.045"))), 0, owners);
    EXPECT_EQ(QString::fromUtf8(run.out), previewText(expected.fields, expected.listLines));
    EXPECT_TRUE(run.out.contains("   1) John Smith            US08 ABC000001 08:30:00 05/12 \r\n"));
    EXPECT_TRUE(run.out.contains("   2) Unknown flyer         US08 ABC000002"));

    QByteArray reportFile;
    for (const QString& line : expected.reportFileLines)
        reportFile += line.toLatin1() + "\r\n";
    EXPECT_EQ(readFile(QDir(raceFolder).filePath("RBM12345.045")), reportFile);
}

TEST_F(ReportCli, RaceOptionChoosesTheRace)
{
    const CliRun second =
        cli(database.folder(), {"report", QDir(raceFolder).filePath("00120307.045"), "--race", "2"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains("Race No.: 2"));
    EXPECT_TRUE(second.out.contains("   1) Unknown flyer         US08 ABC000003"));
    EXPECT_FALSE(second.out.contains("ABC000001"));

    EXPECT_EQ(cli(database.folder(), {"report", "00120307.045", "--race", "3"}).exitCode, 1);
    EXPECT_EQ(cli(database.folder(), {"report", "00120307.045", "--race", "x"}).exitCode, 2);
    EXPECT_EQ(cli(database.folder(), {"report", "missing.045"}).exitCode, 1);
}

TEST_F(ReportCli, PdfOptionWritesThePrintedDocument)
{
    QTemporaryDir out;
    const QString pdf = QDir(out.path()).filePath("race.pdf");
    const CliRun run = cli(database.folder(), {"report", "00120307.045", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(readFile(pdf).startsWith("%PDF"));
}
