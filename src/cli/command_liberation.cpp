// corvex-cli liberation: list, add, edit and delete liberation points, with the liberation window's rules.
#include "admin/liberation_operations.h"
#include "cli/admin_command_support.h"

namespace {

int runList(CliContext& context, QStringList& arguments, const AdminData& data)
{
    if (!admin_cli::operandsOk(context, arguments, 0, 0, QStringLiteral("liberation list")))
        return ExitUsage;
    const auto points = data.liberationPoints();
    if (!points.ok())
        return admin_cli::failed(context, points.status);
    bool marked = false;
    for (const LiberationPoint& point : points.value) {
        marked = marked || !liberation::winSpeedCompatible(point.racenum);
        context.out << liberation::listEntry({point.racenum, point.racedate, point.racename, point.racetype})
                    << '\n';
    }
    if (marked)
        context.out
            << QString(liberation::kNotWinSpeedNote).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            << '\n';
    return ExitDone;
}

const QString kPositionUsage =
    QStringLiteral("[--latitude DIGITS] [--longitude DIGITS] [--time HH:MM:SS] [--night HH:MM-HH:MM]");

// The position options given; a point keeps what it had for the others.
struct PositionOptions {
    std::optional<QString> latitude, longitude, time, night;

    explicit PositionOptions(QStringList& arguments)
        : latitude(takeOption(arguments, QStringLiteral("latitude"))),
          longitude(takeOption(arguments, QStringLiteral("longitude"))),
          time(takeOption(arguments, QStringLiteral("time"))),
          night(takeOption(arguments, QStringLiteral("night")))
    {
    }
    void applyTo(liberation::PointFields& fields) const
    {
        fields.latitude = latitude.value_or(fields.latitude);
        fields.longitude = longitude.value_or(fields.longitude);
        fields.time = time.value_or(fields.time);
        fields.night = night.value_or(fields.night);
    }
};

int runAdd(CliContext& context, QStringList& arguments, const AdminData& data)
{
    const auto type = takeOption(arguments, QStringLiteral("type"));
    const PositionOptions position(arguments);
    if (!admin_cli::operandsOk(context, arguments, 4, 4,
                               QStringLiteral("liberation add NUMBER MONTH DAY NAME [--type 1] ") +
                                   kPositionUsage))
        return ExitUsage;
    liberation::PointFields fields{arguments[0], arguments[1], arguments[2], arguments[3],
                                   type.value_or(liberation::kDefaultType)};
    position.applyTo(fields);
    const AdminOutcome outcome = liberation::add(data, fields);
    if (outcome.done())
        context.out << liberation::listEntry([&] {
            const LiberationPoint row = liberation::rowFromFields(fields);
            return liberation::RacePoint{row.racenum, row.racedate, row.racename, row.racetype};
        }()) << '\n';
    return admin_cli::finish(context, outcome);
}

// The point a command names by race number and name: the first stored, as the window's list click finds it.
int findPoint(CliContext& context, const AdminData& data, const QString& number, const QString& name,
              LiberationPoint& point)
{
    const auto found = data.liberationPoint(name, liberation::padRaceNumber(number));
    if (!found.ok())
        return admin_cli::failed(context, found.status);
    if (!found.value)
        return admin_cli::refuse(context,
                                 QStringLiteral("There is no liberation point %1 %2.").arg(number, name));
    point = *found.value;
    return ExitDone;
}

int runEdit(CliContext& context, QStringList& arguments, const AdminData& data)
{
    const auto number = takeOption(arguments, QStringLiteral("number"));
    const auto month = takeOption(arguments, QStringLiteral("month"));
    const auto day = takeOption(arguments, QStringLiteral("day"));
    const auto name = takeOption(arguments, QStringLiteral("name"));
    const auto type = takeOption(arguments, QStringLiteral("type"));
    const PositionOptions position(arguments);
    if (!admin_cli::operandsOk(
            context, arguments, 2, 2,
            QStringLiteral(
                "liberation edit NUMBER NAME [--number N] [--month M] [--day D] [--name X] [--type T] ") +
                kPositionUsage))
        return ExitUsage;
    LiberationPoint point;
    if (const int status = findPoint(context, data, arguments[0], arguments[1], point); status != ExitDone)
        return status;
    liberation::PointFields fields{number.value_or(point.racenum),
                                   month.value_or(point.racedate.left(2)),
                                   day.value_or(point.racedate.mid(2, 2)),
                                   name.value_or(point.racename),
                                   type.value_or(point.racetype),
                                   point.latitude,
                                   point.longitude,
                                   point.liberationTime,
                                   point.night};
    position.applyTo(fields);
    const AdminOutcome outcome = liberation::edit(data, point.rowId, fields);
    if (outcome.done()) {
        const LiberationPoint row = liberation::rowFromFields(fields);
        context.out << liberation::listEntry({row.racenum, row.racedate, row.racename, row.racetype}) << '\n';
    }
    return admin_cli::finish(context, outcome);
}

int runDelete(CliContext& context, QStringList& arguments, const AdminData& data)
{
    admin_cli::answerYes(context, takeFlag(arguments, QStringLiteral("yes")));
    if (!admin_cli::operandsOk(context, arguments, 2, 2,
                               QStringLiteral("liberation delete NUMBER NAME [--yes]")))
        return ExitUsage;
    LiberationPoint point;
    if (const int status = findPoint(context, data, arguments[0], arguments[1], point); status != ExitDone)
        return status;
    if (!admin_cli::confirmed(context, liberation::kDeleteQuestion, liberation::kDeleteTitle))
        return ExitFailed;
    const DbResult result = data.deleteLiberationPoint(point.rowId);
    return result.ok() ? ExitDone : admin_cli::failed(context, result);
}

int runLiberation(CliContext& context, QStringList arguments)
{
    return admin_cli::runAction(
        context, std::move(arguments),
        QStringLiteral(
            "liberation list | add NUMBER MONTH DAY NAME | edit NUMBER NAME ... | delete NUMBER NAME"),
        {{QLatin1String("list"), runList},
         {QLatin1String("add"), runAdd},
         {QLatin1String("edit"), runEdit},
         {QLatin1String("delete"), runDelete}});
}

const CommandRegistration liberationCommand(
    QStringLiteral("liberation"),
    QStringLiteral(
        "liberation list | add NUMBER MONTH DAY NAME [--type 1] [--latitude DIGITS --longitude DIGITS] "
        "[--time HH:MM:SS] [--night HH:MM-HH:MM] | edit NUMBER NAME [...] | delete"),
    QStringLiteral("list, add, edit or delete liberation points (at most 51)"),
    [](CliContext& c, const QStringList& a) { return runLiberation(c, a); });

} // namespace
