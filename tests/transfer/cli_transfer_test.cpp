// corvex-cli's transfer commands against corvex-clocksim: how a command exits and what it says where the
// operation ends without a message of its own, and the club chosen for a missing flyer. Sends and receives
// that succeed run in the season test.
#include "admin/admin_data.h"
#include "admin/database.h"
#include "model/clock_scenario.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CliTransfer, ExitsAndLinesOfTheTransferCommands)
{
    QTemporaryDir home;
    {
        // Club 1 with John Smith (one bird) and Empty Loft (none); club 2.
        Database database;
        ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName), true).ok());
        const AdminData data(database);
        ASSERT_TRUE(data.addClub("Riverside").ok() && data.addClub("Hilltop").ok());
        Flyer flyer;
        flyer.ClubID = 1;
        for (const char* name : {"John Smith", "Empty Loft"}) {
            flyer.Name = name;
            ASSERT_TRUE(data.addFlyer(flyer).ok());
        }
        ASSERT_TRUE(data.addBird(makeBird(1, "US24 ABC000001", "1111111111")).ok());
    }
    ClockScenario mary;
    mary.rbm.status = "0";
    mary.s1 = "S1          Tulsa               US";
    mary.s2 = "S2   0702   Hilltop              0001";
    mary.s3 = "S3   0702005Mary Jones          00000000000000";
    mary.birds = {"ZUS24MARY000001H55555555550"};
    const ClockScenario empty = [] {
        ClockScenario s;
        s.rbm.status = "0";
        return s;
    }();
    const std::tuple<ClockScenario, QString, QStringList, int, QByteArray> cases[] = {
        {empty,
         {},
         {"send-inventory", "--flyer", "Empty Loft"},
         1,
         "Empty Loft has no birds; nothing was sent"},
        {mary,
         {},
         {"send-inventory", "--flyer", "John Smith", "--different-name", "cancel"},
         1,
         "the RBM holds another flyer's inventory; nothing was sent"},
        {mary,
         {},
         {"receive-inventory", "--add-flyer", "no"},
         1,
         "the flyer was not added; nothing was stored"},
        {mary, {}, {"receive-inventory", "--add-flyer", "yes"}, 1, "Please choose a club for Mary Jones."},
        // Every answer damaged: the version query fails without a box.
        {empty, "--bad-checksum", {"download-race"}, 1, "no clock answered; no race data was saved"},
        {mary, {}, {"receive-inventory", "--add-flyer", "yes", "--club", "2"}, 0, "added: 1"},
    };
    for (const auto& [module, clockOption, command, exitCode, said] : cases) {
        SCOPED_TRACE(command.join(' ').toStdString());
        ASSERT_TRUE(module.save(home.filePath("start.json")));
        SimulatedClockProcess clock(QStringList{"--scenario", home.filePath("start.json")} +
                                    (clockOption.isEmpty() ? QStringList() : QStringList{clockOption}));
        ASSERT_TRUE(clock.started()) << clock.error().toStdString();
        const CliRun run =
            runCorvexCli(QStringList{"--home", home.path(), "--port", clock.devicePath()} + command);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_TRUE((exitCode ? run.err : run.out).contains(said)) << run.err.toStdString();
    }
    Database database;
    ASSERT_TRUE(database.open(home.filePath(kDatabaseFileName)).ok());
    const auto flyer = AdminData(database).flyerByName(QStringLiteral("Mary Jones"));
    ASSERT_TRUE(flyer.value);
    EXPECT_EQ(flyer.value->ClubID, 2);
    EXPECT_EQ(AdminData(database).birdsOfFlyer(flyer.value->FlyerID).value.size(), 1u);
}
