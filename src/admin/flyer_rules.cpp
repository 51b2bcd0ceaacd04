#include "admin/flyer_rules.h"

namespace flyer {

QString countLine(int count)
{
    return QString::number(count) + QStringLiteral(" Flyers Listed");
}

QString clubChoice(int clubId, const QString& clubName)
{
    return QString::number(clubId) + QLatin1Char(' ') + clubName;
}

int clubIdOfChoice(const QString& choice)
{
    int value = 0;
    for (QChar c : choice) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        if (value > 100000000)
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString duplicateNameMessage(const QString& name)
{
    return name + QStringLiteral(" already exists, please choose another.");
}

QString receivedMessage(const QString& name, int updated, int added)
{
    return QStringLiteral("Data successfully retrieved for ") + name +
           QStringLiteral(".\r\n\r\nBirds Updated = ") + QString::number(updated) +
           QStringLiteral("\r\nBirds Added = ") + QString::number(added);
}

bool acceptsCoordinateCharacter(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString coordinateDigits(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (acceptsCoordinateCharacter(c))
            digits += c;
    }
    return digits;
}

Controls controlsFor(const WindowState& state)
{
    if (state.mode != Mode::Browse) {
        return {.add = false,
                .edit = false,
                .save = true,
                .cancel = true,
                .erase = false,
                .end = false,
                .boxes = true,
                .clubChoice = state.clubsExist,
                .search = false,
                .list = false,
                .clubCaption = kChooseClubCaption};
    }
    const bool shown = state.hasFlyers && state.flyerShown;
    return {.add = true,
            .edit = shown,
            .save = false,
            .cancel = false,
            .erase = shown,
            .end = true,
            .boxes = false,
            .clubChoice = false,
            .search = true,
            .list = state.hasFlyers,
            .clubCaption = kClubCaption};
}

} // namespace flyer
