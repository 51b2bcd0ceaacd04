#include "database/schema.h"

#include "common/pad_field.h"

#include <QSqlDatabase>
#include <QSqlRecord>

BandParts splitBand(const QString& band)
{
    return {Mid(band, 1, 2), Mid(band, 3, 2), Mid(band, 5, 4), Mid(band, 9, 6)};
}

QString comparedText(const QString& text)
{
    QString key = text.toCaseFolded();
    while (key.endsWith(u' '))
        key.chop(1);
    return key;
}

const std::vector<TableShape>& expectedTables()
{
    static const std::vector<TableShape> tables = {
        {QStringLiteral("clubs"), {QStringLiteral("ClubID"), QStringLiteral("ClubName")}, {}},
        {QStringLiteral("flyerlist"),
         {QStringLiteral("FlyerID"), QStringLiteral("ClubID"), QStringLiteral("Name"),
          QStringLiteral("Address"), QStringLiteral("CityStateZip"), QStringLiteral("email"),
          QStringLiteral("Phone"), QStringLiteral("Longitude"), QStringLiteral("Latitude")},
         {}},
        {QStringLiteral("birds"),
         {QStringLiteral("BirdFlyerID"), QStringLiteral("NatOrg"), QStringLiteral("HatchYr"),
          QStringLiteral("clubletters"), QStringLiteral("bnumber"), QStringLiteral("sex"),
          QStringLiteral("elecnumber"), QStringLiteral("color"), QStringLiteral("type")},
         {}},
        {QStringLiteral("orte"),
         {QStringLiteral("racenum"), QStringLiteral("racedate"), QStringLiteral("racename"),
          QStringLiteral("racetype"), QStringLiteral("latitude"), QStringLiteral("longitude"),
          QStringLiteral("libtime"), QStringLiteral("night")},
         {QStringLiteral("latitude"), QStringLiteral("longitude"), QStringLiteral("libtime"),
          QStringLiteral("night")}},
    };
    return tables;
}

QStringList laterFieldStatements(const QSqlDatabase& db, const QString& textType)
{
    QStringList statements;
    for (const TableShape& table : expectedTables()) {
        const QSqlRecord record = db.record(table.name);
        for (const QString& field : table.laterFields) {
            if (!record.isEmpty() && !record.contains(field))
                statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3 DEFAULT ''")
                                  .arg(table.name, field, textType);
        }
    }
    return statements;
}

QStringList readableColumns(const QSqlDatabase& db, const TableShape& shape)
{
    const QSqlRecord record = db.record(shape.name);
    QStringList columns;
    for (const QString& field : shape.fields) {
        const bool lacking =
            !record.isEmpty() && !record.contains(field) && shape.laterFields.contains(field);
        columns << (lacking ? QStringLiteral("'' AS %1").arg(field) : field);
    }
    return columns;
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
            if (record.fieldName(i).compare(kRowIdColumn, Qt::CaseInsensitive) != 0)
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
