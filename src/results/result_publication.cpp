#include "results/result_publication.h"

#include "common/pad_field.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
QString threeDecimals(qint64 thousandths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", thousandths / 1000, thousandths % 1000);
    return QString::fromLatin1(text);
}

QString flightText(double seconds)
{
    const long long whole = std::llround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    return QString::fromLatin1(text);
}

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool anyUncorrected(const FiguredRace& race)
{
    return std::any_of(race.lines.begin(), race.lines.end(),
                       [](const ResultLine& line) { return !line.clockCorrected; });
}

QStringList notes(const FiguredRace& race)
{
    QStringList lines;
    if (anyUncorrected(race))
        lines << kUncorrectedNote;
    for (const QString& file : race.unreadableFiles)
        lines << QStringLiteral("Race file not read: ") + file;
    return lines;
}
} // namespace

ResultCells resultCells(const ResultLine& line, VelocityUnit unit)
{
    ResultCells cells;
    const bool ranked = line.unranked == Unranked::None;
    if (ranked)
        cells.position = QString::number(line.position);
    cells.flyer = line.flyer;
    cells.band = line.band;
    if (line.distanceMetres)
        cells.distance = threeDecimals(std::llround(publishedDistance(*line.distanceMetres, unit) * 1000));
    if (line.arrival)
        cells.arrival = instantText(*line.arrival);
    cells.flight = ranked ? flightText(line.flyingSeconds) : unrankedReason(line.unranked);
    if (ranked)
        cells.velocity = threeDecimals(line.velocityThousandths);
    cells.uncorrected = !line.clockCorrected;
    return cells;
}

QString resultTitle(const FiguredRace& race)
{
    return QStringLiteral("Race %1 %2 %3")
        .arg(race.race.raceNumber, 2, 10, QLatin1Char('0'))
        .arg(race.race.liberationPoint.trimmed(), race.race.date);
}

QList<QPair<QString, QString>> resultHeading(const FiguredRace& race)
{
    QList<QPair<QString, QString>> heading;
    heading.append({QStringLiteral("Club"), race.race.club});
    heading.append({QStringLiteral("Liberation point"), race.race.liberationPoint.trimmed()});
    heading.append({QStringLiteral("Date"),
                    race.liberation ? instantDate(*race.liberation).toString(Qt::ISODate) : race.race.date});
    heading.append(
        {QStringLiteral("Liberation time"), race.race.liberationTime.toString(QStringLiteral("HH:mm:ss"))});
    if (race.race.night)
        heading.append({QStringLiteral("Night"), nightWindowText(*race.race.night)});
    heading.append({QStringLiteral("Lofts"), QString::number(race.lofts)});
    heading.append({QStringLiteral("Birds"), QString::number(race.lines.size())});
    const bool winner = !race.lines.empty() && race.lines.front().position == 1;
    heading.append({QStringLiteral("Winner"), winner ? threeDecimals(race.lines.front().velocityThousandths) +
                                                           u' ' + velocityUnitName(race.unit)
                                                     : QString()});
    heading.append({QStringLiteral("Distances in"), distanceUnitName(race.unit)});
    return heading;
}

QString resultCsv(const FiguredRace& race)
{
    QString csv = QStringLiteral("Pos,Flyer,Band,Distance,Arrival,Flight,Velocity\r\n");
    for (const ResultLine& line : race.lines) {
        const ResultCells c = resultCells(line, race.unit);
        csv += QStringList{c.position, csvField(c.flyer),  csvField(c.band), c.distance,
                           c.arrival,  csvField(c.flight), c.velocity}
                   .join(u',') +
               QStringLiteral("\r\n");
    }
    return csv;
}

QString resultText(const FiguredRace& race)
{
    QString text = resultTitle(race) + u'\n';
    for (const auto& [label, value] : resultHeading(race))
        text += PadField(label + u':', 18, u' ', true) + value + u'\n';
    const auto row = [](const QString& pos, const QString& flyer, const QString& band,
                        const QString& distance, const QString& arrival, const QString& rest) {
        return PadField(pos, 4, u' ', false) + QStringLiteral("  ") + PadField(flyer, 20, u' ', true) + u' ' +
               PadField(band, 14, u' ', true) + PadField(distance, 10, u' ', false) + QStringLiteral("  ") +
               PadField(arrival, 19, u' ', true) + u' ' + rest;
    };
    text += u'\n' +
            row(QStringLiteral("Pos"), QStringLiteral("Flyer"), QStringLiteral("Band"),
                QStringLiteral("Distance"), QStringLiteral("Arrival"),
                PadField(QStringLiteral("Flight"), 9, u' ', false) + QStringLiteral("  Velocity")) +
            u'\n';
    for (const ResultLine& line : race.lines) {
        const ResultCells c = resultCells(line, race.unit);
        const QString rest = c.velocity.isEmpty()
                                 ? QStringLiteral("   ") + c.flight
                                 : PadField(c.flight, 9, u' ', false) + PadField(c.velocity, 10, u' ', false);
        text += row(c.position, c.flyer, c.band, c.distance, c.arrival, rest) +
                (c.uncorrected ? QStringLiteral(" *") : QString()) + u'\n';
    }
    if (const QStringList lines = notes(race); !lines.isEmpty())
        text += u'\n' + lines.join(u'\n') + u'\n';
    return text;
}

QString resultHtml(const FiguredRace& race)
{
    const auto escaped = [](const QString& text) { return text.toHtmlEscaped(); };
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
    html += escaped(resultTitle(race)) + QStringLiteral("</title>\n<style>\n");
    html += QStringLiteral(
        "body{font-family:sans-serif;margin:1em;color:#000;background:#fff}\n"
        "h1{font-size:1.4em}\n"
        "dl{display:grid;grid-template-columns:max-content auto;gap:.2em 1em}\n"
        "dt{font-weight:bold}dd{margin:0}\n"
        ".table{overflow-x:auto}\n"
        "table{border-collapse:collapse;font-size:.9em}\n"
        "th,td{padding:.25em .5em;border-bottom:1px solid #ccc;text-align:left;white-space:nowrap}\n"
        "td.n{text-align:right;font-variant-numeric:tabular-nums}\n"
        "tr.unranked td{color:#555}\n"
        "@media print{body{margin:0}.table{overflow:visible}thead{display:table-header-group}"
        "tr{break-inside:avoid}}\n"
        // A phone shows each bird as a small block: position, flyer and velocity first, the rest below.
        "@media screen and (max-width:40em){body{margin:.5em}thead{display:none}table,tbody{display:block}"
        "tr{display:grid;grid-template-columns:2.2em 1fr auto;grid-template-areas:'p f v' 'p b d' 'p a t';"
        "border-bottom:1px solid #ccc;padding:.3em 0}"
        "tr.unranked{grid-template-areas:'p f v' 'p b d' 'p a a' 'p t t'}"
        "td{border:0;padding:.05em .3em}td:nth-child(1),td:nth-child(2),td:nth-child(7){font-weight:bold}"
        "td:nth-child(1){grid-area:p}td:nth-child(2){grid-area:f}td:nth-child(3){grid-area:b}"
        "td:nth-child(4){grid-area:d}td:nth-child(5){grid-area:a}td:nth-child(6){grid-area:t}"
        "td:nth-child(7){grid-area:v}tr.unranked td:nth-child(6){white-space:normal}"
        "td:nth-child(4):not(:empty)::before{content:'distance ';color:#555;font-size:.85em}"
        "tr:not(.unranked) td:nth-child(6)::before{content:'flight ';color:#555;font-size:.85em}}\n"
        "</style>\n</head>\n<body>\n<h1>");
    html += escaped(resultTitle(race)) + QStringLiteral("</h1>\n<dl>\n");
    for (const auto& [label, value] : resultHeading(race))
        html += QStringLiteral("<dt>%1</dt><dd>%2</dd>\n").arg(escaped(label), escaped(value));
    html += QStringLiteral("</dl>\n<div class=\"table\">\n<table>\n<thead><tr><th>Pos</th><th>Flyer</th>"
                           "<th>Band</th><th>Distance</th><th>Arrival</th><th>Flight</th><th>Velocity</th>"
                           "</tr></thead>\n<tbody>\n");
    for (const ResultLine& line : race.lines) {
        const ResultCells c = resultCells(line, race.unit);
        const QString flight = line.unranked == Unranked::None ? QStringLiteral("<td class=\"n\">%1</td>")
                                                               : QStringLiteral("<td>%1</td>");
        html +=
            (c.position.isEmpty() ? QStringLiteral("<tr class=\"unranked\">") : QStringLiteral("<tr>")) +
            QStringLiteral("<td class=\"n\">%1</td><td>%2</td><td>%3</td><td class=\"n\">%4</td><td>%5</td>")
                .arg(c.position, escaped(c.flyer), escaped(c.band), c.distance, c.arrival) +
            flight.arg(escaped(c.flight)) +
            QStringLiteral("<td class=\"n\">%1%2</td></tr>\n")
                .arg(c.velocity, c.uncorrected ? QStringLiteral(" *") : QString());
    }
    html += QStringLiteral("</tbody>\n</table>\n</div>\n");
    for (const QString& note : notes(race))
        html += QStringLiteral("<p>") + escaped(note) + QStringLiteral("</p>\n");
    return html + QStringLiteral("</body>\n</html>\n");
}
