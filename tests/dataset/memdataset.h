#pragma once
// A dataset whose rows come from memory, for tests of the cache without a database. Writes
// are recorded; the answer to each write is AffectedRows.
#include "platform/data/dataset.h"

#include <QDate>
#include <QStringList>

class MemDataSet : public TDataSet
{
public:
    struct Column
    {
        QString name;
        TFieldType type;
    };
    std::vector<Column> columns;
    std::vector<std::vector<Variant>> rows; // what the next open or refresh fetches
    QString table = QStringLiteral("T");

    struct Write
    {
        QString sql;
        std::vector<Variant> values;
    };
    std::vector<Write> writes;
    int AffectedRows = 1;

protected:
    void DoFetch(RowSink &sink) override
    {
        std::vector<ColumnInfo> cols;
        for (const Column &c : columns) {
            ColumnInfo info;
            info.name = c.name;
            info.origin = table;
            info.type = c.type;
            info.size = c.type == TFieldType::ftString ? 50 : 0;
            cols.push_back(info);
        }
        sink.setColumns(cols);
        for (const auto &r : rows)
            sink.addRow(std::vector<Variant>(r));
    }
    int DoExecute(const QString &sql, const std::vector<Variant> &values) override
    {
        writes.push_back({sql, values});
        return AffectedRows;
    }
};

// Days since 1899-12-30 of a calendar day (and hour).
inline double dayOf(int y, int m, int d, int hour = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) + hour / 24.0;
}
