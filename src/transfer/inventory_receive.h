#pragma once

// Reading the memory module's inventory back into the database: birds known by band get their electronic
// ring number, unknown birds are added to the flyer named in the module, and a flyer not yet stored can be
// created on the way.

#include "admin/admin_records.h"
#include "transfer/transfer_common.h"

#include <QStringList>
#include <functional>
#include <optional>

class Database;
class Progress;

// What the module handed out: the header records (cleaned) and the bird records as received.
struct ReceivedInventory {
    QString s1, s2, s3;
    QStringList birds;

    // 20 characters, trailing spaces kept.
    QString flyerName() const { return s3FlyerName(s3); }
};

struct ReceiveCounters {
    int added = 0;
    int updated = 0;
    int changed = 0; // birds whose electronic ring number was replaced
};

enum class ReceiveOutcome {
    Stored,           // the flyer was known; its birds are updated and added
    FlyerCreated,     // the flyer was missing and created with the only club
    NeedsFlyerWindow, // several clubs: the flyers window must open in add mode for the received flyer
    FlyerDeclined,    // the user did not want the missing flyer added
    NoClubs,          // the clubs window must open in add mode, saying a club is needed
    NoClock,
    ExchangeFailed,
    NoInventory,  // the module holds no flyer
    TooManyBirds, // more than a module can hold
    DatabaseError,
};

struct ReceiveResult {
    ReceiveOutcome outcome = ReceiveOutcome::NoClock;
    ReceivedInventory inventory; // kept for the flyers window on NeedsFlyerWindow
    ReceiveCounters counters;
    QString flyerName; // trimmed
};

struct ReceiveRequest {
    ClockStatusHook showClockStatus;
    // Runs before the closing message once the birds are stored: the bird window reloads its lists and
    // selects the flyer with this (trimmed) name.
    std::function<void(const QString& flyerName)> showFlyer;
};

ReceiveResult receiveInventory(ClockLink& clock, Dialogs& dialogs, Progress& progress, Database& database,
                               const ReceiveRequest& request = {});

// The flyer named in the inventory is stored now under flyerName (the flyers window saved it): stores the
// received birds for it, all or nothing, and reports unless the caller does. Nothing when it failed (the
// reason has been shown).
std::optional<ReceiveCounters> storeReceivedBirds(Database& database, Dialogs& dialogs,
                                                  const ReceivedInventory& inventory,
                                                  const QString& flyerName, bool report = true);

// Creates the flyer named in the inventory with club clubId and stores its birds, all or nothing, and
// reports.
ReceiveResult addReceivedFlyer(Database& database, Dialogs& dialogs, const ReceivedInventory& inventory,
                               int clubId);

inline const QString kNoClubsInDatabase = QStringLiteral("No Clubs in Database.\r\nPlease add club first");
inline const QString kUpdatingList = QStringLiteral("Updating list...");
inline const QString kPleaseWait = QStringLiteral("Please wait");
inline const QString kAddFlyerQuestion = QStringLiteral("Do you want to add this flyer and all their birds?");
inline const QString kUnreadableAnswer =
    QStringLiteral("The answer of the Corvex could not be read. Nothing was stored.");
inline const QString kNoInventoryInRbm = QStringLiteral("No inventory in RBM.");
inline const QString kTooManyBirdsInRbm =
    QStringLiteral("The RBM holds more than 500 birds; at most 500 can be received.");
inline const QString kNothingStored = QStringLiteral(" Nothing was stored.");

QString duplicateRingMessage(const QString& ring);
QString retrievedMessage(const QString& name, const ReceiveCounters& counters);
QString notInDatabaseTitle(const QString& name);
QString chooseClubMessage(const QString& name);
