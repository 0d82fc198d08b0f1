#include "app/SettingsPage.h"

#include "app/ConfigFile.h"
#include "text/IniFile.h"
#include "app/DatabaseCheckBox.h"
#include "app/MaintenanceBox.h"
#include "devices/LocationsPanel.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/PageLayout.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString SettingsPage::DefaultServer = QString::fromLatin1(ConfigFile::Keys[0].defaultValue);

static const QString Section = QString::fromLatin1(ConfigFile::Section);

SettingsPage::SettingsPage(const PageContext& context) : context_(context)
{
    setObjectName(QStringLiteral("AdvOfficePage4"));

    auto* access = new QGroupBox(QStringLiteral("Dostęp do bazy danych"), this);
    auto* fields = new QFormLayout(access);
    fields->setRowWrapPolicy(QFormLayout::WrapLongRows);   // narrow windows: labels above
    auto field = [&](const char* name, const QString& label) {
        auto* edit = new QLineEdit(access);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(220);
        fields->addRow(label, edit);
        return edit;
    };
    Edit1 = field("Edit1", QStringLiteral("Adres serwera bazy danych"));
    MaskEdit1 = field("MaskEdit1", QStringLiteral("Login"));
    MaskEdit2 = field("MaskEdit2", QStringLiteral("Hasło"));
    Edit2 = field("Edit2", QStringLiteral("Nazwa bazy"));
    Button1 = new QPushButton(QStringLiteral("Zapisz"), access);
    Button1->setObjectName(QStringLiteral("Button1"));
    fields->addRow(QString(), Button1);
    connectGuarded(Button1, &QPushButton::clicked, this, context_.guard, [this] { Button1Click(); });

    locations_ = new LocationsPanel(context_, this);
    // The connection and the maintenance side by side, the locations under them:
    // the page fits a 1024-pixel screen.
    auto* row = new QHBoxLayout();
    auto* boxes = new QVBoxLayout();
    boxes->addWidget(new MaintenanceBox(context_, this));
    databaseCheck_ = new DatabaseCheckBox(context_, this);
    boxes->addWidget(databaseCheck_);
    boxes->addStretch(1);
    row->addWidget(access, 0, Qt::AlignTop);
    row->addLayout(boxes);
    QVBoxLayout* column = topLeftColumn(this);
    column->addLayout(row);
    column->addWidget(locations_, 0, Qt::AlignLeft);
}

QString SettingsPage::serverAddress() const { return Edit1->text(); }
QString SettingsPage::login() const { return MaskEdit1->text(); }
QString SettingsPage::password() const { return MaskEdit2->text(); }
QString SettingsPage::databaseName() const { return Edit2->text(); }

// File to fields, each field written straight back, so that the file holds all
// four keys afterwards. A write that fails ends it with the fields after it empty.
void SettingsPage::LoadConfig()
{
    QLineEdit* const fields[] = {Edit1, MaskEdit1, MaskEdit2, Edit2};
    for (int i = 0; i < 4; ++i) {
        const QString key = QString::fromLatin1(ConfigFile::Keys[i].name);
        fields[i]->setText(IniFile::read(ConfigFile::path(), Section, key,
                                         QString::fromLatin1(ConfigFile::Keys[i].defaultValue)));
        IniFile::write(ConfigFile::path(), Section, key, fields[i]->text());
    }
}

// Fields to file, all or none: a value the file cannot hold exactly is refused
// with the field's name before anything is written.
void SettingsPage::SaveConfig()
{
    const QString refused =
        ConfigFile::write(ConfigFile::path(), {Edit1->text(), MaskEdit1->text(), MaskEdit2->text(), Edit2->text()});
    if (!refused.isEmpty())
        context_.dialogs.errorBox(refused);
}
