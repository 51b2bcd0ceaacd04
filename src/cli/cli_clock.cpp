#include "cli/cli_context.h"
#include "clocklink/clock_link.h"
#include "platform/device_serial_port.h"
#include "shell/settings/configuration.h"

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
        // An invalid number is kept, so that opening the port reports it.
        const ConfigValues config = ReadConfig(settings);
        holder->port.setPortNumber(PortNumberFromText(config.comPort));
        holder->port.setDevicePath(m_portOverride.isEmpty() ? config.comDevice.trimmed() : m_portOverride);
        m_clock = std::shared_ptr<ClockLink>(holder, &holder->link);
    }
    return *m_clock;
}
