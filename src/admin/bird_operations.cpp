#include "admin/bird_operations.h"

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

AdminOutcome addHeld(const AdminData& data, const Bird& row)
{
    const auto exists = data.bandExists(row.band());
    if (!exists.ok())
        return AdminOutcome::failed(exists.status);
    if (exists.value)
        return AdminOutcome::refused(duplicateBandMessage(row.band()));
    const auto added = data.addBird(row);
    return added.ok() ? AdminOutcome::stored(added.value) : AdminOutcome::failed(added.status);
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
    return replaced.ok() ? AdminOutcome::stored(replaced.value) : AdminOutcome::failed(replaced.status);
}

// The band test and the store are one transaction holding the band's key, so two PCs adding or editing
// the same band at once cannot both pass the test.
AdminOutcome withBandHeld(const AdminData& data, const QString& band,
                          const std::function<AdminOutcome()>& work)
{
    Database& database = data.database();
    DbResult status = database.begin();
    if (!status.ok())
        return AdminOutcome::failed(status);
    const BandParts parts = splitBand(band);
    QString key = QStringLiteral("band");
    for (const QString& part : {parts.NatOrg, parts.HatchYr, parts.clubletters, parts.bnumber}) {
        QString normal = part.toCaseFolded();
        while (normal.endsWith(u' '))
            normal.chop(1);
        key += u'|' + normal;
    }
    status = database.lockKey(key);
    if (!status.ok()) {
        database.rollback();
        return AdminOutcome::failed(status);
    }
    const AdminOutcome outcome = work();
    if (!outcome.done()) {
        database.rollback();
        return outcome;
    }
    status = database.commit();
    return status.ok() ? outcome : AdminOutcome::failed(status);
}
} // namespace

AdminOutcome add(const AdminData& data, int flyerId, const BirdFields& fields, const QString& keptYear)
{
    if (const AdminOutcome check = checkFields(fields, keptYear); !check.done())
        return check;
    const Bird row = rowFromFields(flyerId, fields, kNoElectronicRing, QStringLiteral("0"));
    return withBandHeld(data, row.band(), [&]() { return addHeld(data, row); });
}

AdminOutcome edit(const AdminData& data, const Bird& stored, const BirdFields& fields)
{
    if (const AdminOutcome check = checkFields(fields, stored.HatchYr); !check.done())
        return check;
    const Bird row = rowFromFields(stored.BirdFlyerID, fields, stored.elecnumber, QStringLiteral("1"));
    return withBandHeld(data, row.band(), [&]() { return editHeld(data, stored, row); });
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
