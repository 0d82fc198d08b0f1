#include "ui/ListTools.h"

#include "ui/BoundGrid.h"
#include "ui/ErrorGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

// Escape in a find field empties it; the list shows every row again.
class EscapeClears : public QObject {
public:
    explicit EscapeClears(QLineEdit* field) : QObject(field), field_(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == field_ && event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !field_->text().isEmpty()) {
            field_->clear();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* field_;
};

}  // namespace

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
    field->installEventFilter(new EscapeClears(field));
    return field;
}
