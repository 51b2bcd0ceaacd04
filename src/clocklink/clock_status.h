#pragma once

#include <QByteArray>
#include <QString>

class CommandExchange;

// What the clock last said about itself; kept until the next query.
struct ClockIdentity {
    double rbmVersion = 0;
    double rbmSecondVersion = 0;
    QString rbmSerial;   // empty: no clock answered
    QString statusDigit; // empty until the first successful query
    double pcfVersion = 0;
    QString pcfSerial;

    bool connected() const { return !rbmSerial.isEmpty(); }
    int statusNumber() const { return statusDigit.toInt(); }
};

// The texts of status bar panels 2, 4, 6, 8 and 10.
struct ClockStatusPanels {
    QString rbmVersion;
    QString rbmSerial;
    QString pcfVersion;
    QString pcfSerial;
    QString status;
};

// Fixed captions of panels 1, 3, 5 and 7.
inline const QString kPanelRbmVersion = QStringLiteral("RBM V :");
inline const QString kPanelRbmSerial = QStringLiteral(" RBM SN :");
inline const QString kPanelPcfVersion = QStringLiteral(" PCF V:");
inline const QString kPanelPcfSerial = QStringLiteral(" PCF SN:");

// Asks the RBM and the PCF; returns the failure code when the RBM question fails, else an empty text.
// Leaves the address prefix on the RBM.
QByteArray QueryVersion(CommandExchange& exchange, ClockIdentity& identity);

ClockStatusPanels clockStatusTexts(const ClockIdentity& identity);
QString statusTextForDigit(const QString& digit);
QString formatVersion(double version);    // "##0.00"
QString formatSerial(const QString& hex); // "####0000" of HexToNumber

quint64 HexToNumber(const QString& text);
bool IsHexText(const QString& text);
