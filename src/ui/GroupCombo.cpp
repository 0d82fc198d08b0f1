#include "ui/GroupCombo.h"

#include "db/Lookups.h"

#include <QComboBox>

void fillGroupCombo(QComboBox* combo, const Lookups& lookups, bool selectFirst)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(lookups.GroupList.size()));
    for (const Tgrupa& group : lookups.GroupList)
        names << group.name;
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(names);
    combo->setCurrentIndex(selectFirst && !names.isEmpty() ? 0 : -1);
}
