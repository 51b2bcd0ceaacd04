#pragma once

#include "common/today.h"
#include "database/schema.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace bird {

// The seven national organisation codes, two letters each, in this order.
inline const QString kOrgCodeText = QStringLiteral("AUCACUIFMXNPUS");
inline const QString kNoElectronicRing = QStringLiteral("0000000000");
inline const QString kDefaultColor = QStringLiteral("NONE");
inline const QString kMissingFields = QStringLiteral("All fields must have data!");
inline const QString kErrorTitle = QStringLiteral("Error");
inline const QString kDeleteTitle = QStringLiteral("Delete Record");
inline const QString kDeleteSelectedQuestion =
    QStringLiteral("Are you sure you wish to DELETE all selected records ?");
inline const QString kDeleteSingleQuestion =
    QStringLiteral("Are you sure you wish to DELETE this single record ?");
inline const QString kNoFlyersEntry = QStringLiteral("No flyers available");
inline const QString kNoFlyersCount = QStringLiteral(" 0 Flyers Listed");
inline const QString kNoPigeonsEntry = QStringLiteral("No pigeons available");
inline const QString kNoPigeonsCount = QStringLiteral(" 0 Pigeons Listed");
inline const QString kNoBirdsEntry = QStringLiteral("No birds to list");
inline const QString kNoBirdsCount = QStringLiteral(" 0 Pigeon(s) listed");

QStringList orgCodes();
// "Only AU, CA, CU, IF, MX, NP or US are allowed for Nat Org."
QString orgMessage();
// Empty or one of the seven codes, letter case ignored.
bool orgAcceptable(const QString& text);
// A typed hatch year: 80 to 99, or 00 up to next year's two digits (00 to 27 during 2026); an empty box
// reads as 0, as the number it shows.
bool yearAcceptable(const QString& text, const QDate& today = Today::date());
// "Valid numbers are 80--> <--27" during 2026.
QString yearMessage(const QDate& today = Today::date());

QString padYear(const QString& text);
QString padClubLetters(const QString& text);
QString padBandNumber(const QString& text);

// The 14-character band identity: organisation, year, club letters, band number, each at its width.
QString bandIdentity(const QString& org, const QString& year, const QString& clubLetters,
                     const QString& number);
QString duplicateBandMessage(const QString& band);

// " US08 ABC012345C 0000000000 NONE": the band identity sits at positions 2 to 15.
QString listEntry(const Bird& row);
QString bandFromEntry(const QString& entry);
// "12 Pigeon(s) listed".
QString countLine(int count);
// "5 Flyers Listed" (the flyer list of this window).
QString flyerCountLine(int count);
// The band number offered for the next bird: the shown one plus one, six digits.
QString nextBandNumber(const QString& shown);

bool acceptsDigit(QChar c);
bool acceptsColorLetter(QChar c);

// A bird as typed (window boxes or CLI options).
struct BirdFields {
    QString org, year, club, number, color;
    bool cock = true;
};

// The row stored for typed fields: upper-cased organisation, club and colour, padded year, club and number.
Bird rowFromFields(int flyerId, const BirdFields& fields, const QString& elecNumber, const QString& type);

// The first rule the fields break, as the message the window shows; nothing when they may be stored.
std::optional<QString> fieldProblem(const BirdFields& fields, const QString& keptYear = {});
// The year message for a typed year that is refused; a year kept from a stored bird (keptYear: a received
// or imported bird keeps any year it came with) is not checked again.
std::optional<QString> yearProblem(const QString& year, const QString& keptYear = {});
// A band number of digits only, and a colour of letters only; the window's message otherwise.
std::optional<QString> numberProblem(const QString& number);
std::optional<QString> colorProblem(const QString& color);

enum class Mode { Browse, Adding, Editing };

struct WindowState {
    Mode mode = Mode::Browse;
    bool flyerChosen = false;   // a flyer exists and is selected
    bool flyerHasBirds = false; // the chosen flyer's bird list holds birds
    bool birdShown = false;     // a bird was clicked and fills the fields
    bool fieldsComplete = false;
};

struct Controls {
    bool add, edit, save, cancel, erase, end;
    bool fields; // cmbOrg, txtYear, txtClub, txtIdNumber, txtColor, optCock, optHen
    bool send, receive;
    bool flyerList, birdList, search;
};

Controls controlsFor(const WindowState& state);

} // namespace bird
