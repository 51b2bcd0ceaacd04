// A 510-record race download from the stand-in clock at emulated 9600 baud, through the real serial layer.
// (a) Wall time of the series against the line-time bound (every byte both ways at 1.04 ms, plus the 0.1 s
//     settle wait of each one-character answer). Target: within 5 %.
// (b) The program's CPU time over the wall time of the whole exchange, one 5 s E3 timeout included.
//     Target: under 5 %. The program runs on this thread and the clock on its own, so this thread's CPU
//     time is the program's.
#include "bench_support.h"
#include "clocklink/clock_link.h"
#include "platform/device_serial_port.h"
#include "testing/scripted_dialogs.h"

#include <QCoreApplication>
#include <cstdio>
#include <ctime>

namespace {
using namespace std::chrono;

constexpr int kRaces = 10;
constexpr int kClockingsPerRace = 50; // 10 x (1 + 50) = 510 records

struct Figures {
    int records = 0;
    qint64 bytes = 0;
    int singleCharacterAnswers = 0;
    double seriesWall = 0;
    double bound = 0;
    double totalWall = 0;
    double programCpu = 0;
    bool measured = false;
};
Figures g_figures;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_RaceDownloadAt9600Baud(benchmark::State& state)
{
    const std::unique_ptr<PtyClock> started =
        bench::startClockAt9600Baud(bench::raceScenario(kRaces, kClockingsPerRace), state);
    if (!started)
        return;
    PtyClock& clock = *started;
    DeviceSerialPort port;
    port.setDevicePath(clock.devicePath());
    ScriptedDialogs dialogs;
    ClockLink link(port, dialogs);

    for (auto _ : state) {
        // Open the port first so that both measures start with the first frame.
        link.exchange.SendCommand(QByteArray(1, 0x04));
        clock.withDevice([](ClockDevice& d) { d.clearFrames(); });

        const double cpuStart = threadCpuSeconds();
        const auto start = steady_clock::now();
        QList<QByteArray> answers;
        for (;;) {
            const QByteArray block = ReadNextRaceBlock(link.exchange, link.flags);
            answers << block;
            if (block == QByteArray(1, 0x04) || isFailureCode(block) || block.isEmpty())
                break;
        }
        const auto seriesEnd = steady_clock::now();
        if (answers.back() != QByteArray(1, 0x04)) {
            state.SkipWithError(("the series failed with " + answers.back()).constData());
            return;
        }

        clock.withDevice([](ClockDevice& d) { d.faults().missingEtx = 1; });
        const QByteArray timeout = link.exchange.SendCommand("v");
        const auto end = steady_clock::now();
        const double cpu = threadCpuSeconds() - cpuStart;
        if (timeout != "E3") {
            state.SkipWithError("the E3 timeout did not happen");
            return;
        }

        Figures f;
        for (const ReceivedFrame& frame : clock.withDevice([](ClockDevice& d) { return d.frames(); }))
            f.bytes += frame.raw.size();
        f.bytes -= 6; // the "v" of the E3 exchange is not part of the series
        for (const QByteArray& answer : answers) {
            if (answer.size() == 1) {
                ++f.singleCharacterAnswers;
                f.bytes += 1;
            } else {
                ++f.records;
                f.bytes += answer.size() + 5; // STX, leading character, checksum, ETX
            }
        }
        f.seriesWall = duration<double>(seriesEnd - start).count();
        f.bound = bench::lineTimeBound(f.bytes, f.singleCharacterAnswers);
        f.totalWall = duration<double>(end - start).count();
        f.programCpu = cpu;
        f.measured = true;
        g_figures = f;
        state.SetIterationTime(f.seriesWall);
        state.counters["records"] = f.records;
        state.counters["wall_over_bound"] = f.seriesWall / f.bound;
        state.counters["cpu_share"] = f.programCpu / f.totalWall;
    }
    link.exchange.closePort();
}
BENCHMARK(BM_RaceDownloadAt9600Baud)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    if (g_figures.measured) {
        const Figures& f = g_figures;
        const double excess = (f.seriesWall / f.bound - 1) * 100;
        const double share = f.programCpu / f.totalWall * 100;
        std::printf("\nRace series of %d records, %lld bytes both ways, %d one-character answers\n",
                    f.records, static_cast<long long>(f.bytes), f.singleCharacterAnswers);
        std::printf("(a) wall %.3f s, line-time bound %.3f s: %+.2f %% (target within 5 %%) %s\n",
                    f.seriesWall, f.bound, excess, excess <= 5 ? "MET" : "MISSED");
        std::printf(
            "(b) program CPU %.3f s over %.3f s wall with one E3 timeout: %.2f %% (target under 5 %%) %s\n",
            f.programCpu, f.totalWall, share, share < 5 ? "MET" : "MISSED");
    }
    return 0;
}
