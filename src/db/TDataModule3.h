#pragma once

#include "dataaccess/Command.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"

#include <QObject>
#include <QString>

// The one connection, every dataset the pages show, the general query, the command
// for changes and the change counters. Created with everything closed.
class TDataModule3 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule3(QObject* parent = nullptr);
    ~TDataModule3() override;

    Connection Quorvel;

    Dataset Device;
    Dataset Events;
    Dataset Users;
    Dataset Groups;
    Dataset Szablony;
    Dataset Prawa;
    Dataset Karty;
    Dataset LOCALIZATION;
    Dataset Status;
    Dataset SQL;
    Command MyCommand1;

    // Raises one change counter of STATUS by one on the server, so that bumps of
    // several clients at once are all counted. Nothing without a connection; a
    // negative counter stays as it is; NULL becomes 1. Called inside the change's
    // Transaction; if the bump fails while the connection lives, the change is
    // committed before the error goes on to the operator. `times` bumps of one
    // unit are sent as one statement: no other program sees them apart.
    void BumpStatusCounter(const QString& column, int times = 1);

    // Whether changes are recorded in table HISTORY: asked of the server the first
    // time a change needs it after each connect, or at once by checkHistoryTable().
    bool recordsHistory();
    bool checkHistoryTable();
    // The action of the change under way (the outermost Change sets it), under
    // which the changes joining it are recorded.
    QString currentAction;

    // A look-up through the general query SQL: its lines, sent joined by line
    // breaks; the rows stay in SQL, which is returned.
    Dataset& lookUp(const QStringList& lines);

    // The texts the connection's handlers write to the status bar.
    static const QString ConnectingText;
    static const QString ConnectedText;
    static const QString DisconnectedText;
    static const QString ProblemText;

signals:
    // Panel 0 of the main window's status bar.
    void statusTextChanged(const QString& text);

private:
    void QuorvelBeforeConnect();
    void QuorvelAfterConnect();
    void QuorvelBeforeDisconnect();
    void QuorvelError(const QString& message);

    enum class HistoryTable { Unknown, Present, Missing };
    HistoryTable historyTable_ = HistoryTable::Unknown;
};
