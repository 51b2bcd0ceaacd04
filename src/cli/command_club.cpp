// corvex-cli club: list, add and rename clubs, with the clubs window's rules.
#include "admin/club_rules.h"
#include "cli/admin_command_support.h"

namespace {

int runClub(CliContext& context, QStringList arguments)
{
    const QString usage = QStringLiteral("club list | club add NAME | club rename ID NAME");
    if (arguments.isEmpty())
        return context.usageError(usage);
    const QString action = arguments.takeFirst();

    if (action == QLatin1String("list")) {
        if (!admin_cli::operandsOk(context, arguments, 0, 0, QStringLiteral("club list")))
            return ExitUsage;
        Database* database = context.database();
        if (!database)
            return ExitFailed;
        const AdminData data(*database);
        const auto clubs = data.searchClubs({});
        if (!clubs.ok())
            return admin_cli::failed(context, clubs.status);
        for (const Club& row : clubs.value)
            context.out << club::listEntry(row.ClubID, row.ClubName) << '\n';
        return ExitDone;
    }
    if (action == QLatin1String("add")) {
        if (!admin_cli::operandsOk(context, arguments, 1, 1, QStringLiteral("club add NAME")))
            return ExitUsage;
        Database* database = context.database();
        if (!database)
            return ExitFailed;
        const AdminData data(*database);
        const AdminOutcome outcome = club::add(data, arguments[0]);
        if (outcome.done()) {
            const auto stored = data.searchClubs({});
            for (const Club& row : stored.value) {
                if (row.ClubID == outcome.newKey)
                    context.out << club::listEntry(row.ClubID, row.ClubName) << '\n';
            }
        }
        return admin_cli::finish(context, outcome);
    }
    if (action == QLatin1String("rename")) {
        if (!admin_cli::operandsOk(context, arguments, 2, 2, QStringLiteral("club rename ID NAME")))
            return ExitUsage;
        const auto id = admin_cli::number(arguments[0]);
        if (!id)
            return context.usageError(QStringLiteral("club rename: ID must be a club number"));
        Database* database = context.database();
        if (!database)
            return ExitFailed;
        const AdminData data(*database);
        const auto name = data.clubName(*id);
        if (!name.ok())
            return admin_cli::failed(context, name.status);
        if (!name.value)
            return admin_cli::refuse(context, QStringLiteral("There is no club number %1.").arg(*id));
        const AdminOutcome outcome = club::rename(data, *id, arguments[1]);
        if (outcome.done()) {
            QString cleaned = arguments[1];
            context.out << club::listEntry(*id, data.clubName(*id).value.value_or(cleaned)) << '\n';
        }
        return admin_cli::finish(context, outcome);
    }
    return context.usageError(usage);
}

const CommandRegistration clubCommand(QStringLiteral("club"),
                                      QStringLiteral("club list | add NAME | rename ID NAME"),
                                      QStringLiteral("list, add or rename clubs"),
                                      [](CliContext& c, const QStringList& a) { return runClub(c, a); });

} // namespace
