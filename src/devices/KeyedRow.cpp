#include "devices/KeyedRow.h"

#include "dataaccess/Dataset.h"

#include <cstring>

bool goToKey(Dataset& dataset, const QString& keyField, int key)
{
    if (!dataset.isOpen())
        return false;
    const int column = dataset.columnIndex(keyField);
    if (column < 0)
        return false;
    const QByteArray wanted = QByteArray::number(key);
    for (int row = 0; row < dataset.rowCount(); ++row) {
        unsigned long length = 0;
        const char* data = dataset.cellData(row, column, &length);
        if (data && length == static_cast<unsigned long>(wanted.size())
            && std::memcmp(data, wanted.constData(), length) == 0) {
            dataset.setRecordNo(row + 1);
            return true;
        }
    }
    return false;
}
