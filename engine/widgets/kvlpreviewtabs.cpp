// The preview's tabs and what the prepared pages ask of the preview when printed objects answer
// the mouse: moving to a page or anchor, detail reports and pages in tabs, repaints and hints.
#include "engine/widgets/kvlpreview.h"

#include "engine/widgets/kvlpreviewworkspace.h"
#include "report/document/kvlreport.h"
#include "report/core/kvlobjects.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreviewpages.h"

#include <QTabBar>
#include <QToolTip>

namespace {

// Makes Pages the report's current prepared pages, linked with its engine both ways.
void showPages(TkvlReport *Report, TkvlCustomPreviewPages *Pages)
{
    Report->SetPreviewPages(Pages);
    if (TkvlCustomEngine *engine = Report->Engine()) {
        engine->PreviewPages = Pages;
        Pages->Engine = engine;
    }
}

} // namespace

bool TkvlPreview::HasTab(const QString &Name)
{
    for (const TabItem &t : FTabItems)
        if (t.Name == Name)
            return true;
    return false;
}

void TkvlPreview::SwitchToTab(const QString &Name)
{
    for (size_t i = 0; i < FTabItems.size(); ++i)
        if (FTabItems[i].Name == Name) {
            SetCurrentTab(int(i));
            return;
        }
}

void TkvlPreview::SetCurrentTab(int Index)
{
    if (Index < 0 || size_t(Index) >= FTabItems.size())
        return;
    if (Index != FCurTab && size_t(FCurTab) < FTabItems.size()) {
        TabItem &old = FTabItems[size_t(FCurTab)];
        old.ZoomMode = FZoomMode;
        old.Zoom = FZoom;
        old.Left = FWorkspace->HorzPosition();
        old.Top = FWorkspace->VertPosition();
        old.PageNo = FPageNo;
    }
    FCurTab = Index;
    const TabItem &tab = FTabItems[size_t(Index)];
    Report = tab.Report;
    PreviewPages = tab.PreviewPages;
    if (tab.Report && tab.PreviewPages) {
        showPages(tab.Report, tab.PreviewPages);
        FCalledFromPreview = true;
        tab.Report->SetPreview(this);
        FCalledFromPreview = false;
    }
    FWorkspace->SetPreviewPages(PreviewPages);
    FThumbnail->SetPreviewPages(PreviewPages);
    FSearch.Clear();
    FAllowF3 = false;
    FPageNo = tab.PageNo == 0 && PageCount() > 0 ? 1 : tab.PageNo;
    FWorkspace->SetPageNo(FPageNo);
    FThumbnail->SetPageNo(FPageNo);
    if (tab.ZoomMode != zmDefault) {
        FZoomMode = tab.ZoomMode;
    } else {
        FZoomMode = zmDefault;
        FZoom = tab.Zoom;
    }
    UpdatePages();
    FWorkspace->UpdateScrollBars();
    FWorkspace->SetHorzPosition(tab.Left);
    FWorkspace->SetVertPosition(tab.Top);
    UpdateOutline();
    if (FTabs->currentIndex() != Index) {
        const QSignalBlocker quiet(FTabs);
        FTabs->setCurrentIndex(Index);
    }
    pageChanged();
}

void TkvlPreview::addTab(TabItem Item, const QString &Caption)
{
    Item.PageNo = 1;
    Item.ZoomMode = FZoomMode;
    Item.Zoom = FZoom;
    const QString caption = Caption.isEmpty() ? Item.Name : Caption;
    FTabItems.push_back(std::move(Item));
    {
        const QSignalBlocker quiet(FTabs);
        FTabs->addTab(caption);
    }
    FTabs->setVisible(FTabs->count() > 1);
    layoutChildren();
    SetCurrentTab(int(FTabItems.size()) - 1);
}

void TkvlPreview::AddReportTab(std::unique_ptr<TkvlReport> AReport, const QString &Name, const QString &Caption)
{
    if (!AReport)
        return;
    TabItem item{AReport.get(), AReport->PreviewPages(), Name, true};
    item.OwnedReport = std::move(AReport);
    addTab(std::move(item), Caption);
}

void TkvlPreview::AddPagesTab(TkvlReport *AReport, std::unique_ptr<TkvlCustomPreviewPages> Pages,
                              const QString &Name, const QString &DetailPage, const QString &Caption)
{
    if (!AReport || !Pages)
        return;
    TabItem item{AReport, Pages.get(), Name, true};
    item.DetailPage = DetailPage;
    item.OwnedPages = std::move(Pages);
    addTab(std::move(item), Caption);
}

void TkvlPreview::refreshDetailPage(const TabItem &Tab)
{
    Tab.PreviewPages->Clear();
    showPages(Report, Tab.PreviewPages);
    if (auto *page = rtl_cast<TkvlPage>(Report->FindObject(Tab.DetailPage)))
        Report->PreparePage(page);
}

// Before the tabs go: every report lets go of this preview, and the first tab's report gets its
// own pages back (a detail page's pages are freed with their tab).
void TkvlPreview::releaseTabs()
{
    if (FTabItems.empty())
        return;
    FCalledFromPreview = true;
    for (TabItem &t : FTabItems)
        if (t.OwnedReport && t.OwnedReport->Preview() == this)
            t.OwnedReport->SetPreview(nullptr);
    const TabItem &first = FTabItems.front();
    if (first.Report && first.PreviewPages)
        showPages(first.Report, first.PreviewPages);
    FCalledFromPreview = false;
    Report = first.Report;
    PreviewPages = first.PreviewPages;
}

void TkvlPreview::Invalidate()
{
    FWorkspace->viewport()->update();
    FThumbnail->viewport()->update();
}

void TkvlPreview::RepaintWorkspace() { FWorkspace->viewport()->repaint(); }

void TkvlPreview::ShowReportHint(const QString &Text, QPoint At)
{
    // At is a point of the page workspace, which lies below the tab strip when tabs show.
    QWidget *view = FWorkspace->viewport();
    QToolTip::showText(view->mapToGlobal(At), Text, view);
}

void TkvlPreview::HideReportHint() { QToolTip::hideText(); }

void TkvlPreview::ShowProgressMessage(const QString &Text, bool IsHint)
{
    if (Host)
        Host->ShowStatus(Text, IsHint);
}
