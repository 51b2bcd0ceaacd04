#include "admin/windows/frm_liberations.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

class LiberationWindow : public WindowTest<frmLiberations> {
protected:
    void addPoint(const QString& number, const QString& date, const QString& name)
    {
        ASSERT_TRUE(db.data().addLiberationPoint({0, number, date, name, "1"}).ok());
    }
    void typePoint(QWidget* w, const QString& number, const QString& month, const QString& day,
                   const QString& name)
    {
        setText(w, "txtRaceNumber", number);
        setText(w, "txtRaceDateMonth", month);
        setText(w, "txtRaceDateDay", day);
        setText(w, "txtRaceName", name);
    }
    std::vector<LiberationPoint> stored() { return db.data().liberationPoints().value; }
};

// The states as the user meets them, by mouse and keyboard: Enter on a button presses it, Enter in a box
// saves, Escape cancels.
TEST_F(LiberationWindow, StatesAndTheKeyboard)
{
    auto* w = open();
    EXPECT_EQ(entries(w, "lstOrteList") << text(w, "lblOrteList"),
              (QStringList{"No Races", "0 Races Listed"}));
    pressKey(w, "cmdOrteAddNew", Qt::Key_Return);
    EXPECT_EQ(text(w, "txtRaceType"), "1");
    // Leaving a date box checks it: a value out of range is said, and the month reset.
    setText(w, "txtRaceDateMonth", "13");
    EXPECT_FALSE(w->monthLeft());
    EXPECT_EQ(text(w, "txtRaceDateMonth"), "01");
    setText(w, "txtRaceDateDay", "32");
    EXPECT_FALSE(w->dayLeft());
    EXPECT_EQ(dialogs.texts(), (QStringList{"Invalid data for month ", "Invalid data for day"}));
    dialogs.clearLog();
    expectEnabled(w, "cmdOrteCancel txtRaceNumber", "cmdOrteSave cmdOrteAddNew");
    typePoint(w, "123", "7", "4", "Wichita");
    expectEnabled(w, "cmdOrteSave", "");
    // stored, the number padded to its last two digits
    pressKey(w, "txtRaceDateDay", Qt::Key_Enter);
    EXPECT_EQ(entries(w, "lstOrteList") << text(w, "lblOrteList") << text(w, "lblWinSpeed"),
              (QStringList{"23  07/04  Wichita", "1 Race(s) Listed", ""}));
    clickEntry(w, "lstOrteList", 0);
    EXPECT_EQ(text(w, "txtRaceNumber") + text(w, "txtRaceDateMonth") + text(w, "txtRaceDateDay") +
                  text(w, "txtRaceName"),
              "230704Wichita");
    pressKey(w, "cmdOrteEdit", Qt::Key_Return);
    setText(w, "txtRaceName", "Hays");
    pressKey(w, "txtRaceName", Qt::Key_Escape);
    EXPECT_EQ(stored()[0].racename, "Wichita");

    clickEntry(w, "lstOrteList", 0);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    clickButton(w, "cmdOrteDelete");
    EXPECT_EQ(dialogs.lines(), QStringList{"[Delete Record] Are you sure you wish to DELETE this record?"});
    EXPECT_EQ(dialogs.log()[0].box.defaultAnswer, Dialogs::Answer::No);
    EXPECT_TRUE(stored().empty());
}

// The list takes the focus on opening: that makes a row current but chooses none, until the keyboard does.
// Race 0 is marked with the note; same numbers and names edit the clicked row.
TEST_F(LiberationWindow, OpensWithNothingChosenAndEditsTheClickedRow)
{
    addPoint("03", "0704", "O'Neill");
    addPoint("03", "0801", "O'Neill");
    addPoint("00", "0601", "Training");
    auto* w = open();
    EXPECT_EQ(entries(w, "lstOrteList"),
              (QStringList{"03  07/04  O'Neill", "03  08/01  O'Neill", "00**06/01  Training"}));
    EXPECT_EQ(text(w, "lblWinSpeed"), "** - NOT WinSpeed\nCompatible");
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(findChildOrFail<QListWidget>(w, "lstOrteList"), &focus);
    expectEnabled(w, "cmdSendOrte lstOrteList", "cmdOrteEdit cmdOrteDelete");
    EXPECT_EQ(text(w, "txtRaceName"), "");
    pressKey(w, "lstOrteList", Qt::Key_Space);
    EXPECT_EQ(text(w, "txtRaceDateMonth"), "07");
    pressKey(w, "lstOrteList", Qt::Key_Down);
    EXPECT_EQ(text(w, "txtRaceDateMonth"), "08");
    clickButton(w, "cmdOrteEdit");
    setText(w, "txtRaceDateDay", "15");
    clickButton(w, "cmdOrteSave");
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].racedate + rows[1].racedate + rows[1].racename, "07040815O'Neill");
}

// Save reaches the operation: a missing field is refused with the mode's text; with 51 points stored the
// 52nd is refused.
TEST_F(LiberationWindow, SaveRefusesMissingFieldsAndTheFiftySecondPoint)
{
    for (int i = 1; i <= 51; ++i)
        addPoint(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), "0501", "Point");
    auto* w = open();
    clickEntry(w, "lstOrteList", 0);
    // An edit and an add without a type, then a whole 52nd point.
    for (const auto& [start, type] :
         {std::pair{"cmdOrteEdit", ""}, {"cmdOrteAddNew", ""}, {"cmdOrteAddNew", "1"}}) {
        if (w->mode() != liberation::Mode::Browse)
            clickButton(w, "cmdOrteCancel");
        clickButton(w, start);
        typePoint(w, "52", "06", "02", "Fifty-two");
        setText(w, "txtRaceType", type);
        clickButton(w, "cmdOrteSave");
    }
    EXPECT_EQ(dialogs.lines(),
              (QStringList{"[Error] All fields must be filled in!", "[Error] All fields must contain data!",
                           "[Error] The liberation list is full (51 points). Delete a point before adding "
                           "another."}));
    EXPECT_EQ(stored().size(), 51u);
    EXPECT_EQ(w->mode(), liberation::Mode::Adding);
}

} // namespace
