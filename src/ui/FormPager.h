#pragma once

#include <QString>
#include <initializer_list>

class QPushButton;
class QTabWidget;
class QWidget;

// A pager of an edit tab and an add tab, each with its row of buttons, and one form
// lying over both: the form moves into whichever tab is shown, above its buttons.
// The edit tab is shown at first. Handlers connected to currentChanged afterwards
// run once the form has moved.
QTabWidget* formPager(QWidget* parent, const char* name, QWidget* form,
                      const QString& editCaption, std::initializer_list<QPushButton*> editButtons,
                      const QString& addCaption, std::initializer_list<QPushButton*> addButtons);
