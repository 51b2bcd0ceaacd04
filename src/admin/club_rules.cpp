#include "admin/club_rules.h"

#include "common/pad_field.h"

namespace club {

QString listEntry(int clubId, const QString& name)
{
    return PadField(QString::number(clubId), 3, QLatin1Char(' '), false) + QStringLiteral(" - ") + name;
}

QString nameFromEntry(const QString& entry)
{
    const qsizetype at = entry.indexOf(QStringLiteral(" - "));
    return at < 0 ? QString() : entry.mid(at + 3);
}

QString idText(int clubId)
{
    return QStringLiteral("%1").arg(clubId, 2, 10, QLatin1Char('0'));
}

QString countLine(int count)
{
    return QString::number(count) + QLatin1Char(' ') + kCountSuffix;
}

Controls controlsFor(const WindowState& state)
{
    if (state.mode != Mode::Browse) {
        const bool adding = state.mode == Mode::Adding;
        return {.add = false,
                .edit = false,
                .save = true,
                .cancel = true,
                .end = false,
                .name = true,
                .id = false,
                .search = !adding,
                .list = false};
    }
    return {.add = true,
            .edit = state.hasClubs && state.clubShown,
            .save = false,
            .cancel = false,
            .end = true,
            .name = false,
            .id = false,
            .search = true,
            .list = state.hasClubs};
}

} // namespace club
