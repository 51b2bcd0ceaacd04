#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/full_program.h"
#include "cli/hand_over.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <memory>

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

// In corvex-cli: what it does not run itself goes to corvex-cli-full beside it. Returns (with the other
// program's status on Windows, or a failure) only when it was handed over or could not be.
bool handedOver(char* argv[], int& status)
{
    if (fullProgram().makeApplication)
        return false;
    status = handOver(siblingProgram(argv[0], "corvex-cli-full"), argv);
    return true;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
    if (fullProgram().makeApplication)
        return fullProgram().makeApplication(argc, argv);
    // The database commands run no event loop, and Qt finds its SQL drivers without an application object,
    // whose making (the C locale's files, the event dispatcher) would be a twentieth of this program's run.
    return nullptr;
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

bool drawsDocuments(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0)
            return true;
    }
    return false;
}

FullProgram& fullProgram()
{
    static FullProgram program;
    return program;
}

int main(int argc, char* argv[])
{
    int status = ExitDone;
    if (drawsDocuments(argc, argv) && handedOver(argv, status))
        return status;
    const auto app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvex"));
    QStringList arguments = commandLine(argc, argv);

    const QString home = takeOption(arguments, QStringLiteral("home")).value_or(QString());
    const QString port = takeOption(arguments, QStringLiteral("port")).value_or(QString());
    const QString database = takeOption(arguments, QStringLiteral("database")).value_or(QString());
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        if (handedOver(argv, status))
            return status;
        printHelp(arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? ExitUsage : ExitDone;
    }

    const QString name = arguments.takeFirst();
    const auto command = commandRegistry().find(name);
    if (command == commandRegistry().end()) {
        if (handedOver(argv, status))
            return status;
        std::fprintf(stderr, "corvex-cli: unknown command '%s'\n\n", name.toUtf8().constData());
        printHelp(stderr);
        return ExitUsage;
    }
    CliContext context(home, port, database);
    return context.run(command->second.handler, arguments);
}
