// Feeds arbitrary bytes to the race file reader, the record field readers, the race grouping of the WinSpeed
// export, the WinSpeed file's record "0" reader and the typed liberation date.
#include "racedata/race_records.h"
#include "racedata/winspeed_export.h"

#include <QDate>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList records = parseRaceFile(bytes);
    const QDate today(2008, 5, 20);

    for (const QString& record : records) {
        const RaceHeaderRecord header(record);
        (void)header.kind();
        (void)(header.concourse() + header.combine() + header.club() + header.flyer() + header.rbmSerial() +
               header.clockStart() + header.clockStop() + header.knockOff() + header.raceNumber() +
               header.raceDate() + header.liberationPoint() + header.tail());
        (void)header.raceNumberValue();
        const ClockingRecord clocking(record);
        (void)(clocking.band() + clocking.bandSuffix() + clocking.clubLetters() + clocking.bandNumber() +
               clocking.arrivalTime() + clocking.arrivalMonth() + clocking.arrivalDay() +
               clocking.finalCharacter());
        (void)clocking.hasArrival();
        (void)isSafeRaceFileName(raceFileName(record));
        (void)isSafeRaceFileName(alternativeRaceFileName(record));
        (void)isTrainingRecord(record);
        (void)parseLiberationDate(record, today);
        (void)winSpeedRecord3(header, clocking, QStringLiteral("BB"));
    }

    const WinSpeedRaces sorted = sortWinSpeedRaces(records);
    for (const WinSpeedRace& race : sorted.races) {
        (void)winSpeedRecord1(race.header, static_cast<int>(race.clockings.size()), QString(), QString());
        (void)winSpeedRecord2(race.header);
        for (const ClockingRecord& clocking : race.clockings)
            (void)winSpeedRecord3(race.header, clocking, QString());
    }

    if (const auto date = winSpeedFileDate(bytes))
        (void)oldWinSpeedPath(QStringLiteral("/r/W0000019.D00"), *date);
    // Written and read back, the records must survive unchanged apart from control characters.
    (void)parseRaceFile(raceFileBytes(records));
    return 0;
}
