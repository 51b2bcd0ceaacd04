#include "transfer/transfer_common.h"

#include "clocklink/clock_link.h"
#include "platform/dialogs.h"

namespace transfer_detail {

bool connectRbm(ClockLink& clock, const ClockStatusHook& showClockStatus)
{
    clock.identity.rbmSerial.clear();
    clock.exchange.setAddressPrefix(kRbmAddress);
    clock.queryVersion();
    if (!clock.identity.connected())
        return false;
    if (showClockStatus)
        showClockStatus();
    return true;
}

bool exchangeFailed(const QByteArray& answer)
{
    return answer.isEmpty() || isFailureCode(answer) || answer == control::text(control::NAK);
}

void inform(Dialogs& dialogs, const QString& text)
{
    dialogs.inform(text);
}

void closePortIfOpen(ClockLink& clock)
{
    if (clock.exchange.port().isOpen())
        clock.exchange.closePort();
}

} // namespace transfer_detail
