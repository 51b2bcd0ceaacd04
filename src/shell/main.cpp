#include "platform/home.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/app_context.h"
#include "shell/demo.h"
#include "shell/frm_main.h"
#include "shell/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QPalette>
#include <memory>

namespace {
// Dark colours for desktops whose dark theme Qt does not pick up.
void useDarkPalette(QApplication& app)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark;
    const QColor window(0x2d, 0x2f, 0x33), base(0x1e, 0x20, 0x23), text(0xe8, 0xe8, 0xe8);
    const QColor muted(0x8a, 0x8d, 0x91), accent(0x3d, 0x7e, 0xd6);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ToolTipBase, base);
        dark.setColor(group, QPalette::Highlight, off ? muted : accent);
        dark.setColor(group, QPalette::HighlightedText, Qt::white);
        dark.setColor(group, QPalette::Link, accent.lighter(130));
        for (const auto role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
            dark.setColor(group, role, off ? muted : text);
        dark.setColor(group, QPalette::PlaceholderText, muted);
        dark.setColor(group, QPalette::Light, window.lighter(150));
        dark.setColor(group, QPalette::Midlight, window.lighter(125));
        dark.setColor(group, QPalette::Mid, window.darker(120));
        dark.setColor(group, QPalette::Dark, window.darker(150));
        dark.setColor(group, QPalette::Shadow, Qt::black);
    }
    app.setPalette(dark);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvex"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(CORVEX_VERSION_MAJOR)
                                            .arg(CORVEX_VERSION_MINOR)
                                            .arg(CORVEX_VERSION_PATCH));
    // The main window ends the run; hidden windows such as the configuration window must not keep it alive.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Corvex Admin: administration of Corvex pigeon-race clocks."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption homeOption(QStringLiteral("home"),
                                        QStringLiteral("Keep settings, database and race files under DIR."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Use the serial DEVICE for this run."),
                                        QStringLiteral("DEVICE"));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"), QStringLiteral("Try the program with a stand-in clock and sample data."));
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral("Use the PostgreSQL database at URI for this run instead of the configured one."),
        QStringLiteral("URI"));
    const QCommandLineOption darkOption(
        QStringLiteral("dark"), QStringLiteral("Show the windows in dark colours, for a dark desktop."));
    parser.addOptions({homeOption, portOption, demoOption, databaseOption, darkOption});
    parser.process(app);
    if (parser.isSet(darkOption))
        useDarkPalette(app);

    QString homeFolder = parser.value(homeOption);
    QString portDevice = parser.value(portOption);
    std::unique_ptr<DemoSession> demo;
    if (parser.isSet(demoOption)) {
        demo = std::make_unique<DemoSession>();
        if (homeFolder.isEmpty())
            homeFolder = DemoSession::defaultHome();
        QtDialogs dialogs;
        if (!demo->prepareHome(homeFolder) || !demo->startClock(clocksimBesideProgram())) {
            dialogs.inform(demo->error(), QString(), Dialogs::Icon::Critical);
            return 1;
        }
        if (portDevice.isEmpty())
            portDevice = demo->devicePath();
    }

    int status = 0;
    {
        Home home = Home::resolve(homeFolder);
        home.databaseServer = parser.value(databaseOption);
        AppContext context(home, nullptr, nullptr, portDevice);
        frmMain window(context);
        runStartup(context, window);
        window.show();
        context.qtDialogs()->setParentWindow(&window);
        status = QApplication::exec();
    }
    demo.reset();
    return status;
}
