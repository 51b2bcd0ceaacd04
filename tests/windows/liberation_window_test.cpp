#include "admin/windows/frm_liberations.h"
#include "support/database_builder.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>

namespace {

class LiberationWindow : public ::testing::Test {
protected:
    frmLiberations* open()
    {
        m_window = new frmLiberations(db.path(), dialogs);
        return m_window;
    }
    void TearDown() override { delete m_window.data(); }
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

    TestDatabase db;
    StrictDialogs dialogs;
    QPointer<frmLiberations> m_window;
};

// By mouse and keyboard: Enter on a button presses it, Enter in a box saves, Escape cancels.
TEST_F(LiberationWindow, ButtonStatesRowByRowAndTheKeyboard)
{
    auto* w = open();
    EXPECT_EQ(w->objectName(), "frmLiberations");
    EXPECT_EQ(entries(w, "lstOrteList"), QStringList{"No Races"});
    EXPECT_EQ(text(w, "lblOrteList"), "0 Races Listed");
    // opened, no races
    expectEnabled(w, "cmdOrteAddNew cmdOrteEnd",
                  "cmdOrteEdit cmdOrteSave cmdOrteCancel cmdOrteDelete cmdSendOrte txtRaceNumber txtRaceType "
                  "lstOrteList");
    // Add
    pressKey(w, "cmdOrteAddNew", Qt::Key_Return);
    EXPECT_EQ(text(w, "txtRaceType"), "1");
    expectEnabled(w, "cmdOrteCancel txtRaceNumber txtRaceDateMonth txtRaceType",
                  "cmdOrteAddNew cmdOrteEdit cmdOrteSave cmdOrteDelete cmdOrteEnd cmdSendOrte");
    typePoint(w, "123", "7", "4", "Wichita");
    expectEnabled(w, "cmdOrteSave", "");
    // stored, the number padded to its last two digits
    pressKey(w, "txtRaceDateDay", Qt::Key_Enter);
    EXPECT_EQ(entries(w, "lstOrteList"), QStringList{"23  07/04  Wichita"});
    EXPECT_EQ(text(w, "lblOrteList"), "1 Race(s) Listed");
    expectEnabled(w, "cmdOrteAddNew cmdOrteEnd cmdSendOrte", "cmdOrteSave cmdOrteCancel txtRaceNumber");
    // list click
    clickEntry(w, "lstOrteList", 0);
    EXPECT_EQ(text(w, "txtRaceNumber"), "23");
    EXPECT_EQ(text(w, "txtRaceDateMonth"), "07");
    EXPECT_EQ(text(w, "txtRaceDateDay"), "04");
    EXPECT_EQ(text(w, "txtRaceName"), "Wichita");
    expectEnabled(w, "cmdOrteAddNew cmdOrteEdit cmdOrteDelete", "");
    expectReadableWhileDisabled(w, "txtRaceNumber txtRaceDateMonth txtRaceDateDay txtRaceName txtRaceType");
    // Edit
    pressKey(w, "cmdOrteEdit", Qt::Key_Return);
    expectEnabled(w, "cmdOrteSave cmdOrteCancel txtRaceName",
                  "cmdOrteAddNew cmdOrteEdit cmdOrteDelete cmdOrteEnd cmdSendOrte");
    setText(w, "txtRaceName", "Hays");
    // Cancel
    pressKey(w, "txtRaceName", Qt::Key_Escape);
    EXPECT_EQ(stored()[0].racename, "Wichita");
    expectEnabled(w, "cmdOrteAddNew cmdOrteEnd", "cmdOrteSave cmdOrteCancel txtRaceName");
    // Delete
    clickEntry(w, "lstOrteList", 0);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    clickButton(w, "cmdOrteDelete");
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.text, "Are you sure you wish to DELETE this record?");
    EXPECT_EQ(dialogs.log()[0].box.title, "Delete Record");
    EXPECT_EQ(dialogs.log()[0].box.defaultAnswer, Dialogs::Answer::No);
    EXPECT_TRUE(stored().empty());
    expectEnabled(w, "cmdOrteAddNew", "cmdOrteSave cmdSendOrte");
}

TEST_F(LiberationWindow, OpensWithNothingChosenUntilTheKeyboardChooses)
{
    addPoint("01", "0704", "Wichita");
    addPoint("02", "0711", "Salina");
    auto* w = open();
    // The list takes the focus on opening: that makes a row current but chooses none.
    auto* list = findChildOrFail<QListWidget>(w, "lstOrteList");
    ASSERT_TRUE(list);
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(list, &focus);
    expectEnabled(w, "cmdOrteAddNew cmdOrteEnd cmdSendOrte lstOrteList", "cmdOrteEdit cmdOrteDelete");
    EXPECT_EQ(text(w, "txtRaceName"), "");
    pressKey(w, "lstOrteList", Qt::Key_Space);
    EXPECT_EQ(text(w, "txtRaceName"), "Wichita");
    pressKey(w, "lstOrteList", Qt::Key_Down);
    EXPECT_EQ(text(w, "txtRaceName"), "Salina");
    expectEnabled(w, "cmdOrteEdit cmdOrteDelete", "");
}

TEST_F(LiberationWindow, RaceZeroIsMarkedWithTheNote)
{
    addPoint("01", "0704", "Wichita");
    auto* w = open();
    EXPECT_EQ(text(w, "lblWinSpeed"), "");
    w->close();

    addPoint("00", "0601", "Training");
    w = open();
    EXPECT_EQ(entries(w, "lstOrteList"), (QStringList{"01  07/04  Wichita", "00**06/01  Training"}));
    EXPECT_EQ(text(w, "lblWinSpeed"), "** - NOT WinSpeed\nCompatible");
}

TEST_F(LiberationWindow, MonthAndDayLeftOutOfRangeAreResetWithTheirMessages)
{
    auto* w = open();
    clickButton(w, "cmdOrteAddNew");
    setText(w, "txtRaceDateMonth", "13");
    EXPECT_FALSE(w->monthLeft());
    EXPECT_EQ(text(w, "txtRaceDateMonth"), "01");
    setText(w, "txtRaceDateDay", "32");
    EXPECT_FALSE(w->dayLeft());
    setText(w, "txtRaceDateDay", "31");
    EXPECT_TRUE(w->dayLeft()) << "the day is not tested against the month";
    EXPECT_EQ(dialogs.texts(), (QStringList{"Invalid data for month ", "Invalid data for day"}));
}

TEST_F(LiberationWindow, MissingFieldsAreRefusedWithTheModesText)
{
    addPoint("01", "0704", "Wichita");
    auto* w = open();
    clickButton(w, "cmdOrteAddNew");
    typePoint(w, "2", "07", "11", "Salina");
    setText(w, "txtRaceType", "");
    clickButton(w, "cmdOrteSave");
    EXPECT_EQ(dialogs.lines(), QStringList{"[Error] All fields must contain data!"});
    EXPECT_EQ(stored().size(), 1u);
    clickButton(w, "cmdOrteCancel");
    dialogs.clearLog();

    clickEntry(w, "lstOrteList", 0);
    clickButton(w, "cmdOrteEdit");
    setText(w, "txtRaceType", "");
    clickButton(w, "cmdOrteSave");
    EXPECT_EQ(dialogs.lines(), QStringList{"[Error] All fields must be filled in!"});
    EXPECT_EQ(stored()[0].racetype, "1");
}

TEST_F(LiberationWindow, FiftyFirstPointStoredFiftySecondRefused)
{
    for (int i = 1; i <= 50; ++i)
        addPoint(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), "0501",
                 QStringLiteral("Point %1").arg(i));
    auto* w = open();
    clickButton(w, "cmdOrteAddNew");
    typePoint(w, "51", "06", "01", "Fifty-one");
    clickButton(w, "cmdOrteSave");
    EXPECT_EQ(stored().size(), 51u);
    EXPECT_TRUE(dialogs.log().empty());
    EXPECT_EQ(findChildOrFail<QListWidget>(w, "lstOrteList")->currentRow(), 50)
        << "the new point is selected";

    clickButton(w, "cmdOrteAddNew");
    typePoint(w, "52", "06", "02", "Fifty-two");
    clickButton(w, "cmdOrteSave");
    EXPECT_EQ(stored().size(), 51u);
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_TRUE(dialogs.log()[0].box.text.startsWith("The liberation list is full (51 points)."));
    EXPECT_EQ(w->mode(), liberation::Mode::Adding);
}

TEST_F(LiberationWindow, NamesWithQuotesAndSameNumbersEditTheClickedRow)
{
    addPoint("03", "0704", "O'Neill");
    addPoint("03", "0801", "O'Neill");
    auto* w = open();
    clickEntry(w, "lstOrteList", 1);
    EXPECT_EQ(text(w, "txtRaceDateMonth"), "08");
    clickButton(w, "cmdOrteEdit");
    setText(w, "txtRaceDateDay", "15");
    clickButton(w, "cmdOrteSave");
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].racedate, "0704");
    EXPECT_EQ(rows[1].racedate, "0815");
    EXPECT_EQ(rows[1].racename, "O'Neill");
}

} // namespace
