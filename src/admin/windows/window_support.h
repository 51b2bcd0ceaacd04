#pragma once

#include <QFont>
#include <QObject>
#include <functional>

class QLineEdit;
class QWidget;
class QListWidget;

// Small behaviours the data windows share: whole text selected on focus, per-key filters, and a check run
// when a box is left.
namespace admin_ui {

// Selects the whole text whenever the box gets the focus (also by a mouse click).
void selectAllOnFocus(QLineEdit* box);

// Keys whose text fails accept are discarded; Backspace, Delete, arrows and shortcuts pass. Pasted text is
// filtered the same way.
void filterKeys(QLineEdit* box, std::function<bool(QChar)> accept);

// Runs onEnter when Return or Enter is pressed in the box.
void onEnterKey(QLineEdit* box, std::function<void()> onEnter);

// Runs onLeave when the box loses the focus to another control of its window (not to a box the leave check
// itself opened, nor when the window is deactivated).
void onLeave(QWidget* box, std::function<void()> onLeave);

// The font of lists whose entries are columns.
QFont fixedPitchFont();

// Selects the row without emitting the clicked signal; -1 clears the selection.
void selectRow(QListWidget* list, int row);

} // namespace admin_ui
