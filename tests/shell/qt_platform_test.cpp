#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_progress.h"
#include "platform/qt/window_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
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

TEST(QtDialogs, TextsShowAsWrittenAndSaveDialogsSayWhatIsSaved)
{
    EXPECT_EQ(qtBoxText("a\r\n\r\nb\rc"), "a\n\nb\nc");
    // The input box's prompt labels the text box: its "&" must not become an access key (an underlined
    // space).
    EXPECT_EQ(qtLabelText("Export the races of 12-07-2025 & 12-07-2026?\r\n"),
              "Export the races of 12-07-2025 && 12-07-2026?\n");
    EXPECT_EQ(saveDialogTitle("WinSpeed Data Files (*.D00)|*.D00|"), "Save WinSpeed Data Files");
    EXPECT_EQ(saveDialogTitle("|"), "Corvex");

    QtDialogs dialogs;
    QString message;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        message = box->text();
        format = box->textFormat();
        box->close();
    });
    dialogs.inform("<b>Smith & Sons</b>");
    EXPECT_EQ(message, "<b>Smith & Sons</b>");
    EXPECT_EQ(format, Qt::PlainText);
}

// A field disabled while browsing shows its value in its enabled colours, with no selection left over.
TEST(WindowSupport, DisabledFieldStaysReadable)
{
    QLineEdit box("US08 ABC110203");
    admin_ui::readableWhenDisabled(&box);
    box.selectAll();
    box.setEnabled(false);
    for (const auto role : {QPalette::Text, QPalette::Base})
        EXPECT_EQ(box.palette().color(QPalette::Disabled, role), box.palette().color(QPalette::Active, role));
    EXPECT_FALSE(box.hasSelectedText());
}

// A showing keeps what was set while shown; the next showing starts from the design texts.
TEST(QtProgressWindow, ANewShowingStartsFromTheDesignTexts)
{
    QtProgress progress;
    const frmDataTrans* w = progress.window();
    const auto shown = [&] {
        return QStringList{w->windowTitle(), w->lblDataTrans->text(), w->lblBirdsTransferred->text()};
    };
    progress.show();
    progress.setTitle("DOS Import");
    progress.setUpperLine("Please wait...");
    progress.setLowerLine("12 Blocks Transferred");
    progress.show();
    EXPECT_EQ(shown(), (QStringList{"DOS Import", "Please wait...", "12 Blocks Transferred"}));
    progress.close();
    progress.show();
    EXPECT_EQ(shown(), (QStringList{"Corvex", "Transferring Data...", ""}));
}
} // namespace
