#pragma once

// The administration database: its four tables, their fields, and the rows the data layer hands out.
// Field names keep the spellings the rest of the program (and its users' habits) know.

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDatabase;

inline const QString kDatabaseFileName = QStringLiteral("corvexdata.db");
inline const QString kCompactFileName = QStringLiteral("newcorvexdata.db");

// The column that numbers the rows of birds and orte in stored order (hidden in the file).
inline const QString kRowIdColumn = QStringLiteral("rowid");

// Bumped whenever the tables change; a file with another number is not one this program can use (3031).
constexpr int kSchemaVersion = 1;

// "No ring assigned".
inline const QString kNoElecnumber = QStringLiteral("0000000000");
// Colour of a bird added without one, and of every bird received from the RBM.
inline const QString kDefaultColour = QStringLiteral("NONE");

struct Club {
    int ClubID = 0;
    QString ClubName;
};

struct Flyer {
    int FlyerID = 0;
    int ClubID = 0;
    QString Name;
    QString Address;
    QString CityStateZip;
    QString email;
    QString Phone;
    QString Longitude;
    QString Latitude;
};

struct Bird {
    qint64 rowId = 0; // the stored row; 0 for a bird not yet stored
    int BirdFlyerID = 0;
    QString NatOrg;
    QString HatchYr;
    QString clubletters;
    QString bnumber;
    QString sex;
    QString elecnumber;
    QString color;
    QString type;

    // NatOrg (2) + HatchYr (2) + clubletters (4) + bnumber (6), as stored.
    QString band() const { return NatOrg + HatchYr + clubletters + bnumber; }
};

struct LiberationPoint {
    qint64 rowId = 0; // the stored row; 0 for a point not yet stored
    QString racenum;
    QString racedate;
    QString racename;
    QString racetype;
    // Where and when the race was liberated, for its result (empty until known); the clock never sees these.
    QString latitude{};       // digits as typed
    QString longitude{};      // digits as typed
    QString liberationTime{}; // "HH:MM:SS"
    QString night{};          // "HH:MM-HH:MM": the dead time of a multi-day race
};

// The parts of a 14-character band identity, cut at positions 1, 3, 5 and 9 (a short text gives blanks).
struct BandParts {
    QString NatOrg, HatchYr, clubletters, bnumber;
};
BandParts splitBand(const QString& band);

// A text as the database compares it (its indexes, its equality): letter case and trailing spaces do not
// count. For keys kept outside the database that must match as it matches.
QString comparedText(const QString& text);

// What the schema must hold: table names and their fields in order.
struct TableShape {
    QString name;
    QStringList fields;
    // The last of fields, added after the first version: older databases (and the old Access files) lack
    // them, and get them empty.
    QStringList laterFields;
};
const std::vector<TableShape>& expectedTables();

// The statements that add the later fields a database made by an older version lacks; none when it has
// them all. textType is the engine's text column type.
QStringList laterFieldStatements(const QSqlDatabase& db, const QString& textType);
// What to select for shape's fields from db: a later field it lacks reads as empty.
QStringList readableColumns(const QSqlDatabase& db, const TableShape& shape);

// Compares the database with expectedTables() both ways: missing tables and fields, and fields or tables
// that do not belong. Empty when the schema is exactly ours.
QStringList schemaProblems(const QSqlDatabase& db);
