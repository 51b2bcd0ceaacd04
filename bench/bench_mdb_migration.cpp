// Bringing over an Access administration database of season size: 20 clubs, 2,000 flyers, 100,000 birds.
// Target: under 10 s for the whole migration, integrity check included.
#include "bench_support.h"
#include "database/mdb_migration.h"
#include "jet4_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFlyers = 2000;
constexpr int kBirdsPerFlyer = 50;

QString writeSeason(const QString& folder)
{
    jet4::Table clubs = jet4::accessTable("clubs");
    for (int c = 1; c <= 20; ++c)
        clubs.rows.push_back({c, QStringLiteral("Club %1").arg(c)});
    jet4::Table flyers = jet4::accessTable("flyerlist");
    jet4::Table birds = jet4::accessTable("birds");
    int number = 0;
    for (int f = 1; f <= kFlyers; ++f) {
        flyers.rows.push_back({f, f % 20 + 1, QStringLiteral("Flyer %1").arg(f),
                               QStringLiteral("%1 Main St.").arg(f), QStringLiteral("Springfield IL 62704"),
                               QStringLiteral("flyer%1@example.com").arg(f), QStringLiteral("555-0100"),
                               QStringLiteral("0893512"), QStringLiteral("413210")});
        for (int b = 0; b < kBirdsPerFlyer; ++b) {
            ++number;
            birds.rows.push_back({f, QStringLiteral("US"), QStringLiteral("24"), QStringLiteral("  AB"),
                                  QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0')),
                                  QStringLiteral("C"),
                                  QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0')),
                                  QStringLiteral("BB"), QStringLiteral("0")});
        }
    }
    jet4::Table orte = jet4::accessTable("orte");
    const QString path = QDir(folder).filePath(QStringLiteral("corvexdata.mdb"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(jet4::write({clubs, flyers, birds, orte}).file);
    return path;
}

void BM_MigrateSeason(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString mdb = writeSeason(dir.path());
    int run = 0;
    for (auto _ : state) {
        const QString target = QDir(dir.path()).filePath(QStringLiteral("corvexdata%1.db").arg(++run));
        const MdbMigrationReport report = migrateMdb(mdb, target, false);
        if (!report.ok() || !report.check.ok() || report.tables[2].written != kFlyers * kBirdsPerFlyer)
            state.SkipWithError(report.summary().join(QLatin1Char(' ')).toUtf8().constData());
    }
}
BENCHMARK(BM_MigrateSeason)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
