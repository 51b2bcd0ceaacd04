// The whole race download (version query, 510-record race series, race file) from the stand-in clock at
// emulated 9600 baud, through the real serial layer, against the line-time bound: every byte both ways at
// 1.04 ms plus the 0.1 s settle wait of each one-character answer.
#include "bench_support.h"
#include "clocklink/clock_link.h"
#include "platform/device_serial_port.h"
#include "racedata/race_download.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {
using namespace std::chrono;

constexpr int kRaces = 10;
constexpr int kClockingsPerRace = 50; // 10 x (1 + 50) = 510 records

// Counts the bytes that cross the port in each direction.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& port) : m_port(port) {}
    OpenResult open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void discardBuffers() override { m_port.discardBuffers(); }
    bool write(const QByteArray& bytes) override
    {
        written += bytes.size();
        return m_port.write(bytes);
    }
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }
    qint64 bytesAvailable() const override { return m_port.bytesAvailable(); }
    QByteArray readAll() override
    {
        QByteArray bytes = m_port.readAll();
        read += bytes.size();
        return bytes;
    }
    bool waitForInput(milliseconds timeout) override { return m_port.waitForInput(timeout); }
    bool waitForSent(milliseconds timeout) override { return m_port.waitForSent(timeout); }
    QString deviceName() const override { return m_port.deviceName(); }
    QString lastError() const override { return m_port.lastError(); }

    qint64 written = 0;
    qint64 read = 0;

private:
    SerialPort& m_port;
};

struct Figures {
    int records = 0;
    qint64 bytes = 0;
    int singleCharacterAnswers = 0;
    double wall = 0;
    double bound = 0;
    bool measured = false;
};
Figures g_figures;

void BM_DownloadRaceDataAt9600Baud(benchmark::State& state)
{
    const std::unique_ptr<PtyClock> clock =
        bench::startClockAt9600Baud(bench::raceScenario(kRaces, kClockingsPerRace), state);
    if (!clock)
        return;
    DeviceSerialPort devicePort;
    devicePort.setDevicePath(clock->devicePath());
    CountingPort port(devicePort);
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    ClockLink link(port, dialogs);
    QTemporaryDir folder;

    for (auto _ : state) {
        port.written = port.read = 0;
        const auto start = steady_clock::now();
        const RaceDownloadResult result = downloadRaceData(link, dialogs, progress, folder.path());
        const double wall = duration<double>(steady_clock::now() - start).count();
        if (result.outcome != RaceDownloadOutcome::Saved) {
            state.SkipWithError("the download did not save a race file");
            return;
        }
        QFile::remove(result.path);

        Figures f;
        f.records = result.records;
        f.bytes = port.written + port.read;
        f.singleCharacterAnswers = 2; // the ACK that opens the series and the closing EOT
        f.wall = wall;
        f.bound = bench::lineTimeBound(f.bytes, f.singleCharacterAnswers);
        f.measured = true;
        g_figures = f;
        state.SetIterationTime(wall);
        state.counters["records"] = f.records;
        state.counters["wall_over_bound"] = f.wall / f.bound;
    }
}
BENCHMARK(BM_DownloadRaceDataAt9600Baud)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    if (g_figures.measured) {
        const Figures& f = g_figures;
        std::printf("\nDownload of %d records, %lld bytes both ways, %d one-character answers\n", f.records,
                    static_cast<long long>(f.bytes), f.singleCharacterAnswers);
        std::printf("wall %.3f s, line-time bound %.3f s: %+.2f %%\n", f.wall, f.bound,
                    (f.wall / f.bound - 1) * 100);
    }
    return 0;
}
