#include "app/SettingsPage.h"

#include "app/ConfigFile.h"
#include "app/IniFile.h"
#include "app/MaintenanceBox.h"
#include "app/TForm1.h"
#include "app/Windows1250.h"
#include "devices/LocationsPanel.h"
#include "ui/Dialogs.h"
#include "ui/PageLayout.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString SettingsPage::ConfigPath = QString::fromLatin1(ConfigFile::Path);
const QString SettingsPage::DefaultServer = QString::fromLatin1(ConfigFile::Keys[0].defaultValue);

static const QString Section = QString::fromLatin1(ConfigFile::Section);

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
    auto* left = new QVBoxLayout();
    left->addWidget(access);
    left->addWidget(new MaintenanceBox(form_, this));
    left->addStretch(1);
    row->addLayout(left);
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
    QLineEdit* const fields[] = {Edit1, MaskEdit1, MaskEdit2, Edit2};
    for (int i = 0; i < 4; ++i) {
        const QString key = QString::fromLatin1(ConfigFile::Keys[i].name);
        fields[i]->setText(IniFile::read(ConfigPath, Section, key,
                                         QString::fromLatin1(ConfigFile::Keys[i].defaultValue)));
        IniFile::write(ConfigPath, Section, key, fields[i]->text());
    }
}

// Why a value would not come back from Config.ini as typed, or an empty text.
static QString unsavableBecause(const QString& value)
{
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return QStringLiteral("zawiera znak końca wiersza");
    if (!Windows1250::canEncode(value))
        return QStringLiteral("zawiera znak, którego nie ma w kodowaniu Windows-1250");
    if (value != value.trimmed())
        return QStringLiteral("zaczyna się lub kończy odstępem, który nie zostałby odczytany");
    if (value.size() > 2047)
        return QStringLiteral("jest dłuższe niż 2047 znaków");
    return QString();
}

// Fields to file, all or none: a value the file cannot hold exactly is refused
// with the field's name before anything is written.
void SettingsPage::SaveConfig()
{
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"Adres serwera bazy danych", Edit1}, {"Login", MaskEdit1},
        {"Hasło", MaskEdit2}, {"Nazwa bazy", Edit2}};
    for (const auto& [label, edit] : fields) {
        const QString reason = unsavableBecause(edit->text());
        if (reason.isEmpty())
            continue;
        form_.dialogs().errorBox(QStringLiteral("Nie zapisano Config.ini: pole \"%1\" %2.")
                                     .arg(QString::fromUtf8(label), reason));
        return;
    }
    for (int i = 0; i < 4; ++i)
        IniFile::write(ConfigPath, Section, QString::fromLatin1(ConfigFile::Keys[i].name),
                       fields[i].second->text());
}
