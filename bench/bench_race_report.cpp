// A race report at season size: a race file of 5,000 clockings against a database of 100,000 birds over 2,000
// flyers. One iteration reads the file, opens the owners' connection, looks up every owner, builds the list
// and writes the report file, as the report window does when it opens. Target: under 300 ms.
#include "admin/admin_data.h"
#include "bench_support.h"
#include "common/pad_field.h"
#include "database/database.h"
#include "reports/database_owner_lookup.h"
#include "reports/race_result.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kFlyers = 2000;
constexpr int kBirdsPerFlyer = 50;
constexpr int kClockings = 5000;

QString lettersOf(int flyer)
{
    return PadField(QString(QChar(u'A' + flyer % 26)) + QChar(u'A' + (flyer / 26) % 26), 4, u' ', false);
}

QString bandOf(int number)
{
    return QStringLiteral("US24") + lettersOf((number - 1) / kBirdsPerFlyer) +
           QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

bool generateDatabase(Database& database)
{
    AdminData data(database);
    if (!database.begin().ok())
        return false;
    bool ok = data.addClub(QStringLiteral("Club")).ok();
    int number = 0;
    for (int f = 0; f < kFlyers && ok; ++f) {
        Flyer flyer;
        flyer.ClubID = 1;
        flyer.Name = QStringLiteral("Flyer %1").arg(f);
        const Fetched<int> id = data.addFlyer(flyer);
        ok = id.ok();
        for (int b = 0; b < kBirdsPerFlyer && ok; ++b) {
            const BandParts parts = splitBand(bandOf(++number));
            ok = data.addBird({0, id.value, parts.NatOrg, parts.HatchYr, parts.clubletters, parts.bnumber,
                               QStringLiteral("C"), QStringLiteral("%1").arg(1000000000LL + number),
                               QStringLiteral("NONE"), QStringLiteral("0")})
                     .ok();
        }
    }
    if (!ok) {
        database.rollback();
        return false;
    }
    return database.commit().ok();
}

// One race of 5,000 clockings; every 50th bird is not in the database.
bool writeRaceFile(const QString& path)
{
    QByteArray bytes;
    const QByteArray header = "00120307045000123450512240730000512240800000512240800030"
                              "4 05/12 SPRINGFL00";
    for (int i = 0; i < kClockings; ++i) {
        if (i == 0)
            bytes += header + "\r\n";
        const int number = 1 + (i * 17) % (kFlyers * kBirdsPerFlyer);
        const QString band = i % 50 == 49 ? QStringLiteral("US24  ZZ999999") : bandOf(number);
        const int seconds = i % 3600;
        const QString time = QStringLiteral("%1%2%3")
                                 .arg(8 + i / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
        bytes += (band + QLatin1Char('C') + time + QStringLiteral("0512")).toLatin1() + "\r\n";
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Fixture {
    QTemporaryDir dir;
    QString databasePath;
    QString racePath;
    bool ready = false;

    Fixture()
    {
        databasePath = QDir(dir.path()).filePath(QStringLiteral("corvexdata.db"));
        racePath = QDir(dir.path()).filePath(QStringLiteral("00120307.045"));
        Database database;
        ready =
            database.open(databasePath, true).ok() && generateDatabase(database) && writeRaceFile(racePath);
    }
};

void BM_RaceReportOpen(benchmark::State& state)
{
    static Fixture fixture;
    if (!fixture.ready) {
        state.SkipWithError("could not build the database or the race file");
        return;
    }
    qsizetype listed = 0;
    for (auto _ : state) {
        const RaceFileLoad load = loadRaceFile(fixture.racePath);
        DatabaseOwnerLookup owners;
        if (!load.ok || !owners.open(fixture.databasePath).ok()) {
            state.SkipWithError("could not open the race file or the database");
            return;
        }
        listed = 0;
        for (qsizetype race = 0; race < load.content.headers.size(); ++race) {
            const RaceResult result = computeRaceResult(load.content, int(race), owners);
            listed += result.listLines.size();
            if (!writeReportFile(QFileInfo(fixture.racePath).absolutePath(), result.reportFileName,
                                 result.reportFileLines)
                     .ok) {
                state.SkipWithError("could not write the report file");
                return;
            }
        }
        benchmark::DoNotOptimize(listed);
    }
    state.counters["clockings"] = double(listed);
}
BENCHMARK(BM_RaceReportOpen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
