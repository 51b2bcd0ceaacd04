// Importing a full DOS administration file: 999 flyers with 500 birds each, then the integrity check of the
// database. Target: the import in under 10 s.
#include "bench_support.h"
#include "common/pad_field.h"
#include "common/text_codec.h"
#include "database/database.h"
#include "database/maintenance.h"
#include "dosimport/dos_import.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(toCodePage437(text));
}

// S123405.DAT with kMaxDosFlyers flyers and their bird files of kMaxDosBirds birds, bands unique overall.
void writeFiles(const QString& folder)
{
    QString admin = QStringLiteral("\"S1          BENCH COMBINE       US\"\r\n");
    int band = 0;
    for (int flyer = 1; flyer <= kMaxDosFlyers; ++flyer) {
        const QString number = QStringLiteral("%1").arg(flyer, 3, 10, QLatin1Char('0'));
        admin += QStringLiteral("\"S3   0105") + number +
                 PadField(QStringLiteral("Flyer ") + number, 20, u' ', true) +
                 QStringLiteral("08712340421234\"\r\n");
        QString birds;
        for (int b = 0; b < kMaxDosBirds; ++b) {
            ++band;
            birds += QStringLiteral("\"US08 ABC%1C%200\"\r\n")
                         .arg(band, 6, 10, QLatin1Char('0'))
                         .arg(band, 9, 10, QLatin1Char('0'));
        }
        writeFile(QDir(folder).filePath(QStringLiteral("Z0105.") + number), birds);
    }
    writeFile(QDir(folder).filePath(QStringLiteral("S123405.DAT")), admin);
}

void BM_ImportFullAdminFile(benchmark::State& state)
{
    QTemporaryDir files;
    writeFiles(files.path());
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        const QString path = QDir(home.path()).filePath(kDatabaseFileName);
        Database database;
        if (!database.open(path, true).ok()) {
            state.SkipWithError("cannot create the database");
            return;
        }
        AdminData data(database);
        const int clubId = data.addClub(QStringLiteral("Bench Club")).value;
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        DosImport dosImport(database, dialogs, progress);
        state.ResumeTiming();

        dosImport.chooseFile(QDir(files.path()).filePath(QStringLiteral("S123405.DAT")));
        dosImport.import(clubId, std::nullopt);

        state.PauseTiming();
        const int birds = [&] {
            int count = 0;
            for (const Flyer& flyer : data.searchFlyers({}).value)
                count += static_cast<int>(data.birdsOfFlyer(flyer.FlyerID).value.size());
            return count;
        }();
        database.close();
        const DatabaseCheck check = checkDatabase(path);
        state.counters["flyers"] = dosImport.importedCount();
        state.counters["birds"] = birds;
        state.counters["integrity_ok"] = check.ok() ? 1 : 0;
        if (!dialogs.log().empty() || birds != kMaxDosFlyers * kMaxDosBirds)
            state.SkipWithError("the import did not store every flyer and bird");
        else if (!check.ok())
            state.SkipWithError(
                ("integrity check failed: " + check.problems.join(u"; ").toStdString()).c_str());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportFullAdminFile)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
