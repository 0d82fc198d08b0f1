#include "import/ImportPage.h"

#include "app/TForm1.h"
#include "ui/PageLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

ImportPage::ImportPage(TForm1& form) : form_(form)
{
    setObjectName(QStringLiteral("AdvOfficePage1"));
    auto* fields = new QFormLayout();
    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setMinimumWidth(200);
    fields->addRow(QStringLiteral("Wybierz grupę"), ComboBox4);
    topLeftColumn(this)->addLayout(fields);

    connect(&form_.lookups(), &Lookups::groupListFilled, this,
            [this] { fillGroupCombo(ComboBox4, form_.lookups(), true); });
}
