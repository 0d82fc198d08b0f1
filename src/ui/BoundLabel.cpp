#include "ui/BoundLabel.h"

#include "dataaccess/Dataset.h"

BoundLabel::BoundLabel(const QString& name, Dataset& dataset, const QString& field,
                       const QString& lead, const QString& tail, QWidget* parent)
    : QLabel(parent), dataset_(dataset), field_(field), lead_(lead), tail_(tail)
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    connect(&dataset_, &Dataset::currentRowChanged, this, &BoundLabel::follow);
    connect(&dataset_, &Dataset::reset, this, &BoundLabel::follow);
    follow();
}

QString BoundLabel::value() const
{
    if (!dataset_.isOpen() || dataset_.currentRow() < 0)
        return QString();
    const int column = dataset_.columnIndex(field_);
    return column < 0 ? QString() : dataset_.cell(dataset_.currentRow(), column);
}

void BoundLabel::follow() { setText(lead_ + value() + tail_); }
