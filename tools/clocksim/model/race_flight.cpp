#include "model/race_flight.h"

#include "common/pad_field.h"

#include <QDate>
#include <QTime>
#include <algorithm>

namespace {
// Fields cut from the module's records; a module without the record gives asterisks, as the clock does.
QString field(const QString& record, int start, int width)
{
    const QString text = Mid(record, start, width);
    return text.size() == width ? text : QString(width, QLatin1Char('*'));
}

// The serial digits of the header are the module's hexadecimal serial written in decimal.
QString serialDigits(const QString& hexSerial)
{
    bool ok = false;
    const qulonglong value = hexSerial.toULongLong(&ok, 16);
    if (!ok)
        return QString(8, QLatin1Char('*'));
    return QString::number(value % 100000000ULL).rightJustified(8, QLatin1Char('0'));
}

QString stamp(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("MMddyy")) + time.toString(QStringLiteral("HHmmss"));
}

bool hasRing(const QString& zRecord)
{
    const QString ring = Mid(zRecord, 17, 10);
    return !ring.trimmed().isEmpty() && ring != QLatin1String("0000000000");
}
} // namespace

QStringList flyRaces(const ClockScenario& scenario, const FlightPlan& plan)
{
    const QString flyer = field(scenario.s2, 34, 4) + field(scenario.s3, 6, 2) + field(scenario.s3, 8, 2) +
                          field(scenario.s3, 10, 3) + serialDigits(scenario.rbm.serial);
    // Set the evening before, knocked off the evening of the race with the clock three seconds fast.
    const QTime setAt(20, 0, 0);
    const QTime knockedOffAt(20, 0, 0);
    const QTime clockShowed(20, 0, 3);
    const QTime firstArrival(13, 5, 17);
    // Arrivals stay before the knock-off however many birds are ringed.
    const auto ringed = std::count_if(scenario.birds.cbegin(), scenario.birds.cend(), hasRing);
    const int secondsBetweenArrivals = ringed > 0 ? std::clamp(int(24000 / ringed), 1, 83) : 83;

    QStringList records;
    for (const QString& liberation : scenario.liberations) {
        // "I0" + race number (2) + day (2) + month (2) + name (8) + type (1)
        const QString raceNumber = Mid(liberation, 3, 2);
        const QString day = Mid(liberation, 5, 2);
        const QString month = Mid(liberation, 7, 2);
        bool dayOk = false, monthOk = false;
        const QDate raceDay(plan.year, month.toInt(&monthOk), day.toInt(&dayOk));
        if (raceNumber.size() != 2 || !dayOk || !monthOk || !raceDay.isValid())
            continue;
        const QString name = PadField(Mid(liberation, 9, 8), 8, QLatin1Char(' '), true);
        const QString type = Mid(liberation, 17, 1);
        records << flyer + stamp(raceDay.addDays(-1), setAt) + stamp(raceDay, knockedOffAt) +
                       stamp(raceDay, clockShowed) + raceNumber + QLatin1Char(' ') + month +
                       QLatin1Char('/') + day + QLatin1Char(' ') + name + QLatin1Char('0') +
                       (type.isEmpty() ? QStringLiteral("0") : type);
        int arrival = 0;
        for (const QString& bird : scenario.birds) {
            if (!hasRing(bird))
                continue;
            const QTime at = firstArrival.addSecs(arrival++ * secondsBetweenArrivals);
            records << PadField(Mid(bird, 2, 14), 14, QLatin1Char(' '), true) + QLatin1Char('0') +
                           at.toString(QStringLiteral("HHmmss")) + month + day;
        }
    }
    return records;
}
