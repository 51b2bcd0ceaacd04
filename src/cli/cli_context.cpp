#include "cli/cli_context.h"

#include "admin/database_messages.h"
#include "cli/command_registry.h"
#include "shell/settings/configuration.h"

#include <cstdio>

CliContext::CliContext(const QString& homeFolder, const QString& portOverride,
                       const QString& databaseOverride)
    : home(Home::resolve(homeFolder)), settings(home.settingsFile), out(stdout), m_portOverride(portOverride)
{
    home.databaseServer = databaseOverride.isEmpty()
                              ? settings.read(config_keys::DatabaseServer, QString()).trimmed()
                              : databaseOverride;
}

Database* CliContext::database()
{
    if (m_database.isOpen())
        return &m_database;
    const QString path = InitDatabasePath(home);
    const DbResult opened = m_database.open(path);
    if (opened.ok())
        return &m_database;
    ShowDatabaseError(dialogs, opened, path);
    return nullptr;
}

int CliContext::run(const CommandHandler& handler, const QStringList& arguments)
{
    const int status = handler(*this, arguments);
    dialogs.answerer = nullptr;
    out.flush();
    return status;
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
