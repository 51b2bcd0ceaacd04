#include "admin/bird_operations.h"

#include "admin/flyer_operations.h"

#include <functional>

namespace bird {

namespace {
AdminOutcome checkFields(const BirdFields& fields, const QString& keptYear)
{
    if (const auto problem = fieldProblem(fields, keptYear)) {
        if (*problem == kMissingFields)
            return AdminOutcome::refused(*problem, kErrorTitle, Dialogs::Icon::Critical);
        return AdminOutcome::refused(*problem);
    }
    return AdminOutcome::stored();
}

AdminOutcome addHeld(const AdminData& data, const Flyer& owner, const Bird& row)
{
    // The flyer re-read in the transaction that stores the bird: another window may have erased it.
    const auto flyer = data.flyerNameById(owner.FlyerID);
    if (!flyer.ok())
        return AdminOutcome::failed(flyer.status);
    if (!flyer.value)
        return AdminOutcome::gone(QStringLiteral("flyer ") + owner.Name.trimmed());
    const auto exists = data.bandExists(row.band());
    if (!exists.ok())
        return AdminOutcome::failed(exists.status);
    if (exists.value)
        return AdminOutcome::refused(duplicateBandMessage(row.band()));
    const auto added = data.addBird(row);
    return AdminOutcome::changed(added.status, added.value, QStringLiteral("flyer ") + owner.Name.trimmed());
}

AdminOutcome editHeld(const AdminData& data, const Bird& stored, const Bird& row)
{
    const auto holders = data.birdsByBand(row.band());
    if (!holders.ok())
        return AdminOutcome::failed(holders.status);
    for (const Bird& other : holders.value) {
        if (other.rowId != stored.rowId)
            return AdminOutcome::refused(duplicateBandMessage(row.band()));
    }
    const auto replaced = data.replaceBird(stored.rowId, row);
    return AdminOutcome::changed(replaced.status, replaced.value, QStringLiteral("bird ") + stored.band());
}

// The band test and the store are one transaction holding the band's key, so two PCs adding or editing
// the same band at once cannot both pass the test; it holds the flyer's key too, which erasing the flyer
// takes.
AdminOutcome withBandHeld(const AdminData& data, int flyerId, const QString& band,
                          const std::function<AdminOutcome()>& work)
{
    const BandParts parts = splitBand(band);
    QString key = QStringLiteral("band");
    for (const QString& part : {parts.NatOrg, parts.HatchYr, parts.clubletters, parts.bnumber})
        key += u'|' + comparedText(part);
    return withKeyHeld(data, key, [&]() {
        const DbResult flyerKey = data.database().lockKey(flyer::flyerKeyOf(flyerId));
        return flyerKey.ok() ? work() : AdminOutcome::failed(flyerKey);
    });
}
} // namespace

AdminOutcome add(const AdminData& data, const Flyer& owner, const BirdFields& fields, const QString& keptYear)
{
    if (const AdminOutcome check = checkFields(fields, keptYear); !check.done())
        return check;
    const Bird row = rowFromFields(owner.FlyerID, fields, kNoElectronicRing, QStringLiteral("0"));
    return withBandHeld(data, owner.FlyerID, row.band(), [&]() { return addHeld(data, owner, row); });
}

AdminOutcome edit(const AdminData& data, const Bird& stored, const BirdFields& fields)
{
    if (const AdminOutcome check = checkFields(fields, stored.HatchYr); !check.done())
        return check;
    const Bird row = rowFromFields(stored.BirdFlyerID, fields, stored.elecnumber, QStringLiteral("1"));
    return withBandHeld(data, stored.BirdFlyerID, row.band(), [&]() { return editHeld(data, stored, row); });
}

AdminOutcome deleteBands(const AdminData& data, int flyerId, const QStringList& bands)
{
    qint64 deleted = 0;
    for (const QString& band : bands) {
        const auto found = data.birdOfFlyer(flyerId, band);
        if (!found.ok())
            return AdminOutcome::failed(found.status);
        if (!found.value)
            continue;
        const DbResult result = data.deleteBird(found.value->rowId);
        if (!result.ok())
            return AdminOutcome::failed(result);
        ++deleted;
    }
    return AdminOutcome::stored(deleted);
}

BirdFields fieldsFromRow(const Bird& row)
{
    return {row.NatOrg, row.HatchYr, row.clubletters, row.bnumber, row.color, row.sex != QLatin1String("H")};
}

} // namespace bird
