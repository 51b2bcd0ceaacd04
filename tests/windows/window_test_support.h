#pragma once

#include "platform/scripted_dialogs.h"
#include "support/find_child.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
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
    auto* box = findChildOrFail<QLineEdit>(window, name);
    if (!box)
        return;
    for (QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
    }
}

// Every named control enabled (true) or disabled (false) as given.
inline void expectEnabled(QWidget* window, std::initializer_list<std::pair<const char*, bool>> states)
{
    for (const auto& [name, enabled] : states) {
        auto* control = findChildOrFail<QWidget>(window, name);
        if (control) {
            EXPECT_EQ(control->isEnabled(), enabled) << name;
        }
    }
}

// The same with the names listed in two space-separated strings: enabled, then disabled.
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
