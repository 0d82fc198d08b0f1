#pragma once

#include <QString>

class QWidget;

// Gives every button and field under `root` its tool tip: what it does, in a few
// words. A widget that already has one keeps it.
void applyToolTips(QWidget* root);

// The tool tip of a control by its objectName; empty when there is none.
QString toolTipOf(const QString& objectName);

// Enter on a focused button presses it, as Space does.
void enterPressesButtons(QWidget* root);
