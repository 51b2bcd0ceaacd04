// Database look-ups at season size: 100,000 birds over 2,000 flyers (50 each).
#include "admin/admin_data.h"
#include "bench_support.h"
#include "database/database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

using bench::kBirdsPerFlyer;
using bench::kFlyers;

const QString kOrgYear = QStringLiteral("US24");

struct Season {
    QTemporaryDir dir;
    Database database;
    double fillSeconds = 0;
};

Season& season()
{
    static std::unique_ptr<Season> built = [] {
        auto s = std::make_unique<Season>();
        QElapsedTimer timer;
        timer.start();
        DbResult status = s->database.open(s->dir.filePath(QStringLiteral("corvexdata.db")), true);
        if (status.ok())
            status = bench::generateSeason(s->database, kOrgYear, QStringLiteral("H"));
        s->fillSeconds = timer.elapsed() / 1000.0;
        if (!status.ok())
            std::fprintf(stderr, "generating failed: %s\n", status.description.toUtf8().constData());
        else
            std::fprintf(stderr, "generated %d flyers x %d birds in %.2f s\n", kFlyers, kBirdsPerFlyer,
                         s->fillSeconds);
        return s;
    }();
    return *built;
}

void BM_BirdsOfFlyerListed(benchmark::State& state)
{
    AdminData data(season().database);
    int flyer = 0;
    for (auto _ : state) {
        const auto birds = data.birdsOfFlyerListed(flyer % kFlyers + 1);
        if (birds.value.size() != kBirdsPerFlyer)
            state.SkipWithError("wrong bird count");
        benchmark::DoNotOptimize(birds.value.data());
        flyer += 37;
    }
}

void BM_BandExists(benchmark::State& state)
{
    AdminData data(season().database);
    int number = 1;
    bool hit = true;
    for (auto _ : state) {
        // Alternately a stored band (in another letter case) and an unknown one.
        const QString band =
            hit ? bench::seasonBand(kOrgYear, number).toLower() : QStringLiteral("US24 ZZZ999999");
        const auto found = data.bandExists(band);
        if (found.value != hit)
            state.SkipWithError("wrong answer");
        hit = !hit;
        number = (number - 1 + 7919) % (kFlyers * kBirdsPerFlyer) + 1;
    }
}

void BM_BirdsByElecnumber(benchmark::State& state)
{
    AdminData data(season().database);
    int number = 1;
    for (auto _ : state) {
        const auto birds = data.birdsByElecnumber(QStringLiteral("%1").arg(1000000000LL + number));
        if (birds.value.size() != 1)
            state.SkipWithError("wrong answer");
        number = (number - 1 + 7919) % (kFlyers * kBirdsPerFlyer) + 1;
    }
}

BENCHMARK(BM_BirdsOfFlyerListed)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_BandExists)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_BirdsByElecnumber)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    season();
    bench::runBenchmarks(argc, argv);
    return 0;
}
