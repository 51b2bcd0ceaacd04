#include "admin/admin_data.h"
#include "database/database.h"
#include "model/clock_scenario.h"
#include "shell/database_glue.h"
#include "shell/demo.h"
#include "shell_fixture.h"

#include <QFileInfo>

namespace {
TEST(DemoSession, HomeGetsSampleDataOnceAndKeepsChanges)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("demo");
    DemoSession demo;
    ASSERT_TRUE(demo.prepareHome(folder)) << demo.error().toStdString();
    const Home home = Home::under(folder);
    {
        Database database;
        ASSERT_TRUE(database.open(InitDatabasePath(home)).ok());
        AdminData data(database);
        EXPECT_EQ(data.countClubs().value, 2);
        // The stand-in clock's module is flyer 45 of club 7, spelled alike, so the demo's first Send asks
        // nothing.
        EXPECT_EQ(data.flyerNameByClubAndId(7, 45).value.value_or("<none>"),
                  ClockScenario::demo().s3.mid(12, 20).trimmed());
        EXPECT_TRUE(data.addClub("Added by the user").ok());
    }
    // A second demo run keeps what the user did in the demo.
    ASSERT_TRUE(demo.prepareHome(folder));
    Database database;
    ASSERT_TRUE(database.open(InitDatabasePath(home)).ok());
    EXPECT_EQ(AdminData(database).countClubs().value, 3);
    EXPECT_TRUE(SettingsStore(home.settingsFile).contains(kDatabaseRecordKey));
}

// A missing clock program is said; the stand-in clock's device is there once the demo has started it, and
// goes with the session.
TEST(DemoSession, StandInClockStartsFromItsProgramAndEndsWithTheSession)
{
    auto demo = std::make_unique<DemoSession>();
    EXPECT_FALSE(demo->startClock("/nonexistent/corvex-clocksim"));
    EXPECT_TRUE(demo->error().contains("/nonexistent/corvex-clocksim"));
    ASSERT_TRUE(demo->startClock(QStringLiteral(CORVEX_CLOCKSIM_PATH))) << demo->error().toStdString();
    const QString device = demo->devicePath();
    EXPECT_TRUE(QFileInfo::exists(device)) << device.toStdString();
    demo.reset();
    EXPECT_FALSE(QFileInfo::exists(device));
}

} // namespace
