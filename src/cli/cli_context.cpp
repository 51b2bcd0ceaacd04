#include "cli/cli_context.h"

#include "cli/command_registry.h"
#include "database/database_messages.h"
#include "settings/configuration.h"

#include <QFileInfo>
#include <cstdio>

CliContext::CliContext(const QString& homeFolder, const QString& portOverride,
                       const QString& databaseOverride)
    : home(Home::resolve(homeFolder)), settings(home.settingsFile), out(stdout), m_portOverride(portOverride)
{
    home.databaseServer = databaseOverride.isEmpty()
                              ? settings.read(config_keys::DatabaseServer, QString()).trimmed()
                              : databaseOverride;
}

DbResult CliContext::openDatabase(Database& database)
{
    const QString path = InitDatabasePath(home);
    const bool server = !home.databaseServer.isEmpty();
    const bool firstRun =
        !server && !settings.contains(config_keys::DatabaseFile) && !QFileInfo::exists(path);
    const DbResult opened = database.open(path, firstRun);
    if (opened.ok() && !server && !settings.contains(config_keys::DatabaseFile))
        settings.write(config_keys::DatabaseFile, QFileInfo(path).fileName());
    return opened;
}

Database* CliContext::database()
{
    if (m_database.isOpen())
        return &m_database;
    const DbResult opened = openDatabase(m_database);
    if (opened.ok())
        return &m_database;
    const QString path = InitDatabasePath(home);
    QString text = databaseErrorText(opened, path);
    if (opened.code == DbError::FileNotFound && home.databaseServer.isEmpty())
        text += QStringLiteral("\r\n\r\n\"corvex-cli db init\" makes a new empty database.");
    dialogs.message({text, kDatabaseUnavailableTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Critical, {}});
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

int CliContext::failed(const QString& text)
{
    out.flush();
    std::fprintf(stderr, "corvex-cli: %s\n", text.toUtf8().constData());
    return ExitFailed;
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
