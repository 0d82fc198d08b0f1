#pragma once

// Rows made by a harness, as the writers read a result.
#include "dataaccess/RowSource.h"

#include <QByteArray>
#include <optional>
#include <vector>

class FuzzRows : public RowSource {
public:
    std::vector<std::vector<std::optional<QByteArray>>> cells;   // rows of cells; nullopt is NULL

    int rowCount() const override { return static_cast<int>(cells.size()); }
    const char* cellData(int row, int column, unsigned long* length) const override
    {
        const std::optional<QByteArray>& cell = cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
        *length = cell ? static_cast<unsigned long>(cell->size()) : 0;
        return cell ? cell->constData() : nullptr;
    }
};
