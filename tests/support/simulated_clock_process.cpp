#include "simulated_clock_process.h"

SimulatedClockProcess::SimulatedClockProcess(const QStringList& options)
{
    m_process.start(QStringLiteral(CORVEX_CLOCKSIM_PATH), options);
    if (!m_process.waitForStarted(5000)) {
        m_error = m_process.errorString();
        return;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000)) {
            m_process.waitForFinished(1000);
            m_error =
                QStringLiteral("no device path: ") + QString::fromLocal8Bit(m_process.readAllStandardError());
            return;
        }
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

SimulatedClockProcess::~SimulatedClockProcess()
{
    stop();
}

int SimulatedClockProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
    m_stderr += m_process.readAllStandardError();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

CliRun runCorvexCli(const QStringList& arguments, int timeoutMs, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(CORVEX_CLI_PATH), arguments);
    CliRun run;
    process.write(input);
    process.closeWriteChannel();
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(2000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
