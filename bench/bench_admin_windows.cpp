// The administration windows at season size: 100,000 birds over 2,000 flyers (50 each). Targets: the flyer
// click, the band check and "corvex-cli bird list" with a median under 5 ms; opening the bird inventory
// window under 200 ms.
#include "admin/admin_data.h"
#include "admin/bird_rules.h"
#include "admin/windows/frm_bird_inventory.h"
#include "bench_process.h"
#include "bench_support.h"
#include "database/database.h"
#include "platform/home.h"
#include "settings/settings_store.h"
#include "testing/scripted_dialogs.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

using bench::kBirdsPerFlyer;
using bench::kFlyers;

const QString kOrgYear = QStringLiteral("US10");

struct Season {
    QTemporaryDir dir;
    Home home = Home::under(dir.path());
    Database database;
    std::unique_ptr<SettingsStore> settings;
    ScriptedDialogs dialogs;
    bool ok = false;
};

Season& season()
{
    static std::unique_ptr<Season> built = [] {
        auto s = std::make_unique<Season>();
        s->settings = std::make_unique<SettingsStore>(s->home.settingsFile);
        s->settings->write(QStringLiteral("NationalOrg"), QStringLiteral("US"));
        DbResult status = s->database.open(InitDatabasePath(s->home), true);
        if (status.ok())
            status = bench::generateSeason(s->database, kOrgYear, QStringLiteral("C"));
        s->ok = status.ok();
        if (!s->ok)
            std::fprintf(stderr, "generating failed: %s\n", status.description.toUtf8().constData());
        return s;
    }();
    return *built;
}

void BM_FlyerClick(benchmark::State& state)
{
    Season& s = season();
    if (!s.ok)
        return state.SkipWithError("no database");
    frmBirdInventory window(InitDatabasePath(s.home), s.dialogs, *s.settings);
    auto* flyers = window.findChild<QListWidget*>(QStringLiteral("lstBIFlyerList"));
    int row = 0;
    for (auto _ : state) {
        row = (row + 997) % kFlyers;
        const QSignalBlocker blocker(flyers);
        flyers->setCurrentRow(row);
        window.flyerClick();
    }
    if (window.listedBirds().size() != kBirdsPerFlyer)
        state.SkipWithError("the flyer click did not list 50 birds");
}
BENCHMARK(BM_FlyerClick)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_BandExists(benchmark::State& state)
{
    Season& s = season();
    if (!s.ok)
        return state.SkipWithError("no database");
    const AdminData data(s.database);
    int number = 0;
    for (auto _ : state) {
        number = (number + 7919) % (kFlyers * kBirdsPerFlyer) + 1;
        const auto exists = data.bandExists(bench::seasonBand(kOrgYear, number));
        if (!exists.ok() || !exists.value)
            state.SkipWithError("band not found");
    }
}
BENCHMARK(BM_BandExists)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Each run timed on its own: the median of single runs, which one slow start cannot move.
void BM_CliBirdList(benchmark::State& state)
{
    Season& s = season();
    if (!s.ok)
        return state.SkipWithError("no database");
    std::vector<double> runs;
    int flyer = 0;
    for (auto _ : state) {
        flyer = (flyer + 613) % kFlyers;
        bench::ChildProcess process(QStringLiteral(CORVEX_CLI_PATH),
                                    {QStringLiteral("--home"), s.dir.path(), QStringLiteral("bird"),
                                     QStringLiteral("list"), QStringLiteral("Flyer %1").arg(flyer)});
        process.closeInput();
        const std::string out = process.readAll();
        const int status = process.wait();
        runs.push_back(bench::millisecondsSince(process.started));
        if (status != 0 || std::count(out.begin(), out.end(), '\n') != kBirdsPerFlyer)
            state.SkipWithError("bird list failed");
    }
    state.counters["median_ms"] = bench::median(runs);
}
BENCHMARK(BM_CliBirdList)->Unit(benchmark::kMillisecond)->Iterations(200);

// What starting any program costs on this machine, for reading the figure above.
void BM_StartEmptyProgram(benchmark::State& state)
{
    std::vector<double> runs;
    for (auto _ : state) {
        bench::ChildProcess process(QStringLiteral("/bin/true"), {});
        process.closeInput();
        benchmark::DoNotOptimize(process.wait());
        runs.push_back(bench::millisecondsSince(process.started));
    }
    state.counters["median_ms"] = bench::median(runs);
}
BENCHMARK(BM_StartEmptyProgram)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_OpenBirdInventory(benchmark::State& state)
{
    Season& s = season();
    if (!s.ok)
        return state.SkipWithError("no database");
    for (auto _ : state) {
        frmBirdInventory window(InitDatabasePath(s.home), s.dialogs, *s.settings);
        benchmark::DoNotOptimize(window.listedBirds().size());
    }
}
BENCHMARK(BM_OpenBirdInventory)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
