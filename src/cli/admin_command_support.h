#pragma once

// What the club, flyer, bird and liberation commands share: the home's database, refusals shown as the
// windows show them, and strict argument checks.
#include "admin/admin_data.h"
#include "admin/clean_text.h"
#include "admin/club_operations.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "common/text_codec.h"
#include "database/database.h"
#include "database/database_messages.h"

#include <initializer_list>
#include <optional>

namespace admin_cli {

// Shows a refusal or a database failure and gives the exit status; ExitDone for a stored outcome.
inline int finish(CliContext& context, const AdminOutcome& outcome)
{
    switch (outcome.status) {
    case AdminOutcome::Status::Done:
        return ExitDone;
    case AdminOutcome::Status::Refused:
        context.dialogs.message(outcome.box);
        return ExitFailed;
    case AdminOutcome::Status::Failed:
        ErrorReport().show(context.dialogs, outcome.db);
        return ExitFailed;
    }
    return ExitFailed;
}

inline int failed(CliContext& context, const DbResult& result)
{
    return finish(context, AdminOutcome::failed(result));
}

// A validation message of the CLI's own (something only a command line can get wrong).
inline int refuse(CliContext& context, const QString& text)
{
    context.dialogs.inform(text);
    return ExitFailed;
}

inline std::optional<int> number(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

// After the options were taken: an option left over is a usage error; so is the wrong count of operands.
inline bool operandsOk(CliContext& context, const QStringList& rest, qsizetype least, qsizetype most,
                       const QString& usage)
{
    for (const QString& argument : rest) {
        if (argument.startsWith(QStringLiteral("--"))) {
            context.usageError(QStringLiteral("unknown option %1; usage: %2").arg(argument, usage));
            return false;
        }
    }
    if (rest.size() < least || rest.size() > most) {
        context.usageError(QStringLiteral("usage: %1").arg(usage));
        return false;
    }
    return true;
}

// --yes answers the command's question with Yes.
inline void answerYes(CliContext& context, bool yes)
{
    if (yes)
        context.dialogs.answerer = [](const Dialogs::Box&) { return std::optional(Dialogs::Answer::Yes); };
}

// The stored flyer of that name; otherwise the failure or "There is no flyer named ..." is shown and the
// exit status given.
inline int findFlyer(CliContext& context, const AdminData& data, const QString& name, Flyer& flyer)
{
    const auto stored = data.flyerByName(cleanedName(name));
    if (!stored.ok())
        return failed(context, stored.status);
    if (!stored.value)
        return refuse(context, QStringLiteral("There is no flyer named %1.").arg(name));
    flyer = *stored.value;
    return ExitDone;
}

// Asks the command's Yes/No question (No by default); true when answered Yes, else says that nothing changed.
inline bool confirmed(CliContext& context, const QString& question, const QString& title)
{
    if (context.dialogs.message({question, title, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                 Dialogs::Answer::No}) == Dialogs::Answer::Yes)
        return true;
    context.failed(QStringLiteral("not confirmed; nothing was changed (--yes answers Yes)"));
    return false;
}

// One action of a command that works on the home's database.
struct Action {
    QLatin1String name;
    int (*run)(CliContext& context, QStringList& arguments, const AdminData& data);
};

// Takes the action word, opens the database only for a known action and runs it with the rest.
inline int runAction(CliContext& context, QStringList arguments, const QString& usage,
                     std::initializer_list<Action> actions)
{
    if (arguments.isEmpty())
        return context.usageError(usage);
    const QString word = arguments.takeFirst();
    for (QString& argument : arguments)
        argument = controlsAsSpaces(argument);
    for (const Action& action : actions) {
        if (word != action.name)
            continue;
        Database* database = context.database();
        if (!database)
            return ExitFailed;
        const AdminData data(*database);
        return action.run(context, arguments, data);
    }
    return context.usageError(usage);
}

} // namespace admin_cli
