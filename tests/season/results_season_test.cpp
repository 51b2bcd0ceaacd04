// A race figured through corvex-cli: three flyers' modules flown by corvex-clocksim, downloaded, and the
// result read as CSV. Distances are GeographicLib's GeodSolve -i -p 3 between the points typed below.
#include "common/text_codec.h"
#include "support/simulated_clock_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {
bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Loft {
    const char* name;
    const char* latitude; // DDMMSSt as the DOS file writes it
    const char* longitude;
    const char* birdFile;
    const char* birds;
    double metresFromPeoria;
};

// Around Rockford, liberated at Peoria (40°41'38" N 89°35'19" W).
const Loft kLofts[] = {
    {"ALAN REED", "4216140", "0890538", "Z0301.001",
     "US24ROCK001201C00A1B2C3D40\r\nUS24ROCK001202H00A1B2C3D50\r\n", 179917.439},
    {"BETH COLE", "4215020", "0890412", "Z0301.002",
     "US24ROCK002201C00A1B2C3E40\r\nUS24ROCK002202H00A1B2C3E50\r\n", 178231.848},
    {"CARL DUNN", "4220000", "0885900", "Z0301.003",
     "US24ROCK003201C00A1B2C3F40\r\nUS24ROCK003202H00A1B2C3F50\r\n", 188962.142},
};

TEST(ResultsSeason, ThreeLoftsFlownDownloadedAndFiguredAsCsv)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const auto path = [&](const QString& relative) { return QDir(home.path()).filePath(relative); };
    const auto cli = [&](const QStringList& arguments, const QString& device = {}) {
        const CliRun run = runCorvexCli(QStringList{"--home", home.path(), "--port", device} + arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString() << "\n" << run.err.toStdString();
        return QString::fromUtf8(run.out);
    };

    QByteArray flyers;
    for (const Loft& loft : kLofts) {
        flyers += "S3   0301" + QByteArray(loft.birdFile).right(3) +
                  QByteArray(loft.name).leftJustified(20, ' ') + loft.longitude + loft.latitude + "\r\n";
        ASSERT_TRUE(writeAll(path(loft.birdFile), loft.birds));
    }
    ASSERT_TRUE(writeAll(path("S001203.DAT"), flyers));
    cli({"db", "init"});
    cli({"club", "add", "ROCKFORD RACING"});
    cli({"import-dos", path("S001203.DAT"), "--club", "ROCKFORD RACING", "--update-config"});
    cli({"liberation", "add", "1", "6", "14", "PEORIA", "--latitude", "404138", "--longitude", "0893519",
         "--time", "10:00:00"});
    ASSERT_TRUE(writeAll(path("start.json"), R"({"rbm": {"status": 0, "serial": "00003039"}})"));

    // Each module is set at 20:00 the evening before and knocked off at 20:00:03 by its own time after
    // 20:00:00 by the reference; its ringed birds are clocked at 13:05:17 and 13:06:40.
    for (const Loft& loft : kLofts) {
        SimulatedClockProcess clock({"--scenario", path("start.json"), "--fly-after-liberations=2025"});
        ASSERT_TRUE(clock.started()) << clock.error().toStdString();
        cli({"send-inventory", "--flyer", loft.name}, clock.devicePath());
        cli({"send-liberations"}, clock.devicePath());
        cli({"download-race"}, clock.devicePath());
    }

    // 3 s fast after 86,403 s: an arrival T seconds after the setting is T x 3 / 86,403 s early.
    const struct {
        double clockSeconds; // after the setting
        const char *arrival, *flight;
    } clockings[] = {{61517, "2025-06-14 13:05:15", "3:05:15"}, {61600, "2025-06-14 13:06:38", "3:06:38"}};
    struct Line {
        double velocity;
        QString text;
    };
    std::vector<Line> lines;
    for (const Loft& loft : kLofts)
        for (int bird = 0; bird < 2; ++bird) {
            const double corrected = clockings[bird].clockSeconds * (1 - 3.0 / 86403);
            const double minutes = (corrected - 14 * 3600) / 60; // liberated 14 h after the setting
            const double velocity = std::round(loft.metresFromPeoria / 0.9144 / minutes * 1000) / 1000;
            lines.push_back({velocity, QString(loft.name) + ",US24ROCK00" +
                                           QString(loft.birds).mid(10 + 28 * bird, 4) + ',' +
                                           QString::number(loft.metresFromPeoria / 1609.344, 'f', 3) + ',' +
                                           clockings[bird].arrival + ',' + clockings[bird].flight + ',' +
                                           QString::number(velocity, 'f', 3)});
        }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.velocity > b.velocity; });
    QString expected = "Pos,Flyer,Band,Distance,Arrival,Flight,Velocity\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i)
        expected += QString::number(i + 1) + ',' + lines[i].text + "\r\n";

    EXPECT_EQ(cli({"results", "--race", "01", "--date", "06/14", "--csv"}), expected);
    EXPECT_TRUE(expected.contains("\r\n1,CARL DUNN")); // the farthest loft wins in equal times
}
} // namespace
