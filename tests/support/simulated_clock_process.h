#pragma once

// corvex-clocksim as a separate process, and a runner for corvex-cli, for tests of the built programs.
//
//   SimulatedClockProcess clock({"--scenario", file});
//   ASSERT_TRUE(clock.started()) << clock.error();
//   const CliRun run = runCorvexCli({"--home", home.path(), "--port", clock.devicePath(), "status"});

#include <QByteArray>
#include <QProcess>
#include <QStringList>

class SimulatedClockProcess {
public:
    // Starts corvex-clocksim with these options and reads the device path from its first line.
    explicit SimulatedClockProcess(const QStringList& options = {});
    // Ends it with SIGTERM (so that --save is written) and waits for it.
    ~SimulatedClockProcess();

    bool started() const { return !m_devicePath.isEmpty(); }
    QString devicePath() const { return m_devicePath; }
    QString error() const { return m_error; }
    // Ends the process now; returns its exit code (or -1).
    int stop();
    // What it printed on standard error (its --log lines), after stop().
    QByteArray standardError() const { return m_stderr; }

private:
    QProcess m_process;
    QString m_devicePath;
    QString m_error;
    QByteArray m_stderr;
};

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool finished = false;
};

// Runs the built corvex-cli with these arguments and input on its standard input, and waits up to timeoutMs
// for it.
CliRun runCorvexCli(const QStringList& arguments, int timeoutMs = 30000, const QByteArray& input = {});
