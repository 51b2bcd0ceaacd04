#include "cli/cli_context.h"
#include "cli/command_registry.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
void printHelp(std::FILE* out)
{
    std::fprintf(out, "Usage: corvex-cli [--home DIR] [--port DEVICE] COMMAND [ARGUMENTS]\n\n"
                      "Corvex Admin without windows.\n\nCommands:\n");
    for (const auto& [name, info] : commandRegistry())
        std::fprintf(out, "  %-58s %s\n", info.usage.toUtf8().constData(), info.summary.toUtf8().constData());
    std::fprintf(out, "\nExit status: 0 done, 1 refused or failed, 2 wrong usage.\n");
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvex"));
    QStringList arguments = app.arguments().mid(1);

    const QString home = takeOption(arguments, QStringLiteral("home")).value_or(QString());
    const QString port = takeOption(arguments, QStringLiteral("port")).value_or(QString());
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        printHelp(arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? ExitUsage : ExitDone;
    }

    const QString name = arguments.takeFirst();
    const auto command = commandRegistry().find(name);
    if (command == commandRegistry().end()) {
        std::fprintf(stderr, "corvex-cli: unknown command '%s'\n\n", name.toUtf8().constData());
        printHelp(stderr);
        return ExitUsage;
    }
    CliContext context(home, port);
    const int status = command->second.handler(context, arguments);
    context.out.flush();
    return status;
}
