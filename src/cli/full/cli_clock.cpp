#include "cli/cli_context.h"
#include "clocklink/clock_link.h"
#include "platform/device_serial_port.h"
#include "settings/port_settings.h"

namespace {
// The port and the link on it, kept together for the run.
struct PortAndLink {
    explicit PortAndLink(Dialogs& dialogs) : link(port, dialogs) {}
    DeviceSerialPort port;
    ClockLink link;
};
} // namespace

ClockLink& CliContext::clock()
{
    if (!m_clock) {
        auto holder = std::make_shared<PortAndLink>(dialogs);
        const ConfigValues config = readConfig(settings);
        // An invalid number is kept, so that opening the port reports it.
        if (!applyPortSettings(holder->port, config, m_portOverride))
            holder->port.setPortNumber(portNumberFromText(config.comPort));
        m_clock = std::shared_ptr<ClockLink>(holder, &holder->link);
    }
    return *m_clock;
}
