#pragma once

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
