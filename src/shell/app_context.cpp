#include "shell/app_context.h"

#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_progress.h"
#include "shell/frm_config.h"
#include "shell/frm_main.h"

#include <QDesktopServices>
#include <QWidget>

AppContext::AppContext(const Home& homeFolders, Dialogs* dialogsOverride, Progress* progressOverride,
                       const QString& portDevice)
    : home(homeFolders), settings(home.settingsFile), portOverride(portDevice),
      m_qtDialogs(dialogsOverride ? nullptr : std::make_unique<QtDialogs>()),
      m_qtProgress(progressOverride ? nullptr : std::make_unique<QtProgress>()),
      dialogs(dialogsOverride ? *dialogsOverride : *m_qtDialogs),
      progress(progressOverride ? *progressOverride : *m_qtProgress), clock(port, dialogs),
      openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    if (home.databaseServer.isEmpty())
        home.databaseServer = settings.read(config_keys::DatabaseServer, QString()).trimmed();
}

AppContext::~AppContext()
{
    closeWindows();
    delete configWindow;
    database.close();
}

QWidget* AppContext::showWindow(const QString& key, const std::function<QWidget*(AppContext&)>& make)
{
    QPointer<QWidget>& window = m_windows[key];
    if (!window) {
        window = make(*this);
        if (!window)
            return nullptr;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QWidget* AppContext::openWindow(const QString& key) const
{
    const auto found = m_windows.find(key);
    return found == m_windows.end() ? nullptr : found->second.data();
}

void AppContext::closeWindows()
{
    for (auto& [key, window] : m_windows)
        if (window)
            window->close();
    // Windows that refused to close or were not deleted on close go with the context.
    for (auto& [key, window] : m_windows)
        delete window.data();
    m_windows.clear();
}

void AppContext::setMainTitle(const QString& title)
{
    if (mainWindow)
        mainWindow->setWindowTitle(title);
}

void AppContext::showClockStatus()
{
    if (mainWindow)
        mainWindow->setStatusPanels(clockStatusTexts(clock.identity));
}
