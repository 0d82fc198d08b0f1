#include "ui/ToolTips.h"

#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

const QHash<QString, QString>& toolTips()
{
    static const QHash<QString, QString> tips = {
        {QStringLiteral("CreateIndexes"), QStringLiteral("Tworzy brakujące zalecane indeksy (i nic poza tym)")},
        {QStringLiteral("ExportStop"), QStringLiteral("Przerywa eksport; plik zostaje bez zmian")},
        {QStringLiteral("HistoryAllPeople"), QStringLiteral("Pokazuje historię wszystkich, nie tylko wybranej osoby")},
        {QStringLiteral("HistoryExport"), QStringLiteral("Zapisuje wszystkie wiersze filtru do pliku CSV")},
        {QStringLiteral("HistoryFilter"), QStringLiteral("Pokazuje historię według filtrów")},
        {QStringLiteral("HistoryFirst"), QStringLiteral("Pierwsza strona historii")},
        {QStringLiteral("HistoryGrid"), QStringLiteral("Zmiany: kto, kiedy, co zmienił; tylko do odczytu")},
        {QStringLiteral("HistoryKind"), QStringLiteral("Rodzaj zmienianego obiektu")},
        {QStringLiteral("HistoryLast"), QStringLiteral("Ostatnia strona historii")},
        {QStringLiteral("HistoryNext"), QStringLiteral("Następna strona historii")},
        {QStringLiteral("HistoryOperator"), QStringLiteral("Login operatora, który wprowadził zmiany")},
        {QStringLiteral("HistoryPageNumber"), QStringLiteral("Numer strony; Enter przechodzi do niej")},
        {QStringLiteral("HistoryPrevious"), QStringLiteral("Poprzednia strona historii")},
        {QStringLiteral("HistorySince"), QStringLiteral("Pierwszy dzień filtru")},
        {QStringLiteral("HistorySinceCheck"), QStringLiteral("Filtruje od podanego dnia")},
        {QStringLiteral("HistoryText"), QStringLiteral("Tekst: nazwisko, kod karty, przejście")},
        {QStringLiteral("HistoryUntil"), QStringLiteral("Ostatni dzień filtru")},
        {QStringLiteral("HistoryUntilCheck"), QStringLiteral("Filtruje do podanego dnia")},
        {QStringLiteral("PersonHistoryButton"), QStringLiteral("Historia zmian wybranej osoby i jej kart")},
        {QStringLiteral("ReachButton"), QStringLiteral("Kto wejdzie przez przejście i dokąd wejdzie osoba")},
        // Użytkownicy: people.
        {QStringLiteral("DBGrid3"), QStringLiteral("Osoby; kliknięcie tytułu kolumny sortuje listę")},
        {QStringLiteral("Button3"), QStringLiteral("Usuwa zaznaczoną osobę (trafia do usuniętych)")},
        {QStringLiteral("Button32"), QStringLiteral("Przywraca zaznaczoną usuniętą osobę")},
        {QStringLiteral("CheckBox14"), QStringLiteral("Pokazuje osoby usunięte zamiast aktywnych")},
        {QStringLiteral("Edit6"), QStringLiteral("Imię nowej osoby")},
        {QStringLiteral("Edit7"), QStringLiteral("Nazwisko nowej osoby; Enter dodaje osobę")},
        {QStringLiteral("ComboBox2"), QStringLiteral("Grupa nowej osoby")},
        {QStringLiteral("Button2"), QStringLiteral("Dodaje osobę o podanym imieniu i nazwisku")},
        {QStringLiteral("Edit3"), QStringLiteral("Imię zaznaczonej osoby")},
        {QStringLiteral("Edit4"), QStringLiteral("Nazwisko zaznaczonej osoby; Enter zapisuje zmianę")},
        {QStringLiteral("ComboBox1"), QStringLiteral("Grupa zaznaczonej osoby")},
        {QStringLiteral("Button4"), QStringLiteral("Zapisuje imię, nazwisko i grupę zaznaczonej osoby")},
        {QStringLiteral("ComboBox3"), QStringLiteral("Grupa, do której trafi seria osób")},
        {QStringLiteral("Edit8"), QStringLiteral("Nazwisko serii; osoby dostają kolejne numery jako imiona")},
        {QStringLiteral("Edit10"), QStringLiteral("Ile osób dodać")},
        {QStringLiteral("Edit11"), QStringLiteral("Numer pierwszej osoby serii")},
        {QStringLiteral("Button5"), QStringLiteral("Dodaje serię osób do wybranej grupy")},
        // Użytkownicy: cards.
        {QStringLiteral("DBGrid7"), QStringLiteral("Karty; komórkę można poprawić (F2 albo dwuklik)")},
        {QStringLiteral("Edit13"), QStringLiteral("Kod karty; Enter dodaje kartę zaznaczonej osobie")},
        {QStringLiteral("CardCodeButton"), QStringLiteral("Przelicza numer z nadruku karty na kod")},
        {QStringLiteral("CheckBox4"), QStringLiteral("Po dodaniu karty Enterem zaznacza następną osobę")},
        {QStringLiteral("Edit14"), QStringLiteral("Tekst nadruku karty")},
        {QStringLiteral("DateTimePicker1"), QStringLiteral("Pierwszy dzień ważności karty")},
        {QStringLiteral("DateTimePicker2"), QStringLiteral("Ostatni dzień ważności karty")},
        {QStringLiteral("CheckBox1"), QStringLiteral("Karta ważna zawsze, bez dat od i do")},
        {QStringLiteral("Button8"), QStringLiteral("Dodaje kartę o wpisanym kodzie zaznaczonej osobie")},
        {QStringLiteral("Button17"), QStringLiteral("Zapisuje nadruk i daty w zaznaczonej karcie")},
        {QStringLiteral("Button15"), QStringLiteral("Odbiera zaznaczoną kartę jej właścicielowi")},
        {QStringLiteral("Button16"), QStringLiteral("Daje zaznaczoną kartę zaznaczonej osobie")},
        {QStringLiteral("Button14"), QStringLiteral("Usuwa zaznaczoną kartę z systemu")},
        {QStringLiteral("Button28"), QStringLiteral("Usuwa wszystkie karty bez właściciela")},
        {QStringLiteral("Edit17"), QStringLiteral("Kod karty do sprawdzenia; Enter pokazuje właściciela")},
        {QStringLiteral("Button33"), QStringLiteral("Pokazuje, czyja jest karta o wpisanym kodzie")},
        // Uprawnienia grup.
        {QStringLiteral("DBGrid4"), QStringLiteral("Grupy; kliknięcie pokazuje uprawnienia grupy")},
        {QStringLiteral("Edit5"), QStringLiteral("Nazwa grupy do dodania albo nowa nazwa zaznaczonej")},
        {QStringLiteral("Button7"), QStringLiteral("Dodaje grupę o wpisanej nazwie")},
        {QStringLiteral("Button6"), QStringLiteral("Usuwa zaznaczoną grupę")},
        {QStringLiteral("Button25"), QStringLiteral("Nadaje zaznaczonej grupie wpisaną nazwę")},
        {QStringLiteral("DBGrid5"), QStringLiteral("Szablony harmonogramu; kliknięcie wczytuje szablon")},
        {QStringLiteral("Edit9"), QStringLiteral("Nazwa szablonu do dodania albo nowa nazwa zaznaczonego")},
        {QStringLiteral("Button9"), QStringLiteral("Dodaje szablon o wpisanej nazwie")},
        {QStringLiteral("Button10"), QStringLiteral("Usuwa zaznaczony szablon")},
        {QStringLiteral("Button26"), QStringLiteral("Nadaje zaznaczonemu szablonowi wpisaną nazwę")},
        {QStringLiteral("Button11"), QStringLiteral("Zapisuje harmonogram w szablonie")},
        {QStringLiteral("DrawGrid1"), QStringLiteral("Harmonogram tygodnia: przeciągnij, aby zaznaczyć godziny")},
        {QStringLiteral("DBGrid6"), QStringLiteral("Uprawnienia grupy; Ctrl i Shift zaznaczają kilka")},
        {QStringLiteral("Button13"), QStringLiteral("Usuwa zaznaczone uprawnienia grupy")},
        {QStringLiteral("AccessCheckButton"), QStringLiteral("Sprawdza, czy karta lub osoba wejdzie przejściem")},
        {QStringLiteral("CheckListBox1"), QStringLiteral("Przejścia; zaznacz te, na które nadać uprawnienie")},
        {QStringLiteral("CheckBox2"), QStringLiteral("Nadaj uprawnienie na czytnik A")},
        {QStringLiteral("CheckBox3"), QStringLiteral("Nadaj uprawnienie na czytnik B")},
        {QStringLiteral("Button12"), QStringLiteral("Nadaje grupie szablon na zaznaczonych przejściach")},
        // Zdarzenia.
        {QStringLiteral("DBGrid2"), QStringLiteral("Zdarzenia, od najnowszych, po 100 na stronę")},
        {QStringLiteral("CheckBox11"), QStringLiteral("Tylko zdarzenia wybranej osoby")},
        {QStringLiteral("ComboBox9"), QStringLiteral("Osoba, której zdarzenia pokazać")},
        {QStringLiteral("CheckBox12"), QStringLiteral("Tylko zdarzenia osób wybranej grupy")},
        {QStringLiteral("ComboBox10"), QStringLiteral("Grupa, której zdarzenia pokazać")},
        {QStringLiteral("CheckBox13"), QStringLiteral("Tylko zdarzenia wybranego przejścia")},
        {QStringLiteral("ComboBox11"), QStringLiteral("Przejście, którego zdarzenia pokazać")},
        {QStringLiteral("ComboBox12"), QStringLiteral("Rodzaj zdarzeń do pokazania")},
        {QStringLiteral("RadioButton1"), QStringLiteral("Tylko dzisiejsze zdarzenia")},
        {QStringLiteral("RadioButton2"), QStringLiteral("Zdarzenia z każdego dnia")},
        {QStringLiteral("RadioButton3"), QStringLiteral("Zdarzenia z dni od–do poniżej")},
        {QStringLiteral("DateTimePicker3"), QStringLiteral("Pierwszy dzień zakresu")},
        {QStringLiteral("DateTimePicker4"), QStringLiteral("Ostatni dzień zakresu")},
        {QStringLiteral("Button27"), QStringLiteral("Pokazuje zdarzenia spełniające filtr")},
        {QStringLiteral("Button29"), QStringLiteral("Zapisuje wyfiltrowane zdarzenia do pliku arkusza")},
        {QStringLiteral("Button30"), QStringLiteral("Zapisuje wyfiltrowane zdarzenia do pliku CSV")},
        {QStringLiteral("Button31"), QStringLiteral("Zapisuje wyfiltrowane zdarzenia do pliku XML")},
        {QStringLiteral("BitBtn1"), QStringLiteral("Pierwsza strona (najnowsze zdarzenia)")},
        {QStringLiteral("BitBtn2"), QStringLiteral("Poprzednia strona")},
        {QStringLiteral("Edit18"), QStringLiteral("Numer strony; Enter przechodzi do niej")},
        {QStringLiteral("BitBtn3"), QStringLiteral("Następna strona")},
        {QStringLiteral("BitBtn4"), QStringLiteral("Ostatnia strona (najstarsze zdarzenia)")},
        // Urządzenia.
        {QStringLiteral("DBGrid1"), QStringLiteral("Urządzenia; kliknięcie pokazuje urządzenie w formularzu")},
        {QStringLiteral("name"), QStringLiteral("Nazwa urządzenia")},
        {QStringLiteral("factory"), QStringLiteral("Numer fabryczny z tabliczki urządzenia")},
        {QStringLiteral("ip"), QStringLiteral("Adres IP urządzenia")},
        {QStringLiteral("mask"), QStringLiteral("Maska podsieci urządzenia")},
        {QStringLiteral("getway"), QStringLiteral("Brama sieci urządzenia")},
        {QStringLiteral("ip_serwera"), QStringLiteral("Adres serwera, do którego urządzenie wysyła zdarzenia")},
        {QStringLiteral("Port_serwera"), QStringLiteral("Port serwera zdarzeń")},
        {QStringLiteral("TrackBar1"), QStringLiteral("Jak długo przekaźnik trzyma drzwi otwarte (sekundy)")},
        {QStringLiteral("ComboBox6"), QStringLiteral("Lokalizacja, w której stoi urządzenie")},
        {QStringLiteral("Edit15"), QStringLiteral("Nazwa przejścia głowicy A")},
        {QStringLiteral("Edit16"), QStringLiteral("Nazwa przejścia głowicy B")},
        {QStringLiteral("wiegand_a"), QStringLiteral("Format Wieganda głowicy A")},
        {QStringLiteral("wiegand_b"), QStringLiteral("Format Wieganda głowicy B")},
        {QStringLiteral("ComboBox8"), QStringLiteral("Czy głowica A rejestruje wejścia, czy wyjścia")},
        {QStringLiteral("ComboBox7"), QStringLiteral("Czy głowica B rejestruje wejścia, czy wyjścia")},
        {QStringLiteral("CheckBox10"), QStringLiteral("Głowica A zapisuje zdarzenia")},
        {QStringLiteral("CheckBox9"), QStringLiteral("Głowica B zapisuje zdarzenia")},
        {QStringLiteral("Button18"), QStringLiteral("Zapisuje formularz w zaznaczonym urządzeniu")},
        {QStringLiteral("Button19"), QStringLiteral("Usuwa zaznaczone urządzenie")},
        {QStringLiteral("Button20"), QStringLiteral("Dodaje urządzenie z formularza")},
        // Lokalizacje.
        {QStringLiteral("DBGrid8"), QStringLiteral("Lokalizacje; nazwę można poprawić w miejscu (F2)")},
        {QStringLiteral("Edit12"), QStringLiteral("Nazwa lokalizacji")},
        {QStringLiteral("ComboBox5"), QStringLiteral("Strefa czasowa lokalizacji")},
        {QStringLiteral("Memo1"), QStringLiteral("Adres obiektu")},
        {QStringLiteral("Button21"), QStringLiteral("Zapisuje formularz w zaznaczonej lokalizacji")},
        {QStringLiteral("Button22"), QStringLiteral("Usuwa zaznaczoną lokalizację")},
        {QStringLiteral("Button23"), QStringLiteral("Dodaje lokalizację z formularza")},
        // Ustawienia.
        {QStringLiteral("Edit1"), QStringLiteral("Adres serwera bazy danych (port 3306)")},
        {QStringLiteral("MaskEdit1"), QStringLiteral("Użytkownik bazy danych")},
        {QStringLiteral("MaskEdit2"), QStringLiteral("Hasło użytkownika bazy danych")},
        {QStringLiteral("Edit2"), QStringLiteral("Nazwa bazy danych")},
        {QStringLiteral("Button1"), QStringLiteral("Zapisuje ustawienia w Config.ini")},
        {QStringLiteral("Button24"), QStringLiteral("Usuwa zdarzenia osób usuniętych")},
        {QStringLiteral("Button34"), QStringLiteral("Usuwa wszystkie zdarzenia z bazy")},
        // Import.
        {QStringLiteral("Button35"), QStringLiteral("Wczytuje plik z osobami i kodami kart")},
        {QStringLiteral("ComboBox4"), QStringLiteral("Grupa, do której trafią importowane osoby")},
        {QStringLiteral("Button36"), QStringLiteral("Dodaje osoby i karty z wczytanego pliku")},
        {QStringLiteral("ImportCheckButton"), QStringLiteral("Pokazuje, co zrobiłby import, nic nie zapisując")},
        {QStringLiteral("StringGrid1"), QStringLiteral("Wiersze pliku importu; kolumny można poszerzać")},
        {QStringLiteral("PersonFind"), QStringLiteral("Zawęża listę do osób z wpisanym nazwiskiem, imieniem lub kodem karty")},
        {QStringLiteral("DeviceFind"), QStringLiteral("Zawęża listę do urządzeń z wpisanym tekstem")},
        // Sprawdź dostęp.
        {QStringLiteral("AccessCheckByPerson"), QStringLiteral("Sprawdź każdą kartę osoby")},
        {QStringLiteral("AccessCheckPerson"), QStringLiteral("Osoba do sprawdzenia")},
        {QStringLiteral("AccessCheckByCard"), QStringLiteral("Sprawdź jedną kartę")},
        {QStringLiteral("AccessCheckCard"), QStringLiteral("Kod karty do sprawdzenia")},
        {QStringLiteral("AccessCheckPassage"), QStringLiteral("Przejście do sprawdzenia")},
        {QStringLiteral("AccessCheckHead"), QStringLiteral("Głowica przejścia")},
        {QStringLiteral("AccessCheckDate"), QStringLiteral("Dzień sprawdzenia")},
        {QStringLiteral("AccessCheckTime"), QStringLiteral("Godzina sprawdzenia")},
        {QStringLiteral("AccessCheckNow"), QStringLiteral("Ustawia dzień i godzinę na teraz")},
        {QStringLiteral("AccessCheckRun"), QStringLiteral("Sprawdza dostęp i pokazuje powody")},
        // Przelicz kod karty.
        {QStringLiteral("CardCodeFormat"), QStringLiteral("Postać numeru z nadruku karty")},
        {QStringLiteral("CardCodeValue"), QStringLiteral("Numer z nadruku karty")},
        {QStringLiteral("CardCodeFacility"), QStringLiteral("Kod obiektu (FC) z nadruku")},
        {QStringLiteral("CardCodeNumber"), QStringLiteral("Numer karty (CN) z nadruku")},
        {QStringLiteral("CardCodeUse"), QStringLiteral("Wpisuje przeliczony kod w pole kodu karty")},
    };
    return tips;
}

bool isControl(const QWidget* widget)
{
    return widget->inherits("QAbstractButton") || widget->inherits("QLineEdit")
           || widget->inherits("QComboBox") || widget->inherits("QAbstractSpinBox")
           || widget->inherits("QAbstractSlider") || widget->inherits("QAbstractItemView")
           || widget->inherits("QPlainTextEdit");
}

// A read-only hour of the schedule editor: set by dragging over the grid.
bool isScheduleHour(const QWidget* widget)
{
    const auto* edit = qobject_cast<const QLineEdit*>(widget);
    return edit && edit->isReadOnly() && widget->parentWidget()
           && widget->parentWidget()->inherits("ScheduleEditor");
}

}  // namespace

QString toolTipOf(const QString& objectName) { return toolTips().value(objectName); }

void applyToolTips(QWidget* root)
{
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (!widget->toolTip().isEmpty() || !isControl(widget))
            continue;
        QString tip = toolTipOf(widget->objectName());
        if (tip.isEmpty() && isScheduleHour(widget))
            tip = QStringLiteral("Godzina z harmonogramu; zmienia się na siatce powyżej");
        if (!tip.isEmpty())
            widget->setToolTip(tip);
    }
}

void enterPressesButtons(QWidget* root)
{
    // A push button takes Enter and Return only when it may be a default button.
    for (QPushButton* button : root->findChildren<QPushButton*>())
        button->setAutoDefault(true);
}
