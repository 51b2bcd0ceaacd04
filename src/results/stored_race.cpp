#include "results/stored_race.h"

#include "common/pad_field.h"
#include "common/race_times.h"
#include "database/schema.h"
#include "results/race_gathering.h"

#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

namespace {
QString bandKey(const QString& clubLetters, const QString& bandNumber)
{
    return comparedText(clubLetters) + u'\n' + comparedText(bandNumber);
}

QString twoDigits(int value)
{
    return PadField(QString::number(value), 2, u'0', false);
}
} // namespace

void DatabaseResultLookups::prefetch(const GatheredRace& race)
{
    QStringList numbers;
    for (const GatheredRace::Clocking& clocking : race.clockings) {
        const QString number = clocking.record.bandNumber();
        const QString key = comparedText(number);
        if (!m_fetched.contains(key)) {
            m_fetched.insert(key);
            numbers << number;
        }
    }
    // A failure is kept and answers every look-up after it.
    if (m_error.isEmpty() && !numbers.isEmpty())
        m_error = fetch(numbers);
}

QString DatabaseResultLookups::fetch(const QStringList& bandNumbers)
{
    const auto found = m_data.bandsWithNumbers(bandNumbers);
    if (!found.ok())
        return found.status.description;
    for (const BandParts& bird : found.value)
        m_known.insert(bandKey(bird.clubletters, bird.bnumber));
    return {};
}

ResultLookup<Loft> DatabaseResultLookups::loft(int club, int flyer)
{
    const auto found = m_data.flyerByClubAndId(club, flyer);
    if (!found.ok())
        return {std::nullopt, found.status.description};
    if (!found.value)
        return {};
    // Names from the clock and the DOS files are padded to 20 characters.
    return {Loft{found.value->Name.trimmed(), found.value->Latitude, found.value->Longitude}, {}};
}

ResultLookup<bool> DatabaseResultLookups::birdKnown(const QString& clubLetters, const QString& bandNumber)
{
    if (const QString key = comparedText(bandNumber); m_error.isEmpty() && !m_fetched.contains(key)) {
        m_fetched.insert(key);
        m_error = fetch({bandNumber});
    }
    if (!m_error.isEmpty())
        return {std::nullopt, m_error};
    return {m_known.contains(bandKey(clubLetters, bandNumber)), {}};
}

FiguredRace figureStoredRace(const AdminData& data, const QString& raceFolder, int raceNumber,
                             const QString& raceDate, const ResultOptions& options)
{
    FiguredRace failed;
    failed.unit = options.unit;
    failed.race.raceNumber = raceNumber;
    failed.race.date = raceDate;
    const auto fail = [&failed](const QString& why) {
        failed.error = why;
        return failed;
    };
    static const QRegularExpression datePattern(QStringLiteral("^\\d\\d/\\d\\d$"));
    if (raceNumber < 0 || raceNumber > 99)
        return fail(QStringLiteral("The race number %1 is not one of 00 to 99.").arg(raceNumber));
    if (!datePattern.match(raceDate).hasMatch())
        return fail(QStringLiteral("The race date %1 is not MM/DD.").arg(raceDate));
    const auto point =
        data.liberationPointOfRace(twoDigits(raceNumber), raceDate.left(2) + raceDate.mid(3, 2));
    if (!point.ok())
        return fail(point.status.description);
    if (!point.value)
        return fail(QStringLiteral("No liberation point is stored for race %1 of %2.")
                        .arg(twoDigits(raceNumber), raceDate));
    failed.race.liberationPoint = point.value->racename;
    const QFileInfo folder(raceFolder);
    // Before the first download the folder is not there yet: say what to do, not only what failed.
    if (!folder.exists())
        return fail(QStringLiteral("The race folder %1 cannot be read: it does not exist yet. Save the "
                                   "clock's race data first.")
                        .arg(raceFolder));
    if (!folder.isDir() || !folder.isReadable())
        return fail(QStringLiteral("The race folder %1 cannot be read.").arg(raceFolder));

    const GatheredRace gathered = gatherRace(raceFolder, raceNumber, raceDate);
    if (gathered.headers.empty())
        return fail(QStringLiteral("No race file in %1 holds race %2 of %3.")
                        .arg(raceFolder, twoDigits(raceNumber), raceDate));
    RaceDefinition race = failed.race;
    const auto club = data.clubName(leadingNumber(gathered.headers.front().club()));
    race.club = club.value.value_or(QString());
    race.latitude = point.value->latitude;
    race.longitude = point.value->longitude;
    race.liberationTime = parseLiberationTime(point.value->liberationTime).value_or(QTime());
    race.night = parseNightWindow(point.value->night);

    DatabaseResultLookups lookups(data);
    lookups.prefetch(gathered);
    return figureRace(gathered, race, options, lookups);
}

Fetched<std::vector<RaceChoice>> raceChoices(const AdminData& data, const QString& raceFolder)
{
    Fetched<std::vector<RaceChoice>> choices;
    const auto points = data.liberationPoints();
    choices.status = points.status;
    if (!points.ok())
        return choices;
    QMap<std::pair<int, QString>, int> flown; // race number and date -> race files that flew it
    visitRaceFolder(raceFolder, [&flown](const QStringList& records) {
        for (const QString& record : records)
            if (raceRecordKind(record) == RaceRecordKind::RaceHeader) {
                const RaceHeaderRecord header(record);
                ++flown[{header.raceNumberValue(), header.raceDate()}];
            }
    });
    for (const LiberationPoint& point : points.value) {
        const std::pair<int, QString> race{leadingNumber(point.racenum),
                                           Mid(point.racedate, 1, 2) + u'/' + Mid(point.racedate, 3, 2)};
        choices.value.push_back({race.first, race.second, point.racename, int(flown.take(race))});
    }
    for (auto race = flown.cbegin(); race != flown.cend(); ++race)
        choices.value.push_back({race.key().first, race.key().second, {}, race.value()});
    return choices;
}

QString raceChoiceText(const RaceChoice& choice)
{
    const QString point =
        choice.liberationPoint.isEmpty() ? QStringLiteral("(no liberation point)") : choice.liberationPoint;
    return QStringLiteral("%1  %2  %3  (%4 loft%5)")
        .arg(twoDigits(choice.raceNumber), choice.date, point)
        .arg(choice.lofts)
        .arg(choice.lofts == 1 ? QString() : QStringLiteral("s"));
}
