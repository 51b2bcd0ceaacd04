#include "results/race_figures.h"

#include "common/pad_field.h"
#include "common/today.h"
#include "reports/race_result.h"
#include "results/race_gathering.h"
#include "results/result_lookups.h"

#include <QHash>
#include <algorithm>
#include <cmath>

QString unrankedReason(Unranked reason)
{
    switch (reason) {
    case Unranked::None:
        return {};
    case Unranked::LoftNotInDatabase:
        return QStringLiteral("Loft not in the database");
    case Unranked::LoftWithoutPosition:
        return QStringLiteral("Loft without coordinates");
    case Unranked::BirdNotInDatabase:
        return QStringLiteral("Bird not in the database");
    case Unranked::ArrivalUnreadable:
        return QStringLiteral("Arrival time unreadable");
    case Unranked::ArrivalBeforeLiberation:
        return QStringLiteral("Arrival before liberation");
    case Unranked::FlyingTimeNotPositive:
        return QStringLiteral("Flying time zero or less");
    case Unranked::TooFast:
        return QStringLiteral("Velocity above 3,000 yards per minute");
    }
    return {};
}

namespace {
struct LoftFacts {
    std::optional<Loft> loft;
    std::optional<double> metres;
};

struct HeaderFacts {
    ClockCorrection correction;
    RaceInstant liberation = 0;
    QDate reference; // arrivals carry no year: theirs is the one nearest this date
    int loftKey = 0;
};

qint64 thousandths(double value)
{
    return std::llround(value * 1000);
}

Unranked rankCheck(const ResultLine& line, const LoftFacts& loft, bool birdKnown, RaceInstant liberation)
{
    if (!loft.loft)
        return Unranked::LoftNotInDatabase;
    if (!loft.metres)
        return Unranked::LoftWithoutPosition;
    if (!birdKnown)
        return Unranked::BirdNotInDatabase;
    if (!line.arrival)
        return Unranked::ArrivalUnreadable;
    if (*line.arrival < liberation)
        return Unranked::ArrivalBeforeLiberation;
    if (line.flyingSeconds <= 0)
        return Unranked::FlyingTimeNotPositive;
    const double yardsPerMinute = *loft.metres / kMetresPerYard / (line.flyingSeconds / 60);
    if (thousandths(yardsPerMinute) > thousandths(kFastestYardsPerMinute))
        return Unranked::TooFast;
    return Unranked::None;
}

void rank(std::vector<ResultLine>& lines)
{
    const auto unranked = std::stable_partition(
        lines.begin(), lines.end(), [](const ResultLine& line) { return line.unranked == Unranked::None; });
    std::stable_sort(lines.begin(), unranked, [](const ResultLine& a, const ResultLine& b) {
        return a.velocityThousandths > b.velocityThousandths;
    });
    for (auto it = lines.begin(); it != unranked; ++it) {
        const bool tied =
            it != lines.begin() && std::prev(it)->velocityThousandths == it->velocityThousandths;
        it->position = tied ? std::prev(it)->position : int(it - lines.begin()) + 1;
    }
}
} // namespace

FiguredRace figureRace(const GatheredRace& gathered, const RaceDefinition& race, const ResultOptions& options,
                       ResultLookups& lookups)
{
    FiguredRace result;
    result.race = race;
    result.unit = options.unit;
    const auto fail = [&result](const QString& why) {
        FiguredRace failed;
        failed.race = result.race;
        failed.unit = result.unit;
        failed.error = why;
        return failed;
    };
    const auto liberationPoint = readPosition(race.latitude, race.longitude, options.hemispheres);
    if (!liberationPoint)
        return fail(QStringLiteral("The liberation point %1 has no coordinates.").arg(race.liberationPoint));
    if (!race.liberationTime.isValid())
        return fail(
            QStringLiteral("The liberation point %1 has no liberation time.").arg(race.liberationPoint));
    const int month = leadingNumber(race.date.left(2)), day = leadingNumber(race.date.mid(3, 2));
    if (race.date.size() != 5 || !QDate(2000, month, day).isValid())
        return fail(QStringLiteral("The race date %1 is not MM/DD.").arg(race.date));

    QHash<int, LoftFacts> lofts;
    std::vector<HeaderFacts> headers;
    for (const RaceHeaderRecord& header : gathered.headers) {
        HeaderFacts facts;
        facts.correction = clockCorrection(header);
        const auto start = headerInstant(header.clockStart());
        facts.reference = start ? instantDate(*start) : Today::date();
        facts.liberation = raceInstant(nearestDate(month, day, facts.reference), race.liberationTime);
        const int club = leadingNumber(header.club()), flyer = leadingNumber(header.flyer());
        facts.loftKey = club * 1000 + flyer;
        if (!lofts.contains(facts.loftKey)) {
            const ResultLookup<Loft> found = lookups.loft(club, flyer);
            if (!found.error.isEmpty())
                return fail(found.error);
            LoftFacts loft{found.value, {}};
            if (loft.loft)
                if (const auto position =
                        readPosition(loft.loft->latitude, loft.loft->longitude, options.hemispheres))
                    loft.metres = geodesicMetres(*liberationPoint, *position);
            lofts.insert(facts.loftKey, loft);
        }
        headers.push_back(facts);
    }
    if (!headers.empty())
        result.liberation = headers.front().liberation;

    for (const auto& clocking : gathered.clockings) {
        const HeaderFacts& header = headers[std::size_t(clocking.header)];
        const LoftFacts& loft = *lofts.constFind(header.loftKey);
        const ResultLookup<bool> known =
            lookups.birdKnown(clocking.record.clubLetters(), clocking.record.bandNumber());
        if (!known.error.isEmpty())
            return fail(known.error);

        ResultLine line;
        line.flyer = loft.loft ? loft.loft->flyerName : kUnknownFlyer;
        line.band = clocking.record.band();
        line.distanceMetres = loft.metres;
        line.clockCorrected = header.correction.applied;
        if (const auto clockTime = clockingInstant(clocking.record, header.reference)) {
            line.arrival = header.correction.corrected(*clockTime);
            line.flyingSeconds = *line.arrival - header.liberation;
            if (race.night)
                line.flyingSeconds -= nightSeconds(header.liberation, *line.arrival, *race.night);
        }
        line.unranked = rankCheck(line, loft, known.value.value_or(false), header.liberation);
        if (line.unranked == Unranked::None)
            line.velocityThousandths =
                thousandths(velocityLength(*loft.metres, options.unit) / (line.flyingSeconds / 60));
        result.lines.push_back(line);
    }
    rank(result.lines);
    result.lofts = int(lofts.size());
    result.unreadableFiles = gathered.unreadableFiles;
    return result;
}
