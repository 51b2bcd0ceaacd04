#include "results/night_window.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

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

double nightSeconds(RaceInstant liberation, RaceInstant arrival, const NightWindow& window)
{
    constexpr double day = 86400;
    if (arrival <= liberation)
        return 0;
    const double start = window.start * 60.0;
    const double end = window.end * 60.0 + (window.end < window.start ? day : 0);
    double dead = 0;
    // The night that began the day before liberation may still be running at liberation.
    for (double midnight = std::floor(liberation / day) * day - day; midnight < arrival; midnight += day)
        dead += std::max(0.0, std::min(arrival, midnight + end) - std::max(liberation, midnight + start));
    return dead;
}
