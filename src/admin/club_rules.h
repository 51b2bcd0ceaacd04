#pragma once

#include <QString>

namespace club {

inline const QString kNoClubsEntry = QStringLiteral("No clubs to Show");
inline const QString kCountSuffix = QStringLiteral("Clubs Listed");
inline const QString kNeedOneClub = QStringLiteral("There must be at least one club entry.");
inline const QString kMustEnterName = QStringLiteral("Must enter a name!");
inline const QString kErrorTitle = QStringLiteral("Error");

// "  7 - Riverside": the number right-aligned in 3 characters, " - ", the name.
QString listEntry(int clubId, const QString& name);
// Everything after the first " - " of a list entry; empty when there is none.
QString nameFromEntry(const QString& entry);
// The club number as shown in txtClubID: at least two digits.
QString idText(int clubId);
// "3 Clubs Listed".
QString countLine(int count);

enum class Mode { Browse, Adding, Editing };

struct WindowState {
    Mode mode = Mode::Browse;
    bool hasClubs = false;  // the list holds clubs, not the "No clubs" line
    bool clubShown = false; // a list entry is selected and shown in the boxes
};

struct Controls {
    bool add, edit, save, cancel, end;
    bool name, id, search, list;
};

Controls controlsFor(const WindowState& state);

} // namespace club
