#pragma once

#include <QProcess>
#include <QString>

class AppContext;

// corvex --demo: a stand-in clock as a child process and a home with a few clubs, flyers and birds.
class DemoSession {
public:
    DemoSession();
    ~DemoSession(); // ends the stand-in clock

    // Starts corvex-clocksim --demo (beside this program) and waits for its device path. False with a
    // reason in error() when it cannot be started.
    bool startClock(const QString& clocksimPath);
    QString devicePath() const { return m_device; }
    QString error() const { return m_error; }

    // The demo home folder, ~/.local/share/Corvex-demo unless CORVEX_DEMO_HOME says otherwise.
    static QString defaultHome();
    // Creates the database with its sample data when the home has none yet. False with error() on failure.
    bool prepareHome(const QString& folder);

    void stopClock();

private:
    QProcess m_clock;
    QString m_device;
    QString m_error;
};

// The path of corvex-clocksim beside this program.
QString clocksimBesideProgram();
