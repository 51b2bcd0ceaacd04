#include "shell/settings/port_settings.h"

#include "platform/device_serial_port.h"
#include "platform/dialogs.h"

bool ApplyPortSettings(DeviceSerialPort& port, const ConfigValues& values, const QString& deviceOverride)
{
    const QString device = deviceOverride.isEmpty() ? values.comDevice.trimmed() : deviceOverride;
    const int number = PortNumberFromText(values.comPort);
    port.setDevicePath(device);
    if (!IsValidPortNumber(number))
        return !device.isEmpty();
    port.setPortNumber(number);
    return true;
}

std::optional<QString> LoadSettings(const SettingsStore& store, DeviceSerialPort& port, Dialogs& dialogs,
                                    ConfigValues& values, const QString& deviceOverride)
{
    values = ReadConfig(store);
    if (!port.isOpen() && !ApplyPortSettings(port, values, deviceOverride)) {
        dialogs.inform(InvalidComPortMessage(values.comPort));
        return std::nullopt;
    }
    return ConfigTitle(values.concourse, values.combine);
}
