// The preview's tabs and what the prepared pages ask of the preview when printed objects answer
// the mouse: moving to a page or anchor, detail reports and pages in tabs, repaints and hints.
#include "engine/widgets/kvlpreview.h"

#include "engine/widgets/kvlpreviewtabstrip.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreport.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreviewpages.h"

#include <QFileInfo>
#include <QToolTip>

// ---- the preview's state as the tab list sees it -----------------------------------------------

int TkvlPreview::TabLeft() const { return FWorkspace->HorzPosition(); }
int TkvlPreview::TabTop() const { return FWorkspace->VertPosition(); }

void TkvlPreview::ShowTabPages(TkvlReport *AReport, TkvlCustomPreviewPages *Pages, int APageNo)
{
    if (AReport && AReport->Preview() != this) {
        // Attached again without Init taking it for a new report.
        FCalledFromPreview = true;
        AReport->SetPreview(this);
        FCalledFromPreview = false;
    }
    Report = AReport;
    PreviewPages = Pages;
    attachPages();
    FPageNo = APageNo;
    FWorkspace->SetPageNo(FPageNo);
    FThumbnail->SetPageNo(FPageNo);
}

void TkvlPreview::SetTabScroll(int Left, int Top)
{
    FWorkspace->UpdateScrollBars();
    FWorkspace->SetHorzPosition(Left);
    FWorkspace->SetVertPosition(Top);
}

void TkvlPreview::DetachTabReport(TkvlReport *AReport)
{
    if (AReport->Preview() == this) {
        FCalledFromPreview = true;
        AReport->SetPreview(nullptr);
        FCalledFromPreview = false;
    }
}

// ---- tab operations ------------------------------------------------------------------------------

void TkvlPreview::syncTabs()
{
    FTabs->Sync(FTabList);
    layoutChildren();
}

bool TkvlPreview::HasVisibleTabs() const { return FTabs->HasVisibleTabs(); }

void TkvlPreview::SetCurrentTab(int Index)
{
    if (Index < 0 || Index >= FTabList.Count())
        return;
    FTabList.SetCurrentTab(Index);
    FSearch.Clear();
    FAllowF3 = false;
    syncTabs();
    pageChanged();
}

void TkvlPreview::AddPreviewTab(TkvlReport *AReport, const QString &TabName, const QString &DetailPage,
                                bool FreeObjects, const QString &TabCaption)
{
    FTabList.AddTab(AReport, DetailPage, TabName, FreeObjects).Caption = TabCaption;
    syncTabs();
    SetCurrentTab(FTabList.Count() - 1);
}

void TkvlPreview::AddPreviewTabOrSwitch(TkvlReport *AReport, const QString &TabName, const QString &DetailPage,
                                        bool FreeObjects, const QString &TabCaption)
{
    if (HasTab(AReport)) {
        SwitchToTab(AReport);
        return;
    }
    QString name = TabName;
    if (name.isEmpty() && AReport)
        name = !AReport->FileName.isEmpty() ? QFileInfo(AReport->FileName).fileName() : AReport->ReportOptions()->Name;
    AddPreviewTab(AReport, name, DetailPage, FreeObjects, TabCaption);
}

void TkvlPreview::SwitchToTab(const TkvlReport *AReport) { SetCurrentTab(FTabList.IndexOfReport(AReport)); }

bool TkvlPreview::HasTab(const QString &Name) { return FTabList.IndexOfName(Name) >= 0; }

void TkvlPreview::SwitchToTab(const QString &Name) { SetCurrentTab(FTabList.IndexOfName(Name)); }

void TkvlPreview::RemoveTab(int Index)
{
    // The first tab is the report the preview was opened for: it stays.
    if (Index <= 0 || Index >= FTabList.Count())
        return;
    // Show the neighbour first, so that nothing shows the tab's pages while they are freed.
    const int neighbour = Index - 1;
    SetCurrentTab(neighbour);
    FTabList.DeleteTab(Index);
    // The closed tab may have shared the neighbour's report, which it let go of: show the
    // neighbour again as it is.
    FTabList.SetCurrentTab(neighbour);
    syncTabs();
    pageChanged();
}

void TkvlPreview::ClearAllTabs()
{
    if (FTabList.Count() == 0)
        return;
    // Back on the first tab before the others' objects are freed.
    if (FTabList.CurTab() != 0)
        FTabList.SetCurrentTab(0);
    if (Report)
        DetachTabReport(Report);
    TkvlPreviewTabItem &first = FTabList.Items(0);
    if (first.Report) {
        first.Report->SetPreviewPages(first.PreviewPages);
        DetachTabReport(first.Report);
    }
    FTabList.ClearItems();
    FTabList.SetCurTab(0);
    // The preview no longer hears of the pages it showed: it lets go of them.
    Report = nullptr;
    PreviewPages = nullptr;
    attachPages();
    syncTabs();
}

// ---- navigation asked by the prepared pages ------------------------------------------------------

void TkvlPreview::AddReportTab(std::unique_ptr<TkvlReport> AReport, const QString &Name, const QString &Caption)
{
    if (!AReport)
        return;
    // The tab owns the report from here on.
    AddPreviewTab(AReport.release(), Name, QString(), true, Caption);
}

void TkvlPreview::AddPagesTab(TkvlReport *AReport, std::unique_ptr<TkvlCustomPreviewPages> Pages,
                              const QString &Name, const QString &DetailPage, const QString &Caption)
{
    if (!AReport || !Pages)
        return;
    // The pages become the report's current ones, and the tab owns them.
    AReport->SetPreviewPages(Pages.release());
    AddPreviewTab(AReport, Name, DetailPage, true, Caption);
}

void TkvlPreview::refreshDetailPage(const TkvlPreviewTabItem &Tab)
{
    Tab.PreviewPages->Clear();
    Report->SetPreviewPages(Tab.PreviewPages);
    if (TkvlCustomEngine *engine = Report->Engine()) {
        engine->PreviewPages = Tab.PreviewPages;
        Tab.PreviewPages->Engine = engine;
    }
    if (auto *page = rtl_cast<TkvlPage>(Report->FindObject(Tab.DetailPage)))
        Report->PreparePage(page);
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
