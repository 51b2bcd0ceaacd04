#pragma once

#include "common/today.h"
#include "reports/owner_lookup.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <gtest/gtest.h>

namespace report_test {

// A race header of 74 characters: concourse 0012, combine 03, club 07, flyer 045, RBM serial 00012345, clock
// start 05/12/08 07:30:00, race 04 on 05/12 from "SPRINGFL".
inline QString raceHeader(const QString& stop = "051208080000", const QString& knockOff = "051208080000",
                          const QString& raceNumber = "04")
{
    return QStringLiteral("00120307045") + QStringLiteral("00012345") + QStringLiteral("051208073000") +
           stop + knockOff + raceNumber + QStringLiteral(" 05/12 SPRINGFL00");
}

// A training header of 55 characters with "*" at position 45.
inline QString trainingHeader()
{
    QString text = raceHeader().left(55);
    text[44] = QLatin1Char('*');
    return text;
}

// A clocking of 25 characters: band (14) + "C", hhmmss, mmdd.
inline QString clocking(const QString& bnumber, const QString& time, const QString& monthDay)
{
    return QStringLiteral("US08 ABC") + bnumber + QStringLiteral("C") + time + monthDay;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Owners by club letters + band number.
class MapOwners : public OwnerLookup {
public:
    QHash<QString, QString> owners;
    std::optional<QString> ownerOf(const QString& key) override
    {
        const auto found = owners.constFind(key);
        return found == owners.constEnd() ? std::nullopt : std::optional<QString>(*found);
    }
};

// Fixes "today" so that two-digit years and the current year of clocking dates do not depend on the run.
class FixedToday {
public:
    FixedToday() { Today::set(QDateTime(QDate(2026, 6, 1), QTime(12, 0))); }
    ~FixedToday() { Today::set(std::nullopt); }
};

} // namespace report_test
