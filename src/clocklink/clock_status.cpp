#include "clocklink/clock_status.h"

#include "clocklink/command_exchange.h"
#include "common/pad_field.h"
#include "common/text_codec.h"

QByteArray QueryVersion(CommandExchange& exchange, ClockIdentity& identity)
{
    identity.rbmVersion = 0;
    identity.rbmSecondVersion = 0;
    exchange.setAddressPrefix(kRbmAddress);
    QByteArray r = exchange.SendCommand(QByteArrayLiteral("v"));
    if (r == "v")
        r = QByteArrayLiteral("E9");
    if (r.startsWith('E')) {
        identity.rbmSerial.clear();
        return r;
    }
    const QString answer = fromWindows1252(r);
    identity.rbmVersion = leadingNumber(Mid(answer, 2, 4)) / 100.0;
    identity.rbmSecondVersion = leadingNumber(Mid(answer, 6, 4)) / 100.0;
    identity.statusDigit = QString::number(leadingNumber(Mid(answer, 13, 1)));
    identity.rbmSerial = Mid(answer, 14, 8);

    exchange.setAddressPrefix(kPcfAddress);
    const QString r2 = fromWindows1252(exchange.SendCommand(QByteArrayLiteral("v")));
    identity.pcfVersion = leadingNumber(r2.right(3)) / 100.0;
    const QString r3 = fromWindows1252(exchange.SendCommand(QByteArrayLiteral("e00")));
    identity.pcfSerial = Mid(r3, 4, 4);
    exchange.setAddressPrefix(kRbmAddress);
    return {};
}

QString statusTextForDigit(const QString& digit)
{
    if (digit.isEmpty())
        return QStringLiteral("CORVEX NOT CONNECTED");
    if (digit == QLatin1String("0"))
        return QStringLiteral("No race in RBM ");
    if (digit == QLatin1String("1"))
        return QStringLiteral("RBM in race mode");
    if (digit == QLatin1String("2"))
        return QStringLiteral("Race flag in mode 2 (?)");
    if (digit == QLatin1String("3"))
        return QStringLiteral("RBM in Race Mode, no birds logged");
    if (digit == QLatin1String("8"))
        return QStringLiteral("New inventory in RBM");
    return {};
}

QString formatVersion(double version)
{
    return QString::number(version, 'f', 2);
}

QString formatSerial(const QString& hex)
{
    return QStringLiteral("%1").arg(HexToNumber(hex), 4, 10, QLatin1Char('0'));
}

ClockStatusPanels clockStatusTexts(const ClockIdentity& identity)
{
    return {formatVersion(identity.rbmVersion), formatSerial(identity.rbmSerial),
            formatVersion(identity.pcfVersion), formatSerial(identity.pcfSerial),
            statusTextForDigit(identity.statusDigit)};
}

quint64 HexToNumber(const QString& text)
{
    const QString digits = text.left(8);
    quint64 value = 0;
    for (QChar c : digits) {
        int digit = 0;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            digit = c.unicode() - 'a' + 10;
        value = value * 16 + static_cast<quint64>(digit);
    }
    return value;
}

bool IsHexText(const QString& text)
{
    for (QChar c : text) {
        const bool hex = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                         (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
                         (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
        if (!hex)
            return false;
    }
    return true;
}
