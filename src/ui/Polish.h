#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts (file dialogs, the calendar of date fields, context menus) in
// Polish, from the translations the system ships, and Polish month and day names.
// Without the translation files Qt stays English, quietly. Returns the translator
// installed (owned by the application), or null when none was found.
QTranslator* usePolish(QCoreApplication& application);
