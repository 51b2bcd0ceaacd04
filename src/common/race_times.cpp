#include "common/race_times.h"

#include <QRegularExpression>

std::optional<NightWindow> parseNightWindow(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d\\d):(\\d\\d)-(\\d\\d):(\\d\\d)$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int startHour = match.captured(1).toInt(), startMinute = match.captured(2).toInt();
    const int endHour = match.captured(3).toInt(), endMinute = match.captured(4).toInt();
    if (startHour > 23 || endHour > 23 || startMinute > 59 || endMinute > 59)
        return std::nullopt;
    const NightWindow window{startHour * 60 + startMinute, endHour * 60 + endMinute};
    if (window.start == window.end)
        return std::nullopt;
    return window;
}

QString nightWindowText(const NightWindow& window)
{
    const auto hhmm = [](int minutes) {
        return QStringLiteral("%1:%2")
            .arg(minutes / 60, 2, 10, QLatin1Char('0'))
            .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    };
    return hhmm(window.start) + u'-' + hhmm(window.end);
}

std::optional<QTime> parseLiberationTime(const QString& text)
{
    const QTime time = QTime::fromString(text.trimmed(), QStringLiteral("HH:mm:ss"));
    return time.isValid() ? std::optional(time) : std::nullopt;
}
