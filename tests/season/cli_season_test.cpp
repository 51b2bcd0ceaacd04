// A whole season through corvex-cli against corvex-clocksim, in a fresh home: every step's output is checked.
#include "common/text_codec.h"
#include "model/clock_scenario.h"
#include "season_support.h"
#include "support/database_builder.h"
#include "support/simulated_clock_process.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using season::readAll;
using season::seasonYear;
using season::writeAll;

QByteArray crlfLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toWindows1252(line) + "\r\n";
    return bytes;
}

class CliSeason : public ::testing::Test {
protected:
    void SetUp() override
    {
        year = seasonYear();
        yy = QString::number(year % 100).rightJustified(2, QLatin1Char('0'));
    }

    CliRun cli(const QStringList& arguments)
    {
        CliRun run = runCorvexCli(QStringList{QStringLiteral("--home"), home.path(), QStringLiteral("--port"),
                                              clock->devicePath()} +
                                  arguments);
        EXPECT_TRUE(run.finished) << arguments.join(' ').toStdString();
        return run;
    }
    // Runs a step that must succeed and returns its standard output.
    QString step(const QStringList& arguments)
    {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString() << "\n" << run.err.toStdString();
        return QString::fromUtf8(run.out);
    }
    QString path(const QString& relative) const { return QDir(home.path()).filePath(relative); }

    QTemporaryDir home;
    std::unique_ptr<SimulatedClockProcess> clock;
    int year = 0;
    QString yy;
};

TEST_F(CliSeason, FromTheDosFilesToTheWinSpeedFileAndBack)
{
    // The module is empty and ready for an inventory (status 0); it flies the liberation points it gets.
    ASSERT_TRUE(writeAll(path("start.json"), R"({"rbm": {"status": 0, "serial": "00003039"}})"));
    clock = std::make_unique<SimulatedClockProcess>(
        QStringList{"--scenario", path("start.json"), "--save", path("end.json"), "--log",
                    QStringLiteral("--fly-after-liberations=%1").arg(year)});
    ASSERT_TRUE(clock->started()) << clock->error().toStdString();

    // 1. The DOS program's files: one flyer with a name outside ASCII, and his birds.
    QDir(home.path()).mkpath("dos");
    ASSERT_TRUE(writeAll(path("dos/S001203.DAT"),
                         toCodePage437("S3   0307045JÖRG MÜLLER         0871234041567\r\n")));
    ASSERT_TRUE(writeAll(path("dos/Z0307.045"), toCodePage437("US24ROCK001201C00A1B2C3D40\r\n"
                                                              "US24ROCK001202H00000000000\r\n"
                                                              "US23ROCK000877H00A1B2C3D70\r\n")));
    EXPECT_EQ(step({"db", "init"}), "created: " + QDir::toNativeSeparators(path("corvexdata.db")) + "\n");
    EXPECT_EQ(step({"club", "add", "ROCKFORD RACING"}), "  1 - ROCKFORD RACING\n");
    // The import's messages are its own tests'; the frames sent at the end show what it stored.
    step({"import-dos", path("dos/S001203.DAT"), "--club", "ROCKFORD RACING", "--update-config"});

    // 2. The secretary's own entries.
    step({"bird", "add", "JÖRG MÜLLER", "--org", "US", "--year", "08", "--club", "ROCK", "--number", "1299",
          "--sex", "C", "--color", "BLUE"});
    step({"liberation", "add", "1", "6", "14", "DIXON"});
    step({"liberation", "add", "2", "6", "21", "MENDOTA"});

    // 3. Into the clock: the flyer's inventory, then the season's liberation points.
    EXPECT_EQ(step({"send-inventory", "--flyer", "JÖRG MÜLLER"}), "sent: 4\n");
    EXPECT_EQ(step({"send-liberations"}), "sent: 2\n");

    // 4. The race flown; the download saves the module's race records unchanged (checked at the end).
    const QString raceFile = path("CVX/00120301.001");
    EXPECT_EQ(step({"download-race"}).trimmed(), QDir::toNativeSeparators(raceFile));
    EXPECT_EQ(step({"race-files"}), "00120301.001\n1 file(s) listed\n");

    // 5. The report, as text and as PDF: the layout is the report tests'; here the owner is found by band.
    const QString report = step({"report", raceFile, "--text"});
    EXPECT_TRUE(report.contains("   1) JÖRG MÜLLER           US23ROCK000877 13:05:17 06/14 \r\n"))
        << report.toStdString();
    // The report file written beside the race files is named after the module's serial.
    EXPECT_TRUE(QFile::exists(path("CVX/RBM12345.001")));
    step({"report", raceFile, "--pdf", path("report.pdf")});
    EXPECT_TRUE(readAll(path("report.pdf")).startsWith("%PDF-"));

    // 6. The week's WinSpeed file (its layout is the export's golden file): both races, the name in
    // Windows-1252.
    step({"export-winspeed", "--date", QDate(year, 6, 14).toString(Qt::ISODate)});
    const QStringList weeks = QDir(path("CVX")).entryList({"W*.D00"});
    ASSERT_EQ(weeks.size(), 1);
    const QByteArray week = readAll(path("CVX/" + weeks[0]));
    EXPECT_TRUE(week.startsWith(
        crlfLines({"01406" + yy, "1001001002JÖRG MÜLLER         01 06/14 DIXON   01-1.0.0-1.23-1"})));
    EXPECT_TRUE(
        week.endsWith(crlfLines({"3001001US24ROCK001201002121061306400000000000000000000000000000NONE"})));

    // 7. The inventory read back into the database.
    step({"bird", "delete", "JÖRG MÜLLER", "US23ROCK000877", "--yes"});
    EXPECT_EQ(step({"receive-inventory"}), "flyer: JÖRG MÜLLER\nadded: 1\nupdated: 3\nchanged: 0\n");
    EXPECT_EQ(step({"bird", "list", "JÖRG MÜLLER"}), " US23ROCK000877H 00A1B2C3D7 NONE\n"
                                                     " US24ROCK001201C 00A1B2C3D4 NONE\n"
                                                     " US24ROCK001202H 0000000000 NONE\n"
                                                     " US08ROCK001299C 0000000000 BLUE\n");

    // What the clock received, frame by frame (the name in Windows-1252).
    ASSERT_EQ(clock->stop(), 0);
    const auto flown = ClockScenario::load(path("end.json"));
    ASSERT_TRUE(flown);
    EXPECT_EQ(flown->races.size(), 6);
    EXPECT_EQ(readAll(raceFile), crlfLines(flown->races));
    const QString query = "RBM v\nPCF v\nPCF e00\n";
    const QString acks = "<06>\n";
    EXPECT_EQ(QString::fromLatin1(clock->standardError()),
              query + "RBM X\n" + acks + "<04>\n" +
                  "RBM S1          Default             AU\n"
                  "RBM S2   0301   ROCKFORD RACING      0012\n"
                  "RBM S3   0301001J<D6>RG M<DC>LLER         00000000000000\n"
                  "RBM ZUS23ROCK000877H00A1B2C3D70\n"
                  "RBM ZUS24ROCK001201C00A1B2C3D40\n"
                  "RBM ZUS24ROCK001202H00000000000\n"
                  "RBM ZUS08ROCK001299C00000000000\n" +
                  query + query +
                  "RBM IC0\n"
                  "RBM I0011406DIXON   1\n"
                  "RBM I0022106MENDOTA 1\n" +
                  query + "RBM W\n" + acks.repeated(7) + query + "RBM W\n" + acks.repeated(7) + "RBM X\n" +
                  acks.repeated(3) + "RBM R\n" + query + "RBM X\n" + acks.repeated(8));
}
} // namespace
