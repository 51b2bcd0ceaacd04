// corvex-cli db: database upkeep (init, check, compact, repair).
#include "admin/database.h"
#include "admin/database_messages.h"
#include "admin/maintenance.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"

#include <QFileInfo>

namespace {

int runInit(CliContext& context, const QString& path)
{
    if (QFileInfo::exists(path)) {
        context.out << "exists: " << path << '\n';
        return CheckDatabase(path).ok() ? ExitDone : ExitFailed;
    }
    Database database;
    const DbResult result = database.open(path, true);
    if (!result.ok()) {
        context.out << "error " << result.code << ": " << result.description << '\n';
        return ExitFailed;
    }
    context.out << "created: " << path << '\n';
    return ExitDone;
}

int runCheck(CliContext& context, const QString& path)
{
    const DatabaseCheck check = CheckDatabase(path);
    if (check.ok()) {
        context.out << "ok\n";
        return ExitDone;
    }
    if (!check.status.ok()) {
        // The same advice the desktop program gives, without its box.
        const QString advice = DatabaseErrorText(check.status.code, context.home.dataFolder);
        context.out << "error " << check.status.code << ": " << check.status.description << '\n'
                    << QString(advice).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    }
    for (const QString& problem : check.problems)
        context.out << problem << '\n';
    return ExitFailed;
}

int runDb(CliContext& context, QStringList arguments)
{
    if (arguments.size() != 1)
        return context.usageError(QStringLiteral("db takes one of: init, check, compact, repair"));
    const QString action = arguments.first();
    const QString path = InitDatabasePath(context.home);
    if (action == QLatin1String("init"))
        return runInit(context, path);
    if (action == QLatin1String("check"))
        return runCheck(context, path);
    if (action == QLatin1String("compact") || action == QLatin1String("repair")) {
        const DbResult result = action == QLatin1String("compact")
                                    ? CompactDatabase(path, context.dialogs, context.progress)
                                    : RepairDatabase(path, context.dialogs, context.progress);
        if (result.ok())
            context.out << "ok\n";
        return result.ok() ? ExitDone : ExitFailed;
    }
    return context.usageError(QStringLiteral("unknown db action '%1'").arg(action));
}

const CommandRegistration
    dbCommand(QStringLiteral("db"), QStringLiteral("db init|check|compact|repair"),
              QStringLiteral("create, check, compact or repair the database of the home"),
              [](CliContext& c, const QStringList& a) { return runDb(c, a); });

} // namespace
