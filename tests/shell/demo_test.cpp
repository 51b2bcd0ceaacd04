#include "admin/admin_data.h"
#include "database/database.h"
#include "model/clock_scenario.h"
#include "shell/database_glue.h"
#include "shell/demo.h"
#include "shell/startup.h"
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

class DemoStartup : public ShellTest {};

TEST_F(DemoStartup, StandInClockAnswersAndEndsWithTheSession)
{
    const QString folder = dir.filePath("demo");
    auto demo = std::make_unique<DemoSession>();
    ASSERT_TRUE(demo->prepareHome(folder)) << demo->error().toStdString();
    ASSERT_TRUE(demo->startClock(QStringLiteral(CORVEX_CLOCKSIM_PATH))) << demo->error().toStdString();
    const QString device = demo->devicePath();
    EXPECT_TRUE(QFileInfo::exists(device)) << device.toStdString();

    context = std::make_unique<AppContext>(Home::under(folder), &dialogs, &progress, device);
    window = std::make_unique<frmMain>(*context);
    runStartup(*context, *window);
    EXPECT_TRUE(dialogs.log().empty()) << dialogs.lines().join('\n').toStdString();
    EXPECT_TRUE(context->clock.identity.connected() && context->database.isOpen());
    window.reset();
    context.reset();
    demo.reset();
    EXPECT_FALSE(QFileInfo::exists(device)) << "the stand-in clock's device goes with it";
}

TEST(DemoSession, MissingClockProgramIsReported)
{
    DemoSession demo;
    EXPECT_FALSE(demo.startClock("/nonexistent/corvex-clocksim"));
    EXPECT_TRUE(demo.error().contains("/nonexistent/corvex-clocksim"));
}
} // namespace
