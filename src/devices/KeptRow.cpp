#include "devices/KeptRow.h"

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

KeptRow::KeptRow(Dataset& dataset, const QString& keyField, QObject* parent)
    : QObject(parent), dataset_(dataset), keyField_(keyField)
{
    connect(&dataset_, &Dataset::reset, this, &KeptRow::restore);
}

void KeptRow::restore()
{
    if (key_ > 0)
        goToKey(dataset_, keyField_, key_);
}
