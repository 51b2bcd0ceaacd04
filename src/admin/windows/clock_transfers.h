#pragma once

// Connects the transfer buttons of the bird inventory window (Send, Receive) and the liberation window
// (Send) to the clock transfers.

#include "admin/admin_records.h"

#include <QString>
#include <functional>

struct ClockLink;
class Dialogs;
class Progress;
class frmBirdInventory;
class frmFlyerList;
class frmLiberations;

struct TransferServices {
    ClockLink* clock = nullptr;
    Dialogs* dialogs = nullptr;
    Progress* progress = nullptr;
    QString databasePath;
    // The configuration values the header records carry, read when a send starts.
    std::function<AdminHeaderSettings()> headerSettings;
    std::function<void()> showClockStatus;
    // A receive without clubs: the clubs window opens, says a club is needed and starts adding one.
    std::function<void()> openClubsForFirstClub;
    // A receive of a flyer not yet stored, with several clubs: the flyers window to complete it in.
    std::function<frmFlyerList*()> openFlyerWindow;
};

void connectInventoryTransfers(frmBirdInventory& window, const TransferServices& services);
void connectLiberationTransfer(frmLiberations& window, const TransferServices& services);
