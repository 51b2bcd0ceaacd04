#include "cli/cli_context.h"

#include "cli/command_registry.h"

#include <cstdio>

namespace {
int leadingDigits(const QString& text)
{
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}
} // namespace

CliContext::CliContext(const QString& homeFolder, const QString& portOverride,
                       const QString& databaseOverride)
    : home(Home::resolve(homeFolder)), settings(home.settingsFile), clock(port, dialogs), out(stdout)
{
    home.databaseServer = databaseOverride.isEmpty()
                              ? settings.read(QStringLiteral("DatabaseServer"), QString()).trimmed()
                              : databaseOverride;
    port.setPortNumber(leadingDigits(settings.read(QStringLiteral("Comports"), QStringLiteral("1"))));
    port.setDevicePath(portOverride.isEmpty() ? settings.read(QStringLiteral("ComDevice"), QString())
                                              : portOverride);
}

int CliContext::usageError(const QString& text)
{
    std::fprintf(stderr, "corvex-cli: %s\n", text.toUtf8().constData());
    return ExitUsage;
}

std::map<QString, CommandInfo>& commandRegistry()
{
    static std::map<QString, CommandInfo> registry;
    return registry;
}

std::optional<QString> takeOption(QStringList& arguments, const QString& name)
{
    const QString flag = QStringLiteral("--") + name;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == flag && i + 1 < arguments.size()) {
            const QString value = arguments[i + 1];
            arguments.remove(i, 2);
            return value;
        }
        if (arguments[i].startsWith(flag + '=')) {
            const QString value = arguments[i].mid(flag.size() + 1);
            arguments.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

bool takeFlag(QStringList& arguments, const QString& name)
{
    return arguments.removeAll(QStringLiteral("--") + name) > 0;
}
