#include "admin/bird_rules.h"

#include "common/pad_field.h"

#include <algorithm>

namespace bird {

QStringList orgCodes()
{
    QStringList codes;
    for (int i = 0; i + 1 < kOrgCodeText.size(); i += 2)
        codes << kOrgCodeText.mid(i, 2);
    return codes;
}

QString orgMessage()
{
    QStringList codes = orgCodes();
    const QString last = codes.takeLast();
    return QStringLiteral("Only ") + codes.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last +
           QStringLiteral(" are allowed for Nat Org.");
}

bool orgAcceptable(const QString& text)
{
    const QString code = text.toUpper();
    return code.isEmpty() || orgCodes().contains(code);
}

namespace {
int lastHatchYear(const QDate& today)
{
    return (today.year() + 1) % 100;
}
} // namespace

bool yearAcceptable(const QString& text, const QDate& today)
{
    if (text.size() > 2)
        return false;
    int value = 0;
    for (QChar c : text) {
        if (!acceptsDigit(c))
            return false;
        value = value * 10 + (c.unicode() - '0');
    }
    return value >= 80 || value <= lastHatchYear(today);
}

QString yearMessage(const QDate& today)
{
    return QStringLiteral("Valid numbers are 80--> <--%1").arg(lastHatchYear(today), 2, 10, QLatin1Char('0'));
}

QString padYear(const QString& text)
{
    return PadField(text, 2, QLatin1Char('0'), false);
}

QString padClubLetters(const QString& text)
{
    return PadField(text, 4, QLatin1Char(' '), false);
}

QString padBandNumber(const QString& text)
{
    return PadField(text, 6, QLatin1Char('0'), false);
}

QString bandIdentity(const QString& org, const QString& year, const QString& clubLetters,
                     const QString& number)
{
    return PadField(org.toUpper(), 2, QLatin1Char(' '), true) + padYear(year) +
           padClubLetters(clubLetters.toUpper()) + padBandNumber(number);
}

QString duplicateBandMessage(const QString& band)
{
    return band +
           QStringLiteral(" already exists, please select another Nat Org, Hatch Year, Club, or Band number");
}

QString listEntry(const Bird& row)
{
    return QLatin1Char(' ') + row.band() + row.sex + QLatin1Char(' ') + row.elecnumber + QLatin1Char(' ') +
           row.color;
}

QString bandFromEntry(const QString& entry)
{
    return Mid(entry, 2, 14);
}

QString countLine(int count)
{
    return QString::number(count) + QStringLiteral(" Pigeon(s) listed");
}

QString flyerCountLine(int count)
{
    return QString::number(count) + QStringLiteral(" Flyers Listed");
}

QString nextBandNumber(const QString& shown)
{
    qint64 value = 0;
    for (QChar c : shown.trimmed()) {
        if (!acceptsDigit(c))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    // Past 999999 there is no next number: offer the last one again rather than wrap to 000000.
    return padBandNumber(QString::number(std::min<qint64>(value + 1, 999999)));
}

bool acceptsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool acceptsColorLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

Bird rowFromFields(int flyerId, const BirdFields& fields, const QString& elecNumber, const QString& type)
{
    Bird row;
    row.BirdFlyerID = flyerId;
    row.NatOrg = fields.org.trimmed().toUpper();
    row.HatchYr = padYear(fields.year);
    row.clubletters = padClubLetters(fields.club.toUpper());
    row.bnumber = padBandNumber(fields.number);
    row.sex = fields.cock ? QStringLiteral("C") : QStringLiteral("H");
    row.elecnumber = elecNumber;
    row.color = fields.color.trimmed().toUpper();
    row.type = type;
    return row;
}

std::optional<QString> yearProblem(const QString& year, const QString& keptYear)
{
    const QString typed = year.trimmed();
    if (!keptYear.isEmpty() && padYear(typed) == padYear(keptYear.trimmed()))
        return std::nullopt;
    return yearAcceptable(typed) ? std::nullopt : std::optional(yearMessage());
}

std::optional<QString> numberProblem(const QString& number)
{
    const QString digits = number.trimmed();
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), acceptsDigit))
        return QStringLiteral("The band number takes digits only.");
    return std::nullopt;
}

std::optional<QString> colorProblem(const QString& color)
{
    const QString letters = color.trimmed();
    if (letters.isEmpty() || !std::all_of(letters.begin(), letters.end(), acceptsColorLetter))
        return QStringLiteral("The colour takes letters only.");
    return std::nullopt;
}

std::optional<QString> fieldProblem(const BirdFields& fields, const QString& keptYear)
{
    if (!orgAcceptable(fields.org.trimmed()))
        return orgMessage();
    if (const auto problem = yearProblem(fields.year, keptYear))
        return problem;
    if (fields.org.trimmed().isEmpty() || fields.year.trimmed().isEmpty() ||
        fields.club.trimmed().isEmpty() || fields.number.trimmed().isEmpty() ||
        fields.color.trimmed().isEmpty())
        return kMissingFields;
    if (const auto problem = numberProblem(fields.number))
        return problem;
    return colorProblem(fields.color);
}

Controls controlsFor(const WindowState& state)
{
    if (state.mode != Mode::Browse) {
        return {.add = false,
                .edit = false,
                .save = state.fieldsComplete,
                .cancel = true,
                .erase = false,
                .end = false,
                .fields = true,
                .send = false,
                .receive = false,
                .flyerList = false,
                .birdList = false,
                .search = false};
    }
    const bool shown = state.flyerChosen && state.flyerHasBirds && state.birdShown;
    return {.add = state.flyerChosen,
            .edit = shown,
            .save = false,
            .cancel = false,
            .erase = shown,
            .end = true,
            .fields = false,
            .send = state.flyerChosen && state.flyerHasBirds,
            .receive = true,
            .flyerList = state.flyerChosen,
            .birdList = state.flyerChosen && state.flyerHasBirds,
            .search = true};
}

} // namespace bird
