#pragma once

#include "clocklink/clock_link.h"
#include "database/database.h"
#include "platform/device_serial_port.h"
#include "platform/home.h"
#include "settings/configuration.h"
#include "settings/settings_store.h"
#include "shell/database_glue.h"

#include <QPointer>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>

class QtDialogs;
class QtProgress;
class QWidget;
class frmMain;
class frmConfig;

// Program-wide state that lives with the main window. Windows and operations get it by reference.
class AppContext {
public:
    // Without dialogs/progress the real Qt boxes and progress window are used; tests pass scripted ones.
    explicit AppContext(const Home& home, Dialogs* dialogs = nullptr, Progress* progress = nullptr,
                        const QString& portOverride = {});
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Home home;
    SettingsStore settings;
    DeviceSerialPort port;
    // --port: a device used for this run instead of the stored one, until the user saves another.
    QString portOverride;

private:
    std::unique_ptr<QtDialogs> m_qtDialogs;
    std::unique_ptr<QtProgress> m_qtProgress;

public:
    Dialogs& dialogs;
    Progress& progress;
    ClockLink clock;

    // The settings as the configuration window holds them; other parts read them here.
    ConfigValues config;
    QString helpFile;
    QString databasePath;
    Database database; // the main window's connection, open only after a clock answered

    frmMain* mainWindow = nullptr;
    frmConfig* configWindow = nullptr;

    // Opens the help page; replaced in tests so no browser starts.
    std::function<bool(const QUrl&)> openUrl;

    // Modeless windows opened from the menus, one of each kind: shows the existing one or makes it.
    QWidget* showWindow(const QString& key, const std::function<QWidget*(AppContext&)>& make);
    QWidget* openWindow(const QString& key) const;
    // Closes every window opened through showWindow.
    void closeWindows();

    // Sets the main window's title (when there is one).
    void setMainTitle(const QString& title);
    // The clock's identity into the main window's status bar.
    void showClockStatus();

    QtDialogs* qtDialogs() const { return m_qtDialogs.get(); }
    QtProgress* qtProgress() const { return m_qtProgress.get(); }

private:
    std::map<QString, QPointer<QWidget>> m_windows;
};
