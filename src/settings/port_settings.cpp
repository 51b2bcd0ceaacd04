#include "settings/port_settings.h"

#include "platform/device_serial_port.h"
#include "platform/dialogs.h"

bool applyPortSettings(DeviceSerialPort& port, const ConfigValues& values, const QString& deviceOverride)
{
    const QString device = deviceOverride.isEmpty() ? values.comDevice.trimmed() : deviceOverride;
    const int number = portNumberFromText(values.comPort);
    port.setDevicePath(device);
    if (!isValidPortNumber(number))
        return !device.isEmpty();
    port.setPortNumber(number);
    return true;
}

std::optional<QString> LoadSettings(const SettingsStore& store, DeviceSerialPort& port, Dialogs& dialogs,
                                    ConfigValues& values, const QString& deviceOverride)
{
    values = readConfig(store);
    if (!port.isOpen() && !applyPortSettings(port, values, deviceOverride)) {
        dialogs.inform(invalidComPortMessage(values.comPort));
        return std::nullopt;
    }
    return configTitle(values.concourse, values.combine);
}
