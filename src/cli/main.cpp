#include "cli/cli_context.h"
#include "cli/command_registry.h"

#include <QCoreApplication>
#ifdef CORVEX_CLI_FULL
#include <QGuiApplication>
#endif
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
void printHelp(std::FILE* out)
{
    std::fprintf(out,
                 "Usage: corvex-cli [--home DIR] [--port DEVICE] [--database URI] COMMAND [ARGUMENTS]\n\n"
                 "Corvex Admin without windows.\n\nCommands:\n");
    for (const auto& [name, info] : commandRegistry())
        std::fprintf(out, "  %-58s %s\n", info.usage.toUtf8().constData(), info.summary.toUtf8().constData());
    std::fprintf(out, "\nExit status: 0 done, 1 refused or failed, 2 wrong usage.\n");
}

// Drawing a PDF needs fonts, which only a GUI application has; it runs without a screen.
bool drawsDocuments(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0)
            return true;
    }
    return false;
}

#ifndef CORVEX_CLI_FULL
// The serial port, Access and printing libraries cost start-up time that the database commands would pay
// on every run. This program runs the commands that need none of them; the others (the clock, the Access
// import, PDF documents, batches) and the help are run by corvex-cli-full, which stands beside this program
// and takes over this process with the same arguments.
[[noreturn]] void runFullVariant(char* argv[])
{
    std::string self = argv[0];
    char resolved[4096];
    const ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    if (length > 0)
        self.assign(resolved, static_cast<size_t>(length));
    const std::string::size_type slash = self.rfind('/');
    const std::string full =
        (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "corvex-cli-full";
    execv(full.c_str(), argv);
    std::fprintf(stderr, "corvex-cli: cannot start %s: %s\n", full.c_str(), std::strerror(errno));
    std::exit(ExitFailed);
}
#endif

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
#ifdef CORVEX_CLI_FULL
    if (drawsDocuments(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
#else
    // The database commands run no event loop, and Qt finds its SQL drivers without an application object,
    // whose making (the C locale's files, the event dispatcher) would be a twentieth of this program's run.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return nullptr;
#endif
}

// The arguments after the program's name, as QCoreApplication::arguments() gives them.
QStringList commandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
} // namespace

int main(int argc, char* argv[])
{
#ifndef CORVEX_CLI_FULL
    if (drawsDocuments(argc, argv))
        runFullVariant(argv);
#endif
    const auto app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvex"));
    QStringList arguments = commandLine(argc, argv);

    const QString home = takeOption(arguments, QStringLiteral("home")).value_or(QString());
    const QString port = takeOption(arguments, QStringLiteral("port")).value_or(QString());
    const QString database = takeOption(arguments, QStringLiteral("database")).value_or(QString());
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
#ifndef CORVEX_CLI_FULL
        runFullVariant(argv);
#endif
        printHelp(arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? ExitUsage : ExitDone;
    }

    const QString name = arguments.takeFirst();
    const auto command = commandRegistry().find(name);
    if (command == commandRegistry().end()) {
#ifndef CORVEX_CLI_FULL
        runFullVariant(argv);
#endif
        std::fprintf(stderr, "corvex-cli: unknown command '%s'\n\n", name.toUtf8().constData());
        printHelp(stderr);
        return ExitUsage;
    }
    CliContext context(home, port, database);
    return context.run(command->second.handler, arguments);
}
