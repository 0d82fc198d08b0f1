// People: adding one person, changing names and group, deleting and restoring,
// and the list of active or deleted people.
#include "people/PeopleChanges.h"

#include "db/Change.h"
#include "db/TDataModule3.h"
#include "people/CardChanges.h"

const QString PeopleChanges::NoGroupText = QStringLiteral("Nie wybrano grupy.");

namespace {

const QString DeletedPeopleStatement = QStringLiteral(
    "SELECT USERS.ID_USER, USERS.ID_GROUP, USERS.FIRST_NAME, USERS.NAME, GROUPS.NAME  FROM USERS, "
    "GROUPS WHERE GROUPS.ID_GROUP = USERS.ID_GROUP AND USERS.DEL =1 ORDER BY USERS.NAME");
const QString ActivePeopleStatement = QStringLiteral(
    "SELECT  USERS.ID_USER, USERS.ID_GROUP, USERS.FIRST_NAME, USERS.NAME, GROUPS.NAME,"
    " (SELECT COUNT(*) FROM CARDS WHERE USERS.ID_USER = CARDS.ID_USER_FK) AS CARDS FROM"
    " USERS, GROUPS WHERE GROUPS.ID_GROUP = USERS.ID_GROUP AND USERS.DEL = 0"
    " ORDER BY USERS.NAME");

}  // namespace

int PeopleChanges::CountUsersByName(TDataModule3& m, const QString& firstName, const QString& surname)
{
    const Connection& c = m.Quorvel;
    return m.lookUp({QStringLiteral("SELECT COUNT(*) FROM USERS WHERE FIRST_NAME = ") + c.quoted(firstName),
                     QStringLiteral("AND NAME = ") + c.quoted(surname)})
        .integerAt(0);
}

Outcome PeopleChanges::AddUser(TDataModule3& m, const QString& firstName, const QString& surname,
                               const QString& groupNumber, const AddOptions& options)
{
    if (!m.Quorvel.isOpen() || (firstName.isEmpty() && surname.isEmpty()))
        return {};
    // The group number goes bare into the statement: only a group's number may.
    bool isNumber = false;
    const int group = groupNumber.toInt(&isNumber);
    if (!isNumber || group <= 0 || QString::number(group) != groupNumber)
        return {0, NoGroupText};
    if (CountUsersByName(m, firstName, surname) != 0)
        return {-1, QStringLiteral("Osoba: ") + firstName + QStringLiteral("  ") + surname
                        + QStringLiteral("  już istnieje w bazie.")};

    const Connection& c = m.Quorvel;
    int id = 0;
    Change(m, options.action.isEmpty() ? QStringLiteral("Dodaj uzytkownika") : options.action)
        .onGone([&] { m.Users.reexecute(); })
        .require(QStringLiteral("GROUPS"), group, QStringLiteral("tej grupy"))
        .run({QStringLiteral("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME)VALUES"),
              QLatin1Char('(') + groupNumber + QLatin1Char(',') + c.quoted(firstName) + QLatin1Char(',')
                  + c.quoted(surname) + QStringLiteral(");")})
        .trackInserted(QStringLiteral("USERS"))
        .then([&] {
            id = m.lookUp({QStringLiteral("SELECT ID_USER FROM USERS WHERE USERS.FIRST_NAME = ")
                           + c.quoted(firstName) + QStringLiteral(" AND USERS.NAME = ")
                           + c.quoted(surname) + QLatin1Char(';')})
                     .integerAt(0);
            if (options.reloadLists) {
                m.Users.reexecute();
                m.Users.last();   // the last in surname order, not necessarily the new person
            }
        })
        .bump(QStringLiteral("USERS"), options.counterBumps)
        .commit();
    return {id, {}};
}

QString PeopleChanges::ChangeUser(TDataModule3& m, int userId, const QString& firstName,
                                  const QString& surname, const QString& group)
{
    if (!m.Quorvel.isOpen() || userId == 0)
        return {};
    if (firstName.isEmpty() && surname.isEmpty())
        return {};   // a person keeps at least one name, as when added
    if (group.isEmpty())
        return NoGroupText;
    const bool namesKept = firstName == m.Users.text(QStringLiteral("FIRST_NAME"))
                           && surname == m.Users.text(QStringLiteral("NAME"));
    const int found = CountUsersByName(m, firstName, surname);
    if (namesKept ? found >= 2 : found != 0)
        return QStringLiteral("Osoba już istnieje w bazie.");

    const Connection& c = m.Quorvel;
    const int recordNo = m.Users.recordNo();
    bool groupIsNumber = false;
    const int groupId = group.toInt(&groupIsNumber);
    Change change(m, QStringLiteral("Zmień"));
    change.onGone([&] { m.Users.reexecute(); })
        .track(QStringLiteral("USERS"), userId, QStringLiteral("tej osoby"), Change::Gone::Write, true);
    if (groupIsNumber)
        change.require(QStringLiteral("GROUPS"), groupId, QStringLiteral("tej grupy"));
    change
        .runOnRow({QStringLiteral("UPDATE USERS SET FIRST_NAME = "),
                   c.quoted(firstName) + QLatin1Char(','),
                   QStringLiteral("NAME = ") + c.quoted(surname) + QLatin1Char(','),
                   QStringLiteral("ID_GROUP ='") + group + QLatin1Char('\''),
                   QStringLiteral(" WHERE ID_USER ="), QString::number(userId)},
                  QStringLiteral("tej osoby"))
        .reexecute(m.Users)
        .then([&] { m.Users.setRecordNo(recordNo); })
        .bump(QStringLiteral("USERS"))
        .commit();
    return {};
}

void PeopleChanges::DeleteUser(TDataModule3& m, int userId, CardView shownCards)
{
    if (!m.Quorvel.isOpen() || userId == 0)
        return;
    const QString id = QString::number(userId);
    Change(m, QStringLiteral("Usuń użytkownika"))
        .onGone([&] {
            m.Users.reexecute();
            CardChanges::RefreshCardList(m, shownCards);
        })
        .track(QStringLiteral("USERS"), userId, QStringLiteral("tej osoby"), Change::Gone::AlreadyRemoved, true)
        .trackWhere(QStringLiteral("CARDS"), QStringLiteral("ID_USER_FK = ") + id)
        .run({QStringLiteral("UPDATE CARDS SET ID_USER_FK = "), QStringLiteral("'0'"),
              QStringLiteral("WHERE ID_USER_FK = ") + id})
        .bump(QStringLiteral("CARDS"))
        .then([&] { CardChanges::RefreshCardList(m, shownCards); })
        .run({QStringLiteral("UPDATE USERS SET DEL = 1"), QStringLiteral("WHERE ID_USER = ") + id})
        .reexecute(m.Users)
        .bump(QStringLiteral("USERS"))
        .commit();
}

void PeopleChanges::RestoreUser(TDataModule3& m, int userId)
{
    if (userId == 0)
        return;   // an empty list: there is nobody to restore
    Change(m, QStringLiteral("Przywróć użytkownika"))
        .onGone([&] { m.Users.reexecute(); })
        .track(QStringLiteral("USERS"), userId, QStringLiteral("tej osoby"), Change::Gone::AlreadyRemoved)
        .run({QStringLiteral("UPDATE USERS SET DEL = "), QStringLiteral("'0'"),
              QStringLiteral(" WHERE ID_USER ="), QString::number(userId)})
        .reexecute(m.Users)   // still the deleted people: the restored one leaves the list
        .bump(QStringLiteral("USERS"))
        .commit();
}

void PeopleChanges::ShowPeople(TDataModule3& m, bool deleted)
{
    m.Users.setStatement(deleted ? DeletedPeopleStatement : ActivePeopleStatement);
    if (m.Quorvel.isOpen())
        m.Users.reexecute();
}
