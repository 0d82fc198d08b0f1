#include "db/Lookups.h"

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
