#pragma once

#include "clocklink/block_transfer.h"
#include "clocklink/clock_status.h"
#include "clocklink/command_exchange.h"

// The program-wide clock state that lives for the run: the exchange with its address prefix, the clock's
// identity, the two series flags and the last administration block read.
struct ClockLink {
    ClockLink(SerialPort& port, Dialogs& dialogs, ExchangeTimings timings = {})
        : exchange(port, dialogs, timings)
    {
    }

    QByteArray queryVersion() { return QueryVersion(exchange, identity); }

    CommandExchange exchange;
    ClockIdentity identity;
    SeriesFlags flags;
    QByteArray lastAdminBlock;
};
