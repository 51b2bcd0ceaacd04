#pragma once

#include <QListWidget>
#include <QObject>
#include <QString>
#include <gtest/gtest.h>

// The child of parent with this objectName; a missing one fails the test (and returns null) instead of
// crashing the whole test program.
template <typename T = QObject> T* findChildOrFail(const QObject* parent, const QString& name)
{
    T* child = parent ? parent->findChild<T*>(name) : nullptr;
    if (!child)
        ADD_FAILURE() << "no child '" << name.toStdString() << "' of type " << T::staticMetaObject.className()
                      << " in " << (parent ? parent->objectName().toStdString() : std::string("(null)"));
    return child;
}

// The texts of a list's entries, top to bottom; none for a missing list.
inline QStringList listTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; list && i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}
