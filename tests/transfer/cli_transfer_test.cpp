#include "admin/admin_data.h"
#include "database/database.h"
#include "model/clock_scenario.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// corvex-cli against corvex-clocksim, with a home holding a prepared database.
class CliTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Database database;
        ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName), true).ok());
        const AdminData data(database);
        const int club = data.addClub("Riverside").value;
        Flyer flyer;
        flyer.ClubID = club;
        flyer.Name = "John Smith";
        const int john = data.addFlyer(flyer).value;
        ASSERT_TRUE(data.addBird(makeBird(john, "US24 ABC000001", "1111111111")).ok());
        ASSERT_TRUE(data.addBird(makeBird(john, "US24 ABC000002")).ok());
    }

    // Starts the clock with this module content.
    std::unique_ptr<SimulatedClockProcess> startClock(ClockScenario scenario, const QStringList& options = {})
    {
        scenario.rbm.status = "0";
        EXPECT_TRUE(scenario.save(home.filePath("start.json")));
        auto clock = std::make_unique<SimulatedClockProcess>(
            QStringList{"--scenario", home.filePath("start.json")} + options);
        EXPECT_TRUE(clock->started()) << clock->error().toStdString();
        return clock;
    }

    CliRun cli(const SimulatedClockProcess& clock, const QStringList& arguments)
    {
        return runCorvexCli(QStringList{"--home", home.path(), "--port", clock.devicePath()} + arguments);
    }

    QTemporaryDir home;
};

// Sending, receiving and liberations that succeed run in the season test.

// Where the operation ends without a message of its own, the command says in one line what happened.
TEST_F(CliTransferTest, FailuresWithoutAMessageOfTheirOwnAreSaid)
{
    {
        Database database;
        ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName)).ok());
        Flyer empty;
        empty.ClubID = 1;
        empty.Name = "Empty Loft";
        ASSERT_TRUE(AdminData(database).addFlyer(empty).ok());
    }
    ClockScenario mary;
    mary.s1 = "S1          Tulsa               US";
    mary.s2 = "S2   0701   Riverside            0001";
    mary.s3 = "S3   0701002Mary Jones          00000000000000";
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
        auto clock = startClock(c.module, c.clockOptions);
        const CliRun run = cli(*clock, c.command);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.endsWith("corvex-cli: " + c.line + "\n")) << run.err.toStdString();
    }
}

TEST_F(CliTransferTest, ReceiveInventoryCreatesAMissingFlyerInTheChosenClub)
{
    {
        Database database;
        ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName)).ok());
        ASSERT_TRUE(AdminData(database).addClub("Hilltop").ok());
    }
    ClockScenario scenario;
    scenario.s1 = "S1          Tulsa               US";
    scenario.s2 = "S2   0702   Hilltop              0001";
    scenario.s3 = "S3   0702005Mary Jones          00000000000000";
    scenario.birds = {"ZUS24MARY000001H55555555550"};
    auto clock = startClock(scenario);

    const CliRun refused = cli(*clock, {"receive-inventory", "--add-flyer", "yes"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Please choose a club for Mary Jones."));

    const CliRun run = cli(*clock, {"receive-inventory", "--add-flyer", "yes", "--club", "2"});
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
