// Reaching a window's controls as a user does, by their designer names, whichever part of
// the window owns them.
#pragma once

#include <QDialog>
#include <QObject>

#include <gtest/gtest.h>

namespace tavrin::test {

// Whether object is root's own rather than a control of a dialog that root holds.
inline bool OwnedBy(const QObject& root, const QObject* object)
{
    for (const QObject* up = object->parent(); up != nullptr && up != &root; up = up->parent())
        if (qobject_cast<const QDialog*>(up) != nullptr)
            return false;
    return true;
}

template <typename Control>
Control* Find(const QObject& root, const char* name)
{
    for (Control* found : root.findChildren<Control*>(QLatin1String(name)))
        if (OwnedBy(root, found))
            return found;
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
}

}  // namespace tavrin::test
