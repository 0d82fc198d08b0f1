#pragma once

#include <QString>

#include <functional>

class BoundGrid;
class ErrorGuard;
class QAbstractItemView;
class QLabel;
class QLineEdit;
class QWidget;

// The count under a list: "Liczba: N", or "N z M" while a find text narrows it.
QString listCountText(int shown, int all, bool narrowed);

// A label under a grid that keeps its count; named after the grid ("DBGrid3Count").
QLabel* listCount(BoundGrid* grid, QWidget* parent);
// The same for any list whose rows are all shown: "Liczba: N" (a sole blank row
// counts as none).
QLabel* listCount(QAbstractItemView* view, QWidget* parent);

// A find field above a grid: each key narrows the grid to the rows whose search
// text holds what is typed; Escape empties it. `prepare`, when given, runs (in the
// guard) before each narrowing: to read what the search texts need.
QLineEdit* findField(const char* name, BoundGrid* grid, const ErrorGuard& guard,
                     const QString& toolTip, QWidget* parent,
                     std::function<void()> prepare = {});
