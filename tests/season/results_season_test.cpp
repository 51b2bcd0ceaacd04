// A race figured through corvex-cli: three flyers' modules flown by corvex-clocksim, downloaded, and the
// result read as CSV. Distances are GeographicLib's GeodSolve -i -p 3 between the points typed below.
#include "season_support.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {
using season::writeAll;

// Lofts around Rockford (DDMMSSt, DDDMMSS), liberated at Peoria (40°41'38" N 89°35'19" W) at 10:00:00.
const struct {
    const char *name, *latitude, *longitude;
    double metresFromPeoria;
} kLofts[] = {{"ALAN REED", "4216140", "0890538", 179917.439},
              {"BETH COLE", "4215020", "0890412", 178231.848},
              {"CARL DUNN", "4220000", "0885900", 188962.142}};

TEST(ResultsSeason, ThreeLoftsFlownDownloadedAndFiguredAsCsv)
{
    QTemporaryDir home;
    const auto cli = [&](const QStringList& arguments, const QString& device = {}) {
        return runCorvexCli(QStringList{"--home", home.path(), "--port", device} + arguments);
    };
    QByteArray flyers;
    for (const QByteArray n : {"1", "2", "3"}) {
        const auto& loft = kLofts[n.toInt() - 1];
        flyers += "S3   030100" + n + QByteArray(loft.name).leftJustified(20) + loft.longitude +
                  loft.latitude + "\r\n";
        ASSERT_TRUE(writeAll(home.filePath("Z0301.00" + n), "US24ROCK00" + n + "201C00A1B2C3D" + n +
                                                                "0\r\nUS24ROCK00" + n + "202H00A1B2C3E" + n +
                                                                "0"));
    }
    ASSERT_TRUE(writeAll(home.filePath("S001203.DAT"), flyers));
    ASSERT_TRUE(writeAll(home.filePath("start.json"), R"({"rbm": {"status": 0, "serial": "00003039"}})"));
    for (const QStringList& step :
         {QStringList{"db", "init"},
          {"club", "add", "ROCKFORD RACING"},
          {"import-dos", home.filePath("S001203.DAT"), "--club", "ROCKFORD RACING", "--update-config"},
          {"liberation", "add", "1", "6", "14", "PEORIA", "--latitude", "404138", "--longitude", "0893519",
           "--time", "10:00:00"}})
        ASSERT_EQ(cli(step).exitCode, 0) << step.join(' ').toStdString();
    // Each module is set at 20:00 the evening before and knocked off at 20:00:03 by its own time after
    // 20:00:00 by the reference; its two ringed birds are clocked at 13:05:17 and 13:06:40.
    for (const auto& loft : kLofts) {
        SimulatedClockProcess clock(
            {"--scenario", home.filePath("start.json"), "--fly-after-liberations=2025"});
        ASSERT_TRUE(clock.started()) << clock.error().toStdString();
        for (const QStringList& step :
             {QStringList{"send-inventory", "--flyer", loft.name}, {"send-liberations"}, {"download-race"}})
            ASSERT_EQ(cli(step, clock.devicePath()).exitCode, 0) << step.join(' ').toStdString();
    }

    // 3 s fast after 86,403 s: a clocking T seconds after the setting is T x 3 / 86,403 s early.
    std::vector<std::pair<double, QString>> lines;
    for (int f = 1; f <= 3; ++f)
        for (const auto& [clockSeconds, bird, arrival] :
             {std::tuple{61517, "1", "13:05:15,3:05:15"}, std::tuple{61600, "2", "13:06:38,3:06:38"}}) {
            const double minutes = (clockSeconds * (1 - 3.0 / 86403) - 14 * 3600) / 60; // liberated 14 h on
            const double velocity =
                std::round(kLofts[f - 1].metresFromPeoria / 0.9144 / minutes * 1000) / 1000;
            lines.push_back(
                {velocity, QString(kLofts[f - 1].name) + ",US24ROCK00" + QString::number(f) + "20" + bird +
                               ',' + QString::number(kLofts[f - 1].metresFromPeoria / 1609.344, 'f', 3) +
                               ",2025-06-14 " + arrival + ',' + QString::number(velocity, 'f', 3)});
        }
    std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QString expected = "Pos,Flyer,Band,Distance,Arrival,Flight,Velocity\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i)
        expected += QString::number(i + 1) + ',' + lines[i].second + "\r\n";
    EXPECT_EQ(QString::fromUtf8(cli({"results", "--race", "01", "--date", "06/14", "--csv"}).out), expected);
    EXPECT_TRUE(expected.startsWith("Pos,Flyer,Band,Distance,Arrival,Flight,Velocity\r\n1,CARL DUNN"));

    // Why a race cannot be figured, with a usage error (2) or a failure (1).
    for (const auto& [arguments, exitCode, says] :
         std::initializer_list<std::tuple<QStringList, int, QString>>{
             {{"--race", "1"}, 2, "usage"},
             {{"--race", "1", "--date", "6/14"}, 2, "MM/DD"},
             {{"--race", "1", "--date", "06/14", "--csv", "--html", "out.html"}, 2, "usage"},
             {{"--race", "2", "--date", "06/14"}, 1, "No liberation point is stored for race 02 of 06/14."},
             {{"--race", "1", "--date", "06/14", "--folder", home.filePath("none")}, 1, "does not exist yet"},
             {{"--race", "1", "--date", "06/14", "--folder", "/dev/null"}, 1, "cannot be read."},
             {{"--race", "1", "--date", "06/14", "--folder", home.path()}, 1, "No race file in"}}) {
        const CliRun run = cli(QStringList{"results"} + arguments);
        EXPECT_EQ(run.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(says) && run.out.isEmpty()) << run.err.toStdString();
    }
}
} // namespace
