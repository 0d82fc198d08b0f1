#include "import/ImportRows.h"

#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "people/CardChanges.h"
#include "people/PeopleChanges.h"
#include "text/PolishPlural.h"

const QString ImportRows::UserExistsText = QStringLiteral("Błąd! Użytkownik juz istnieje");
const QString ImportRows::UserAddedText = QStringLiteral("Dodano użytkownika");
const QString ImportRows::CardExistsText = QStringLiteral("ale kata juz była w systemie");
const QString ImportRows::CardAddedText = QStringLiteral(" - dodano kartę");
const QString ImportRows::NoNamesText = QStringLiteral("Pominięto: brak imienia i nazwiska");
const QString ImportRows::FailedText = QStringLiteral("Błąd bazy danych - import przerwany");
const QString ImportRows::CardFailedText =
    QStringLiteral(" - błąd bazy danych przy dodawaniu karty, import przerwany");
const QString ImportRows::LineBreakText =
    QStringLiteral("Odrzucono: wartość ze znakiem końca wiersza (plik ma końce wierszy LF; zapisz go "
                   "z końcami CR LF)");

namespace {

// The import's adds: the lists are read once at the end, and every person and card
// is counted twice (the add's own bump and the import's).
AddOptions importAdd()
{
    AddOptions options;
    options.reloadLists = false;
    options.counterBumps = 2;
    options.action = QStringLiteral("Importuj");
    return options;
}

// The fixed validity of imported cards.
const QString ValidFrom = QStringLiteral("2010-01-01");
const QString ValidTo = QStringLiteral("2030-12-31");

}  // namespace

ImportLimits ImportRows::ReadLimits(Connection& connection)
{
    Dataset rows(connection, QStringLiteral("ImportLimits"));
    rows.setStatement(QStringLiteral(
        "SELECT TABLE_NAME, COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
        "WHERE TABLE_SCHEMA = DATABASE() AND ((TABLE_NAME = 'USERS' AND COLUMN_NAME IN "
        "('FIRST_NAME', 'NAME')) OR (TABLE_NAME = 'CARDS' AND COLUMN_NAME = 'CODE'))"));
    rows.open();
    ImportLimits limits;
    for (rows.first(); !rows.eof(); rows.next()) {
        // A length beyond 32 bits (LONGTEXT) is no limit worth checking.
        bool ok = false;
        const int length = rows.text(QStringLiteral("CHARACTER_MAXIMUM_LENGTH")).toInt(&ok);
        const int limit = ok && length > 0 ? length : 0;
        if (rows.text(QStringLiteral("TABLE_NAME")).compare(QLatin1String("CARDS"), Qt::CaseInsensitive) == 0)
            limits.code = limit;
        else if (rows.text(QStringLiteral("COLUMN_NAME")).compare(QLatin1String("NAME"), Qt::CaseInsensitive) == 0)
            limits.surname = limit;
        else
            limits.firstName = limit;
    }
    return limits;
}

bool ImportRows::HoldsLineBreak(const QString& value)
{
    return value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'));
}

bool ImportRows::TooLong(const QString& value, int limit)
{
    if (limit <= 0 || value.size() <= limit)
        return false;
    if (value.size() > 2 * static_cast<qsizetype>(limit))
        return true;   // even all of them pairs of one character beyond 16 bits
    qsizetype characters = 0;
    for (const QChar c : value)
        characters += !c.isLowSurrogate();
    return characters > limit;
}

QString ImportRows::TooLongText(const char* valueLongerThan, int limit)
{
    return QString::fromUtf8(valueLongerThan) + QLatin1Char(' ') + countOf(limit, "znak", "znaki", "znaków");
}

void ImportRows::ImportRow(TDataModule3& m, const QString& group, const QString& firstName,
                           const QString& surname, const QString& code, ImportTally& tally,
                           QString& status, const std::function<void(const QString&)>& tell,
                           const ImportLimits& limits)
{
    if (firstName.isEmpty() && surname.isEmpty()) {
        status = NoNamesText;   // nobody to give the card to
        return;
    }
    if (HoldsLineBreak(firstName) || HoldsLineBreak(surname) || HoldsLineBreak(code)) {
        status = LineBreakText;
        return;
    }
    // The database would refuse these; they are not sent at all.
    if (TooLong(firstName, limits.firstName))
        throw DataError(QStringLiteral("Wartość za długa dla bazy danych: ") + TooLongText("imię dłuższe niż", limits.firstName) + QLatin1Char('.'));
    if (TooLong(surname, limits.surname))
        throw DataError(QStringLiteral("Wartość za długa dla bazy danych: ") + TooLongText("nazwisko dłuższe niż", limits.surname) + QLatin1Char('.'));
    const Outcome person = PeopleChanges::AddUser(m, firstName, surname, group, importAdd());
    if (!person.notice.isEmpty())
        tell(person.notice);
    if (person.id == 0)
        throw DataError(QStringLiteral("Brak połączenia z bazą danych."));
    if (person.id < 0) {
        status = UserExistsText;
        return;
    }
    ++tally.people;
    tally.listOnLast = true;
    status = UserAddedText;
    if (code.isEmpty())
        return;
    if (TooLong(code, limits.code))
        throw DataError(QStringLiteral("Wartość za długa dla bazy danych: ") + TooLongText("kod karty dłuższy niż", limits.code) + QLatin1Char('.'));

    // The card is stored with its owner at once: a program reading the cards never
    // sees it with another person's rights.
    const Outcome card = CardChanges::AddCard(m, code, QString(), QStringLiteral("1"), ValidFrom,
                                              ValidTo, person.id, importAdd());
    if (!card.notice.isEmpty())
        tell(card.notice);
    if (card.id == 0)
        throw DataError(QStringLiteral("Brak połączenia z bazą danych."));
    if (card.id < 0) {
        status += CardExistsText;
        return;
    }
    ++tally.cards;
    tally.listOnLast = false;
    status += CardAddedText;
}

bool ImportRows::ShowInLists(TDataModule3& m, const ImportTally& tally)
{
    if (tally.people == 0)
        return false;
    m.Users.reexecute();
    if (tally.listOnLast)
        m.Users.last();
    return tally.cards > 0;
}
