#pragma once

#include <QByteArray>

namespace control {
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char ESC = 0x1B;

inline QByteArray text(char c)
{
    return QByteArray(1, c);
}
} // namespace control

// AddressPrefix values: the memory module (RBM) and the sensor board (PCF).
inline const QByteArray kRbmAddress = QByteArray(1, static_cast<char>(0x81));
inline const QByteArray kPcfAddress;
