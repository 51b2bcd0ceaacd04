// Database look-ups at season size: 100,000 birds over 2,000 flyers (50 each).
#include "admin/admin_data.h"
#include "admin/database.h"
#include "common/pad_field.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr int kFlyers = 2000;
constexpr int kBirdsPerFlyer = 50;

QString bandOf(int number)
{
    const int flyer = (number - 1) / kBirdsPerFlyer;
    const QString letters =
        PadField(QString(QChar(u'A' + flyer % 26)) + QChar(u'A' + (flyer / 26) % 26), 4, u' ', false);
    return QStringLiteral("US24") + letters + QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

// All rows in one transaction, as a receive or an import stores them.
DbResult generate(Database& database)
{
    AdminData data(database);
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
            const BandParts parts = splitBand(bandOf(++number));
            const Bird bird{0,
                            id.value,
                            parts.NatOrg,
                            parts.HatchYr,
                            parts.clubletters,
                            parts.bnumber,
                            QStringLiteral("H"),
                            QStringLiteral("%1").arg(1000000000LL + number),
                            QStringLiteral("BLUE"),
                            QStringLiteral("0")};
            status = data.addBird(bird).status;
        }
    }
    if (!status.ok()) {
        database.rollback();
        return status;
    }
    return database.commit();
}

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
            status = generate(s->database);
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
        const QString band = hit ? bandOf(number).toLower() : QStringLiteral("US24 ZZZ999999");
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
