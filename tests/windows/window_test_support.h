#pragma once

#include "support/find_child.h"
#include "testing/scripted_dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <cmath>
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

// A key as the keyboard delivers it to the control; what the control does not take goes on to its window.
inline void pressKey(QWidget* window, const char* name, Qt::Key key)
{
    if (auto* control = findChildOrFail<QWidget>(window, name))
        QTest::keyClick(control, key);
}

// The named controls are disabled and show their values as readably as when they are enabled (a read-only
// box's contrast), without a text selection left over.
inline void expectReadableWhileDisabled(QWidget* window, const char* names)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    for (const QString& name : QString::fromLatin1(names).split(' ', Qt::SkipEmptyParts)) {
        auto* control = findChildOrFail<QWidget>(window, name);
        if (!control)
            continue;
        EXPECT_FALSE(control->isEnabled()) << name.toStdString();
        const QPalette p = control->palette();
        const bool button = qobject_cast<QAbstractButton*>(control);
        const auto contrast = [&](QPalette::ColorGroup group) {
            const double x = luminance(p.color(group, button ? QPalette::WindowText : QPalette::Text));
            const double y = luminance(p.color(group, button ? QPalette::Window : QPalette::Base));
            return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
        };
        EXPECT_GE(contrast(QPalette::Disabled) + 0.01, contrast(QPalette::Active)) << name.toStdString();
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            EXPECT_FALSE(box->hasSelectedText()) << name.toStdString();
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
