#include "admin/admin_data.h"
#include "database/database_copy.h"
#include "database/maintenance.h"
#include "platform/home.h"
#include "settings/settings_store.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// Data with gaps in the IDs, birds whose flyer is gone, trailing spaces and letters beyond ASCII.
void fillAwkwardly(TestDatabase& test)
{
    AdminData& data = test.data();
    ASSERT_TRUE(data.renumberClub(test.addClub(QStringLiteral("Riverside")), 2).ok());
    const int gone = test.addFlyer(QStringLiteral("Departed"), 2);
    test.addBird(gone, QStringLiteral("US24 ABC000009"));
    // Birds left behind by a flyer deleted before the database refused that.
    ASSERT_TRUE(data.setElecnumber(test.addOrphanBird(gone + 10, "US24 ABC000002"), "1234567890").ok());
    for (const char* band : {"us24 abc000001", "US24 ABC000003"})
        test.addOrphanBird(gone + 10, QString::fromLatin1(band));
    ASSERT_TRUE(data.eraseFlyer(gone).ok());
    test.addFlyer(QStringLiteral("Ørsted  "), 2);
    data.addLiberationPoint({0, "07", "0704", "Fort Worth ", "1"});
    const auto second = data.addLiberationPoint({0, "01", "0501", "Abilene", "1"});
    data.addLiberationPoint({0, "02", "0502", "Waco", "2"});
    ASSERT_TRUE(data.deleteLiberationPoint(second.value).ok());
}

CORVEX_ON_EVERY_ENGINE(CopyTest);

} // namespace

TEST_P(CopyTest, RoundTripThroughTheOtherDatabaseKeepsEveryRow)
{
    TestDatabase original;
    fillAwkwardly(original);
    TestDatabase middle(GetParam());
    middle.database().close();
    QTemporaryDir back;
    const QString backFile = back.filePath(kDatabaseFileName);

    const QStringList rows = tableRows(original.path());
    ASSERT_EQ(rows.size(), 1 + 1 + 3 + 2);
    original.database().close();
    CopyCounts counts;
    ASSERT_TRUE(copyDatabase(original.path(), middle.path(), false, &counts).ok());
    EXPECT_EQ(std::tie(counts.clubs, counts.flyers, counts.birds, counts.points),
              std::make_tuple(1, 1, 3, 2));
    EXPECT_EQ(tableRows(middle.path()), rows);
    ASSERT_TRUE(copyDatabase(middle.path(), backFile, false).ok());
    EXPECT_EQ(tableRows(backFile), rows);
    // The birds without a flyer came along, and the check names them.
    EXPECT_EQ(checkDatabase(backFile).problems.size(), 3);

    // New rows continue after the copied IDs instead of reusing one.
    Database copy;
    ASSERT_TRUE(copy.open(middle.path()).ok());
    AdminData data(copy);
    EXPECT_EQ(data.addClub(QStringLiteral("Hilltop")).value, 3);
    EXPECT_EQ(data.addBird(makeBird(2, QStringLiteral("US24 ABC000004"))).value, 5);
    EXPECT_EQ(data.addLiberationPoint({0, "03", "0503", "Tyler", "1"}).value, 4);
    copy.close();

    // A target holding rows is refused unless replaced; replacing leaves the source's rows only.
    const DbResult refused = copyDatabase(original.path(), middle.path(), false);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.description.contains(QStringLiteral("--replace")))
        << refused.description.toStdString();
    EXPECT_EQ(tableRows(middle.path()).size(), rows.size() + 3);
    ASSERT_TRUE(copyDatabase(original.path(), middle.path(), true).ok());
    EXPECT_EQ(tableRows(middle.path()), rows);
    EXPECT_FALSE(copyDatabase(middle.path(), middle.path(), true).ok());
}

TEST(CopyCommand, CopiesTheHomeFileToATargetAndBack)
{
    QTemporaryDir home;
    QTemporaryDir elsewhere;
    const QString other = elsewhere.filePath(QStringLiteral("other.db"));
    const auto cli = [&](const QStringList& arguments) {
        return runCorvexCli(QStringList{"--home", home.path(), "db"} + arguments, 60000);
    };
    ASSERT_EQ(runCorvexCli({"--home", home.path(), "club", "add", "Riverside"}).exitCode, 0);
    const CliRun copied = cli({"copy", "--to", other});
    EXPECT_EQ(copied.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(copied.out),
              QStringLiteral("copied 1 clubs, 0 flyers, 0 birds, 0 liberation points to %1\n").arg(other));
    // The home file holds rows: copying back needs --replace.
    EXPECT_EQ(cli({"copy", "--from", other}).exitCode, 1);
    EXPECT_EQ(cli({"copy", "--to", other, "--from", other}).exitCode, 2);
}

TEST(DatabaseChoice, TheDatabaseServerSettingAndTheOptionReplaceTheHomeFile)
{
    QTemporaryDir home;
    const Home folders = Home::under(home.path());
    ASSERT_TRUE(SettingsStore(folders.settingsFile)
                    .write(QStringLiteral("DatabaseServer"),
                           QStringLiteral("postgresql://corvex@127.0.0.1:1/corvex")));
    const auto clubList = [&](const QStringList& options) {
        return runCorvexCli(QStringList{"--home", home.path()} + options + QStringList{"club", "list"}, 60000)
            .exitCode;
    };
    // The setting names a server nobody runs: the home file, though present, is not used.
    ASSERT_TRUE(Database().open(InitDatabasePath(folders), true).ok());
    EXPECT_EQ(clubList({}), 1);
    // --database wins over the setting; a file path there is the file.
    EXPECT_EQ(clubList({"--database", InitDatabasePath(folders)}), 0);
}
