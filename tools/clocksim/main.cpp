// corvex-clocksim: a stand-in Corvex clock on a pseudo-terminal.
#include "model/pty_clock.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <ctime>

namespace {
const char* const kUsage =
    "Usage: corvex-clocksim [OPTIONS]\n"
    "\n"
    "A stand-in Corvex clock (memory module and sensor board) on a pseudo-terminal. Prints the device\n"
    "path as its first line, then serves until SIGTERM or Ctrl+C. Point the program at it with\n"
    "--port DEVICE (corvex-cli) or the setting ComDevice.\n"
    "\n"
    "Options:\n"
    "  --scenario FILE     module content and identity from a JSON scenario file\n"
    "  --demo              a built-in flyer with a few birds and two races\n"
    "  --save FILE         write the module content back as a scenario on exit\n"
    "  --link PATH         also make PATH a symbolic link to the device\n"
    "  --baud              emulate 9600 baud: 1.04 ms per character both ways\n"
    "  --log               print every frame received on standard error\n"
    "  --fly-after-liberations[=YEAR]\n"
    "                      fly a race per liberation point received (after \"IC0\"/\"I0\" records):\n"
    "                      the next \"W\" series serves a header from the S2/S3 records and the serial,\n"
    "                      then a clocking per ringed bird (Z record), at fixed times; YEAR is the\n"
    "                      season's year (default 2025), since liberation records carry none\n"
    "Faults:\n"
    "  --nak-once          answer the first frame with NAK\n"
    "  --nak-twice         answer the first two frames with NAK\n"
    "  --silent            never answer\n"
    "  --no-etx[=N]        framed answers without ETX (all, or the next N)\n"
    "  --bad-checksum[=N]  framed answers with a wrong checksum\n"
    "  --trailing-bytes[=N] framed answers followed by stray bytes\n"
    "  --unplug-after N    fall silent after N records of a series\n"
    "  --help              this text\n"
    "\n"
    "Scenario file:\n"
    "  {\"rbm\": {\"version\": 123, \"second\": 100, \"status\": 3, \"serial\": \"000000FF\"},\n"
    "   \"pcf\": {\"version\": 105, \"serial\": \"00FF\"},\n"
    "   \"inventory\": {\"S1\": \"...\", \"S2\": \"...\", \"S3\": \"...\", \"Z\": [\"...\"]},\n"
    "   \"races\": [\"header\", \"clocking\", ...], \"liberations\": [\"I0...\"]}\n";

int usageError(const QString& text)
{
    std::fprintf(stderr, "corvex-clocksim: %s\n(see --help)\n", text.toLocal8Bit().constData());
    return 2;
}

// A count of 0 or more.
bool readCount(const QString& text, int& count)
{
    bool ok = false;
    count = text.toInt(&ok);
    return ok && count >= 0;
}

// "--name" or "--name=N": -1 (all) or N; nullopt when the argument is another option.
std::optional<int> countOption(const QString& argument, const QString& name, bool* bad)
{
    if (argument == name)
        return -1;
    if (!argument.startsWith(name + '='))
        return std::nullopt;
    int value = 0;
    *bad = !readCount(argument.mid(name.size() + 1), value);
    return value;
}

QString visible(const QByteArray& bytes)
{
    QString text;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += b < 0x20 || b >= 0x7F ? QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper()
                                      : QString(QLatin1Char(c));
    }
    return text;
}
} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    ClockScenario scenario;
    ClockFaults faults;
    QString scenarioFile, saveFile, linkPath;
    bool demo = false;
    bool log = false;
    std::optional<FlightPlan> flight;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        bool bad = false;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == QLatin1String("--scenario") || a == QLatin1String("--save") ||
                   a == QLatin1String("--link") || a == QLatin1String("--unplug-after")) {
            const auto v = value();
            if (!v)
                return usageError(a + QStringLiteral(" needs a value"));
            if (a == QLatin1String("--scenario"))
                scenarioFile = *v;
            else if (a == QLatin1String("--save"))
                saveFile = *v;
            else if (a == QLatin1String("--link"))
                linkPath = *v;
            else if (!readCount(*v, faults.unplugAfterRecords))
                return usageError(QStringLiteral("--unplug-after needs a count"));
        } else if (a == QLatin1String("--demo")) {
            demo = true;
        } else if (a == QLatin1String("--baud")) {
            faults.charTime = kCharTime9600;
        } else if (a == QLatin1String("--log")) {
            log = true;
        } else if (auto y = countOption(a, QStringLiteral("--fly-after-liberations"), &bad)) {
            flight = FlightPlan{};
            if (*y >= 0 && !bad) {
                bad = *y < 1900 || *y > 2099;
                flight->year = *y;
            }
        } else if (a == QLatin1String("--nak-once")) {
            faults.nakFrames = 1;
        } else if (a == QLatin1String("--nak-twice")) {
            faults.nakFrames = 2;
        } else if (a == QLatin1String("--silent")) {
            faults.silentAnswers = -1;
        } else if (auto n = countOption(a, QStringLiteral("--no-etx"), &bad)) {
            faults.missingEtx = *n;
        } else if (auto m = countOption(a, QStringLiteral("--bad-checksum"), &bad)) {
            faults.badChecksum = *m;
        } else if (auto t = countOption(a, QStringLiteral("--trailing-bytes"), &bad)) {
            faults.trailingBytes = *t;
        } else {
            return usageError(QStringLiteral("unknown option ") + a);
        }
        if (bad)
            return usageError(QStringLiteral("bad count in ") + a);
    }
    if (demo && !scenarioFile.isEmpty())
        return usageError(QStringLiteral("--demo and --scenario exclude each other"));
    if (demo)
        scenario = ClockScenario::demo();
    if (!scenarioFile.isEmpty()) {
        QString error;
        const auto loaded = ClockScenario::load(scenarioFile, &error);
        if (!loaded) {
            std::fprintf(stderr, "corvex-clocksim: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        scenario = *loaded;
    }

    // Signals are taken by sigtimedwait below; the serving thread inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ClockDevice device(scenario);
    device.faults() = faults;
    device.setFlyAfterLiberations(flight);
    PtyClock clock(std::move(device));
    QString error;
    if (!clock.start(&error)) {
        std::fprintf(stderr, "corvex-clocksim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    if (!linkPath.isEmpty()) {
        if (QFileInfo(linkPath).isSymLink())
            QFile::remove(linkPath);
        if (!QFile::link(clock.devicePath(), linkPath)) {
            std::fprintf(stderr, "corvex-clocksim: cannot create the link %s\n",
                         linkPath.toLocal8Bit().constData());
            return 1;
        }
    }
    std::printf("%s\n", clock.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);

    const timespec tick{0, 200 * 1000 * 1000};
    for (;;) {
        const int caught = sigtimedwait(&stopSignals, nullptr, &tick);
        // The log is taken in turns so that a long run does not keep every frame.
        const auto frames = clock.withDevice([](ClockDevice& d) {
            auto taken = d.frames();
            d.clearFrames();
            return taken;
        });
        if (log) {
            for (const ReceivedFrame& frame : frames) {
                const char* target = frame.bare ? "" : frame.rbm ? "RBM " : "PCF ";
                std::fprintf(stderr, "%s%s%s\n", target, visible(frame.command).toLocal8Bit().constData(),
                             frame.checksumOk ? "" : "  (bad checksum)");
            }
        }
        if (caught == SIGINT || caught == SIGTERM)
            break;
    }
    clock.stop();
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    if (!saveFile.isEmpty()) {
        const ClockScenario final = clock.withDevice([](ClockDevice& d) { return d.scenario(); });
        if (!final.save(saveFile, &error)) {
            std::fprintf(stderr, "corvex-clocksim: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
