#pragma once

// Writing the season's liberation points into the clock: its table is cleared with "IC0", then one record
// per point goes out in table order.

#include "transfer/transfer_common.h"

#include <QStringList>

class AdminData;
class Progress;

enum class LiberationSendOutcome {
    Sent,
    NoClock,
    TooMany,        // more than the clock takes; nothing was sent
    ExchangeFailed, // stopped at the first failed exchange; the clock holds `sent` points
    DatabaseError,
};

struct LiberationSendResult {
    LiberationSendOutcome outcome = LiberationSendOutcome::NoClock;
    int sent = 0;
};

// refreshList runs after the version query (the window refills its list).
LiberationSendResult sendLiberations(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                                     const AdminData& data, const ClockStatusHook& showClockStatus = {},
                                     const std::function<void()>& refreshList = {});

inline const QString kRacesTransferred = QStringLiteral("Races Transferred");
QString tooManyLiberationsMessage(int count);
// After a failed exchange: "The clock now holds N of M liberation points. Send them again."
QString partlySentMessage(int sent, int total);
