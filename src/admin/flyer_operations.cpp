#include "admin/flyer_operations.h"

#include "admin/clean_text.h"

namespace flyer {

Flyer rowFromFields(const FlyerFields& fields)
{
    Flyer row;
    row.ClubID = fields.clubId;
    row.Name = fields.name;
    row.Address = fields.address;
    row.CityStateZip = fields.city;
    row.email = fields.email;
    row.Phone = fields.phone;
    row.Longitude = coordinateDigits(fields.longitude);
    row.Latitude = coordinateDigits(fields.latitude);
    return row;
}

FlyerFields fieldsFromRow(const Flyer& row)
{
    return {row.ClubID, row.Name,  row.Address,   row.CityStateZip,
            row.email,  row.Phone, row.Longitude, row.Latitude};
}

AdminOutcome add(const AdminData& data, FlyerFields fields)
{
    fields.name = CleanText(fields.name);
    if (fields.name.isEmpty())
        return AdminOutcome::refused(kMustEnterName, kErrorTitle, Dialogs::Icon::Critical);
    return withKeyHeld(data, QStringLiteral("flyer name|") + fields.name.toCaseFolded(), [&]() {
        const auto existing = data.flyerByName(fields.name);
        if (!existing.ok())
            return AdminOutcome::failed(existing.status);
        if (existing.value)
            return AdminOutcome::refused(duplicateNameMessage(fields.name));
        const auto added = data.addFlyer(rowFromFields(fields));
        return added.ok() ? AdminOutcome::stored(added.value) : AdminOutcome::failed(added.status);
    });
}

AdminOutcome edit(const AdminData& data, int flyerId, FlyerFields fields)
{
    fields.name = CleanText(fields.name);
    if (fields.name.isEmpty())
        return AdminOutcome::refused(kMustEnterName, kErrorTitle, Dialogs::Icon::Critical);
    Flyer row = rowFromFields(fields);
    row.FlyerID = flyerId;
    return AdminOutcome::changed(data.updateFlyer(row), flyerId, QStringLiteral("flyer ") + fields.name);
}

AdminOutcome erase(const AdminData& data, int flyerId)
{
    return withKeyHeld(data, flyerKeyOf(flyerId), [&]() {
        const auto erased = data.eraseFlyer(flyerId);
        if (erased.status.code == DbError::NoCurrentRecord)
            return AdminOutcome::stored(0);
        return erased.ok() ? AdminOutcome::stored(erased.value) : AdminOutcome::failed(erased.status);
    });
}

QString flyerKeyOf(int flyerId)
{
    return QStringLiteral("flyer|%1").arg(flyerId);
}

} // namespace flyer
