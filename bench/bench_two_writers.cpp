// Two PCs storing at once into one database file: two "corvex-cli batch" processes, each adding clubs one
// transaction at a time on its own connection. Every add must succeed (a writer waits for the other
// within the busy timeout, it never gets "database is locked"); the figure is adds per second over both.
//   BM_TwoWritersAddClubs: 2 x 500 "club add" commands.
#include "admin/admin_data.h"
#include "bench_process.h"
#include "bench_support.h"
#include "database/database.h"
#include "database/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kWriters = 2;
constexpr int kAddsPerWriter = 500;

void BM_TwoWritersAddClubs(benchmark::State& state)
{
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        const QString path = QDir(home.path()).filePath(kDatabaseFileName);
        if (!Database().open(path, true).ok()) {
            state.SkipWithError("cannot create the database");
            return;
        }
        state.ResumeTiming();
        const auto started = std::chrono::steady_clock::now();
        std::vector<std::unique_ptr<bench::ChildProcess>> writers;
        for (int w = 0; w < kWriters; ++w)
            writers.push_back(std::make_unique<bench::ChildProcess>(
                QStringLiteral(CORVEX_CLI_PATH),
                QStringList{QStringLiteral("--home"), home.path(), QStringLiteral("batch")}));
        for (int i = 0; i < kAddsPerWriter; ++i) {
            for (int w = 0; w < kWriters; ++w)
                writers[w]->writeLine(QStringLiteral("club add \"Writer %1 club %2\"").arg(w).arg(i));
        }
        bool failed = false;
        for (auto& writer : writers) {
            writer->closeInput();
            writer->readAll();
            failed = failed || writer->wait() != 0;
        }
        seconds += bench::millisecondsSince(started) / 1000.0;
        state.PauseTiming();
        Database database;
        const bool opened = database.open(path).ok();
        if (failed || !opened || AdminData(database).countClubs().value != kWriters * kAddsPerWriter) {
            state.SkipWithError("an add failed or was lost");
            return;
        }
        state.ResumeTiming();
    }
    const double rate = kWriters * kAddsPerWriter * static_cast<double>(state.iterations()) / seconds;
    state.counters["adds_per_second"] = rate;
    std::printf("%d writers: %.0f adds per second, none failed\n", kWriters, rate);
}

BENCHMARK(BM_TwoWritersAddClubs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
