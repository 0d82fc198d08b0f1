#include "access/AccessPage.h"

#include "access/AccessCheckDialog.h"
#include "access/ScheduleEditor.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"
#include "ui/BoundLabel.h"
#include "ui/ErrorGuard.h"
#include "ui/ListTools.h"
#include "ui/ToolTips.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {
QPushButton* previewButton(const char* name, QWidget* parent);
}

AccessPage::AccessPage(const PageContext& context)
    : context_(context), m_(context.module), dialogs_(context.dialogs)
{
    setObjectName(QStringLiteral("AdvOfficePager12"));

    editor_ = new ScheduleEditor(this);
    connectGuarded(editor_->saveButton(), &QPushButton::clicked, this, context_.guard,
                   [this] { Button11Click(); });
    PreviewTemplateSave = previewButton("PreviewTemplateSave", editor_);
    editor_->addBesideSave(PreviewTemplateSave);
    connectGuarded(PreviewTemplateSave, &QPushButton::clicked, this, context_.guard,
                   [this] { PreviewTemplateSaveClick(); });

    // One workflow from left to right under the editor: the group, its permissions,
    // the passages to tick and the template the grant uses. The panels share the
    // width in fixed proportions, so they keep their places as the window changes.
    auto* lower = new QHBoxLayout();
    lower->setSpacing(14);
    lower->addWidget(buildGroupPanel(), 3);
    lower->addWidget(buildPermissionPanel(), 6);
    lower->addWidget(buildTemplatePanel(), 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignLeft);
    layout->addSpacing(8);
    layout->addLayout(lower, 1);
}

namespace {

QPushButton* previewButton(const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("Skutki..."), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QStringLiteral("Kto zyska, a kto straci dostęp, jeśli zmiana zostanie wykonana"));
    return button;
}

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
    layout->addWidget(new QLabel(caption, p.panel), 0, 0, 1, 2);
    grid->setParent(p.panel);
    layout->addWidget(grid, 1, 0, 1, 2);
    layout->addWidget(listCount(grid, p.panel), 2, 0, 1, 2);
    p.edit = new QLineEdit(p.panel);
    p.edit->setObjectName(QString::fromLatin1(editName));
    layout->addWidget(p.edit, 3, 0, 1, 2);
    // Two buttons a row: the three panels side by side fit a 1024-pixel screen.
    for (int i = 0; i < 3; ++i) {
        p.buttons[i] = new QPushButton(buttons[i].second, p.panel);
        p.buttons[i]->setObjectName(QString::fromLatin1(buttons[i].first));
        layout->addWidget(p.buttons[i], 4 + i / 2, i % 2);
    }
    return p;
}

}  // namespace

QWidget* AccessPage::buildGroupPanel()
{
    DBGrid4 = new BoundGrid(QStringLiteral("DBGrid4"), m_.Groups,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazwa grupy")},
                             {QStringLiteral("USER"), QStringLiteral("Ilość użytkowników")}});
    DBGrid4->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DBGrid4->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    DBGrid4->resizeColumnToContents(1);
    DBGrid4->setMinimumWidth(180);
    const ListPanel p = listPanel(this, QStringLiteral("Lista grup"), DBGrid4, "Edit5",
                                  {{{"Button7", QStringLiteral("Dodaj grupę")},
                                    {"Button6", QStringLiteral("Usuń grupę")},
                                    {"Button25", QStringLiteral("Zmień nazwę")}}});
    Edit5 = p.edit;
    Button7 = p.buttons[0];
    Button6 = p.buttons[1];
    Button25 = p.buttons[2];
    PreviewGroupDelete = previewButton("PreviewGroupDelete", p.panel);
    static_cast<QGridLayout*>(p.panel->layout())->addWidget(PreviewGroupDelete, 4, 1);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button7, &QPushButton::clicked, this, guard, [this] { Button7Click(); });
    connectGuarded(Button6, &QPushButton::clicked, this, guard, [this] { Button6Click(); });
    connectGuarded(PreviewGroupDelete, &QPushButton::clicked, this, guard, [this] { PreviewGroupDeleteClick(); });
    connectGuarded(Button25, &QPushButton::clicked, this, guard, [this] { Button25Click(); });
    connectGuarded(DBGrid4, &BoundGrid::cellClicked, this, guard, [this] { DBGrid4CellClick(); });
    connect(DBGrid4, &BoundGrid::keyReleased, this, [this](int key, Qt::KeyboardModifiers shift) {
        context_.guard.run([&] { DBGrid4KeyUp(key, shift); });
    });
    return p.panel;
}

QWidget* AccessPage::buildTemplatePanel()
{
    DBGrid5 = new BoundGrid(QStringLiteral("DBGrid5"), m_.Szablony,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazwa")}});
    DBGrid5->setMinimumWidth(150);
    const ListPanel p = listPanel(this, QStringLiteral("Szablony"), DBGrid5, "Edit9",
                                  {{{"Button9", QStringLiteral("Dodaj szablon")},
                                    {"Button10", QStringLiteral("Usuń szablon")},
                                    {"Button26", QStringLiteral("Zmień nazwę")}}});
    Edit9 = p.edit;
    Button9 = p.buttons[0];
    Button10 = p.buttons[1];
    Button26 = p.buttons[2];
    PreviewTemplateDelete = previewButton("PreviewTemplateDelete", p.panel);
    static_cast<QGridLayout*>(p.panel->layout())->addWidget(PreviewTemplateDelete, 4, 1);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button9, &QPushButton::clicked, this, guard, [this] { Button9Click(); });
    connectGuarded(Button10, &QPushButton::clicked, this, guard, [this] { Button10Click(); });
    connectGuarded(PreviewTemplateDelete, &QPushButton::clicked, this, guard,
                   [this] { PreviewTemplateDeleteClick(); });
    connectGuarded(Button26, &QPushButton::clicked, this, guard, [this] { Button26Click(); });
    connectGuarded(DBGrid5, &BoundGrid::cellClicked, this, guard, [this] { DBGrid5CellClick(); });
    return p.panel;
}

// The group's permissions on the left with the removal under them; the passages to
// tick on the right, with the reader heads, the template a grant uses and the grant.
QWidget* AccessPage::buildPermissionPanel()
{
    auto* panel = new QWidget(this);
    groupCaption = new BoundLabel(QStringLiteral("GroupPermissionsCaption"), m_.Groups,
                                  QStringLiteral("NAME"), QStringLiteral("Lista uprawnień dla grupy: "),
                                  QString(), panel);
    DBGrid6 = new BoundGrid(QStringLiteral("DBGrid6"), m_.Prawa,
                            {{QStringLiteral("NAME_1"), QStringLiteral("Przejście")},
                             {QStringLiteral("NAME"), QStringLiteral("Stosowany szablon")},
                             {QStringLiteral("INPUT"), QStringLiteral("A")},
                             {QStringLiteral("OUTPUT"), QStringLiteral("  B")}},
                            panel);
    DBGrid6->setMultiSelect(true);
    // The names share the width; the reader heads keep the width of their titles
    // (sized once: measuring every row at each re-read would cost more than the read).
    QHeaderView* header = DBGrid6->horizontalHeader();
    header->setStretchLastSection(false);
    for (int column : {0, 1})
        header->setSectionResizeMode(column, QHeaderView::Stretch);
    for (int column : {2, 3}) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        DBGrid6->resizeColumnToContents(column);
    }
    DBGrid6->setMinimumWidth(240);
    Button13 = new QPushButton(QStringLiteral("Usuń uprawnienie >>>"), panel);
    Button13->setObjectName(QStringLiteral("Button13"));

    CheckListBox1 = new QListWidget(panel);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setMinimumWidth(150);
    CheckBox2 = new QCheckBox(QStringLiteral("Czytnik A"), panel);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setChecked(true);
    CheckBox3 = new QCheckBox(QStringLiteral("Czytnik B"), panel);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setChecked(true);
    grantCaption = new BoundLabel(QStringLiteral("GrantTemplateCaption"), m_.Szablony,
                                  QStringLiteral("NAME"), QStringLiteral("Dodaj uprawnienie: "),
                                  QStringLiteral(" dla zaznaczonych przejść"), panel);
    grantCaption->setWordWrap(true);
    Button12 = new QPushButton(QStringLiteral("<<< Dodaj uprawnienie"), panel);
    Button12->setObjectName(QStringLiteral("Button12"));

    auto* readers = new QHBoxLayout();
    readers->addWidget(CheckBox2);
    readers->addWidget(CheckBox3);
    readers->addStretch(1);

    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(groupCaption, 0, 0);
    auto* list = new QVBoxLayout();
    list->addWidget(DBGrid6, 1);
    list->addWidget(listCount(DBGrid6, panel));
    layout->addLayout(list, 1, 0, 4, 1);
    // The removal, its preview and the access questions act on what the list shows.
    AccessCheckButton = new QPushButton(QStringLiteral("Sprawdź dostęp..."), panel);
    AccessCheckButton->setObjectName(QStringLiteral("AccessCheckButton"));
    PreviewPermissionRevoke = previewButton("PreviewPermissionRevoke", panel);
    ReachButton = new QPushButton(QStringLiteral("Kto i dokąd wejdzie..."), panel);
    ReachButton->setObjectName(QStringLiteral("ReachButton"));
    auto* listButtons = new QHBoxLayout();
    listButtons->addWidget(Button13, 1);
    listButtons->addWidget(PreviewPermissionRevoke);
    layout->addLayout(listButtons, 5, 0);
    // The questions about who may pass, under the list they start from.
    auto* questionButtons = new QVBoxLayout();
    questionButtons->addWidget(AccessCheckButton, 1);
    questionButtons->addWidget(ReachButton, 1);
    layout->addLayout(questionButtons, 6, 0);
    layout->addWidget(new QLabel(QStringLiteral("Lista przejść"), panel), 0, 1);
    layout->addWidget(CheckListBox1, 1, 1);
    layout->addLayout(readers, 2, 1);
    layout->addWidget(grantCaption, 3, 1, 2, 1, Qt::AlignBottom);
    layout->addWidget(Button12, 5, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button12, &QPushButton::clicked, this, guard, [this] { Button12Click(); });
    connectGuarded(Button13, &QPushButton::clicked, this, guard, [this] { Button13Click(); });
    connectGuarded(AccessCheckButton, &QPushButton::clicked, this, guard,
                   [this] { AccessCheckButtonClick(); });
    connectGuarded(PreviewPermissionRevoke, &QPushButton::clicked, this, guard,
                   [this] { PreviewPermissionRevokeClick(); });
    connectGuarded(ReachButton, &QPushButton::clicked, this, guard, [this] { ReachButtonClick(); });
    connectGuarded(DBGrid6, &BoundGrid::cellClicked, this, guard, [this] { DBGrid6CellClick(); });
    connect(DBGrid6, &BoundGrid::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at) {
                context_.guard.run([&] { DBGrid6MouseDown(button, shift, at.x(), at.y()); });
            });
    connect(&context_.lookups, &Lookups::passageListFilled, this, &AccessPage::showPassageList);
    return panel;
}

// Item i is PassageList[i]; a refill clears every check mark.
void AccessPage::showPassageList()
{
    CheckListBox1->clear();
    for (const Tczytniki& passage : context_.lookups.PassageList) {
        auto* item = new QListWidgetItem(passage.name, CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool AccessPage::connected() const { return m_.Quorvel.isOpen(); }

// Opens the window "Sprawdź dostęp" (one per page, kept between openings), with
// the people read afresh and the time set to now.
void AccessPage::AccessCheckButtonClick()
{
    if (!accessCheck_) {
        accessCheck_ = new AccessCheckDialog(context_, this);
        applyToolTips(accessCheck_);
    }
    accessCheck_->prepare();
    accessCheck_->show();
    accessCheck_->raise();
    accessCheck_->activateWindow();
}
