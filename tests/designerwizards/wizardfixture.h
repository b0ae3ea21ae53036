#pragma once
// Shared by the wizard and dialog tests: a record source with fixed fields and display widths,
// and a designer that counts what it is asked to do.
#include "tests/nulldesigner.h"
#include "report/data/kvldbdataset.h"
#include "report/seams/kvldesigner.h"

#include <QStringList>
#include <vector>

class FixtureSource : public TkvlCustomDBDataSet {
public:
    // Fields named Names, each Widths[i] characters wide on display.
    FixtureSource(const QString &UserName, const QStringList &Names, const std::vector<int> &Widths)
        : TkvlCustomDBDataSet(nullptr), FNames(Names), FWidths(Widths)
    {
        SetUserName(UserName);
    }
    void GetFieldList(TStringList &List) override
    {
        List.Clear();
        for (const QString &n : FNames)
            List.Add(n);
    }
    int GetDisplayWidth(const QString &FieldName) override
    {
        const qsizetype i = FNames.indexOf(FieldName);
        return i < 0 ? 0 : FWidths[size_t(i)];
    }

private:
    QStringList FNames;
    std::vector<int> FWidths;
};

class FakeDesigner : public TNullDesigner {
public:
    explicit FakeDesigner(TkvlReport *r) : TNullDesigner(nullptr, r, false) {}
    int locks = 0, reloads = 0, objectReloads = 0;
    void Lock() override { ++locks; }
    void ReloadPages(int) override { ++objectReloads; }
    void ReloadReport() override { ++reloads; }
};
