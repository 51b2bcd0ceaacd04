// corvex-cli's transfer commands against corvex-clocksim: what a command says and how it exits where the
// operation ends without a message of its own. Sends and receives that succeed run in the season test.
#include "admin/admin_data.h"
#include "admin/database.h"
#include "model/clock_scenario.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CliTransferTest : public ::testing::Test {
protected:
    // Club 1 "Riverside" with John Smith (two birds) and Empty Loft (none); club 2 "Hilltop".
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Database database;
        ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName), true).ok());
        const AdminData data(database);
        ASSERT_EQ(data.addClub("Riverside").value, 1);
        ASSERT_EQ(data.addClub("Hilltop").value, 2);
        for (const char* name : {"John Smith", "Empty Loft"}) {
            Flyer flyer;
            flyer.ClubID = 1;
            flyer.Name = name;
            ASSERT_TRUE(data.addFlyer(flyer).ok());
        }
        ASSERT_TRUE(data.addBird(makeBird(1, "US24 ABC000001", "1111111111")).ok());
        ASSERT_TRUE(data.addBird(makeBird(1, "US24 ABC000002")).ok());
    }

    // Runs the command against a clock started with this module content.
    CliRun cli(ClockScenario module, const QStringList& command, const QStringList& clockOptions = {})
    {
        module.rbm.status = "0";
        EXPECT_TRUE(module.save(home.filePath("start.json")));
        SimulatedClockProcess clock(QStringList{"--scenario", home.filePath("start.json")} + clockOptions);
        EXPECT_TRUE(clock.started()) << clock.error().toStdString();
        return runCorvexCli(QStringList{"--home", home.path(), "--port", clock.devicePath()} + command);
    }

    QTemporaryDir home;
};

ClockScenario moduleOf(const QString& s3)
{
    ClockScenario module;
    module.s1 = "S1          Tulsa               US";
    module.s2 = "S2   0702   Hilltop              0001";
    module.s3 = s3;
    module.birds = {"ZUS24MARY000001H55555555550"};
    return module;
}

TEST_F(CliTransferTest, FailuresWithoutAMessageOfTheirOwnAreSaid)
{
    const ClockScenario mary = moduleOf("S3   0702005Mary Jones          00000000000000");
    const struct {
        ClockScenario module;
        QStringList clockOptions, command;
        QByteArray line;
    } cases[] = {
        {{}, {}, {"send-inventory", "--flyer", "Empty Loft"}, "Empty Loft has no birds; nothing was sent"},
        {mary,
         {},
         {"send-inventory", "--flyer", "John Smith", "--different-name", "cancel"},
         "the RBM holds another flyer's inventory; nothing was sent"},
        {mary, {}, {"receive-inventory", "--add-flyer", "no"}, "the flyer was not added; nothing was stored"},
        // Every answer damaged: the version query fails without a box.
        {{}, {"--bad-checksum"}, {"download-race"}, "no clock answered; no race data was saved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.join(' ').toStdString());
        const CliRun run = cli(c.module, c.command, c.clockOptions);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.endsWith("corvex-cli: " + c.line + "\n")) << run.err.toStdString();
    }
}

TEST_F(CliTransferTest, ReceiveInventoryCreatesAMissingFlyerInTheChosenClub)
{
    const ClockScenario mary = moduleOf("S3   0702005Mary Jones          00000000000000");
    const CliRun refused = cli(mary, {"receive-inventory", "--add-flyer", "yes"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Please choose a club for Mary Jones."));

    const CliRun run = cli(mary, {"receive-inventory", "--add-flyer", "yes", "--club", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("added: 1"));
    Database database;
    ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName)).ok());
    const auto flyer = AdminData(database).flyerByName(QStringLiteral("Mary Jones"));
    ASSERT_TRUE(flyer.value);
    EXPECT_EQ(flyer.value->ClubID, 2);
    EXPECT_EQ(AdminData(database).birdsOfFlyer(flyer.value->FlyerID).value.size(), 1u);
}

} // namespace
