#pragma once

#include "dataaccess/Dataset.h"

// The cells of a result as the writers read them: the client library's bytes
// of each value (UTF-8 text), null for NULL. A dataset is one; the fuzzing
// harnesses give rows of their own.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int rowCount() const = 0;
    virtual const char* cellData(int row, int column, unsigned long* length) const = 0;
};

// A dataset's rows.
class DatasetRows : public RowSource {
public:
    explicit DatasetRows(const Dataset& dataset) : dataset_(dataset) {}
    int rowCount() const override { return dataset_.rowCount(); }
    const char* cellData(int row, int column, unsigned long* length) const override
    {
        return dataset_.cellData(row, column, length);
    }

private:
    const Dataset& dataset_;
};
