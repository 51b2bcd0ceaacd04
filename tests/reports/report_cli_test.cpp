#include "racedata/race_records.h"
#include "report_fixture.h"
#include "reports/database_owner_lookup.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

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
        ASSERT_TRUE(writeRaceFile(race("00120307.045"), {raceHeader(), clocking("000001", "083000", "0512"),
                                                         clocking("000002", "083100", "0512"),
                                                         raceHeader("051208080000", "051208080000", "05"),
                                                         clocking("000003", "090000", "0519")})
                        .ok);
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
    // Letters in any case; a bird whose flyer is gone has no owner.
    for (const auto& [key, owner] :
         {std::pair<QString, QString>{" abc000001", "John Smith"}, {" ABC000002", ""}})
        EXPECT_EQ(owners.ownerOf(key).value_or(QString()), owner) << key.toStdString();

    // A missing database is not made by looking in it.
    const QString missing = QDir(database.folder()).filePath("none.db");
    EXPECT_FALSE(DatabaseOwnerLookup().open(missing).ok() || QFileInfo::exists(missing));
}

// The commands' normal runs are part of the season; here what a user can get wrong.
TEST_F(ReportCli, RefusedArgumentsEndWithTheirExitCodes)
{
    // {arguments, exit code}: a race the file lacks, no such file or folder fail; a race that is no number is
    // misuse.
    const std::pair<QStringList, int> runs[] = {{{"report", "00120307.045", "--race", "2"}, 0},
                                                {{"report", "00120307.045", "--race", "3"}, 1},
                                                {{"report", "00120307.045", "--race", "x"}, 2},
                                                {{"report", "missing.045"}, 1},
                                                {{"race-files", "nothing"}, 1}};
    for (const auto& [arguments, exitCode] : runs)
        EXPECT_EQ(cli(arguments).exitCode, exitCode) << arguments.join(' ').toStdString();
}
