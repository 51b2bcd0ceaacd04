// corvex-cli's clock commands against corvex-clocksim, both as built, through a pseudo-terminal: what each
// says and how it exits where its operation refuses, fails or needs an answer from the command line.
// Successful sends, receives, downloads and exports run in the season test.
#include "model/clock_scenario.h"
#include "support/simulated_clock_process.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class CliClockCommands : public ::testing::Test {
protected:
    // Runs the command against a clock started with this module content and these options.
    CliRun cli(const ClockScenario& module, const QStringList& command, const QStringList& options = {})
    {
        EXPECT_TRUE(module.save(home.filePath("clock.json")));
        SimulatedClockProcess clock(QStringList{"--scenario", home.filePath("clock.json")} + options);
        EXPECT_TRUE(clock.started()) << clock.error().toStdString();
        return runCorvexCli(QStringList{"--home", home.path(), "--port", clock.devicePath()} + command);
    }

    QTemporaryDir home;
};

ClockScenario module(const QString& status, const QString& s3 = {}, const QStringList& races = {})
{
    ClockScenario s;
    s.rbm.status = status;
    if (!s3.isEmpty()) {
        s.s1 = "S1          Tulsa               US";
        s.s2 = "S2   0702   Hilltop              0001";
        s.s3 = s3;
        s.birds = {"ZUS24MARY000001H55555555550"};
    }
    s.races = races;
    return s;
}
} // namespace

TEST_F(CliClockCommands, ExitCodesAndWhatTheCommandsSay)
{
    // Club 1 with John Smith (one bird) and Empty Loft (none); club 2.
    const CliRun made =
        runCorvexCli({"--home", home.path(), "batch"}, 30000,
                     "club add Riverside\nclub add Hilltop\nflyer add \"John Smith\" --club 1\n"
                     "flyer add \"Empty Loft\" --club 1\n"
                     "bird add \"John Smith\" --org US --year 08 --club ABC --number 1\n");
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const ClockScenario idle = module("0"), inRace = module("3");
    const ClockScenario mary = module("0", "S3   0702005Mary Jones          00000000000000");
    const ClockScenario races =
        module("0", {},
               {"001203070450001234505120807300005120818000505120818000003 05/12 BOSTON  01",
                "US08 ABC01234501430050512"});
    ClockScenario umlaut = module("0");
    umlaut.pcf.serial = QStringLiteral("\u00DC0FF");
    const QString tomorrow = QDate::currentDate().addDays(1).toString(Qt::ISODate);
    const std::tuple<const ClockScenario&, const char*, QString, int, QByteArray> cases[] = {
        // module, clock option, command, exit code, what standard output (exit 0) or error says
        {inRace, "", "status", 0,
         "RBM V : 1.23\nRBM SN : 0255\nPCF V: 1.05\nPCF SN: 0255\nStatus: RBM in Race"},
        {idle, "--silent", "status", 1, "[Communications Error!] No Corvex detected."},
        {idle, "--bad-checksum", "status", 1, ""}, // damaged answers: no failure code, yet no clock
        // send prints control and non-ASCII bytes as hex; a refused command (NAK) fails
        {idle, "", "send X", 0, "<06>\n"},
        {umlaut, "", "send --pcf e00", 0, "e00<DC>0FF\n"},
        {idle, "", "send Q", 1, ""},
        {idle, "", "send-inventory --flyer \"Empty Loft\"", 1, "Empty Loft has no birds; nothing was sent"},
        {mary, "", "send-inventory --flyer \"John Smith\" --different-name cancel", 1,
         "another flyer's inventory"},
        {mary, "", "receive-inventory --add-flyer yes", 1, "Please choose a club for Mary Jones."},
        {mary, "", "receive-inventory --add-flyer yes --club 2", 0, "added: 1"},
        {races, "", "download-race", 0, "00120307.045"},
        {races, "", "download-race --replace cancel", 1, "replace it?\n[Corvex] Race data not saved."},
        {races, "", "download-race --replace maybe", 2, "--replace takes yes, no or cancel"},
        {races, "", "export-winspeed --date " + tomorrow, 2, "the liberation date must lie between"},
    };
    for (const auto& [clock, option, command, exitCode, said] : cases) {
        SCOPED_TRACE(command.toStdString() + " " + option);
        const CliRun run =
            cli(clock, QProcess::splitCommand(command), QString(option).split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(run.exitCode, exitCode);
        const QByteArray& stream = exitCode == 0 ? run.out : run.err;
        EXPECT_TRUE(said.isEmpty() ? stream.isEmpty() : stream.contains(said)) << stream.toStdString();
    }
}
