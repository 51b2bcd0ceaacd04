// corvex-cli bird: list, add, edit and delete a flyer's birds, with the bird inventory window's rules.
#include "admin/bird_operations.h"
#include "cli/admin_command_support.h"

namespace {

const QString kBirdOptions =
    QStringLiteral("--org AU --year 08 --club ABC --number 12345 [--sex C|H] [--color NONE]");

// Field options given on the command line; those left out keep the given defaults.
int takeFields(CliContext& context, QStringList& arguments, bird::BirdFields& fields)
{
    const std::pair<const char*, QString*> texts[] = {{"org", &fields.org},
                                                      {"year", &fields.year},
                                                      {"club", &fields.club},
                                                      {"number", &fields.number},
                                                      {"color", &fields.color}};
    for (const auto& [option, field] : texts) {
        if (auto value = takeOption(arguments, QString::fromLatin1(option)))
            *field = *value;
    }
    if (const auto sex = takeOption(arguments, QStringLiteral("sex"))) {
        const QString code = sex->trimmed().toUpper();
        if (code != QLatin1String("C") && code != QLatin1String("H"))
            return context.usageError(QStringLiteral("--sex takes C (cock) or H (hen)"));
        fields.cock = code == QLatin1String("C");
    }
    return ExitDone;
}

// The flyer named on the command line; the exit status when there is none.
int runList(CliContext& context, QStringList& arguments, const AdminData& data)
{
    if (!admin_cli::operandsOk(context, arguments, 1, 1, QStringLiteral("bird list FLYER")))
        return ExitUsage;
    Flyer owner;
    if (const int status = admin_cli::findFlyer(context, data, arguments[0], owner); status != ExitDone)
        return status;
    const auto birds = data.birdsOfFlyerListed(owner.FlyerID);
    if (!birds.ok())
        return admin_cli::failed(context, birds.status);
    for (const Bird& row : birds.value)
        context.out << bird::listEntry(row) << '\n';
    return ExitDone;
}

int runAdd(CliContext& context, QStringList& arguments, const AdminData& data)
{
    bird::BirdFields fields;
    fields.org = context.settings.read(QStringLiteral("NationalOrg"), QString());
    fields.color = bird::kDefaultColor;
    if (const int status = takeFields(context, arguments, fields); status != ExitDone)
        return status;
    if (!admin_cli::operandsOk(context, arguments, 1, 1, QStringLiteral("bird add FLYER ") + kBirdOptions))
        return ExitUsage;
    Flyer owner;
    if (const int status = admin_cli::findFlyer(context, data, arguments[0], owner); status != ExitDone)
        return status;
    const AdminOutcome outcome = bird::add(data, owner, fields);
    if (outcome.done())
        context.out << bird::listEntry(
                           bird::rowFromFields(owner.FlyerID, fields, bird::kNoElectronicRing, "0"))
                    << '\n';
    return admin_cli::finish(context, outcome);
}

int runEdit(CliContext& context, QStringList& arguments, const AdminData& data)
{
    bird::BirdFields fields;
    QStringList options = arguments;
    if (const int status = takeFields(context, options, fields); status != ExitDone)
        return status;
    if (!admin_cli::operandsOk(context, options, 2, 2,
                               QStringLiteral("bird edit FLYER BAND [") + kBirdOptions + "]"))
        return ExitUsage;
    Flyer owner;
    if (const int status = admin_cli::findFlyer(context, data, options[0], owner); status != ExitDone)
        return status;
    const auto stored = data.birdOfFlyer(owner.FlyerID, options[1]);
    if (!stored.ok())
        return admin_cli::failed(context, stored.status);
    if (!stored.value)
        return admin_cli::refuse(
            context,
            QStringLiteral("%1 has no bird with the band %2.").arg(owner.Name.trimmed(), options[1]));
    // Options left out keep the stored values.
    fields = bird::fieldsFromRow(*stored.value);
    takeFields(context, arguments, fields);
    const AdminOutcome outcome = bird::edit(data, *stored.value, fields);
    if (outcome.done())
        context.out << bird::listEntry(
                           bird::rowFromFields(owner.FlyerID, fields, stored.value->elecnumber, "1"))
                    << '\n';
    return admin_cli::finish(context, outcome);
}

int runDelete(CliContext& context, QStringList& arguments, const AdminData& data)
{
    admin_cli::answerYes(context, takeFlag(arguments, QStringLiteral("yes")));
    if (!admin_cli::operandsOk(context, arguments, 2, 100000,
                               QStringLiteral("bird delete FLYER BAND... [--yes]")))
        return ExitUsage;
    Flyer owner;
    if (const int status = admin_cli::findFlyer(context, data, arguments.takeFirst(), owner);
        status != ExitDone)
        return status;
    if (!admin_cli::confirmed(
            context, arguments.size() == 1 ? bird::kDeleteSingleQuestion : bird::kDeleteSelectedQuestion,
            bird::kDeleteTitle))
        return ExitFailed;
    const AdminOutcome outcome = bird::deleteBands(data, owner.FlyerID, arguments);
    if (outcome.done()) {
        context.out << "deleted " << outcome.newKey << " of " << arguments.size() << " birds\n";
        if (outcome.newKey < arguments.size())
            return ExitFailed;
    }
    return admin_cli::finish(context, outcome);
}

int runBird(CliContext& context, QStringList arguments)
{
    return admin_cli::runAction(
        context, std::move(arguments),
        QStringLiteral("bird list FLYER | add FLYER ... | edit FLYER BAND ... | delete FLYER BAND..."),
        {{QLatin1String("list"), runList},
         {QLatin1String("add"), runAdd},
         {QLatin1String("edit"), runEdit},
         {QLatin1String("delete"), runDelete}});
}

const CommandRegistration birdCommand(
    QStringLiteral("bird"),
    QStringLiteral(
        "bird list FLYER | add FLYER --org --year --club --number [...] | edit FLYER BAND | delete"),
    QStringLiteral("list, add, edit or delete a flyer's birds"),
    [](CliContext& c, const QStringList& a) { return runBird(c, a); });

} // namespace
