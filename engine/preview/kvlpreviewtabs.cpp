#include "engine/preview/kvlpreviewtabs.h"

#include "report/document/kvlreport.h"
#include "report/seams/kvlpreviewpages.h"

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
    bool shared = false;
    for (const auto &other : FItems)
        shared = shared || other->Report == item->Report;
    if (shared) {
        // The report stays with the other tab: never leave it pointing at the pages freed here.
        if (item->Report && item->Report->PreviewPages() == item->PreviewPages)
            item->Report->SetPreviewPages(item->Report->MainPreviewPages());
        if (!item->Report || item->PreviewPages != item->Report->MainPreviewPages())
            delete item->PreviewPages;
    } else {
        delete item->Report;
    }
}

void TkvlPreviewTabs::ClearItems()
{
    while (Count() > 1)
        DeleteTab(1);
    if (FCurTab >= Count())
        FCurTab = Count() - 1 < 0 ? 0 : Count() - 1;
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
    if (tab.Report)
        tab.Report->SetPreviewPages(tab.PreviewPages);
    int page = tab.PageNo;
    if (page == 0 && tab.PreviewPages && tab.PreviewPages->GetCount() > 0)
        page = 1;
    FHost->ShowTabPages(tab.Report, tab.PreviewPages, page);
    if (tab.ZoomMode != zmDefault)
        FHost->SetTabZoomMode(tab.ZoomMode);
    else
        FHost->SetTabZoom(tab.Zoom);
    FHost->SetTabScroll(tab.Left, tab.Top);
    FHost->UpdateTabOutline();
    FCurTab = Index;
}

int TkvlPreviewTabs::IndexOfReport(const TkvlReport *Report) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->Report == Report && Report && FItems[size_t(i)]->PreviewPages == Report->PreviewPages())
            return i;
    return -1;
}

int TkvlPreviewTabs::IndexOfName(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->Name == Name)
            return i;
    return -1;
}
