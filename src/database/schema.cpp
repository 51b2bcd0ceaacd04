#include "database/schema.h"

#include "common/pad_field.h"
#include "database/database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

BandParts splitBand(const QString& band)
{
    return {Mid(band, 1, 2), Mid(band, 3, 2), Mid(band, 5, 4), Mid(band, 9, 6)};
}

const std::vector<TableShape>& expectedTables()
{
    static const std::vector<TableShape> tables = {
        {QStringLiteral("clubs"), {QStringLiteral("ClubID"), QStringLiteral("ClubName")}},
        {QStringLiteral("flyerlist"),
         {QStringLiteral("FlyerID"), QStringLiteral("ClubID"), QStringLiteral("Name"),
          QStringLiteral("Address"), QStringLiteral("CityStateZip"), QStringLiteral("email"),
          QStringLiteral("Phone"), QStringLiteral("Longitude"), QStringLiteral("Latitude")}},
        {QStringLiteral("birds"),
         {QStringLiteral("BirdFlyerID"), QStringLiteral("NatOrg"), QStringLiteral("HatchYr"),
          QStringLiteral("clubletters"), QStringLiteral("bnumber"), QStringLiteral("sex"),
          QStringLiteral("elecnumber"), QStringLiteral("color"), QStringLiteral("type")}},
        {QStringLiteral("orte"),
         {QStringLiteral("racenum"), QStringLiteral("racedate"), QStringLiteral("racename"),
          QStringLiteral("racetype")}},
    };
    return tables;
}

QString createSchema(QSqlDatabase& db)
{
    const QString text = SqlDialect::textType();
    const QString counter = SqlDialect::counterKey();
    const QStringList statements = {
        QStringLiteral("CREATE TABLE clubs (ClubID %1, ClubName %2)").arg(counter, text),
        QStringLiteral("CREATE TABLE flyerlist (FlyerID %1, ClubID INTEGER, Name %2, Address %2, "
                       "CityStateZip %2, email %2, Phone %2, Longitude %2, Latitude %2)")
            .arg(counter, text),
        QStringLiteral("CREATE TABLE birds (BirdFlyerID INTEGER, NatOrg %1, HatchYr %1, clubletters %1, "
                       "bnumber %1, sex %1, elecnumber %1, color %1, type %1)")
            .arg(text),
        QStringLiteral("CREATE TABLE orte (racenum %1, racedate %1, racename %1, racetype %1)").arg(text),
        // bnumber first: the same index serves the look-up by club letters and number alone.
        QStringLiteral("CREATE INDEX birds_band ON birds (bnumber, clubletters, NatOrg, HatchYr)"),
        QStringLiteral("CREATE INDEX birds_elecnumber ON birds (elecnumber)"),
        QStringLiteral("CREATE INDEX birds_flyer ON birds (BirdFlyerID)"),
        QStringLiteral("CREATE INDEX flyerlist_name ON flyerlist (Name)"),
    };
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement))
            return statement + QStringLiteral(": ") + query.lastError().text();
    }
    return {};
}

QStringList schemaProblems(const QSqlDatabase& db)
{
    QStringList problems;
    QStringList present;
    for (const QString& table : db.tables(QSql::Tables)) {
        if (!table.startsWith(QLatin1String("sqlite_")))
            present << table;
    }
    for (const TableShape& table : expectedTables()) {
        if (!present.contains(table.name)) {
            problems << QStringLiteral("table %1 is missing").arg(table.name);
            continue;
        }
        const QSqlRecord record = db.record(table.name);
        QStringList fields;
        for (int i = 0; i < record.count(); ++i) {
            // A server keeps the stored order in a visible column; the file's is hidden.
            if (record.fieldName(i).compare(SqlDialect::rowIdColumn(), Qt::CaseInsensitive) != 0)
                fields << record.fieldName(i);
        }
        // Field names are matched without regard to letter case, as the engines do.
        for (const QString& field : table.fields) {
            if (!fields.contains(field, Qt::CaseInsensitive))
                problems << QStringLiteral("field %1.%2 is missing").arg(table.name, field);
        }
        for (const QString& field : fields) {
            if (!table.fields.contains(field, Qt::CaseInsensitive))
                problems << QStringLiteral("field %1.%2 does not belong").arg(table.name, field);
        }
    }
    for (const QString& table : present) {
        bool expected = false;
        for (const TableShape& shape : expectedTables())
            expected = expected || shape.name == table;
        if (!expected)
            problems << QStringLiteral("table %1 does not belong").arg(table);
    }
    return problems;
}
