#include "app/Lookups.h"

#include <QComboBox>

int Lookups::groupIndex(int id) const
{
    for (std::size_t i = 0; i < GroupList.size(); ++i)
        if (GroupList[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int Lookups::groupId(int index) const
{
    if (index < 0 || index >= static_cast<int>(GroupList.size()))
        return 0;
    return GroupList[index].id;
}

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
