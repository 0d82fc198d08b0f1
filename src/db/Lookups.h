#pragma once

#include "dataaccess/Dataset.h"

#include <QObject>
#include <QString>
#include <vector>

// One entry of the group lookup: item k of every group list is GroupList[k].
struct Tgrupa {
    QString name;
    int id = 0;
};

// One passage (a device): item k of every passage list is PassageList[k].
struct Tczytniki {
    QString name;
    int id = 0;
};

// One location: item k of the device form's location list is LocationList[k].
struct Tlocalization {
    QString name;
    int id = 0;
};

// One person of the event filter: item k of its person list is PersonList[k + 1].
struct Tuser {
    QString first_name;
    QString name;
    int id = 0;
};

// The lookup lists the pages share. Each list holds exactly the entries of its
// last fill, in the order of its dataset, and grows with the data.
class Lookups : public QObject {
    Q_OBJECT
public:
    std::vector<Tgrupa> GroupList;
    std::vector<Tczytniki> PassageList;
    std::vector<Tlocalization> LocationList;
    std::vector<Tuser> PersonList;   // entry 0 is never filled

    // The position of the first group with this id, or -1.
    int groupIndex(int id) const;
    // The id of the group at a list position, or 0 when there is none.
    int groupId(int index) const;

signals:
    // The group lists on every page refill themselves from GroupList.
    void groupListFilled();
    // The passage lists (permissions, event filter) refill themselves from PassageList.
    void passageListFilled();
    // The device form's location list refills itself from LocationList.
    void locationListFilled();
};

// Walks a dataset from its first row into a lookup list of (NAME, key) entries,
// in the dataset's order; leaves the dataset on its last row.
template <typename Entry>
void walkInto(Dataset& dataset, const QString& keyField, std::vector<Entry>& list)
{
    list.clear();
    dataset.first();
    while (!dataset.eof()) {
        list.push_back({dataset.text(QStringLiteral("NAME")), dataset.integer(keyField)});
        dataset.next();
    }
}
