#pragma once

class QCoreApplication;

// Qt's own texts (file dialogs, the calendar of date fields, context menus) in
// Polish, from the translations the system ships, and Polish month and day names.
// Without the translation files Qt stays English, quietly. Returns whether the
// translation was found.
bool usePolish(QCoreApplication& application);
