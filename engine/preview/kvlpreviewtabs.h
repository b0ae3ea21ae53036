#pragma once
// The tabs of a preview: the report it was opened for (always the first tab) and the detail
// reports and detail pages opened from hyperlinks. Each tab keeps its report, its prepared
// pages, its zoom, page and scroll position. The list is free of widgets: it reads and sets the
// preview's state through TkvlPreviewTabHost.
#include "report/options/kvloptions.h"

#include <QString>
#include <memory>
#include <vector>

class TkvlReport;
class TkvlCustomPreviewPages;

// What the tab list needs of the preview it serves.
class TkvlPreviewTabHost {
public:
    virtual ~TkvlPreviewTabHost() = default;
    virtual double TabZoom() const = 0;
    virtual TkvlZoomMode TabZoomMode() const = 0;
    virtual void SetTabZoom(double Zoom) = 0;           // lays the pages out again
    virtual void SetTabZoomMode(TkvlZoomMode Mode) = 0;  // the same
    virtual int TabPageNo() const = 0;
    virtual int TabLeft() const = 0;
    virtual int TabTop() const = 0;
    // The report becomes the preview's (attached again when it was let go), showing these
    // pages from this page.
    virtual void ShowTabPages(TkvlReport *Report, TkvlCustomPreviewPages *Pages, int PageNo) = 0;
    // Scroll ranges brought up to date, then the positions set.
    virtual void SetTabScroll(int Left, int Top) = 0;
    // The report forgets the preview (and the preview the report).
    virtual void DetachTabReport(TkvlReport *Report) = 0;
    virtual void UpdateTabOutline() = 0;
};

struct TkvlPreviewTabItem {
    QString Name;
    int Top = 0;
    int Left = 0;
    int PageNo = 1;
    int ThumbTop = 0;
    TkvlReport *Report = nullptr;
    TkvlCustomPreviewPages *PreviewPages = nullptr;
    QString DetailPage;
    double Zoom = 1.0;
    TkvlZoomMode ZoomMode = zmDefault;
    bool FreeObjects = false;
    QString Caption;  // the strip's text for the tab
};

class TkvlPreviewTabs {
public:
    explicit TkvlPreviewTabs(TkvlPreviewTabHost *Host) : FHost(Host) {}
    ~TkvlPreviewTabs();
    TkvlPreviewTabs(const TkvlPreviewTabs &) = delete;
    TkvlPreviewTabs &operator=(const TkvlPreviewTabs &) = delete;

    int Count() const { return int(FItems.size()); }
    TkvlPreviewTabItem &Items(int Index) { return *FItems[size_t(Index)]; }
    const TkvlPreviewTabItem &Items(int Index) const { return *FItems[size_t(Index)]; }
    int CurTab() const { return FCurTab; }
    void SetCurTab(int Index) { FCurTab = Index; }

    // A tab showing Report with its current prepared pages.
    TkvlPreviewTabItem &AddTab(TkvlReport *Report, const QString &DetailPage, const QString &Name, bool FreeObjects);
    // Detaches the tab's report and frees what the tab owns: a detail page's prepared pages,
    // and the report when no other tab shows it. The current index is left to the caller.
    void DeleteTab(int Index);
    // Deletes every tab but the first.
    void ClearItems();
    // Leaves the current tab (its state saved) and shows the tab at Index; nothing for an index
    // beyond the list.
    void SetCurrentTab(int Index);
    // Report is going away by its owner: its tabs are dropped (the pages they own are freed, the
    // report is not); when it was the first tab's, every other tab is closed too.
    void ForgetReport(TkvlReport *Report);

    // -1 when no tab shows the report with its current prepared pages / has exactly this name.
    int IndexOfReport(const TkvlReport *Report) const;
    int IndexOfName(const QString &Name) const;

private:
    // Frees the prepared pages made for a detail page's tab (never a report's main ones), first
    // pointing the report and its engine back at their main pages when they showed them.
    static void freeOwnPages(const TkvlPreviewTabItem &Item);

    TkvlPreviewTabHost *FHost;
    std::vector<std::unique_ptr<TkvlPreviewTabItem>> FItems;
    int FCurTab = 0;
};
