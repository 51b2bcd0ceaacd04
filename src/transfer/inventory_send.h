#pragma once

// Writing a flyer's inventory into the memory module: the three header records and one record per bird.

#include "admin/admin_records.h"
#include "transfer/transfer_common.h"

#include <QStringList>
#include <functional>

class AdminData;
class Progress;

struct SendInventoryRequest {
    QString flyerName;         // the entry chosen in the flyer list
    bool onlySelected = false; // chkSendOnlySelectBirds
    QStringList selectedBands; // band identities of the selected list entries, in list order
    AdminHeaderSettings settings;
    ClockStatusHook showClockStatus;
    // Runs after the records went out (or nothing was to be sent), before the closing text: the window
    // reloads the flyer's birds and empties its fields.
    std::function<void()> refreshWindow;
};

enum class SendInventoryOutcome {
    Sent,
    NoClock,  // no module answered
    RaceMode, // status 1 or 3
    FlyerNotFound,
    NumberTooLarge, // ClubID above 99 or FlyerID above 999
    NameDeclined,   // "Different Names Detected" not confirmed
    NoBirds,
    TooManyBirds,
    NothingSelected,
    NoConnection, // the first header record failed
    Interrupted,  // a later record failed; the module holds part of the inventory
    DatabaseError,
};

struct SendInventoryResult {
    SendInventoryOutcome outcome = SendInventoryOutcome::NoClock;
    int birdsSent = 0;
    QString closingText; // shown at the end of a send
};

SendInventoryResult sendInventory(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                                  const AdminData& data, const SendInventoryRequest& request);

inline const QString kNotConnected =
    QStringLiteral("You may only use the database function until the Corvex is properly connected");
inline const QString kRaceModeRefusal = QStringLiteral("Transmission not possible, RBM is in race mode!");
inline const QString kDifferentNamesTitle = QStringLiteral("Different Names Detected");
inline const QString kDifferentNamesQuestion =
    QStringLiteral("The name in the memory module is different than the name being sent.\r\n"
                   "Are you sure you want to send this data?");
inline const QString kBirdLimit = QStringLiteral("500 bird limit in RBM, please select 500 or less.");
inline const QString kNoBirdsSelected = QStringLiteral("No birds selected, please make a selection.");
inline const QString kCheckConnection = QStringLiteral("Check Connection to Corvex");
inline const QString kConnecting = QStringLiteral("Connecting...");
inline const QString kBirdsTransferred = QStringLiteral("Birds Transferred");

QString birdsSentText(int count);         // "       Birds sent = 3"
QString selectedBirdsSentText(int count); // "  2 selected birds sent"
