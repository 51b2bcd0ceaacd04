#include "admin/liberation_operations.h"
#include "database/maintenance.h"
#include "support/database_builder.h"

#include <QSqlQuery>

namespace {

TEST(LiberationRules, PositionTimeAndNightMayStayEmptyButMustReadWhenTyped)
{
    const QString fewLatitude = QStringLiteral("Latitude needs at least 6 digits (DDMMSS)");
    const QString fewLongitude = QStringLiteral("Longitude needs at least 7 digits (DDDMMSS)");
    const struct {
        const char *latitude, *longitude, *time, *night;
        std::optional<QString> problem;
    } cases[] = {
        {"", "", "", "", std::nullopt},
        {"415020", "0892845", "23:59:59", "21:00-05:00", std::nullopt},
        {"41502", "0892845", "", "", fewLatitude},
        {"415020", "089284", "", "", fewLongitude},
        {"416020", "0892845", "", "", QStringLiteral("Minutes and seconds must be below 60")},
        {"415020", "", "", "", liberation::kPositionPairMessage},
        {"", "", "7:30:00", "", liberation::kTimeMessage},
        {"", "", "24:00:00", "", liberation::kTimeMessage},
        {"", "", "", "21:00-21:00", liberation::kNightMessage},
        {"", "", "", "21:00", liberation::kNightMessage},
    };
    for (const auto& c : cases)
        EXPECT_EQ(liberation::positionProblem(c.latitude, c.longitude, c.time, c.night), c.problem)
            << c.latitude << " " << c.longitude << " " << c.time << " " << c.night;
}

CORVEX_ON_EVERY_ENGINE(OlderDatabase);

// A database of the version before: orte without the four fields, holding a point.
TEST_P(OlderDatabase, GainsThePositionFieldsAndKeepsItsPoints)
{
    TestDatabase db(GetParam());
    const liberation::PointFields fields{"4", "6", "14", "DIXON", "1"};
    ASSERT_TRUE(liberation::add(db.data(), fields).done());
    for (const char* field : {"latitude", "longitude", "libtime", "night"})
        ASSERT_TRUE(QSqlQuery(db.database().connection())
                        .exec(QStringLiteral("ALTER TABLE orte DROP COLUMN %1").arg(field)));
    db.database().close();

    // Checking (as compacting) opens it aside; it comes out with today's fields.
    const DatabaseCheck check = checkDatabase(db.path());
    EXPECT_TRUE(check.ok()) << check.problems.join(u'\n').toStdString()
                            << check.status.description.toStdString();
    Database reopened;
    ASSERT_TRUE(reopened.open(db.path()).ok());
    const AdminData data(reopened);
    auto point = data.liberationPointOfRace("04", "0614");
    ASSERT_TRUE(point.ok() && point.value);
    EXPECT_EQ(point.value->racename, "DIXON");
    EXPECT_TRUE(point.value->latitude.isEmpty() && point.value->night.isEmpty());

    const liberation::PointFields flown{"04",      "06",       "14",       "DIXON",      "1",
                                        " 415020", "0892845 ", "07:30:00", "21:00-05:00"};
    ASSERT_TRUE(liberation::edit(data, point.value->rowId, flown).done());
    point = data.liberationPointOfRace("04", "0614");
    ASSERT_TRUE(point.value);
    EXPECT_EQ(QStringList({point.value->latitude, point.value->longitude, point.value->liberationTime,
                           point.value->night}),
              QStringList({"415020", "0892845", "07:30:00", "21:00-05:00"}));
}

} // namespace
