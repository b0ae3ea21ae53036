#pragma once
// A report page shown in a workspace model, with helpers that place bands and memos.
#include "designer/core/workspace.h"
#include "designer/core/workspaceunits.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"

#include <memory>

namespace wstest {

inline void initOnce()
{
    static const bool done = [] {
        kvlInitReportUnit();
        kvlRegisterDialogControlClasses();
        // Band captions read their names from the string table; fixed texts keep the
        // pictures independent of the designer's table.
        for (const char *key : {"PageHeader", "MasterData", "ReportSummary", "ReportTitle", "PageFooter",
                                "GroupHeader", "Child"})
            kvlResources().Add(QString::fromLatin1(key), QStringLiteral("Banda %1").arg(QLatin1String(key)));
        return true;
    }();
    (void)done;
}

struct Workspace {
    bool initialized = (initOnce(), true);  // before the workspace looks up the classes
    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page = nullptr;
    TkvlObjectLists lists;
    TkvlWorkspace ws;
    int modified = 0;

    Workspace()
    {
        report = std::make_unique<TkvlReport>(nullptr);
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        ws.SetLists(&lists);
        ws.SetPage(page);
        ws.OnModify = [this] { ++modified; };
    }

    template <class B> B *band(const char *name, double top, double height)
    {
        auto *b = new B(page);
        b->SetName(QString::fromLatin1(name));
        b->SetBounds(0, top, 700, height);
        return b;
    }
    TkvlMemoView *memo(TkvlComponent *parent, const char *name, double left, double top, double w = 100,
                       double h = 18)
    {
        auto *m = new TkvlMemoView(parent);
        m->SetName(QString::fromLatin1(name));
        m->SetBounds(left, top, w, h);
        return m;
    }
    // The window's lists for the page as it stands.
    void load() { lists.Load(page); }
    void select(std::initializer_list<TkvlComponent *> objects)
    {
        lists.Selected.assign(objects.begin(), objects.end());
    }
};

} // namespace wstest
