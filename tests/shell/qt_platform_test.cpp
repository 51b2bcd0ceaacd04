#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_progress.h"
#include "support/find_child.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {
TEST(QtFileFilter, VbFilterBecomesQtFilter)
{
    EXPECT_EQ(qtFileFilter("WinSpeed Data Files (*.D00)|*.D00|"), "WinSpeed Data Files (*.D00)");
    EXPECT_EQ(qtFileFilter("Race files|*.txt;*.cvx|All files (*.*)|*.*"),
              "Race files (*.txt *.cvx);;All files (*.*)");
    EXPECT_EQ(qtFileFilter(QString()), "");
    EXPECT_EQ(qtFileFilter("dangling"), "") << "a description without a pattern is dropped";
}

TEST(QtBoxText, CrLfBecomesOneLineBreak)
{
    EXPECT_EQ(qtBoxText("a\r\n\r\nb\rc"), "a\n\nb\nc");
}

TEST(QtProgressWindow, ShowsDesignTextsAndKeepsItsLines)
{
    QtProgress progress;
    frmDataTrans* window = progress.window();
    ASSERT_EQ(window->objectName(), "frmDataTrans");
    auto* upper = findChildOrFail<QLabel>(window, "lblDataTrans");
    auto* lower = findChildOrFail<QLabel>(window, "lblBirdsTransferred");
    ASSERT_TRUE(upper && lower);

    progress.show();
    EXPECT_TRUE(progress.isShown());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(upper->text(), "Transferring Data...");
    EXPECT_EQ(lower->text(), "");

    progress.setTitle("DOS Import");
    progress.setUpperLine("Please wait...");
    progress.setLowerLine("12 Blocks Transferred");
    progress.repaint();
    progress.show(); // showing again while shown keeps the lines
    EXPECT_EQ(window->windowTitle(), "DOS Import");
    EXPECT_EQ(upper->text(), "Please wait...");
    EXPECT_EQ(lower->text(), "12 Blocks Transferred");

    progress.close();
    EXPECT_FALSE(progress.isShown());
    progress.show();
    EXPECT_EQ(upper->text(), "Transferring Data...") << "a new showing starts from the design texts";
    EXPECT_EQ(lower->text(), "");
    EXPECT_EQ(window->windowTitle(), "Corvex");
    progress.close();
}
} // namespace
