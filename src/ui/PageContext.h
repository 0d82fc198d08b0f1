#pragma once

#include <QObject>

class Dialogs;
class ErrorGuard;
class Lookups;
class TDataModule3;

// What one page tells the others: each page listens to what concerns it.
class PageSignals : public QObject {
    Q_OBJECT
signals:
    // People or cards were added elsewhere (the import): the card list reads again.
    void cardsChanged();
    // The event log changed under the event page (maintenance): it filters again.
    void eventLogChanged();
    // A line for the status bar of the window (the end of a background export).
    void statusMessage(const QString& text);
    // The history of one person and their cards is asked for (the page of people).
    void personHistoryRequested(int personId, const QString& name);
};

// What every page is given: the data module, the dialogs, the error guard its
// handlers run in, the shared lookup lists, and the signals between pages.
struct PageContext {
    TDataModule3& module;
    Dialogs& dialogs;
    const ErrorGuard& guard;
    Lookups& lookups;
    PageSignals& pageSignals;
};
