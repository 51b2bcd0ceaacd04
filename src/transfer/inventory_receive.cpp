#include "transfer/inventory_receive.h"

#include "admin/admin_data.h"
#include "admin/clean_text.h"
#include "admin/club_rules.h"
#include "admin/flyer_operations.h"
#include "clocklink/clock_link.h"
#include "common/text_codec.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

using namespace transfer_detail;

namespace {
enum class SeriesEnd { Complete, Failed, Unreadable, TooManyBirds, Runaway };

ReceiveResult ended(ReceiveOutcome outcome, ClockLink& clock, Progress& progress)
{
    if (progress.isShown())
        progress.close();
    closePortIfOpen(clock);
    return {outcome, {}, {}, {}};
}

SeriesEnd readSeries(ClockLink& clock, Progress& progress, ReceivedInventory& inventory)
{
    // A series an earlier operation left unfinished would otherwise resume in its middle.
    clock.flags.admin = false;
    SeriesBound bound(module_capacity::kAdminRecords);
    for (;;) {
        const QByteArray block = ReadNextBlock(clock.exchange, clock.flags);
        progress.repaint();
        // E1 to E5 have had their message from the exchange; an empty answer and E8 have not.
        if (block.isEmpty() || block == "E8")
            return SeriesEnd::Unreadable;
        if (isFailureCode(block))
            return SeriesEnd::Failed;
        if (block == control::text(control::EOT))
            return SeriesEnd::Complete;
        // Birds past what a module holds are told apart below.
        if (!bound.admit(block) && !block.startsWith('Z'))
            return SeriesEnd::Runaway;
        if (block.size() < 2)
            continue;
        QString record = decodeRecord(block);
        if (record.startsWith(QStringLiteral("S1")))
            inventory.s1 = CleanText(record);
        else if (record.startsWith(QStringLiteral("S2")))
            inventory.s2 = CleanText(record);
        else if (record.startsWith(QStringLiteral("S3")))
            inventory.s3 = CleanText(record);
        else if (record.startsWith(QLatin1Char('Z'))) {
            inventory.birds << record;
            if (inventory.birds.size() > module_capacity::kBirds)
                return SeriesEnd::TooManyBirds;
            progress.setLowerLine(QString::number(inventory.birds.size()) + QLatin1Char(' ') +
                                  kBlocksTransferred);
            progress.repaint();
        }
    }
}

// Updates birds known by band and adds the others to the flyer. Duplicate rings are collected, not shown:
// no box waits for the user while the transaction holds the database.
DbResult updateBirds(const AdminData& data, int flyerId, const QStringList& zRecords,
                     ReceiveCounters& counters, QStringList& duplicates)
{
    for (const QString& record : zRecords) {
        const Fetched<std::vector<Bird>> known = data.birdsByBand(zRecordBand(record));
        if (!known.ok())
            return known.status;
        const Bird received = birdFromZRecord(record);
        if (!known.value.empty()) {
            const Bird& stored = known.value.front();
            ++counters.updated;
            if (stored.elecnumber != received.elecnumber)
                ++counters.changed;
            const DbResult status = data.setElecnumber(stored.rowId, received.elecnumber);
            if (!status.ok())
                return status;
            continue;
        }
        // A bird without a ring is never taken for a duplicate.
        if (received.elecnumber != kNoElecnumber) {
            const Fetched<std::vector<Bird>> ringOwners = data.birdsByElecnumber(received.elecnumber);
            if (!ringOwners.ok())
                return ringOwners.status;
            if (!ringOwners.value.empty()) {
                duplicates << duplicateRingMessage(received.elecnumber);
                continue;
            }
        }
        Bird bird = received;
        bird.BirdFlyerID = flyerId;
        const Fetched<qint64> added = data.addBird(bird);
        if (!added.ok())
            return added.status;
        ++counters.added;
    }
    return {};
}

DbResult insertBirds(const AdminData& data, int flyerId, const QStringList& zRecords, int& added)
{
    for (const QString& record : zRecords) {
        Bird bird = birdFromZRecord(record);
        bird.BirdFlyerID = flyerId;
        const Fetched<qint64> stored = data.addBird(bird);
        if (!stored.ok())
            return stored.status;
        ++added;
    }
    return {};
}

// Creates the flyer and stores its birds; on a refusal the box is left in refusal and nothing is stored.
DbResult createFlyerWithBirds(Database& database, const ReceivedInventory& inventory, int clubId,
                              QString& storedName, int& added, std::optional<Dialogs::Box>& refusal)
{
    const AdminData data(database);
    return database.inTransaction([&]() -> DbResult {
        flyer::FlyerFields fields;
        fields.clubId = clubId;
        fields.name = inventory.flyerName();
        const AdminOutcome outcome = flyer::add(data, fields);
        if (outcome.status == AdminOutcome::Status::Refused) {
            refusal = outcome.box;
            return DbResult::failure(DbError::General, outcome.box.text);
        }
        if (!outcome.done())
            return outcome.db;
        storedName = CleanText(fields.name);
        added = 0;
        return insertBirds(data, static_cast<int>(outcome.newKey), inventory.birds, added);
    });
}
} // namespace

QString duplicateRingMessage(const QString& ring)
{
    return QStringLiteral("Duplicate electronic numbers (") + ring + QStringLiteral(") not allowed.");
}

QString retrievedMessage(const QString& name, const ReceiveCounters& counters)
{
    return QStringLiteral("Data successfully retrieved for ") + name + QLatin1Char('.') + kCrLf + kCrLf +
           QStringLiteral("Birds Added = ") + QString::number(counters.added) + kCrLf +
           QStringLiteral("Birds Updated = ") + QString::number(counters.updated) + kCrLf +
           QStringLiteral("Assignments changed = ") + QString::number(counters.changed);
}

QString notInDatabaseTitle(const QString& name)
{
    return name.trimmed() + QStringLiteral(" not in database");
}

QString chooseClubMessage(const QString& name)
{
    return QStringLiteral("Please choose a club for ") + name.trimmed() + QLatin1Char('.');
}

ReceiveResult receiveInventory(ClockLink& clock, Dialogs& dialogs, Progress& progress, Database& database,
                               const ReceiveRequest& request)
{
    const AdminData data(database);
    const Fetched<int> clubs = data.countClubs();
    if (!clubs.ok()) {
        inform(dialogs, clubs.status.description);
        return {ReceiveOutcome::DatabaseError, {}, {}, {}};
    }
    if (clubs.value == 0) {
        inform(dialogs, kNoClubsInDatabase);
        return {ReceiveOutcome::NoClubs, {}, {}, {}};
    }
    if (!connectRbm(clock, request.showClockStatus))
        return {ReceiveOutcome::NoClock, {}, {}, {}};

    progress.show();
    progress.repaint();
    ReceivedInventory inventory;
    switch (const SeriesEnd end = readSeries(clock, progress, inventory)) {
    case SeriesEnd::Complete:
        break;
    case SeriesEnd::Failed:
        return ended(ReceiveOutcome::ExchangeFailed, clock, progress);
    case SeriesEnd::Unreadable: {
        ReceiveResult result = ended(ReceiveOutcome::ExchangeFailed, clock, progress);
        inform(dialogs, kUnreadableAnswer);
        return result;
    }
    case SeriesEnd::TooManyBirds:
    case SeriesEnd::Runaway: {
        const bool tooMany = end == SeriesEnd::TooManyBirds;
        endBlockSeries(clock.exchange, clock.flags.admin);
        ReceiveResult result =
            ended(tooMany ? ReceiveOutcome::TooManyBirds : ReceiveOutcome::ExchangeFailed, clock, progress);
        inform(dialogs, (tooMany ? kTooManyBirdsInRbm : kInventoryNotEnded) + kNothingStored);
        return result;
    }
    }
    // A module the DOS program wrote holds its flyer name in code page 437.
    const QString dosS3 = dosReading(inventory.s3);
    if (dosS3 != inventory.s3 && !data.flyerByName(inventory.flyerName()).value &&
        data.flyerByName(s3FlyerName(dosS3)).value)
        inventory.s3 = dosS3;
    const QString name = inventory.flyerName();
    if (inventory.s3.isEmpty() || isClearedRecord(inventory.s3) || name.trimmed().isEmpty()) {
        ended(ReceiveOutcome::NoInventory, clock, progress);
        inform(dialogs, kNoInventoryInRbm);
        return {ReceiveOutcome::NoInventory, {}, {}, {}};
    }

    const auto databaseError = [&](const DbResult& status) {
        ended(ReceiveOutcome::DatabaseError, clock, progress);
        inform(dialogs, status.description);
        return ReceiveResult{ReceiveOutcome::DatabaseError, {}, {}, name.trimmed()};
    };
    const Fetched<std::optional<Flyer>> flyer = data.flyerByName(name);
    if (!flyer.ok())
        return databaseError(flyer.status);

    if (!flyer.value) {
        const Dialogs::Answer answer = dialogs.message({kAddFlyerQuestion,
                                                        notInDatabaseTitle(name),
                                                        Dialogs::Buttons::YesNo,
                                                        Dialogs::Icon::Question,
                                                        {}});
        if (answer != Dialogs::Answer::Yes)
            return ended(ReceiveOutcome::FlyerDeclined, clock, progress);
        if (clubs.value != 1) {
            ReceiveResult result = ended(ReceiveOutcome::NeedsFlyerWindow, clock, progress);
            result.inventory = inventory;
            result.flyerName = name.trimmed();
            return result;
        }
        const Fetched<std::vector<Club>> onlyClub = data.searchClubs({});
        if (!onlyClub.ok() || onlyClub.value.empty())
            return databaseError(onlyClub.status);
        ended(ReceiveOutcome::FlyerCreated, clock, progress);
        ReceiveResult result = addReceivedFlyer(database, dialogs, inventory, onlyClub.value.front().ClubID);
        if (result.outcome == ReceiveOutcome::FlyerCreated && request.showFlyer)
            request.showFlyer(result.flyerName);
        return result;
    }

    const Fetched<std::vector<Bird>> stored = data.birdsOfFlyer(flyer.value->FlyerID);
    if (!stored.ok())
        return databaseError(stored.status);
    ReceiveCounters counters;
    QStringList duplicates;
    DbResult status;
    if (stored.value.empty()) {
        const Fetched<int> inserted = data.InsertNewData(inventory.s3, inventory.birds);
        status = inserted.status;
        counters.added = inserted.ok() ? inserted.value : 0;
    } else {
        progress.setUpperLine(kUpdatingList);
        progress.setLowerLine(kPleaseWait);
        progress.repaint();
        status = database.inTransaction(
            [&]() { return updateBirds(data, flyer.value->FlyerID, inventory.birds, counters, duplicates); });
    }
    if (!status.ok())
        return databaseError(status);
    for (const QString& message : duplicates)
        inform(dialogs, message);

    if (request.showFlyer)
        request.showFlyer(name.trimmed());
    if (progress.isShown())
        progress.close();
    inform(dialogs, retrievedMessage(name.trimmed(), counters));
    closePortIfOpen(clock);
    return {ReceiveOutcome::Stored, inventory, counters, name.trimmed()};
}

std::optional<ReceiveCounters> storeReceivedBirds(Database& database, Dialogs& dialogs,
                                                  const ReceivedInventory& inventory,
                                                  const QString& flyerName, bool report)
{
    const AdminData data(database);
    const Fetched<std::optional<Flyer>> flyer = data.flyerByName(flyerName);
    if (!flyer.ok() || !flyer.value) {
        inform(dialogs, flyer.ok() ? flyerName.trimmed() + QStringLiteral(" not in database")
                                   : flyer.status.description);
        return std::nullopt;
    }
    ReceiveCounters counters;
    const DbResult status = database.inTransaction(
        [&]() { return insertBirds(data, flyer.value->FlyerID, inventory.birds, counters.added); });
    if (!status.ok()) {
        inform(dialogs, status.description);
        return std::nullopt;
    }
    if (report)
        inform(dialogs, flyer::receivedMessage(flyerName.trimmed(), counters.updated, counters.added));
    return counters;
}

ReceiveResult addReceivedFlyer(Database& database, Dialogs& dialogs, const ReceivedInventory& inventory,
                               int clubId)
{
    QString storedName;
    int added = 0;
    std::optional<Dialogs::Box> refusal;
    const DbResult status = createFlyerWithBirds(database, inventory, clubId, storedName, added, refusal);
    if (refusal) {
        dialogs.message(*refusal);
        return {ReceiveOutcome::DatabaseError, {}, {}, inventory.flyerName().trimmed()};
    }
    if (!status.ok()) {
        inform(dialogs, status.description);
        return {ReceiveOutcome::DatabaseError, {}, {}, inventory.flyerName().trimmed()};
    }
    ReceiveCounters counters;
    counters.added = added;
    inform(dialogs, flyer::receivedMessage(storedName, counters.updated, counters.added));
    return {ReceiveOutcome::FlyerCreated, inventory, counters, storedName};
}
