#pragma once

#include "results/race_figures.h"

#include <QList>
#include <QPair>
#include <QString>

// One line of the result as every form shows it. An unranked line has no position and no velocity; its
// reason stands in place of the flying time.
struct ResultCells {
    QString position;
    QString flyer;
    QString band;
    QString distance; // miles or km, 3 decimals; empty without a loft position
    QString arrival;  // corrected, "YYYY-MM-DD HH:MM:SS"
    QString flight;   // "H:MM:SS", or the reason
    QString velocity; // 3 decimals
    bool uncorrected = false;
};
ResultCells resultCells(const ResultLine& line, VelocityUnit unit);

// The race's heading: club, liberation point, date, liberation time, night, lofts, birds, the winner's
// velocity.
QString resultTitle(const FiguredRace& race);
QList<QPair<QString, QString>> resultHeading(const FiguredRace& race);
inline const QString kUncorrectedNote = QStringLiteral("* clock without knock-off: times not corrected");

// "Pos,Flyer,Band,Distance,Arrival,Flight,Velocity" and one line per bird, CR LF after each.
QString resultCsv(const FiguredRace& race);
// The heading and a fixed-width table, as the CLI prints it.
QString resultText(const FiguredRace& race);
// One page that needs nothing else: no scripts, no outside links; fits a phone and prints.
QString resultHtml(const FiguredRace& race);
