#include "admin/liberation_operations.h"
#include "database/maintenance.h"
#include "support/database_builder.h"

#include <QSqlQuery>

namespace {

TEST(LiberationRules, PositionTimeAndNightMayStayEmptyButMustReadWhenTyped)
{
    // Latitude, longitude, time, night: what the rule says of them.
    for (const auto& [fields, problem] :
         std::initializer_list<std::pair<QStringList, std::optional<QString>>>{
             {{"415020", "0892845", "23:59:59", "21:00-05:00"}, std::nullopt},
             {{"41502", "0892845", "", ""}, "Latitude needs at least 6 digits (DDMMSS)"},
             {{"415020", "", "", ""}, liberation::kPositionPairMessage},
             {{"", "", "7:30:00", ""}, liberation::kTimeMessage},
             {{"", "", "", "21:00-21:00"}, liberation::kNightMessage}})
        EXPECT_EQ(liberation::positionProblem(fields[0], fields[1], fields[2], fields[3]), problem)
            << fields.join(' ').toStdString();
}

CORVEX_ON_EVERY_ENGINE(OlderDatabase);

// A database of the version before: orte without the four fields, holding a point.
TEST_P(OlderDatabase, GainsThePositionFieldsAndKeepsItsPoints)
{
    TestDatabase db(GetParam());
    ASSERT_TRUE(liberation::add(db.data(), {"4", "6", "14", "DIXON", "1"}).done());
    for (const char* field : {"latitude", "longitude", "libtime", "night"})
        ASSERT_TRUE(
            QSqlQuery(db.database().connection()).exec(QString("ALTER TABLE orte DROP COLUMN ") + field));
    db.database().close();

    // Checking (as compacting) opens it aside; it comes out with today's fields, the point kept.
    EXPECT_TRUE(checkDatabase(db.path()).ok());
    Database reopened;
    ASSERT_TRUE(reopened.open(db.path()).ok());
    const AdminData data(reopened);
    const qint64 row = data.liberationPointOfRace("04", "0614").value.value_or(LiberationPoint{}).rowId;
    EXPECT_FALSE(liberation::edit(data, row, {"04", "06", "14", "DIXON", "1", "41502", "0892845"}).done());
    ASSERT_TRUE(
        liberation::edit(data, row,
                         {"04", "06", "14", "DIXON", "1", " 415020", "0892845 ", "07:30:00", "21:00-05:00"})
            .done());
    const auto point = data.liberationPointOfRace("04", "0614").value.value_or(LiberationPoint{});
    EXPECT_EQ(
        QStringList({point.racename, point.latitude, point.longitude, point.liberationTime, point.night}),
        QStringList({"DIXON", "415020", "0892845", "07:30:00", "21:00-05:00"}));
}

} // namespace
