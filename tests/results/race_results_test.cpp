#include "racedata/race_records.h"
#include "results/race_gathering.h"
#include "results/result_lookups.h"
#include "results/result_publication.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Distances are GeographicLib's own GeodSolve -i -p 3 for the same points (153,597.170 m for the small race's
// loft); velocities and corrections are worked by hand from them.
namespace {

struct AngleCase {
    const char* digits;
    Axis axis;
    char16_t hemisphere;
    std::optional<double> degrees;
    const char* shown; // empty: only refused
};

TEST(Position, ReadsDegreesMinutesSecondsAndTheirFractionOrRefuses)
{
    const AngleCase cases[] = {
        {"4152305", Axis::Latitude, u'N', 41.875138889, "41°52'30.5\" N"},
        {"0873748", Axis::Longitude, u'W', -87.63, "87°37'48\" W"},
        {"335200", Axis::Latitude, u'S', -33.866666667, "33°52'00\" S"},
        {"1800000", Axis::Longitude, u'E', 180.0, "180°00'00\" E"},
        {"41523", Axis::Latitude, u'N', std::nullopt, ""},   // DD MM S: one digit short
        {"087374", Axis::Longitude, u'W', std::nullopt, ""}, // six digits are a latitude's
        {"416000", Axis::Latitude, u'N', std::nullopt, ""},
        {"900001", Axis::Latitude, u'N', std::nullopt, ""},
        {"1800001", Axis::Longitude, u'W', std::nullopt, ""},
        {"41 230", Axis::Latitude, u'N', std::nullopt, ""},
    };
    for (const AngleCase& c : cases) {
        SCOPED_TRACE(c.digits);
        const AngleReading reading = readAngle(QString::fromUtf8(c.digits), c.axis, c.hemisphere);
        ASSERT_EQ(reading.degrees.has_value(), c.degrees.has_value());
        EXPECT_FALSE(reading.shown.isEmpty()); // what was understood, or why not
        if (c.degrees) {
            EXPECT_NEAR(*reading.degrees, *c.degrees, 1e-9);
            EXPECT_EQ(reading.shown, QString::fromUtf8(c.shown));
        }
    }
}

TEST(Distance, IsTheWgs84GeodesicAsGeodSolveGivesIt)
{
    struct Case {
        const char *fromLat, *fromLon;
        Hemispheres from;
        const char *toLat, *toLon;
        Hemispheres to;
        double metres;
    } cases[] = {
        {"412300", "0021000", {u'N', u'E'}, "505000", "0042100", {u'N', u'E'}, 1063745.527},
        {"335200", "1511200", {u'S', u'E'}, "373000", "1445800", {u'S', u'E'}, 693197.435},
        {"5130264", "00007399", {}, "485124", "0022103", {u'N', u'E'}, 343858.364},
    };
    for (const Case& c : cases) {
        const auto from = readPosition(c.fromLat, c.fromLon, c.from);
        const auto to = readPosition(c.toLat, c.toLon, c.to);
        ASSERT_TRUE(from && to);
        EXPECT_NEAR(geodesicMetres(*from, *to), c.metres, 0.001) << c.toLat;
    }
}

QString header(const QString& clubFlyer, const QString& start, const QString& stop, const QString& knockOff,
               const QString& race = "04", const QString& date = "06/14")
{
    return "001203" + clubFlyer + "00012345" + start + stop + knockOff + race + " " + date + " DIXON   01";
}

TEST(ClockCorrection, SpreadsThirtySecondsFastAfterADayOverTheRun)
{
    // Set at 07:00:00 on 13 June; at 07:00:00 on the 14th by the reference the clock showed 07:00:30.
    const ClockCorrection fast =
        clockCorrection(RaceHeaderRecord(header("07045", "061325070000", "061425070000", "061425070030")));
    ASSERT_TRUE(fast.applied);
    const RaceInstant start = *headerInstant("061325070000");
    EXPECT_DOUBLE_EQ(fast.corrected(start), start);
    EXPECT_NEAR(fast.corrected(start + 86430), start + 86400, 1e-6); // at knock-off: the verified time
    EXPECT_NEAR(fast.corrected(start + 43200), start + 43200 - 14.994794, 1e-6); // 30 x 43200 / 86430

    EXPECT_FALSE(
        clockCorrection(RaceHeaderRecord(header("07045", "061325070000", "000000000000", "000000000000")))
            .applied);
    EXPECT_FALSE(clockCorrection(RaceHeaderRecord(header("07045", "061325070000", "061325065930",
                                                         "061325070000")))
                     .applied); // a knock-off at the start spreads nothing
}

TEST(NightWindow, TakesEveryNightBetweenLiberationAndArrival)
{
    const RaceInstant liberation = *headerInstant("061425070000");
    // The last case is liberated inside the night that began the evening before: only its rest counts.
    const struct {
        const char* window;
        double hoursFlown;
        double deadHours;
    } cases[] = {
        {"21:00-05:00", 14, 0},  {"21:00-05:00", 15, 1},   {"21:00-05:00", 20, 6}, {"21:00-05:00", 25, 8},
        {"21:00-05:00", 47, 16}, {"00:00-04:30", 25, 4.5}, {"21:00-08:00", 2, 1},
    };
    for (const auto& c : cases) {
        const auto window = parseNightWindow(c.window);
        ASSERT_TRUE(window);
        EXPECT_DOUBLE_EQ(nightSeconds(liberation, liberation + c.hoursFlown * 3600, *window),
                         c.deadHours * 3600)
            << c.window << " " << c.hoursFlown;
    }
    for (const char* refused : {"21:00-21:00", "24:00-05:00", "9:00-05:00", "21:00"})
        EXPECT_FALSE(parseNightWindow(refused)) << refused;
}

class FakeLookups : public ResultLookups {
public:
    QMap<int, Loft> lofts; // club * 1000 + flyer
    QString error;
    ResultLookup<Loft> loft(int club, int flyer) override
    {
        const int key = club * 1000 + flyer;
        return {lofts.contains(key) ? std::optional(lofts[key]) : std::nullopt, error};
    }
    ResultLookup<bool> birdKnown(const QString& letters, const QString&) override
    {
        return {letters == "ROCK", {}};
    }
};

QString bird(const QString& band, const QString& hhmmss)
{
    return "US24" + band + "A" + hhmmss + "0614";
}

class SmallRace : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString start = "061325120000", verified = "061425120000";
        const QStringList anna{header("07045", start, verified, verified),
                               bird("ROCK000101", "090000"),
                               bird("ROCK000102", "090000"),
                               bird("ROCK000103", "080000"),
                               bird("ROCK000104", "075300"),
                               bird("ROCK000105", "065900"),
                               bird("ROCK000106", "070000"),
                               "US24ROCK000107A0000000000",
                               bird("ZZZZ999999", "093000"),
                               header("07045", start, verified, verified, "05"),
                               bird("ROCK000108", "090000"),
                               header("07045", start, verified, verified, "04", "06/15"),
                               bird("ROCK000109", "090000"),
                               header("07045", start, verified, verified).left(52),
                               bird("ROCK000110", "090000")};
        write("00120307.045", anna);
        write("06132512.045", anna); // the same module saved twice
        write("00120307.046",
              {header("07046", start, "000000000000", "000000000000"), bird("ROCK000201", "091000")});
        write("00120307.047", {header("07047", start, verified, verified), bird("ROCK000301", "092000")});
        write("00120307.048",
              {header("07048", start, verified, "061425120030"), bird("ROCK000401", "090000")});
        write("00120308.045", {header("08045", start, verified, verified), bird("ROCK000501", "094000")});
        write("RBM12345.045", {header("07045", start, verified, verified), bird("ROCK000601", "090000")});
        lookups.lofts[7045] = {"Anna Baker", "4152305", "0873748"};
        lookups.lofts[7046] = {"Carl, Dunn", "4153000", "0874000"};
        lookups.lofts[7047] = {"Eve <Frost> & Co", "", ""};
        lookups.lofts[7048] = {"Gus Hale", "4152305", "0873748"};
        lookups.lofts[8046] = {"Club 8, flyer 46", "4152305", "0873748"};
    }
    void write(const QString& name, const QStringList& records)
    {
        ASSERT_TRUE(writeRaceFile(QDir(folder.path()).filePath(name), records).ok);
    }
    FiguredRace figure(VelocityUnit unit = VelocityUnit::YardsPerMinute)
    {
        const RaceDefinition race{4, "06/14", "DIXON", "Chicago", "415020", "0892845", QTime(7, 0), {}};
        return figureRace(gatherRace(folder.path(), 4, "06/14"), race, {unit, {}}, lookups);
    }
    QTemporaryDir folder;
    FakeLookups lookups;
};

TEST_F(SmallRace, RanksByVelocityWithTiesAndListsTheUnrankedWithTheirReason)
{
    const FiguredRace race = figure();
    ASSERT_TRUE(race.error.isEmpty()) << race.error.toStdString();
    EXPECT_EQ(
        resultCsv(race),
        "Pos,Flyer,Band,Distance,Arrival,Flight,Velocity\r\n"
        "1,Anna Baker,US24ROCK000103,95.441,2025-06-14 08:00:00,1:00:00,2799.598\r\n"
        "2,Gus Hale,US24ROCK000401,95.441,2025-06-14 08:59:34,1:59:34,1404.920\r\n"
        "3,Anna Baker,US24ROCK000101,95.441,2025-06-14 09:00:00,2:00:00,1399.799\r\n"
        "3,Anna Baker,US24ROCK000102,95.441,2025-06-14 09:00:00,2:00:00,1399.799\r\n"
        "5,\"Carl, Dunn\",US24ROCK000201,93.561,2025-06-14 09:10:00,2:10:00,1266.667\r\n"
        ",Anna Baker,US24ROCK000104,95.441,2025-06-14 07:53:00,\"Velocity above 3,000 yards per minute\",\r\n"
        ",Anna Baker,US24ROCK000105,95.441,2025-06-14 06:59:00,Arrival before liberation,\r\n"
        ",Anna Baker,US24ROCK000106,95.441,2025-06-14 07:00:00,Flying time zero or less,\r\n"
        ",Anna Baker,US24ZZZZ999999,95.441,2025-06-14 09:30:00,Bird not in the database,\r\n"
        ",Eve <Frost> & Co,US24ROCK000301,,2025-06-14 09:20:00,Loft without coordinates,\r\n"
        ",Unknown flyer,US24ROCK000501,,2025-06-14 09:40:00,Loft not in the database,\r\n");
    EXPECT_EQ(race.lofts, 5);

    const FiguredRace metres = figure(VelocityUnit::MetresPerMinute);
    const ResultCells winner = resultCells(metres.lines.front(), metres.unit);
    EXPECT_EQ(winner.distance + " " + winner.velocity, "153.597 2559.953");
}

TEST_F(SmallRace, TextAndPageMarkTheUncorrectedClockAndNeedNothingOutside)
{
    const FiguredRace race = figure();
    const QString text = resultText(race);
    EXPECT_TRUE(text.contains("Winner:           2799.598 yards per minute"));
    EXPECT_TRUE(text.contains(QRegularExpression("Carl, Dunn .* 1266\\.667 \\*\n")));
    EXPECT_TRUE(text.contains(kUncorrectedNote));

    const QString html = resultHtml(race);
    EXPECT_TRUE(html.contains("name=\"viewport\""));
    EXPECT_TRUE(html.contains("Eve &lt;Frost&gt; &amp; Co"));
    for (const char* outside : {"<script", "http", "src=", "<link", "url("})
        EXPECT_FALSE(html.contains(outside)) << outside;
}

TEST_F(SmallRace, RefusesWhatCannotBeFigured)
{
    lookups.error = "database is locked";
    EXPECT_EQ(figure().error, "database is locked");
    lookups.error.clear();
    const RaceDefinition noPosition{4, "06/14", "DIXON", "Chicago", "", "", QTime(7, 0), {}};
    EXPECT_FALSE(figureRace(gatherRace(folder.path(), 4, "06/14"), noPosition, {}, lookups).error.isEmpty());
}

} // namespace
