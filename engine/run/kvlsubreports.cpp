// Subreports: another page of the report printed inside a band, either as output of its own
// that starts at the subreport's place, or merged into the band as its objects.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/bands/kvlsubreport.h"
#include "report/core/kvlobjects.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlstretch.h"

#include <algorithm>
#include <memory>

namespace {

// The subreports of Band (its own objects) that print as they say.
std::vector<TkvlSubreport *> subreportsOf(TkvlBand *Band, bool OnParent)
{
    std::vector<TkvlSubreport *> out;
    const int own = Band->OriginalObjectsCount >= 0 ? Band->OriginalObjectsCount : Band->ObjectCount();
    for (int i = 0; i < own; ++i)
        if (auto *s = rtl_cast<TkvlSubreport>(Band->Object(i)); s && s->Visible() && s->PrintOnParent == OnParent)
            out.push_back(s);
    return out;
}

} // namespace

void TkvlEngine::RunSubreportPage(TkvlSubreport *Sub)
{
    TkvlReportPage *page = Sub->Page();
    if (!page)
        return;
    if (std::find(FRunningPages.begin(), FRunningPages.end(), page) != FRunningPages.end()) {
        // Running it again would never end. Named once, however often its band prints.
        if (std::find(FRecursiveSubs.begin(), FRecursiveSubs.end(), Sub) != FRecursiveSubs.end())
            return;
        FRecursiveSubs.push_back(Sub);
        Report()->Errors().Add(
            QStringLiteral("The subreport %1 prints the page %2, which is already printing")
                .arg(Sub->Name(), page->Name()));
        FRunFailed = true;
        return;
    }
    FRunningPages.push_back(page);
    const bool keepFooter = FKeepFooter;
    try {
        Report()->DoNotifyEvent(page, page->OnBeforePrint);
        ShowBandTree(page);
        Report()->DoNotifyEvent(page, page->OnAfterPrint);
    } catch (...) {
        FRunningPages.pop_back();
        FKeepFooter = keepFooter;
        throw;
    }
    FRunningPages.pop_back();
    FKeepFooter = keepFooter;
}

void TkvlEngine::CollectBand(TkvlBand *Band)
{
    auto *copy = new TkvlBand(nullptr);
    copy->SetBounds(Band->Left(), Band->Top(), Band->Width(), Band->Height());
    copy->SetParent(FOutputTo);
    for (TkvlComponent *c : Band->Objects())
        if (c->Is<TkvlReportComponent>() && c->Visible())
            if (TkvlComponent *o = kvlengine::CopyForOutput(c))
                o->SetParent(copy);
}

void TkvlEngine::PrintSubreportsOnParent(TkvlBand *Band)
{
    // A subreport inside one being collected adds to the collecting band through DoShow.
    if (FOutputTo)
        return;
    const std::vector<TkvlSubreport *> subs = subreportsOf(Band, true);
    if (subs.empty())
        return;
    Band->OriginalObjectsCount = Band->ObjectCount();
    auto collecting = std::make_unique<TkvlNullBand>(nullptr);
    FOutputTo = collecting.get();
    const double x = CurX, y = CurY, pageX = FPageCurX;
    auto restore = [&] {
        CurX = x;
        CurY = y;
        FPageCurX = pageX;
        FOutputTo = nullptr;
        FCurBand = Band;
    };
    try {
        for (TkvlSubreport *s : subs) {
            FPageCurX = pageX + s->Left();
            CurX = s->Left();
            CurY = s->Top();
            RunSubreportPage(s);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    // The collected objects become the band's, where they were printed inside it.
    while (collecting->ObjectCount() > 0) {
        TkvlComponent *b = collecting->Object(0);
        while (b->ObjectCount() > 0) {
            TkvlComponent *o = b->Object(0);
            const double left = b->Left() + o->Left(), top = b->Top() + o->Top();
            o->SetParentFont(false);
            o->SetParent(Band);
            o->SetLeft(left);
            o->SetTop(top);
            if (auto *s = rtl_cast<TkvlStretcheable>(o))
                s->StretchMode = smDontStretch;
        }
        delete b;
    }
}

void TkvlEngine::CheckSubReports(TkvlBand *Band)
{
    const std::vector<TkvlSubreport *> subs = subreportsOf(Band, false);
    if (subs.empty())
        return;
    const double x = CurX, pageX = FPageCurX, y = CurY;
    const int page = PreviewPages->CurPage, column = CurColumn;
    int farPage = page, farColumn = column;
    double farY = y;
    for (TkvlSubreport *s : subs) {
        PreviewPages->CurPage = page;
        FPageCurX = pageX + s->Left();
        CurColumn = column;
        CurX = x + s->Left();
        CurY = y - Band->StretchedHeight + s->Top();
        RunSubreportPage(s);
        const int endPage = PreviewPages->CurPage;
        if (endPage > farPage || (endPage == farPage && (CurColumn > farColumn ||
                                                         (CurColumn == farColumn && CurY > farY)))) {
            farPage = endPage;
            farColumn = CurColumn;
            farY = CurY;
        }
    }
    PreviewPages->CurPage = farPage;
    CurColumn = farColumn;
    CurX = pageX + (farColumn > 1 ? ColumnOffset(farColumn) : 0);
    CurY = farY;
    FPageCurX = pageX;
}
