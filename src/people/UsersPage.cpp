#include "people/UsersPage.h"

#include "app/TForm1.h"
#include "ui/PageLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QTabWidget>
#include <QVBoxLayout>

static QComboBox* groupCombo(const char* name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMinimumWidth(200);
    return combo;
}

UsersPage::UsersPage(TForm1& form) : form_(form)
{
    setObjectName(QStringLiteral("AdvOfficePager11"));

    AdvOfficePager2 = new QTabWidget(this);
    AdvOfficePager2->setObjectName(QStringLiteral("AdvOfficePager2"));
    auto addSubPage = [&](const char* name, const QString& caption, const QString& label,
                          QComboBox* combo) {
        auto* page = new QWidget();
        page->setObjectName(QString::fromLatin1(name));
        auto* fields = new QFormLayout(page);
        combo->setParent(page);
        fields->addRow(label, combo);
        AdvOfficePager2->addTab(page, caption);
    };
    ComboBox2 = groupCombo("ComboBox2", this);
    ComboBox1 = groupCombo("ComboBox1", this);
    ComboBox3 = groupCombo("ComboBox3", this);
    addSubPage("AdvOfficePage5", QStringLiteral("Dodawanie użytkownika"), QStringLiteral("Grupa"),
               ComboBox2);
    addSubPage("AdvOfficePage6", QStringLiteral("Zmiana danych"), QStringLiteral("Grupa"),
               ComboBox1);
    addSubPage("AdvOfficePage7", QStringLiteral("Dodawanie seryjne"),
               QStringLiteral("Dodaj do grupy"), ComboBox3);

    topLeftColumn(this)->addWidget(AdvOfficePager2);

    connect(&form_.lookups(), &Lookups::groupListFilled, this, &UsersPage::showGroupList);
}

void UsersPage::showGroupList()
{
    fillGroupCombo(ComboBox1, form_.lookups(), true);
    fillGroupCombo(ComboBox2, form_.lookups(), true);
    fillGroupCombo(ComboBox3, form_.lookups(), false);
}

void UsersPage::RefreshCardList() {}
