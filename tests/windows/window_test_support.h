#pragma once

#include "support/database_builder.h"
#include "support/find_child.h"
#include "testing/scripted_dialogs.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

// Dialogs that fail the test when a question comes that nobody queued an answer for.
struct StrictDialogs : ScriptedDialogs {
    StrictDialogs()
    {
        onUnexpected = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
    }
};

// A data window of type Window on a fresh database, opened by the test and deleted after it.
template <typename Window> class WindowTest : public ::testing::Test {
protected:
    template <typename... Extra> Window* open(Extra&... extra)
    {
        m_window = new Window(db.path(), dialogs, extra...);
        return m_window;
    }
    void TearDown() override { delete m_window.data(); }

    TestDatabase db;
    StrictDialogs dialogs;
    QPointer<Window> m_window;
};

inline void clickButton(QWidget* window, const char* name)
{
    auto* button = findChildOrFail<QAbstractButton>(window, name);
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled()) << name << " is disabled";
    button->click();
}

inline void setText(QWidget* window, const char* name, const QString& text)
{
    if (auto* box = findChildOrFail<QLineEdit>(window, name))
        box->setText(text);
}

inline QString text(QWidget* window, const char* name)
{
    if (auto* box = window->findChild<QLineEdit*>(name))
        return box->text();
    if (auto* label = window->findChild<QLabel*>(name))
        return label->text();
    ADD_FAILURE() << "no text control " << name;
    return {};
}

inline QStringList entries(QWidget* window, const char* name)
{
    return listTexts(findChildOrFail<QListWidget>(window, name));
}

// Clicks the list entry as the user does: it becomes the current one and the click handler runs.
inline void clickEntry(QWidget* window, const char* name, int row)
{
    auto* list = findChildOrFail<QListWidget>(window, name);
    ASSERT_TRUE(list);
    ASSERT_TRUE(list->isEnabled()) << name << " is disabled";
    ASSERT_LT(row, list->count());
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    emit list->itemClicked(list->item(row));
}

// Types the characters one key press at a time, as the key filters see them.
inline void typeKeys(QWidget* window, const char* name, const QString& keys)
{
    if (auto* box = findChildOrFail<QLineEdit>(window, name))
        QTest::keyClicks(box, keys);
}

// A key as the keyboard delivers it to the control; what the control does not take goes on to its window.
inline void pressKey(QWidget* window, const char* name, Qt::Key key)
{
    if (auto* control = findChildOrFail<QWidget>(window, name))
        QTest::keyClick(control, key);
}

// The named controls are enabled (state true) or disabled as the space-separated names say.
inline void expectEnabled(QWidget* window, const char* enabled, const char* disabled)
{
    for (const auto& [names, state] : {std::pair{enabled, true}, std::pair{disabled, false}}) {
        for (const QString& name : QString::fromLatin1(names).split(' ', Qt::SkipEmptyParts)) {
            if (auto* control = findChildOrFail<QWidget>(window, name)) {
                EXPECT_EQ(control->isEnabled(), state) << name.toStdString();
            }
        }
    }
}
