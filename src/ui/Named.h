#pragma once

#include <QString>

#include <utility>

// A new widget of type T made from `args` (its text, its parent, ...), with the
// objectName by which the pages, the tests and the operator's tools find it.
template <typename T, typename... Args>
T* named(const char* name, Args&&... args)
{
    auto* widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
