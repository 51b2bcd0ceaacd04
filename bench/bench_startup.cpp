// Start-up to a shown main window, with the stand-in clock answering at full speed, against a home whose
// database holds 100,000 birds. Target: under 0.5 s.
#include "admin/admin_data.h"
#include "bench_support.h"
#include "database/database.h"
#include "model/pty_clock.h"
#include "platform/home.h"
#include "shell/app_context.h"
#include "shell/database_glue.h"
#include "shell/frm_main.h"
#include "shell/startup.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {
constexpr int kFlyers = 1000;
constexpr int kBirdsPerFlyer = 100;

bool fillHome(const Home& home, QString* error)
{
    Database database;
    DbResult status = database.open(InitDatabasePath(home), true);
    AdminData data(database);
    if (status.ok())
        status = database.begin();
    for (int club = 1; club <= 20 && status.ok(); ++club)
        status = data.addClub(QStringLiteral("Club %1").arg(club)).status;
    int band = 0;
    for (int i = 0; i < kFlyers && status.ok(); ++i) {
        Flyer flyer;
        flyer.ClubID = i % 20 + 1;
        flyer.Name = QStringLiteral("Flyer %1").arg(i);
        const auto flyerId = data.addFlyer(flyer);
        status = flyerId.status;
        for (int b = 0; b < kBirdsPerFlyer && status.ok(); ++b) {
            ++band;
            Bird bird;
            bird.BirdFlyerID = flyerId.value;
            bird.NatOrg = QStringLiteral("US");
            bird.HatchYr = QStringLiteral("24");
            bird.clubletters = QStringLiteral("%1").arg(i % 20 + 1, 4);
            bird.bnumber = QStringLiteral("%1").arg(band, 6, 10, QLatin1Char('0'));
            bird.sex = QStringLiteral("C");
            bird.elecnumber = QStringLiteral("%1").arg(1000000000LL + band, 10, 10, QLatin1Char('0'));
            bird.color = QStringLiteral("BB");
            bird.type = QStringLiteral("0");
            status = data.addBird(bird).status;
        }
    }
    if (status.ok())
        status = database.commit();
    if (!status.ok()) {
        *error = status.description;
        return false;
    }
    SettingsStore(home.settingsFile).write(kDatabaseRecordKey, QStringLiteral("corvexdata.db"));
    return true;
}

void BM_StartupToShownWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    const Home home = Home::under(dir.path());
    QString error;
    if (!fillHome(home, &error)) {
        state.SkipWithError(("cannot fill the database: " + error).toStdString().c_str());
        return;
    }
    PtyClock clock;
    if (!clock.start(&error)) {
        state.SkipWithError(("cannot start the stand-in clock: " + error).toStdString().c_str());
        return;
    }
    for (auto _ : state) {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        AppContext context(home, &dialogs, &progress, clock.devicePath());
        frmMain window(context);
        runStartup(context, window);
        window.show();
        QApplication::processEvents();
        if (!dialogs.log().empty() || !context.database.isOpen()) {
            state.SkipWithError(
                ("start-up did not end cleanly: " + dialogs.lines().join(' ')).toStdString().c_str());
            break;
        }
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvex"));
    bench::runBenchmarks(argc, argv);
    return 0;
}
