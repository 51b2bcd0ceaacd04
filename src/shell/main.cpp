#include "platform/home.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/app_context.h"
#include "shell/demo.h"
#include "shell/frm_main.h"
#include "shell/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <memory>

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
    parser.addOptions({homeOption, portOption, demoOption, databaseOption});
    parser.process(app);

    QString homeFolder = parser.value(homeOption);
    QString portDevice = parser.value(portOption);
    std::unique_ptr<DemoSession> demo;
    if (parser.isSet(demoOption)) {
        demo = std::make_unique<DemoSession>();
        if (homeFolder.isEmpty())
            homeFolder = DemoSession::defaultHome();
        QtDialogs dialogs;
        if (!demo->prepareHome(homeFolder) || !demo->startClock(ClocksimBesideProgram())) {
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
        RunStartup(context, window);
        window.show();
        context.qtDialogs()->setParentWindow(&window);
        status = QApplication::exec();
    }
    demo.reset();
    return status;
}
