#include "transfer/liberation_send.h"

#include "admin/admin_data.h"
#include "admin/admin_records.h"
#include "clocklink/clock_link.h"
#include "common/text_codec.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

using namespace transfer_detail;

QString tooManyLiberationsMessage(int count)
{
    return QString::number(count) +
           QStringLiteral(" liberation points are stored; the Corvex takes at most ") +
           QString::number(admin_record::kMaxLiberations) + QStringLiteral(". Nothing was sent.");
}

QString partlySentMessage(int sent, int total)
{
    return QStringLiteral("The clock now holds %1 of %2 liberation points. Send them again.")
        .arg(sent)
        .arg(total);
}

LiberationSendResult sendLiberations(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                                     const AdminData& data, const ClockStatusHook& showClockStatus,
                                     const std::function<void()>& refreshList)
{
    if (!connectRbm(clock, showClockStatus))
        return {LiberationSendOutcome::NoClock, 0};
    if (refreshList)
        refreshList();

    const Fetched<std::vector<LiberationPoint>> points = data.liberationPoints();
    if (!points.ok()) {
        inform(dialogs, points.status.description);
        closePortIfOpen(clock);
        return {LiberationSendOutcome::DatabaseError, 0};
    }
    // Built before "IC0" so that a refusal leaves the clock's table as it was.
    if (points.value.size() > static_cast<size_t>(admin_record::kMaxLiberations)) {
        inform(dialogs, tooManyLiberationsMessage(static_cast<int>(points.value.size())));
        closePortIfOpen(clock);
        return {LiberationSendOutcome::TooMany, 0};
    }
    QStringList records;
    for (const LiberationPoint& point : points.value)
        records << LibRecord(point);

    progress.show();
    progress.repaint();
    clock.queryVersion();
    CommandExchange& exchange = clock.exchange;
    LiberationSendResult result{LiberationSendOutcome::Sent, 0};
    // "IC0" has emptied the clock's table: after any failed exchange the user must know what it holds.
    bool failed = exchangeFailed(exchange.SendCommand(QByteArrayLiteral("IC0")));
    for (auto record = records.cbegin(); !failed && record != records.cend(); ++record) {
        failed = exchangeFailed(exchange.SendCommand(toWindows1252(*record)));
        if (failed)
            break;
        ++result.sent;
        progress.setLowerLine(QString::number(result.sent) + QLatin1Char(' ') + kRacesTransferred);
        progress.repaint();
    }
    progress.close();
    closePortIfOpen(clock);
    if (failed) {
        result.outcome = LiberationSendOutcome::ExchangeFailed;
        inform(dialogs, partlySentMessage(result.sent, static_cast<int>(records.size())));
    }
    return result;
}
