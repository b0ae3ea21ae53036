#include "engine/preview/kvlpreviewtabs.h"

#include "report/document/kvlreport.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreviewpages.h"

#include <algorithm>

namespace {

// Pages become the report's current prepared pages, linked with its engine both ways.
void showPages(TkvlReport *Report, TkvlCustomPreviewPages *Pages)
{
    Report->SetPreviewPages(Pages);
    if (TkvlCustomEngine *engine = Report->Engine()) {
        engine->PreviewPages = Pages;
        if (Pages)
            Pages->Engine = engine;
    }
}

} // namespace

TkvlPreviewTabs::~TkvlPreviewTabs() = default;

TkvlPreviewTabItem &TkvlPreviewTabs::AddTab(TkvlReport *Report, const QString &DetailPage, const QString &Name,
                                            bool FreeObjects)
{
    auto item = std::make_unique<TkvlPreviewTabItem>();
    item->Name = Name;
    item->DetailPage = DetailPage;
    item->FreeObjects = FreeObjects;
    item->ZoomMode = FHost->TabZoomMode();
    item->Zoom = FHost->TabZoom();
    item->Report = Report;
    item->PreviewPages = Report ? Report->PreviewPages() : nullptr;
    FItems.push_back(std::move(item));
    return *FItems.back();
}

void TkvlPreviewTabs::freeOwnPages(const TkvlPreviewTabItem &Item)
{
    // Only a detail page's pages are made for its tab; a whole report's pages are the report's.
    TkvlReport *report = Item.Report;
    TkvlCustomPreviewPages *pages = Item.PreviewPages;
    if (!pages || Item.DetailPage.isEmpty() || (report && pages == report->MainPreviewPages()))
        return;
    if (report) {
        TkvlCustomEngine *engine = report->Engine();
        if (report->PreviewPages() == pages || (engine && engine->PreviewPages == pages))
            showPages(report, report->MainPreviewPages());
    }
    delete pages;
}

void TkvlPreviewTabs::DeleteTab(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    std::unique_ptr<TkvlPreviewTabItem> item = std::move(FItems[size_t(Index)]);
    FItems.erase(FItems.begin() + Index);
    if (item->Report)
        FHost->DetachTabReport(item->Report);
    if (!item->FreeObjects)
        return;
    const bool shared = std::any_of(FItems.begin(), FItems.end(),
                                    [&](const auto &Other) { return Other->Report == item->Report; });
    freeOwnPages(*item);
    if (!shared)
        delete item->Report;
}

void TkvlPreviewTabs::ClearItems()
{
    while (Count() > 1)
        DeleteTab(1);
    FCurTab = std::min(FCurTab, std::max(0, Count() - 1));
}

void TkvlPreviewTabs::ForgetReport(TkvlReport *Report)
{
    if (!Report)
        return;
    const bool first = Count() > 0 && Items(0).Report == Report;
    for (int i = Count() - 1; i >= 0; --i) {
        if (Items(i).Report == Report) {
            std::unique_ptr<TkvlPreviewTabItem> item = std::move(FItems[size_t(i)]);
            FItems.erase(FItems.begin() + i);
            if (item->FreeObjects)
                freeOwnPages(*item);
        } else if (first) {
            DeleteTab(i);
        }
    }
    FCurTab = std::min(FCurTab, std::max(0, Count() - 1));
}

void TkvlPreviewTabs::SetCurrentTab(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    if (Index != FCurTab && FCurTab >= 0 && FCurTab < Count()) {
        TkvlPreviewTabItem &old = Items(FCurTab);
        old.ZoomMode = FHost->TabZoomMode();
        if (old.ZoomMode == zmDefault)
            old.Zoom = FHost->TabZoom();
        old.Left = FHost->TabLeft();
        old.Top = FHost->TabTop();
        old.PageNo = FHost->TabPageNo();
    }
    TkvlPreviewTabItem &tab = Items(Index);
    if (tab.Report && tab.PreviewPages)
        showPages(tab.Report, tab.PreviewPages);
    int page = tab.PageNo;
    if (page == 0 && tab.PreviewPages && tab.PreviewPages->GetCount() > 0)
        page = 1;
    FCurTab = Index;
    FHost->ShowTabPages(tab.Report, tab.PreviewPages, page);
    if (tab.ZoomMode != zmDefault)
        FHost->SetTabZoomMode(tab.ZoomMode);
    else
        FHost->SetTabZoom(tab.Zoom);
    FHost->SetTabScroll(tab.Left, tab.Top);
    FHost->UpdateTabOutline();
}

int TkvlPreviewTabs::IndexOfReport(const TkvlReport *Report) const
{
    if (!Report)
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (Items(i).Report == Report && Items(i).PreviewPages == Report->PreviewPages())
            return i;
    return -1;
}

int TkvlPreviewTabs::IndexOfName(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i).Name == Name)
            return i;
    return -1;
}
