#include "ui/ListTools.h"

#include "ui/BoundGrid.h"
#include "ui/ErrorGuard.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

QString listCountText(int shown, int all, bool narrowed)
{
    if (narrowed)
        return QStringLiteral("%1 z %2").arg(shown).arg(all);
    return QStringLiteral("Liczba: %1").arg(all);
}

QLabel* listCount(BoundGrid* grid, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(grid->objectName() + QStringLiteral("Count"));
    label->setToolTip(QStringLiteral("Ile wierszy pokazuje lista"));
    auto update = [grid, label] {
        label->setText(listCountText(grid->shownRowCount(), grid->allRowCount(),
                                     grid->listProxy()->narrowed()));
    };
    QObject::connect(grid, &BoundGrid::shownRowsChanged, label, update);
    update();
    return label;
}

QLabel* listCount(QAbstractItemView* view, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(view->objectName() + QStringLiteral("Count"));
    label->setToolTip(QStringLiteral("Ile wierszy pokazuje lista"));
    QAbstractItemModel* model = view->model();
    // A grid that never has fewer than one row shows an empty list as one blank
    // row: that row is not counted.
    auto update = [model, label] {
        int rows = model->rowCount();
        if (rows == 1) {
            bool blank = true;
            for (int column = 0; column < model->columnCount() && blank; ++column)
                blank = model->index(0, column).data().toString().isEmpty();
            if (blank)
                rows = 0;
        }
        label->setText(listCountText(rows, rows, false));
    };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, label, update);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, label, update);
    QObject::connect(model, &QAbstractItemModel::modelReset, label, update);
    QObject::connect(model, &QAbstractItemModel::dataChanged, label, update);
    update();
    return label;
}

QLineEdit* findField(const char* name, BoundGrid* grid, const ErrorGuard& guard,
                     const QString& toolTip, QWidget* parent, std::function<void()> prepare)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setPlaceholderText(QStringLiteral("Szukaj…"));
    field->setToolTip(toolTip);
    field->setClearButtonEnabled(true);
    QObject::connect(field, &QLineEdit::textChanged, grid,
                     [grid, &guard, prepare](const QString& text) {
                         if (prepare && !text.trimmed().isEmpty())
                             guard.run(prepare);
                         guard.run([&] { grid->setFindText(text); });
                     });
    // Escape empties the field; the list shows every row again.
    auto* clear = new QAction(field);
    clear->setShortcut(Qt::Key_Escape);
    clear->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(clear, &QAction::triggered, field, &QLineEdit::clear);
    field->addAction(clear);
    return field;
}
