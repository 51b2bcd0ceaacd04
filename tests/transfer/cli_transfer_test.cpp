#include "admin/admin_data.h"
#include "admin/database.h"
#include "model/clock_scenario.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"
#include "transfer/admin_records.h"

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
        ASSERT_TRUE(data.addLiberationPoint({0, "07", "0412", "Oklahoma City", "1"}).ok());
    }

    // Starts the clock with this module content; what it holds at the end is saved to savedPath().
    std::unique_ptr<SimulatedClockProcess> startClock(ClockScenario scenario)
    {
        scenario.rbm.status = "0";
        EXPECT_TRUE(scenario.save(home.filePath("start.json")));
        auto clock = std::make_unique<SimulatedClockProcess>(
            QStringList{"--scenario", home.filePath("start.json"), "--save", savedPath()});
        EXPECT_TRUE(clock->started()) << clock->error().toStdString();
        return clock;
    }

    CliRun cli(const SimulatedClockProcess& clock, const QStringList& arguments)
    {
        return runCorvexCli(QStringList{"--home", home.path(), "--port", clock.devicePath()} + arguments);
    }

    QString savedPath() const { return home.filePath("saved.json"); }

    QTemporaryDir home;
};

TEST_F(CliTransferTest, SendInventoryWritesTheModuleAndPrintsTheClosingText)
{
    auto clock = startClock({});
    const CliRun run = cli(*clock, {"send-inventory", "--flyer", "John Smith"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("sent: 2"));
    EXPECT_TRUE(run.err.contains("       Birds sent = 2"));
    clock->stop();
    const auto saved = ClockScenario::load(savedPath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->birds.size(), 2);
    EXPECT_EQ(s3FlyerName(saved->s3).trimmed(), "John Smith");
}

TEST_F(CliTransferTest, SendInventoryToAnotherFlyersModuleHonoursCancel)
{
    ClockScenario scenario;
    scenario.s1 = "S1          Tulsa               US";
    scenario.s2 = "S2   0701   Riverside            0001";
    scenario.s3 = "S3   0701002Mary Jones          00000000000000";
    auto clock = startClock(scenario);
    const CliRun run = cli(*clock, {"send-inventory", "--flyer", "John Smith", "--different-name", "cancel"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("[Different Names Detected]"));
    clock->stop();
    const auto saved = ClockScenario::load(savedPath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->s3, scenario.s3);
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

TEST_F(CliTransferTest, SendLiberations)
{
    auto clock = startClock({});
    const CliRun run = cli(*clock, {"send-liberations"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("sent: 1"));
    clock->stop();
    const auto saved = ClockScenario::load(savedPath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->liberations, QStringList{"I0071204Oklahoma1"});
}

} // namespace
