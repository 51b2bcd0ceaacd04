#include "transfer/inventory_send.h"

#include "admin/admin_data.h"
#include "admin/clean_text.h"
#include "clocklink/clock_link.h"
#include "common/pad_field.h"
#include "common/text_codec.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

using namespace transfer_detail;

namespace {
enum class NameCheck { Same, Cleared, Different, Unknown };

// Reads the module's administration series up to its flyer record, then ends the series.
NameCheck checkModuleName(CommandExchange& exchange, const QString& flyerName)
{
    QString s3;
    bool cleared = false;
    const QByteArray start = exchange.SendCommand(QByteArrayLiteral("X"));
    if (!isFailureCode(start)) {
        SeriesBound bound(module_capacity::kAdminRecords);
        for (;;) {
            const QByteArray answer = exchange.SendCommand(control::text(control::ACK));
            if (answer.isEmpty() || isFailureCode(answer) || answer == control::text(control::EOT) ||
                !bound.admit(answer))
                break;
            const QString record = decodeRecord(answer);
            if (record.size() > 1 && isClearedRecord(record)) {
                cleared = true;
                break;
            }
            if (record.startsWith(QStringLiteral("S3"))) {
                s3 = record;
                break;
            }
        }
    }
    exchange.SendCommand(control::text(control::EOT));
    if (cleared)
        return NameCheck::Cleared;
    if (s3.isEmpty())
        return NameCheck::Unknown;
    // Compared as the module holds it: a name longer than the field is cut there.
    const QString sent = PadField(flyerName, 20, QLatin1Char(' '), true);
    return isModuleFlyerName(s3FlyerName(s3), sent) ? NameCheck::Same : NameCheck::Different;
}

SendInventoryResult stop(SendInventoryOutcome outcome, ClockLink& clock, Progress& progress, Dialogs& dialogs,
                         const QString& message = {})
{
    if (progress.isShown())
        progress.close();
    if (!message.isEmpty())
        inform(dialogs, message);
    closePortIfOpen(clock);
    return {outcome, 0, {}};
}

QString tooLargeMessage(const QString& what, int value, int maximum)
{
    return what + QLatin1Char(' ') + QString::number(value) +
           QStringLiteral(" does not fit the RBM (at most ") + QString::number(maximum) +
           QStringLiteral("). Nothing was sent.");
}
} // namespace

QString birdsSentText(int count)
{
    return QStringLiteral("       Birds sent = ") + QString::number(count);
}

QString selectedBirdsSentText(int count)
{
    return QStringLiteral("  ") + QString::number(count) + QStringLiteral(" selected birds sent");
}

SendInventoryResult sendInventory(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                                  const AdminData& data, const SendInventoryRequest& request)
{
    if (!connectRbm(clock, request.showClockStatus)) {
        inform(dialogs, kNotConnected);
        return {SendInventoryOutcome::NoClock, 0, {}};
    }
    const int status = clock.identity.statusNumber();
    if (status == 1 || status == 3)
        return stop(SendInventoryOutcome::RaceMode, clock, progress, dialogs, kRaceModeRefusal);

    const Fetched<std::optional<Flyer>> flyer = data.flyerByName(cleanedName(request.flyerName));
    if (!flyer.ok())
        return stop(SendInventoryOutcome::DatabaseError, clock, progress, dialogs, flyer.status.description);
    if (!flyer.value)
        return stop(SendInventoryOutcome::FlyerNotFound, clock, progress, dialogs,
                    request.flyerName.trimmed() + QStringLiteral(" not in database"));
    const Fetched<std::vector<Bird>> birds = data.birdsOfFlyerListed(flyer.value->FlyerID);
    const Fetched<std::optional<QString>> clubName = data.clubName(flyer.value->ClubID);
    if (!birds.ok() || !clubName.ok())
        return stop(SendInventoryOutcome::DatabaseError, clock, progress, dialogs,
                    (!birds.ok() ? birds.status : clubName.status).description);
    // Longer numbers would shift every field behind them.
    if (flyer.value->ClubID > admin_record::kMaxClubId)
        return stop(
            SendInventoryOutcome::NumberTooLarge, clock, progress, dialogs,
            tooLargeMessage(QStringLiteral("Club number"), flyer.value->ClubID, admin_record::kMaxClubId));
    if (flyer.value->FlyerID > admin_record::kMaxFlyerId)
        return stop(
            SendInventoryOutcome::NumberTooLarge, clock, progress, dialogs,
            tooLargeMessage(QStringLiteral("Flyer number"), flyer.value->FlyerID, admin_record::kMaxFlyerId));

    // The stored spelling, which is what the module gets and what a later send compares with.
    const QString& flyerName = flyer.value->Name;
    if (checkModuleName(clock.exchange, flyerName) == NameCheck::Different) {
        const Dialogs::Answer answer = dialogs.message({kDifferentNamesQuestion,
                                                        kDifferentNamesTitle,
                                                        Dialogs::Buttons::OkCancel,
                                                        Dialogs::Icon::None,
                                                        {}});
        if (answer != Dialogs::Answer::Ok)
            return stop(SendInventoryOutcome::NameDeclined, clock, progress, dialogs);
    }

    progress.show();
    progress.repaint();

    if (birds.value.empty()) {
        progress.close();
        if (request.refreshWindow)
            request.refreshWindow();
        closePortIfOpen(clock);
        return {SendInventoryOutcome::NoBirds, 0, {}};
    }
    // The limit counts all of the flyer's birds, also when only some are to be sent.
    if (birds.value.size() > static_cast<size_t>(admin_record::kMaxBirds))
        return stop(SendInventoryOutcome::TooManyBirds, clock, progress, dialogs, kBirdLimit);

    QStringList zRecords;
    QString closingText;
    if (!request.onlySelected) {
        for (const Bird& bird : birds.value)
            zRecords << buildZRecord(bird);
        closingText = birdsSentText(static_cast<int>(zRecords.size()));
    } else {
        for (const QString& band : request.selectedBands) {
            // The chosen flyer's own bird: a received inventory may have given another flyer the same band.
            const Fetched<std::optional<Bird>> bird = data.birdOfFlyer(flyer.value->FlyerID, band);
            if (!bird.ok())
                return stop(SendInventoryOutcome::DatabaseError, clock, progress, dialogs,
                            bird.status.description);
            if (bird.value && zRecords.size() < admin_record::kMaxBirds)
                zRecords << buildZRecord(*bird.value);
        }
        if (zRecords.isEmpty())
            return stop(SendInventoryOutcome::NothingSelected, clock, progress, dialogs, kNoBirdsSelected);
        closingText = selectedBirdsSentText(static_cast<int>(zRecords.size()));
    }

    progress.setLowerLine(kConnecting);
    progress.repaint();
    const QString headers[] = {
        buildS1Record(request.settings),
        buildS2Record(request.settings, flyer.value->ClubID, clubName.value.value_or(QString())),
        buildS3Record(request.settings, flyer.value->ClubID, flyer.value->FlyerID, flyerName)};
    CommandExchange& exchange = clock.exchange;
    if (exchangeFailed(exchange.SendCommand(toWindows1252(headers[0]))))
        return stop(SendInventoryOutcome::NoConnection, clock, progress, dialogs, kCheckConnection);
    const auto interrupted = [&](int sent) {
        SendInventoryResult result =
            stop(SendInventoryOutcome::Interrupted, clock, progress, dialogs,
                 QStringLiteral("Transmission interrupted after ") + QString::number(sent) +
                     QStringLiteral(" of ") + QString::number(zRecords.size()) +
                     QStringLiteral(" birds. Please send the inventory again."));
        result.birdsSent = sent;
        return result;
    };
    for (int i = 1; i < 3; ++i) {
        if (exchangeFailed(exchange.SendCommand(toWindows1252(headers[i]))))
            return interrupted(0);
    }
    for (int i = 0; i < zRecords.size(); ++i) {
        if (exchangeFailed(exchange.SendCommand(toWindows1252(zRecords.at(i)))))
            return interrupted(i);
        progress.setLowerLine(QString::number(i + 1) + QLatin1Char(' ') + kBirdsTransferred);
        progress.repaint();
    }
    progress.close();
    if (request.refreshWindow)
        request.refreshWindow();
    inform(dialogs, closingText);
    closePortIfOpen(clock);
    return {SendInventoryOutcome::Sent, static_cast<int>(zRecords.size()), closingText};
}
