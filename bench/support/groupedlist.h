#pragma once
// The grouped list the engine and export benchmarks prepare: a page header with the page
// number, a group on the site with a COUNT footer, a data band of five memos (number, title,
// two formatted dates, site) over in-memory rows ordered by site (20 sites), the store
// swapping pages (UseFileCache, MaxMemSize 10, PagesInCache 50).
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "platform/ui/fakes.h"

#include <QTemporaryDir>

#include <string>

namespace benchsupport {

// The rows, each made from its index as it is read (the same values every time): the
// benchmark holds no rows, so what the process holds is what the engine holds.
class GeneratedRows : public TkvlDataSet
{
public:
    explicit GeneratedRows(int Rows);
    Variant GetValue(const QString &FieldName) override;
    QString GetDisplayText(const QString &FieldName) override { return GetValue(FieldName).toString(); }
    TkvlFieldType GetFieldType(const QString &FieldName) override;
    int FieldsCount() override;
    void GetFieldList(TStringList &List) override;

private:
    static int column(const QString &FieldName);
};

// The report over its rows, with its own temporary folder for the file cache.
struct GroupedList {
    ui::FakeServices fakes;
    TkvlReport report{nullptr};
    GeneratedRows source;
    QTemporaryDir dir;
    explicit GroupedList(int Rows);
};

// The classes the engine needs, registered once per process.
void registerEngineClasses();

// Memory of this process from /proc (kilobytes): "VmHWM", "VmRSS".
long statusKb(const char *Key);
double peakMb();
// Starts a new peak from the resident size now.
void resetPeak();

} // namespace benchsupport
