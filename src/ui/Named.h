#pragma once

#include <QString>
#include <QWidget>

// A new widget of type T under `parent`, with the objectName by which the pages,
// the tests and the operator's tools find it.
template <typename T>
T* named(const char* name, QWidget* parent)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
