// The result of one race at federation size: 500 lofts, each with a race file of 40 clockings (20,000 in
// all) in the race folder, owners looked up among 100,000 birds. One iteration gathers the race from the
// folder, figures distances, corrections and velocities, ranks them and renders the CSV. The look-ups are an
// in-memory stand-in for the database. Target: under 200 ms.
#include "bench_support.h"
#include "racedata/race_records.h"
#include "results/race_gathering.h"
#include "results/result_lookups.h"
#include "results/result_publication.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kLofts = 500;
constexpr int kClockingsPerLoft = 40;
constexpr int kBirds = 100000;

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString bandOf(int bird)
{
    return QStringLiteral("US24ROCK%1").arg(bird, 6, 10, QLatin1Char('0'));
}

class MemoryLookups : public ResultLookups {
public:
    MemoryLookups()
    {
        for (int loft = 0; loft < kLofts; ++loft)
            m_lofts.insert(loft + 1,
                           {QStringLiteral("Flyer %1").arg(loft),
                            QStringLiteral("41") + twoDigits(loft % 60) + twoDigits(loft / 60 * 7 % 60),
                            QStringLiteral("087") + twoDigits(loft * 7 % 60) + twoDigits(loft % 60)});
        for (int bird = 0; bird < kBirds; ++bird)
            m_owners.insert(bandOf(bird).mid(4), QStringLiteral("Flyer %1").arg(bird % kLofts));
    }
    // Flyers 1 to 500 of club 7.
    ResultLookup<Loft> loft(int club, int flyer) override
    {
        const auto found = m_lofts.constFind(flyer);
        if (club != 7 || found == m_lofts.constEnd())
            return {};
        return {*found, {}};
    }
    ResultLookup<QString> birdOwner(const QString& clubLetters, const QString& bandNumber) override
    {
        const auto found = m_owners.constFind(clubLetters + bandNumber);
        if (found == m_owners.constEnd())
            return {};
        return {*found, {}};
    }

private:
    QHash<int, Loft> m_lofts;
    QHash<QString, QString> m_owners;
};

struct Fixture {
    QTemporaryDir folder;
    MemoryLookups lookups;
    bool ready = folder.isValid();

    Fixture()
    {
        for (int loft = 0; loft < kLofts && ready; ++loft) {
            const QString flyer = QStringLiteral("%1").arg(loft + 1, 3, 10, QLatin1Char('0'));
            QStringList records{QStringLiteral("00120307") + flyer + QStringLiteral("00012345061325120000") +
                                QStringLiteral("0614251200000614251200") + twoDigits(loft % 40) +
                                QStringLiteral("04 06/14 DIXON   01")};
            for (int i = 0; i < kClockingsPerLoft; ++i) {
                const int seconds = (loft * kClockingsPerLoft + i) % 7200;
                records << bandOf(loft * 200 + i) + QStringLiteral("A") + twoDigits(9 + seconds / 3600) +
                               twoDigits(seconds / 60 % 60) + twoDigits(seconds % 60) +
                               QStringLiteral("0614");
            }
            ready =
                writeRaceFile(QDir(folder.path()).filePath(QStringLiteral("00120307.") + flyer), records).ok;
        }
    }
};

void BM_RaceResult(benchmark::State& state)
{
    static Fixture fixture;
    if (!fixture.ready) {
        state.SkipWithError("could not write the race folder");
        return;
    }
    const RaceDefinition race{4,
                              QStringLiteral("06/14"),
                              QStringLiteral("DIXON"),
                              QStringLiteral("Club"),
                              QStringLiteral("415020"),
                              QStringLiteral("0892845"),
                              QTime(7, 0),
                              {}};
    std::size_t ranked = 0;
    for (auto _ : state) {
        const FiguredRace result = figureRace(gatherRace(fixture.folder.path(), 4, QStringLiteral("06/14")),
                                              race, {}, fixture.lookups);
        const QString csv = resultCsv(result);
        if (!result.error.isEmpty() || result.lines.size() != std::size_t(kLofts * kClockingsPerLoft)) {
            state.SkipWithError("the race was not figured whole");
            return;
        }
        ranked = std::size_t(std::count_if(result.lines.begin(), result.lines.end(),
                                           [](const ResultLine& line) { return line.position > 0; }));
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
