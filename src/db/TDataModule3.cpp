#include "db/TDataModule3.h"

#include "dataaccess/Errors.h"
#include "db/History.h"

const QString TDataModule3::ConnectingText = QStringLiteral("łączenie z bazą ...");
const QString TDataModule3::ConnectedText = QStringLiteral("Połączony z bazą");
const QString TDataModule3::DisconnectedText = QStringLiteral("Rozłączono z bazą");
const QString TDataModule3::ProblemText = QStringLiteral("problem połączenia z bazą");

TDataModule3::TDataModule3(QObject* parent)
    : QObject(parent),
      Device(Quorvel, QStringLiteral("Device")),
      Events(Quorvel, QStringLiteral("Events")),
      Users(Quorvel, QStringLiteral("Users")),
      Groups(Quorvel, QStringLiteral("Groups")),
      Szablony(Quorvel, QStringLiteral("Szablony")),
      Prawa(Quorvel, QStringLiteral("Prawa")),
      Karty(Quorvel, QStringLiteral("Karty")),
      LOCALIZATION(Quorvel, QStringLiteral("LOCALIZATION")),
      Status(Quorvel, QStringLiteral("Status")),
      SQL(Quorvel, QStringLiteral("SQL")),
      MyCommand1(Quorvel, QStringLiteral("MyCommand1"))
{
    // The definition values; "Connect" replaces them with the settings fields.
    Quorvel.setServer(QStringLiteral("192.168.1.10"));
    Quorvel.setLogin(QStringLiteral("vqx"));
    Quorvel.setPassword(QStringLiteral("vqx"));
    Quorvel.setDatabase(QStringLiteral("QUORVEL"));
    Quorvel.beforeConnect = [this] { QuorvelBeforeConnect(); };
    Quorvel.afterConnect = [this] { QuorvelAfterConnect(); };
    Quorvel.beforeDisconnect = [this] { QuorvelBeforeDisconnect(); };
    Quorvel.onError = [this](const QString& message) { QuorvelError(message); };

    Device.setStatement(QStringLiteral(
        "select *,(SELECT LOCALIZATION.NAME FROM LOCALIZATION WHERE DEVICE.ID_LOCALIZATION = LOCALIZATION.ID) AS LOKALIZACJA,\n"
        "(SELECT LOCALIZATION.ID FROM LOCALIZATION WHERE DEVICE.ID_LOCALIZATION = LOCALIZATION.ID) AS LOK_ID \n"
        "from DEVICE \n"
        "WHERE DEVICE.DEL = 0\n"
        "order by LOKALIZACJA, DEVICE.NAME;"));
    // The newest events in the order of their numbers, the person, device and type
    // found by their keys, so that the server reads 100 events and not all of them.
    Events.setStatement(QStringLiteral(
        "select STRAIGHT_JOIN EVENTS.ID,USERS.FIRST_NAME,USERS.NAME,TYP.NAME,TIME,DEVICE.NAME, SERIAL, CANAL,HEAD\n"
        "from EVENTS,USERS,DEVICE,TYP FORCE INDEX (PRIMARY)\n"
        "WHERE\n"
        "EVENTS.TYPE =TYP.ID\n"
        "AND\n"
        "EVENTS.ID_USER =USERS.ID_USER\n"
        "AND  \n"
        "EVENTS.ID_DEVICE = DEVICE.ID_DEVICE\n"
        "order by EVENTS.ID DESC LIMIT 100;"));
    Users.setStatement(QStringLiteral(
        "SELECT \n"
        "USERS.ID_USER, \n"
        "USERS.ID_GROUP, \n"
        "USERS.FIRST_NAME, \n"
        "USERS.NAME,\n"
        "GROUPS.NAME, \n"
        "(SELECT COUNT(*) FROM CARDS WHERE USERS.ID_USER = CARDS.ID_USER_FK) AS CARDS  \n"
        "FROM \n"
        "USERS, GROUPS\n"
        "WHERE GROUPS.ID_GROUP = USERS.ID_GROUP \n"
        "AND USERS.DEL =0\n"
        "ORDER BY USERS.NAME"));
    Groups.setStatement(QStringLiteral(
        "select *,\n"
        "(SELECT COUNT(*) FROM USERS WHERE USERS.ID_GROUP = GROUPS.ID_GROUP) AS USER\n"
        "FROM GROUPS\n"
        "WHERE DEL =0\n"
        "ORDER BY NAME;"));
    Szablony.setStatement(QStringLiteral("select * from PERMISSIONS"));
    LOCALIZATION.setStatement(QStringLiteral(
        "select * from LOCALIZATION\n"
        "WHERE LOCALIZATION.DEL = 0\n"
        "ORDER BY NAME;"));
    Status.setTable(QStringLiteral("STATUS"));
    Prawa.clearLines();
    Karty.clearLines();
    SQL.clearLines();
}

TDataModule3::~TDataModule3()
{
    // Closed quietly: the window that listened to the handlers may be gone already.
    Quorvel.beforeDisconnect = nullptr;
    Quorvel.close();
}

void TDataModule3::QuorvelBeforeConnect() { emit statusTextChanged(ConnectingText); }
void TDataModule3::QuorvelAfterConnect()
{
    historyTable_ = HistoryTable::Unknown;   // another server or database, perhaps
    emit statusTextChanged(ConnectedText);
}
void TDataModule3::QuorvelBeforeDisconnect() { emit statusTextChanged(DisconnectedText); }
void TDataModule3::QuorvelError(const QString&) { emit statusTextChanged(ProblemText); }

void TDataModule3::BumpStatusCounter(const QString& column, int times)
{
    if (!Quorvel.isOpen())
        return;
    try {
        Status.first();
        if (Status.integer(column) < 0)
            return;
        Status.edit();
        Status.increment(column, times);
        Status.post();
        Status.next();
    } catch (const DatabaseError& error) {
        // Refused for a conflict with another session: the server undid the whole
        // unit, and the change's owner decides whether to run it again.
        if (error.code() == 1213 || !Quorvel.isOpen())
            throw;
        Quorvel.commitOpenTransaction();
        throw;
    } catch (const OperatorError&) {
        // A counter that cannot be raised while the connection lives (no STATUS
        // table, no row, the dataset not open) does not undo the change it follows:
        // the change is kept and the failure reported. A lost connection kept nothing.
        if (Quorvel.isOpen())
            Quorvel.commitOpenTransaction();
        throw;
    }
}

bool TDataModule3::recordsHistory()
{
    if (historyTable_ == HistoryTable::Unknown)
        return checkHistoryTable();
    return historyTable_ == HistoryTable::Present;
}

bool TDataModule3::checkHistoryTable()
{
    historyTable_ = History::tableExists(Quorvel) ? HistoryTable::Present : HistoryTable::Missing;
    return historyTable_ == HistoryTable::Present;
}

Dataset& TDataModule3::lookUp(const QStringList& lines)
{
    SQL.clearLines();
    for (const QString& line : lines)
        SQL.addLine(line);
    SQL.reexecute();
    return SQL;
}
