#include "ui/PageLayout.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

QVBoxLayout* topLeftColumn(QWidget* page)
{
    auto* row = new QHBoxLayout(page);
    auto* column = new QVBoxLayout();
    column->setAlignment(Qt::AlignTop);
    row->addLayout(column);
    row->addStretch(1);
    return column;
}
