#pragma once

#include <QString>

namespace flyer {

inline const QString kNoFlyersEntry = QStringLiteral("No flyers to Show");
inline const QString kNoClubsChoice = QStringLiteral("No Clubs Listed");
inline const QString kClubCaption = QStringLiteral("Club");
inline const QString kChooseClubCaption = QStringLiteral("Choose Club");
inline const QString kMustEnterName = QStringLiteral("Must enter a name!");
inline const QString kErrorTitle = QStringLiteral("Error");
inline const QString kEraseQuestion =
    QStringLiteral("Are you sure you wish to DELETE this flyer and all of their inventory?");
inline const QString kDeleteTitle = QStringLiteral("Delete Record");

// "3 Flyers Listed".
QString countLine(int count);
// "7 Riverside": a club choice entry.
QString clubChoice(int clubId, const QString& clubName);
// The club number of a choice: the value of its leading digits, 0 when there are none.
int clubIdOfChoice(const QString& choice);
QString duplicateNameMessage(const QString& name);
// The report after a new flyer was stored with a received inventory.
QString receivedMessage(const QString& name, int updated, int added);

// Longitude and latitude take digits only.
bool acceptsCoordinateCharacter(QChar c);
// The text with every character the coordinate boxes refuse removed (for pasted or scripted input).
QString coordinateDigits(const QString& text);

// The fields of one flyer as the window and the CLI edit them.
struct FlyerFields {
    int clubId = 0;
    QString name, address, city, email, phone, longitude, latitude;
};

enum class Mode { Browse, Adding, Editing };

struct WindowState {
    Mode mode = Mode::Browse;
    bool hasFlyers = false;  // the list holds flyers
    bool flyerShown = false; // a flyer is selected and shown in the boxes
    bool clubsExist = false; // the club choice holds clubs, not "No Clubs Listed"
};

struct Controls {
    bool add, edit, save, cancel, erase, end;
    bool boxes, clubChoice, search, list;
    QString clubCaption;
};

Controls controlsFor(const WindowState& state);

} // namespace flyer
