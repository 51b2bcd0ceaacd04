// corvex-cli db: database upkeep (init, check, compact, repair) and copying between file and server.
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "database/database.h"
#include "database/database_copy.h"
#include "database/database_messages.h"
#include "database/engine.h"
#include "database/maintenance.h"
#include "database/schema.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Where messages name the database: a server's address without its password.
QString shownLocation(const QString& location)
{
    return engineFor(location).displayName(location);
}

int runInit(CliContext& context, const QString& path)
{
    if (engineFor(path).isServer()) {
        Database database;
        const DbResult result = database.open(path, true);
        if (!result.ok()) {
            context.out << "error " << result.code << ": " << result.description << '\n';
            return ExitFailed;
        }
        context.out << "ready: " << shownLocation(path) << '\n';
        return ExitDone;
    }
    if (QFileInfo::exists(path)) {
        context.out << "exists: " << path << '\n';
        return checkDatabase(path).ok() ? ExitDone : ExitFailed;
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
    const DatabaseCheck check = checkDatabase(path);
    if (check.ok()) {
        context.out << "ok\n";
        return ExitDone;
    }
    if (!check.status.ok()) {
        // The same advice the desktop program gives, without its box.
        const QString advice = databaseErrorText(check.status.code, context.home.dataFolder);
        context.out << "error " << check.status.code << ": " << check.status.description << '\n'
                    << QString(advice).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    }
    for (const QString& problem : check.problems)
        context.out << problem << '\n';
    return ExitFailed;
}

const QString kCopyUsage = QStringLiteral("db copy --to URI|FILE | --from URI|FILE [--replace]");

// --to: the home's database file into the target; --from: the source into the home's database file.
int runCopy(CliContext& context, QStringList arguments)
{
    const bool replace = takeFlag(arguments, QStringLiteral("replace"));
    const std::optional<QString> to = takeOption(arguments, QStringLiteral("to"));
    const std::optional<QString> from = takeOption(arguments, QStringLiteral("from"));
    if (!arguments.isEmpty() || to.has_value() == from.has_value() ||
        to.value_or(from.value_or(QString())).isEmpty())
        return context.usageError(kCopyUsage);
    const QString file = QDir(context.home.dataFolder).filePath(kDatabaseFileName);
    const QString source = to ? file : *from;
    const QString target = to ? *to : file;
    CopyCounts counts;
    const DbResult result = copyDatabase(source, target, replace, &counts);
    if (!result.ok()) {
        context.out << "error " << result.code << ": " << result.description << '\n';
        return ExitFailed;
    }
    context.out << "copied " << counts.clubs << " clubs, " << counts.flyers << " flyers, " << counts.birds
                << " birds, " << counts.points << " liberation points to " << shownLocation(target) << '\n';
    return ExitDone;
}

int runDb(CliContext& context, QStringList arguments)
{
    // Compacting and repairing need the file to themselves; copying reads or replaces all of it.
    context.closeDatabase();
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("copy"))
        return runCopy(context, arguments.mid(1));
    if (arguments.size() != 1)
        return context.usageError(QStringLiteral("db takes one of: init, check, compact, repair, copy"));
    const QString action = arguments.first();
    const QString path = InitDatabasePath(context.home);
    if (action == QLatin1String("init"))
        return runInit(context, path);
    if (action == QLatin1String("check"))
        return runCheck(context, path);
    if (action == QLatin1String("compact") || action == QLatin1String("repair")) {
        const DbResult result = action == QLatin1String("compact")
                                    ? compactDatabase(path, context.dialogs, context.progress)
                                    : repairDatabase(path, context.dialogs, context.progress);
        if (result.ok())
            context.out << "ok\n";
        return result.ok() ? ExitDone : ExitFailed;
    }
    return context.usageError(QStringLiteral("unknown db action '%1'").arg(action));
}

const CommandRegistration
    dbCommand(QStringLiteral("db"),
              QStringLiteral("db init|check|compact|repair | db copy --to|--from URI [--replace]"),
              QStringLiteral("create, check, compact or repair the database; copy it to or from a server"),
              [](CliContext& c, const QStringList& a) { return runDb(c, a); });

} // namespace
