#pragma once

// What several benchmark programs share (each bench file is a program of its own, so this is a header):
// the season-size database, the stand-in clock with a race series at emulated 9600 baud, and the run.
#include "admin/admin_data.h"
#include "common/pad_field.h"
#include "database/database.h"
#include "model/pty_clock.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace bench {

inline constexpr int kFlyers = 2000;
inline constexpr int kBirdsPerFlyer = 50;

// The band of the season's bird number (1-based): two club letters per flyer, the number as band number.
inline QString seasonBand(const QString& orgYear, int number)
{
    const int flyer = (number - 1) / kBirdsPerFlyer;
    const QString letters =
        PadField(QString(QChar(u'A' + flyer % 26)) + QChar(u'A' + (flyer / 26) % 26), 4, u' ', false);
    return orgYear + letters + QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

// 20 clubs, kFlyers flyers of kBirdsPerFlyer birds each, all in one transaction as a receive or an import
// stores them.
inline DbResult generateSeason(Database& database, const QString& orgYear, const QString& sex)
{
    const AdminData data(database);
    DbResult status = database.begin();
    for (int club = 1; club <= 20 && status.ok(); ++club)
        status = data.addClub(QStringLiteral("Club %1").arg(club)).status;
    int number = 0;
    for (int f = 0; f < kFlyers && status.ok(); ++f) {
        Flyer flyer;
        flyer.ClubID = f % 20 + 1;
        flyer.Name = QStringLiteral("Flyer %1").arg(f);
        const Fetched<int> id = data.addFlyer(flyer);
        status = id.status;
        for (int b = 0; b < kBirdsPerFlyer && status.ok(); ++b) {
            const BandParts parts = splitBand(seasonBand(orgYear, ++number));
            status = data.addBird({0, id.value, parts.NatOrg, parts.HatchYr, parts.clubletters, parts.bnumber,
                                   sex, QStringLiteral("%1").arg(1000000000LL + number),
                                   QStringLiteral("BLUE"), QStringLiteral("0")})
                         .status;
        }
    }
    if (!status.ok()) {
        database.rollback();
        return status;
    }
    return database.commit();
}

// races races of clockingsPerRace clockings each (a header record and its clockings per race).
inline ClockScenario raceScenario(int races, int clockingsPerRace)
{
    ClockScenario s;
    for (int race = 1; race <= races; ++race) {
        s.races << QStringLiteral(
                       "0012030704500012345061425053000061425183000061425183004%1 06/14 DIXON   01")
                       .arg(race, 2, 10, QLatin1Char('0'));
        for (int bird = 1; bird <= clockingsPerRace; ++bird)
            s.races << QStringLiteral("US24ROCK%1014%2%30614A")
                           .arg(race * 100 + bird, 6, 10, QLatin1Char('0'))
                           .arg(bird % 60, 2, 10, QLatin1Char('0'))
                           .arg(bird % 60, 2, 10, QLatin1Char('0'));
    }
    return s;
}

// The stand-in clock serving the scenario at emulated 9600 baud; none (and the benchmark skipped with the
// reason) when the system refuses the pseudo-terminal.
inline std::unique_ptr<PtyClock> startClockAt9600Baud(const ClockScenario& scenario, benchmark::State& state)
{
    ClockDevice device(scenario);
    device.faults().charTime = kCharTime9600;
    auto clock = std::make_unique<PtyClock>(std::move(device));
    QString error;
    if (!clock->start(&error)) {
        state.SkipWithError(("cannot start the stand-in clock: " + error).toStdString().c_str());
        return nullptr;
    }
    return clock;
}

// Every byte both ways at the line's character time, plus the 0.1 s settle wait of each one-character answer.
inline double lineTimeBound(qint64 bytes, int singleCharacterAnswers)
{
    return static_cast<double>(bytes) * std::chrono::duration<double>(kCharTime9600).count() +
           0.1 * singleCharacterAnswers;
}

// Runs the benchmarks named on the command line; the caller's application object lives around it.
inline void runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

} // namespace bench
