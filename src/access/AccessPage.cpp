#include "access/AccessPage.h"

#include "access/ScheduleEditor.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    lower->addStretch(1);
    lower->addWidget(buildTemplatePanel(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignLeft);
    layout->addLayout(lower, 1);
}

static QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QWidget* AccessPage::buildGroupPanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Lista grup"), panel), 0, 0, 1, 3);
    DBGrid4 = new BoundGrid(QStringLiteral("DBGrid4"), m_.Groups,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazwa grupy")},
                             {QStringLiteral("USER"), QStringLiteral("Ilość użytkowników")}},
                            panel);
    DBGrid4->setColumnWidth(0, 220);
    layout->addWidget(DBGrid4, 1, 0, 1, 3);
    Edit5 = new QLineEdit(panel);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    layout->addWidget(Edit5, 2, 0, 1, 3);
    Button7 = button("Button7", QStringLiteral("Dodaj grupę"), panel);
    Button6 = button("Button6", QStringLiteral("Usuń grupę"), panel);
    Button25 = button("Button25", QStringLiteral("Zmień nazwę"), panel);
    layout->addWidget(Button7, 3, 0);
    layout->addWidget(Button6, 3, 1);
    layout->addWidget(Button25, 3, 2);

    const ErrorGuard& guard = form_.guard();
    connectGuarded(Button7, &QPushButton::clicked, this, guard, [this] { Button7Click(); });
    connectGuarded(Button6, &QPushButton::clicked, this, guard, [this] { Button6Click(); });
    connectGuarded(Button25, &QPushButton::clicked, this, guard, [this] { Button25Click(); });
    connectGuarded(DBGrid4, &BoundGrid::cellClicked, this, guard, [this] { DBGrid4CellClick(); });
    connect(DBGrid4, &BoundGrid::keyReleased, this, [this](int key, Qt::KeyboardModifiers shift) {
        form_.guard().run([&] { DBGrid4KeyUp(key, shift); });
    });
    return panel;
}

QWidget* AccessPage::buildTemplatePanel()
{
    auto* panel = new QWidget(this);
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Szablony"), panel), 0, 0, 1, 3);
    DBGrid5 = new BoundGrid(QStringLiteral("DBGrid5"), m_.Szablony,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazwa")}}, panel);
    layout->addWidget(DBGrid5, 1, 0, 1, 3);
    Edit9 = new QLineEdit(panel);
    Edit9->setObjectName(QStringLiteral("Edit9"));
    layout->addWidget(Edit9, 2, 0, 1, 3);
    Button9 = button("Button9", QStringLiteral("Dodaj szablon"), panel);
    Button10 = button("Button10", QStringLiteral("Usuń szablon"), panel);
    Button26 = button("Button26", QStringLiteral("Zmień nazwę"), panel);
    layout->addWidget(Button9, 3, 0);
    layout->addWidget(Button10, 3, 1);
    layout->addWidget(Button26, 3, 2);

    const ErrorGuard& guard = form_.guard();
    connectGuarded(Button9, &QPushButton::clicked, this, guard, [this] { Button9Click(); });
    connectGuarded(Button10, &QPushButton::clicked, this, guard, [this] { Button10Click(); });
    connectGuarded(Button26, &QPushButton::clicked, this, guard, [this] { Button26Click(); });
    connectGuarded(DBGrid5, &BoundGrid::cellClicked, this, guard, [this] { DBGrid5CellClick(); });
    return panel;
}

bool AccessPage::connected() const { return m_.Quorvel.isOpen(); }

QString AccessPage::quoted(const QString& text) const
{
    return QLatin1Char('\'') + m_.Quorvel.escape(text) + QLatin1Char('\'');
}

// The permission list arrives with the permissions.
void AccessPage::RefreshGroupPermissions() {}
