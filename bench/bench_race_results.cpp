// The result of one race at federation size: 500 lofts, each with a race file of 40 clockings (20,000 in
// all) in the race folder, and a database of 100,000 birds. One iteration does what the results window and
// `corvex-cli results` do: the liberation point from the database, the race gathered from the folder, the
// lofts and owners looked up in the database, distances, corrections, velocities and ranking, then the
// text and the CSV made. Target: under 200 ms.
#include "bench_support.h"
#include "racedata/race_records.h"
#include "results/result_publication.h"
#include "results/stored_race.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kLofts = 500;
constexpr int kClockingsPerLoft = 40;

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

struct Fixture {
    QTemporaryDir folder;
    Database database;
    bool ready = folder.isValid();

    Fixture()
    {
        ready = ready && database.open(QDir(folder.path()).filePath(kDatabaseFileName), true).ok() &&
                bench::generateSeason(database, QStringLiteral("US24"), QStringLiteral("C")).ok();
        const AdminData data(database);
        LiberationPoint point;
        point.racenum = QStringLiteral("04");
        point.racedate = QStringLiteral("0614");
        point.racename = QStringLiteral("DIXON");
        point.racetype = QStringLiteral("1");
        point.latitude = QStringLiteral("415020");
        point.longitude = QStringLiteral("0892845");
        point.liberationTime = QStringLiteral("07:00:00");
        ready = ready && data.addLiberationPoint(point).ok() && database.begin().ok();
        // The first 500 flyers' lofts lie spread over a degree around 42° N 88° W; flyer f (from 1) is in
        // club f % 20 (club 20 for a multiple of 20) and owns the season's birds (f-1) x 50 + 1 to f x 50.
        for (int loft = 1; loft <= kLofts && ready; ++loft) {
            Flyer flyer;
            flyer.FlyerID = loft;
            flyer.ClubID = (loft - 1) % 20 + 1;
            flyer.Name = QStringLiteral("Flyer %1").arg(loft - 1);
            flyer.Latitude = QStringLiteral("42") + twoDigits(loft % 60) + twoDigits(loft / 60 * 7 % 60);
            flyer.Longitude = QStringLiteral("088") + twoDigits(loft * 7 % 60) + twoDigits(loft % 60);
            ready = data.updateFlyer(flyer).ok();
            const QString club = twoDigits(flyer.ClubID);
            const QString number = QStringLiteral("%1").arg(loft, 3, 10, QLatin1Char('0'));
            QStringList records{QStringLiteral("001203") + club + number +
                                QStringLiteral("00012345061325120000") +
                                QStringLiteral("0614251200000614251200") + twoDigits(loft % 40) +
                                QStringLiteral("04 06/14 DIXON   01")};
            for (int i = 0; i < kClockingsPerLoft; ++i) {
                const int seconds = (loft * kClockingsPerLoft + i) % 7200;
                records << bench::seasonBand(QStringLiteral("US24"),
                                             (loft - 1) * bench::kBirdsPerFlyer + i + 1) +
                               QStringLiteral("A") + twoDigits(9 + seconds / 3600) +
                               twoDigits(seconds / 60 % 60) + twoDigits(seconds % 60) +
                               QStringLiteral("0614");
            }
            ready =
                ready &&
                writeRaceFile(QDir(folder.path())
                                  .filePath(QStringLiteral("001203") + club + QStringLiteral(".") + number),
                              records)
                    .ok;
        }
        ready = ready && database.commit().ok();
    }
};

void BM_RaceResult(benchmark::State& state)
{
    static Fixture fixture;
    if (!fixture.ready) {
        state.SkipWithError("could not make the database and the race folder");
        return;
    }
    const AdminData data(fixture.database);
    std::size_t ranked = 0;
    for (auto _ : state) {
        const FiguredRace result =
            figureStoredRace(data, fixture.folder.path(), 4, QStringLiteral("06/14"), {});
        const QString text = resultText(result);
        const QString csv = resultCsv(result);
        if (!result.error.isEmpty() || result.lines.size() != std::size_t(kLofts * kClockingsPerLoft)) {
            state.SkipWithError("the race was not figured whole");
            return;
        }
        ranked = std::size_t(std::count_if(result.lines.begin(), result.lines.end(),
                                           [](const ResultLine& line) { return line.position > 0; }));
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(csv);
    }
    state.counters["ranked"] = double(ranked);
}
BENCHMARK(BM_RaceResult)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
