#include "admin/windows/clock_transfers.h"

#include "admin/windows/frm_bird_inventory.h"
#include "admin/windows/frm_flyer_list.h"
#include "admin/windows/frm_liberations.h"
#include "database/database.h"
#include "platform/dialogs.h"
#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer/liberation_send.h"

#include <QPointer>

namespace {

void sendBirds(frmBirdInventory& window, const TransferServices& s)
{
    const std::optional<Flyer> flyer = window.chosenFlyer();
    if (!flyer)
        return;
    SendInventoryRequest request;
    request.flyerName = flyer->Name;
    request.onlySelected = window.sendOnlySelectBirds();
    for (const Bird& bird : window.selectedBirds())
        request.selectedBands << bird.band();
    if (s.headerSettings)
        request.settings = s.headerSettings();
    request.showClockStatus = s.showClockStatus;
    request.refreshWindow = [&window] {
        window.flyerClick();
        window.resetAfterTransfer();
    };
    sendInventory(*s.clock, *s.dialogs, *s.progress, window.data(), request);
}

void completeInFlyerWindow(frmBirdInventory& window, const TransferServices& s, const ReceiveResult& result)
{
    frmFlyerList* flyers = s.openFlyerWindow ? s.openFlyerWindow() : nullptr;
    if (!flyers)
        return;
    const ReceivedInventory inventory = result.inventory;
    const QPointer<frmBirdInventory> birdWindow(&window);
    ReceivedInventoryHook hook;
    hook.storeBirds = [s, inventory](const QString& name) -> std::optional<ReceivedInventoryHook::Counts> {
        Database database;
        const DbResult opened = database.open(s.databasePath);
        if (!opened.ok()) {
            s.dialogs->inform(opened.description);
            return std::nullopt;
        }
        const auto counters = storeReceivedBirds(database, *s.dialogs, inventory, name, false);
        if (!counters)
            return std::nullopt;
        return ReceivedInventoryHook::Counts{counters->updated, counters->added};
    };
    hook.showFlyer = [birdWindow](const QString& name) {
        if (!birdWindow)
            return;
        birdWindow->FillBirdFlyerList();
        birdWindow->selectFlyer(name);
    };
    flyers->addReceivedFlyer(inventory.flyerName(), std::move(hook));
    s.dialogs->inform(chooseClubMessage(result.flyerName));
}

void receiveBirds(frmBirdInventory& window, const TransferServices& s)
{
    // The receive stores through a connection of its own, so that all of it is one transaction.
    Database database;
    const DbResult opened = database.open(s.databasePath);
    if (!opened.ok()) {
        s.dialogs->inform(opened.description);
        return;
    }
    ReceiveRequest request;
    request.showClockStatus = s.showClockStatus;
    request.showFlyer = [&window](const QString& name) {
        window.FillBirdFlyerList();
        window.selectFlyer(name);
    };
    const ReceiveResult result = receiveInventory(*s.clock, *s.dialogs, *s.progress, database, request);
    database.close();
    switch (result.outcome) {
    case ReceiveOutcome::NoClubs:
        window.close();
        if (s.openClubsForFirstClub)
            s.openClubsForFirstClub();
        break;
    case ReceiveOutcome::NeedsFlyerWindow:
        completeInFlyerWindow(window, s, result);
        break;
    default:
        break;
    }
}

} // namespace

void connectInventoryTransfers(frmBirdInventory& window, const TransferServices& services)
{
    QObject::connect(&window, &frmBirdInventory::sendBirdsRequested, &window,
                     [&window, services] { sendBirds(window, services); });
    QObject::connect(&window, &frmBirdInventory::receiveBirdsRequested, &window,
                     [&window, services] { receiveBirds(window, services); });
}

void connectLiberationTransfer(frmLiberations& window, const TransferServices& services)
{
    QObject::connect(&window, &frmLiberations::sendOrteRequested, &window, [&window, services] {
        const LiberationSendResult result =
            sendLiberations(*services.clock, *services.dialogs, *services.progress, window.data(),
                            services.showClockStatus, [&window] { window.FillOrteList(); });
        if (result.outcome != LiberationSendOutcome::NoClock)
            window.resetAfterTransfer();
    });
}
