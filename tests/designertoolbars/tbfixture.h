#pragma once
// A report with a data page and report pages, a designer that records what the window is
// asked to do, and helpers that place objects.
#include "tests/nulldesigner.h"
#include "designer/core/controlstate.h"
#include "designer/core/resources/designerstrings.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/data/kvldataset.h"
#include "report/dmp/kvldmpviews.h"
#include "report/styles/kvlstyles.h"

#include <memory>
#include <vector>

namespace tbtest {

inline void initOnce()
{
    static const bool done = [] {
        kvlInitReportUnit();
        kvlAddDesignerStrings();
        return true;
    }();
    (void)done;
}

class FakeDesigner : public TNullDesigner {
public:
    using TNullDesigner::TNullDesigner;
    void Lock() override { ++locks; }
    void ReloadPages(int Index) override { reloaded.push_back(Index); }
    void UpdateInspector() override { ++inspectorUpdates; }
    void SetModified(bool Value) override
    {
        TkvlCustomDesigner::SetModified(Value);
        modifiedCalls += Value;
    }

    int locks = 0, inspectorUpdates = 0, modifiedCalls = 0;
    std::vector<int> reloaded;
};

struct Report {
    bool initialized = (initOnce(), true);
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlDataPage *data = nullptr;
    TkvlReportPage *page = nullptr;
    std::unique_ptr<FakeDesigner> designer;

    Report()
    {
        data = new TkvlDataPage(report.get());
        data->SetName(QStringLiteral("Data"));
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        designer = std::make_unique<FakeDesigner>(nullptr, report.get(), false);
        designer->SetPage(page);
    }
    template <class T> T *add(TkvlComponent *parent, const char *name, double l = 0, double t = 0, double w = 100,
                              double h = 20)
    {
        auto *o = new T(parent);
        o->SetName(QString::fromLatin1(name));
        o->SetBounds(l, t, w, h);
        return o;
    }
    // The window's object list for the shown page: its objects, the report, the page.
    void load()
    {
        designer->Objects = designer->Page()->GetAllObjects();
        designer->Objects.push_back(report.get());
        designer->Objects.push_back(designer->Page());
    }
};

} // namespace tbtest
