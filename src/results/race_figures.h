#pragma once

#include "common/position.h"
#include "results/clock_correction.h"
#include "results/distance.h"
#include "results/night_window.h"
#include "settings/result_settings.h"

#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>
#include <vector>

struct GatheredRace;
class ResultLookups;

// The race as its liberation point describes it.
struct RaceDefinition {
    int raceNumber = 0;
    QString date; // "MM/DD" as the headers write it
    QString liberationPoint;
    QString club;     // the heading's club
    QString latitude; // digits as typed
    QString longitude;
    QTime liberationTime;
    std::optional<NightWindow> night;
};

// The unit and hemispheres as the configuration sets them.
using ResultOptions = ResultSettings;

// Why a line is listed without a position. The order is the order of the checks.
enum class Unranked {
    None,
    LoftNotInDatabase,
    LoftWithoutPosition,
    BirdNotInDatabase,
    ArrivalUnreadable,
    ArrivalBeforeLiberation,
    FlyingTimeNotPositive,
    TooFast,
};
QString unrankedReason(Unranked reason);

// Faster than this is not a pigeon.
constexpr double kFastestYardsPerMinute = 3000;

struct ResultLine {
    int position = 0; // 0 for an unranked line; equal velocities share one
    Unranked unranked = Unranked::None;
    QString flyer;
    QString band; // clocking 1-14
    std::optional<double> distanceMetres;
    std::optional<RaceInstant> arrival; // corrected
    double flyingSeconds = 0;
    qint64 velocityThousandths = 0; // in the chosen unit, rounded to 3 decimals
    bool clockCorrected = true;     // false: the clock had no usable knock-off
};

struct FiguredRace {
    QString error; // why the race could not be figured at all; then nothing else is filled
    RaceDefinition race;
    VelocityUnit unit = VelocityUnit::YardsPerMinute;
    std::optional<RaceInstant> liberation; // of the first header
    int lofts = 0;                         // lofts whose clock flew the race
    std::vector<ResultLine> lines;         // ranked by velocity, then the unranked in gathering order
    QStringList unreadableFiles;
};

FiguredRace figureRace(const GatheredRace& gathered, const RaceDefinition& race, const ResultOptions& options,
                       ResultLookups& lookups);
