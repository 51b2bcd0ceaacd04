#pragma once

#include "database/database_messages.h"
#include "database/fetched.h"

#include <QFont>
#include <QObject>
#include <functional>
#include <initializer_list>

class Dialogs;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// Small behaviours and pieces of layout the data windows share: whole text selected on focus, per-key
// filters, a check run when a box is left, the searched list and the row of buttons.
namespace admin_ui {

// Selects the whole text whenever the box gets the focus (also by a mouse click).
void selectAllOnFocus(QLineEdit* box);

// Keys whose text fails accept are discarded; Backspace, Delete, arrows and shortcuts pass. Pasted text is
// filtered the same way.
void filterKeys(QLineEdit* box, std::function<bool(QChar)> accept);

// Runs onEnter when Return or Enter is pressed in the control, instead of the window's default.
void onEnterKey(QWidget* control, std::function<void()> onEnter);

// The keyboard of a window: Enter on a focused push button presses it; Enter anywhere else presses
// defaultButton when it is enabled (Save while adding or editing); Escape presses cancel when it is enabled
// and otherwise closes the window. Either button may be null.
void keyboardDefaults(QWidget* window, QPushButton* defaultButton, QPushButton* cancel);

// A field that is disabled while browsing still shows its value as readably as a read-only field (the
// active text and base colours, following palette changes), and drops its text selection when disabled.
void readableWhenDisabled(QWidget* field);

// Runs onLeave when the box loses the focus to another control of its window (not to a box the leave check
// itself opened, nor when the window is deactivated).
void onLeave(QWidget* box, std::function<void()> onLeave);

// The font of lists whose entries are columns.
QFont fixedPitchFont();

// Selects the row without emitting the clicked signal; -1 clears the selection.
void selectRow(QListWidget* list, int row);

// A top-level window deleted when closed.
void setUpWindow(QWidget* window, const QString& objectName, const QString& title);

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption);

// A text box, readable when disabled; most select their whole text on focus.
QLineEdit* makeBox(QWidget* parent, const QString& objectName, bool selectAllOnFocus = true);

// A titled group: a "Search:" row with the search box, the list below it and the count line under the list.
QGroupBox* searchedList(QWidget* parent, const QString& title, QLineEdit* search, QListWidget* list,
                        QLabel* count);

// The window's layout: the top part above a row of the buttons.
void stackWithButtons(QWidget* window, QHBoxLayout* top, std::initializer_list<QPushButton*> buttons);

// Runs chosen when a row is clicked or another row is selected (arrow keys); a row that only became current
// because the list got the focus is not chosen.
void onRowChosen(QListWidget* list, QObject* context, std::function<void()> chosen);

// The windows' Yes/No question (No by default); true when answered Yes.
bool askYesNo(Dialogs& dialogs, const QString& question, const QString& title);

// Tells why the value of a box that was just left is refused and gives the box the focus back once the
// focus change is done. inLeaveCheck is set while the box is open, so its focus change runs no check.
void refuseLeft(Dialogs& dialogs, const QString& message, QWidget* box, bool& inLeaveCheck);

// The fetched rows; none when the fetch failed, after the failure was reported.
template <typename Rows> Rows rowsOrReported(Fetched<Rows> found, ErrorReport& errors, Dialogs& dialogs)
{
    if (found.ok())
        return std::move(found.value);
    errors.show(dialogs, found.status);
    return {};
}

} // namespace admin_ui
