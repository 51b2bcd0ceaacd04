#include "model/clock_scenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QStringList stringList(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list << item.toString();
    return list;
}

// A status may be given as a number or as the character itself (to serve a non-digit).
QString statusText(const QJsonValue& value, const QString& fallback)
{
    if (value.isDouble())
        return QString::number(value.toInt());
    if (value.isString())
        return value.toString();
    return fallback;
}

QString padRight(const QString& text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), true);
}

QString clocking(const char* band, const char* time, const char* monthDay)
{
    return QLatin1String(band) + QLatin1Char('0') + QLatin1String(time) + QLatin1String(monthDay);
}
} // namespace

std::optional<ClockScenario> ClockScenario::fromJson(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        setError(error, parseError.errorString() + QStringLiteral(" at offset ") +
                            QString::number(parseError.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        setError(error, QStringLiteral("the scenario is not a JSON object"));
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    ClockScenario scenario;
    const QJsonObject rbm = root.value(QLatin1String("rbm")).toObject();
    scenario.rbm.version = rbm.value(QLatin1String("version")).toInt(scenario.rbm.version);
    scenario.rbm.second = rbm.value(QLatin1String("second")).toInt(scenario.rbm.second);
    scenario.rbm.status = statusText(rbm.value(QLatin1String("status")), scenario.rbm.status);
    scenario.rbm.serial = rbm.value(QLatin1String("serial")).toString(scenario.rbm.serial);
    const QJsonObject pcf = root.value(QLatin1String("pcf")).toObject();
    scenario.pcf.version = pcf.value(QLatin1String("version")).toInt(scenario.pcf.version);
    scenario.pcf.serial = pcf.value(QLatin1String("serial")).toString(scenario.pcf.serial);
    const QJsonObject inventory = root.value(QLatin1String("inventory")).toObject();
    scenario.s1 = inventory.value(QLatin1String("S1")).toString();
    scenario.s2 = inventory.value(QLatin1String("S2")).toString();
    scenario.s3 = inventory.value(QLatin1String("S3")).toString();
    scenario.birds = stringList(inventory.value(QLatin1String("Z")));
    scenario.races = stringList(root.value(QLatin1String("races")));
    scenario.liberations = stringList(root.value(QLatin1String("liberations")));
    return scenario;
}

QByteArray ClockScenario::toJson() const
{
    QJsonObject root;
    root.insert(QLatin1String("rbm"), QJsonObject{{QLatin1String("version"), rbm.version},
                                                  {QLatin1String("second"), rbm.second},
                                                  {QLatin1String("status"), rbm.status},
                                                  {QLatin1String("serial"), rbm.serial}});
    root.insert(QLatin1String("pcf"),
                QJsonObject{{QLatin1String("version"), pcf.version}, {QLatin1String("serial"), pcf.serial}});
    if (hasInventory()) {
        root.insert(QLatin1String("inventory"),
                    QJsonObject{{QLatin1String("S1"), s1},
                                {QLatin1String("S2"), s2},
                                {QLatin1String("S3"), s3},
                                {QLatin1String("Z"), QJsonArray::fromStringList(birds)}});
    }
    root.insert(QLatin1String("races"), QJsonArray::fromStringList(races));
    root.insert(QLatin1String("liberations"), QJsonArray::fromStringList(liberations));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<ClockScenario> ClockScenario::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, path + QStringLiteral(": ") + file.errorString());
        return std::nullopt;
    }
    QString parseError;
    auto scenario = fromJson(file.readAll(), &parseError);
    if (!scenario)
        setError(error, path + QStringLiteral(": ") + parseError);
    return scenario;
}

bool ClockScenario::save(const QString& path, QString* error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson()) < 0 || !file.commit()) {
        setError(error, path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

ClockScenario ClockScenario::demo()
{
    ClockScenario scenario;
    // 0x3039 is 12345, the serial that the race headers carry in decimal digits.
    scenario.rbm = {123, 100, QStringLiteral("8"), QStringLiteral("00003039")};
    scenario.pcf = {105, QStringLiteral("04D2")};
    scenario.s1 = QStringLiteral("S1          ") + padRight(QStringLiteral("NORTHERN COMBINE"), 20) +
                  QStringLiteral("US");
    // Club and flyer spelled as the program's demo database has them, so the demo's first Send matches.
    scenario.s2 = QStringLiteral("S2   0307   ") + padRight(QStringLiteral("Rockford Racing"), 20) +
                  QStringLiteral(" 0012");
    scenario.s3 = QStringLiteral("S3   0307045") + padRight(QStringLiteral("John Miller"), 20) +
                  QStringLiteral("00000000000000");
    scenario.birds = {
        QStringLiteral("ZUS24ROCK001201C00A1B2C3D40"), QStringLiteral("ZUS24ROCK001202H00A1B2C3D50"),
        QStringLiteral("ZUS24ROCK001203C00A1B2C3D60"), QStringLiteral("ZUS23ROCK000877H00A1B2C3D70"),
        QStringLiteral("ZUS23ROCK000878C00000000000"),
    };
    const QString flyer = QStringLiteral("0012030704500012345");
    scenario.races = {
        // Started 06/14/25 05:30, knocked off at 18:30:00 reference time, 18:30:04 clock time.
        flyer + QStringLiteral("061425053000061425183000061425183004") +
            QStringLiteral("01 06/14 DIXON   01"),
        clocking("US24ROCK001201", "143512", "0614"),
        clocking("US24ROCK001203", "143547", "0614"),
        clocking("US23ROCK000877", "151209", "0614"),
        // A 72-character header.
        flyer + QStringLiteral("062125051500062125190000062125185958") + QStringLiteral("02 06/21 MENDOTA "),
        clocking("US24ROCK001202", "150209", "0621"),
        clocking("US23ROCK000878", "153114", "0621"),
    };
    scenario.liberations = {QStringLiteral("I0011406DIXON   1"), QStringLiteral("I0022106MENDOTA 1")};
    return scenario;
}
