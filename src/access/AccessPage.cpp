#include "access/AccessPage.h"

#include "access/ScheduleEditor.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"

#include <QGridLayout>

#include <array>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

AccessPage::AccessPage(TForm1& form)
    : form_(form), m_(form.dataModule()), dialogs_(form.dialogs())
{
    setObjectName(QStringLiteral("AdvOfficePager12"));

    editor_ = new ScheduleEditor(this);
    connectGuarded(editor_->saveButton(), &QPushButton::clicked, this, form_.guard(),
                   [this] { Button11Click(); });

    auto* lower = new QHBoxLayout();
    lower->addWidget(buildGroupPanel(), 1);
    lower->addWidget(buildPermissionPanel(), 1);
    lower->addWidget(buildTemplatePanel(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignLeft);
    layout->addLayout(lower, 1);
}

namespace {

// A list panel: a caption, the grid, a name field and three buttons in a row.
struct ListPanel {
    QWidget* panel;
    QLineEdit* edit;
    QPushButton* buttons[3];
};

ListPanel listPanel(QWidget* parent, const QString& caption, BoundGrid* grid, const char* editName,
                    const std::array<std::pair<const char*, QString>, 3>& buttons)
{
    ListPanel p{new QWidget(parent), nullptr, {}};
    auto* layout = new QGridLayout(p.panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption, p.panel), 0, 0, 1, 3);
    grid->setParent(p.panel);
    layout->addWidget(grid, 1, 0, 1, 3);
    p.edit = new QLineEdit(p.panel);
    p.edit->setObjectName(QString::fromLatin1(editName));
    layout->addWidget(p.edit, 2, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        p.buttons[i] = new QPushButton(buttons[i].second, p.panel);
        p.buttons[i]->setObjectName(QString::fromLatin1(buttons[i].first));
        layout->addWidget(p.buttons[i], 3, i);
    }
    return p;
}

}  // namespace

QWidget* AccessPage::buildGroupPanel()
{
    DBGrid4 = new BoundGrid(QStringLiteral("DBGrid4"), m_.Groups,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazwa grupy")},
                             {QStringLiteral("USER"), QStringLiteral("Ilość użytkowników")}});
    DBGrid4->setColumnWidth(0, 220);
    DBGrid4->setMinimumWidth(400);
    const ListPanel p = listPanel(this, QStringLiteral("Lista grup"), DBGrid4, "Edit5",
                                  {{{"Button7", QStringLiteral("Dodaj grupę")},
                                    {"Button6", QStringLiteral("Usuń grupę")},
                                    {"Button25", QStringLiteral("Zmień nazwę")}}});
    Edit5 = p.edit;
    Button7 = p.buttons[0];
    Button6 = p.buttons[1];
    Button25 = p.buttons[2];

    const ErrorGuard& guard = form_.guard();
    connectGuarded(Button7, &QPushButton::clicked, this, guard, [this] { Button7Click(); });
    connectGuarded(Button6, &QPushButton::clicked, this, guard, [this] { Button6Click(); });
    connectGuarded(Button25, &QPushButton::clicked, this, guard, [this] { Button25Click(); });
    connectGuarded(DBGrid4, &BoundGrid::cellClicked, this, guard, [this] { DBGrid4CellClick(); });
    connect(DBGrid4, &BoundGrid::keyReleased, this, [this](int key, Qt::KeyboardModifiers shift) {
        form_.guard().run([&] { DBGrid4KeyUp(key, shift); });
    });
    return p.panel;
}

QWidget* AccessPage::buildTemplatePanel()
{
    DBGrid5 = new BoundGrid(QStringLiteral("DBGrid5"), m_.Szablony,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazwa")}});
    DBGrid5->setMinimumWidth(300);
    const ListPanel p = listPanel(this, QStringLiteral("Szablony"), DBGrid5, "Edit9",
                                  {{{"Button9", QStringLiteral("Dodaj szablon")},
                                    {"Button10", QStringLiteral("Usuń szablon")},
                                    {"Button26", QStringLiteral("Zmień nazwę")}}});
    Edit9 = p.edit;
    Button9 = p.buttons[0];
    Button10 = p.buttons[1];
    Button26 = p.buttons[2];

    const ErrorGuard& guard = form_.guard();
    connectGuarded(Button9, &QPushButton::clicked, this, guard, [this] { Button9Click(); });
    connectGuarded(Button10, &QPushButton::clicked, this, guard, [this] { Button10Click(); });
    connectGuarded(Button26, &QPushButton::clicked, this, guard, [this] { Button26Click(); });
    connectGuarded(DBGrid5, &BoundGrid::cellClicked, this, guard, [this] { DBGrid5CellClick(); });
    return p.panel;
}

QWidget* AccessPage::buildPermissionPanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Lista przejść"), panel));
    CheckListBox1 = new QListWidget(panel);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    layout->addWidget(CheckListBox1);
    connect(&form_.lookups(), &Lookups::passageListFilled, this, &AccessPage::showPassageList);
    return panel;
}

// Item i is PassageList[i]; a refill clears every check mark.
void AccessPage::showPassageList()
{
    CheckListBox1->clear();
    for (const Tczytniki& passage : form_.lookups().PassageList) {
        auto* item = new QListWidgetItem(passage.name, CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool AccessPage::connected() const { return m_.Quorvel.isOpen(); }

QString AccessPage::quoted(const QString& text) const
{
    return QLatin1Char('\'') + m_.Quorvel.escape(text) + QLatin1Char('\'');
}

// The permission list arrives with the permissions.
void AccessPage::RefreshGroupPermissions() {}
