#include "admin/liberation_operations.h"

namespace liberation {

namespace {
AdminOutcome checkFields(const PointFields& fields, const QString& missingMessage)
{
    const auto problem =
        fieldProblem(fields.number, fields.month, fields.day, fields.name, fields.type, missingMessage);
    if (!problem) {
        if (const auto position =
                positionProblem(fields.latitude, fields.longitude, fields.time, fields.night))
            return AdminOutcome::refused(*position);
        return AdminOutcome::stored();
    }
    if (*problem == missingMessage)
        return AdminOutcome::refused(*problem, kErrorTitle, Dialogs::Icon::Critical);
    return AdminOutcome::refused(*problem);
}
} // namespace

LiberationPoint rowFromFields(const PointFields& fields)
{
    LiberationPoint row;
    row.racenum = padRaceNumber(fields.number);
    row.racedate = padDatePart(fields.month) + padDatePart(fields.day);
    row.racename = fields.name;
    row.racetype = fields.type.trimmed();
    row.latitude = fields.latitude.trimmed();
    row.longitude = fields.longitude.trimmed();
    row.liberationTime = fields.time.trimmed();
    row.night = fields.night.trimmed();
    return row;
}

AdminOutcome add(const AdminData& data, const PointFields& fields)
{
    if (const AdminOutcome check = checkFields(fields, kAddMissingFields); !check.done())
        return check;
    // Two PCs adding the last point the table has room for: only one gets it.
    return withKeyHeld(data, QStringLiteral("orte"), [&]() {
        const auto count = data.countLiberationPoints();
        if (!count.ok())
            return AdminOutcome::failed(count.status);
        if (!roomForAnother(count.value))
            return AdminOutcome::refused(kListFull, kErrorTitle, Dialogs::Icon::Exclamation);
        const auto added = data.addLiberationPoint(rowFromFields(fields));
        return added.ok() ? AdminOutcome::stored(added.value) : AdminOutcome::failed(added.status);
    });
}

AdminOutcome edit(const AdminData& data, qint64 rowId, const PointFields& fields)
{
    if (const AdminOutcome check = checkFields(fields, kEditMissingFields); !check.done())
        return check;
    return AdminOutcome::changed(data.updateLiberationPoint(rowId, rowFromFields(fields)), rowId,
                                 QStringLiteral("liberation point ") + fields.name.trimmed());
}

} // namespace liberation
