#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ResultsCommand, SaysWhyARaceCannotBeFiguredAndExitsNonZero)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const auto cli = [&](const QStringList& arguments) {
        return runCorvexCli(QStringList{"--home", home.path()} + arguments);
    };
    ASSERT_EQ(cli({"db", "init"}).exitCode, 0);
    ASSERT_EQ(cli({"liberation", "add", "1", "6", "14", "DIXON", "--latitude", "415020", "--longitude",
                   "0892845", "--time", "07:30:00"})
                  .exitCode,
              0);
    const struct {
        QStringList arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"--race", "1"}, 2, "usage"},
        {{"--race", "1", "--date", "6/14"}, 2, "MM/DD"},
        {{"--race", "100", "--date", "06/14"}, 2, "0 to 99"},
        {{"--race", "1", "--date", "06/14", "--csv", "--html", "out.html"}, 2, "usage"},
        {{"--race", "2", "--date", "06/14"}, 1, "No liberation point is stored for race 02 of 06/14."},
        {{"--race", "1", "--date", "06/14", "--folder", home.filePath("none")}, 1, "cannot be read"},
        {{"--race", "1", "--date", "06/14", "--folder", home.path()}, 1, "No race file in"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(QStringList{"results"} + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
