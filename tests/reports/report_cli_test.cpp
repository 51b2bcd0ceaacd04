#include "report_fixture.h"
#include "reports/database_owner_lookup.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report_test;

namespace {

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        const int flyer = database.addFlyer("John Smith", database.addClub("Club"));
        database.addBird(flyer, "US08 ABC000001");
        // A bird whose flyer is gone reads as unknown.
        database.addOrphanBird(flyer + 100, "US08 ABC000002");
        ASSERT_TRUE(QDir(database.folder()).mkpath("CVX"));
        writeFile(race("00120307.045"), fileBytes({raceHeader(), clocking("000001", "083000", "0512"),
                                                   clocking("000002", "083100", "0512"),
                                                   raceHeader("051208080000", "051208080000", "05"),
                                                   clocking("000003", "090000", "0519")}));
    }

    QString race(const QString& name) const { return QDir(database.folder()).filePath("CVX/" + name); }
    CliRun cli(const QStringList& arguments) const
    {
        return runCorvexCli(QStringList{"--home", database.folder()} + arguments, 60000);
    }

    TestDatabase database;
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
}

// The commands' normal runs are part of the season; here what a user can get wrong.
TEST_F(ReportCli, RefusedArgumentsEndWithTheirExitCodes)
{
    // {arguments, exit code}: a race the file lacks, no such file or folder fail; a race that is no number is
    // misuse. A PDF needs the program that can draw it.
    const std::pair<QStringList, int> runs[] = {{{"report", "00120307.045", "--race", "2"}, 0},
                                                {{"report", "00120307.045", "--pdf", race("r.pdf")}, 0},
                                                {{"report", "00120307.045", "--race", "3"}, 1},
                                                {{"report", "00120307.045", "--race", "x"}, 2},
                                                {{"report", "missing.045"}, 1},
                                                {{"race-files", "nothing"}, 1}};
    for (const auto& [arguments, exitCode] : runs)
        EXPECT_EQ(cli(arguments).exitCode, exitCode) << arguments.join(' ').toStdString();
}
