#include "app/SettingsPage.h"

#include "app/IniFile.h"
#include "app/TForm1.h"
#include "devices/LocationsPanel.h"
#include "ui/PageLayout.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString SettingsPage::ConfigPath = QStringLiteral("./Config.ini");
const QString SettingsPage::DefaultServer = QStringLiteral("192.168.1.10");

static const QString Section = QStringLiteral("SERVER");

SettingsPage::SettingsPage(TForm1& form) : form_(form)
{
    setObjectName(QStringLiteral("AdvOfficePage4"));

    auto* access = new QGroupBox(QStringLiteral("Dostęp do bazy danych"), this);
    auto* fields = new QFormLayout(access);
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
    connectGuarded(Button1, &QPushButton::clicked, this, form_.guard(), [this] { Button1Click(); });

    locations_ = new LocationsPanel(form_, this);
    auto* row = new QHBoxLayout();
    row->addWidget(access, 0, Qt::AlignTop);
    row->addWidget(locations_, 0, Qt::AlignTop);
    topLeftColumn(this)->addLayout(row);
}

QString SettingsPage::serverAddress() const { return Edit1->text(); }
QString SettingsPage::login() const { return MaskEdit1->text(); }
QString SettingsPage::password() const { return MaskEdit2->text(); }
QString SettingsPage::databaseName() const { return Edit2->text(); }

// File to fields, each field written straight back, so that the file holds all
// four keys afterwards. A write that fails ends it with the fields after it empty.
void SettingsPage::LoadConfig()
{
    const std::pair<const char*, QLineEdit*> keys[] = {
        {"IP", Edit1}, {"Login", MaskEdit1}, {"password", MaskEdit2}, {"DATABASE", Edit2}};
    const QString defaults[] = {DefaultServer, QStringLiteral("vqx"), QStringLiteral("vqx"),
                                QStringLiteral("Quorvel")};
    for (int i = 0; i < 4; ++i) {
        const QString key = QString::fromLatin1(keys[i].first);
        keys[i].second->setText(IniFile::read(ConfigPath, Section, key, defaults[i]));
        IniFile::write(ConfigPath, Section, key, keys[i].second->text());
    }
}

void SettingsPage::SaveConfig()
{
    IniFile::write(ConfigPath, Section, QStringLiteral("IP"), Edit1->text());
    IniFile::write(ConfigPath, Section, QStringLiteral("Login"), MaskEdit1->text());
    IniFile::write(ConfigPath, Section, QStringLiteral("password"), MaskEdit2->text());
    IniFile::write(ConfigPath, Section, QStringLiteral("DATABASE"), Edit2->text());
}
