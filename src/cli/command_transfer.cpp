// corvex-cli send-inventory, receive-inventory and send-liberations: the clock administration transfers.
#include "admin/admin_data.h"
#include "admin/database.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "clocklink/clock_link.h"
#include "shell/settings/configuration.h"
#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer/liberation_send.h"

namespace {

bool openDatabase(CliContext& context, Database& database)
{
    const DbResult opened = database.open(InitDatabasePath(context.home));
    if (opened.ok())
        return true;
    context.out << "error " << opened.code << ": " << opened.description << '\n';
    return false;
}

// "ok"/"yes" -> first, "cancel"/"no" -> second; anything else is a usage error.
std::optional<std::optional<Dialogs::Answer>> parseAnswer(const std::optional<QString>& option,
                                                          const QString& yes, Dialogs::Answer yesAnswer,
                                                          const QString& no, Dialogs::Answer noAnswer)
{
    if (!option)
        return std::optional<Dialogs::Answer>();
    if (option->compare(yes, Qt::CaseInsensitive) == 0)
        return std::optional<Dialogs::Answer>(yesAnswer);
    if (option->compare(no, Qt::CaseInsensitive) == 0)
        return std::optional<Dialogs::Answer>(noAnswer);
    return std::nullopt;
}

int runSendInventory(CliContext& context, QStringList arguments)
{
    const std::optional<QString> flyerName = takeOption(arguments, QStringLiteral("flyer"));
    const std::optional<QString> only = takeOption(arguments, QStringLiteral("only"));
    const auto differentName =
        parseAnswer(takeOption(arguments, QStringLiteral("different-name")), QStringLiteral("ok"),
                    Dialogs::Answer::Ok, QStringLiteral("cancel"), Dialogs::Answer::Cancel);
    if (!flyerName || flyerName->trimmed().isEmpty() || !arguments.isEmpty())
        return context.usageError(QStringLiteral(
            "usage: send-inventory --flyer NAME [--only BAND,...] [--different-name ok|cancel]"));
    if (!differentName)
        return context.usageError(QStringLiteral("--different-name takes ok or cancel"));
    Database database;
    if (!openDatabase(context, database))
        return ExitFailed;

    const ConfigValues config = ReadConfig(context.settings);
    SendInventoryRequest request;
    request.flyerName = *flyerName;
    request.settings = {config.combineName, config.nationalOrg, config.combine, config.concourse};
    if (only) {
        request.onlySelected = true;
        for (const QString& band : only->split(QLatin1Char(','), Qt::SkipEmptyParts))
            request.selectedBands << band;
    }
    context.dialogs.answerer = [&](const Dialogs::Box& box) -> std::optional<Dialogs::Answer> {
        if (box.title == kDifferentNamesTitle)
            return *differentName;
        return std::nullopt;
    };
    const AdminData data(database);
    const SendInventoryResult result =
        SendInventory(context.clock(), context.dialogs, context.progress, data, request);
    if (result.outcome != SendInventoryOutcome::Sent)
        return ExitFailed;
    context.out << "sent: " << result.birdsSent << '\n';
    return ExitDone;
}

int runReceiveInventory(CliContext& context, QStringList arguments)
{
    const auto addFlyer =
        parseAnswer(takeOption(arguments, QStringLiteral("add-flyer")), QStringLiteral("yes"),
                    Dialogs::Answer::Yes, QStringLiteral("no"), Dialogs::Answer::No);
    const std::optional<QString> clubOption = takeOption(arguments, QStringLiteral("club"));
    if (!arguments.isEmpty())
        return context.usageError(
            QStringLiteral("usage: receive-inventory [--add-flyer yes|no] [--club ID]"));
    if (!addFlyer)
        return context.usageError(QStringLiteral("--add-flyer takes yes or no"));
    bool clubOk = true;
    const int clubId = clubOption ? clubOption->toInt(&clubOk) : 0;
    if (!clubOk || (clubOption && clubId <= 0))
        return context.usageError(QStringLiteral("--club takes a club number"));
    Database database;
    if (!openDatabase(context, database))
        return ExitFailed;

    context.dialogs.answerer = [&](const Dialogs::Box& box) -> std::optional<Dialogs::Answer> {
        if (box.text == kAddFlyerQuestion)
            return *addFlyer;
        return std::nullopt;
    };
    ReceiveResult result = ReceiveInventory(context.clock(), context.dialogs, context.progress, database);
    if (result.outcome == ReceiveOutcome::NeedsFlyerWindow) {
        if (!clubOption) {
            context.dialogs.inform(chooseClubMessage(result.flyerName));
            context.out << "choose a club with --club ID\n";
            return ExitFailed;
        }
        const AdminData data(database);
        const auto club = data.clubName(clubId);
        if (!club.ok() || !club.value) {
            context.out << "no club " << clubId << '\n';
            return ExitFailed;
        }
        result = AddReceivedFlyer(database, context.dialogs, result.inventory, clubId);
    }
    if (result.outcome != ReceiveOutcome::Stored && result.outcome != ReceiveOutcome::FlyerCreated)
        return ExitFailed;
    context.out << "flyer: " << result.flyerName << '\n'
                << "added: " << result.counters.added << '\n'
                << "updated: " << result.counters.updated << '\n'
                << "changed: " << result.counters.changed << '\n';
    return ExitDone;
}

int runSendLiberations(CliContext& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return context.usageError(QStringLiteral("send-liberations takes no arguments"));
    Database database;
    if (!openDatabase(context, database))
        return ExitFailed;
    const AdminData data(database);
    const LiberationSendResult result =
        SendLiberations(context.clock(), context.dialogs, context.progress, data);
    if (result.outcome != LiberationSendOutcome::Sent)
        return ExitFailed;
    context.out << "sent: " << result.sent << '\n';
    return ExitDone;
}

const CommandRegistration sendInventoryCommand(
    QStringLiteral("send-inventory"),
    QStringLiteral("send-inventory --flyer NAME [--only BAND,...] [--different-name ok|cancel]"),
    QStringLiteral("write a flyer's bird inventory into the RBM"),
    [](CliContext& c, const QStringList& a) { return runSendInventory(c, a); });
const CommandRegistration
    receiveInventoryCommand(QStringLiteral("receive-inventory"),
                            QStringLiteral("receive-inventory [--add-flyer yes|no] [--club ID]"),
                            QStringLiteral("read the RBM's inventory into the database"),
                            [](CliContext& c, const QStringList& a) { return runReceiveInventory(c, a); });
const CommandRegistration sendLiberationsCommand(QStringLiteral("send-liberations"),
                                                 QStringLiteral("send-liberations"),
                                                 QStringLiteral("write the liberation points into the clock"),
                                                 runSendLiberations);

} // namespace
