#pragma once
// What the prepared-pages store asks of the preview that shows it when printed objects answer
// the mouse: moving to a page, tabs for detail reports and pages, repainting and report hints.
// The preview control implements it beside TkvlCustomPreview, so the store stays free of
// widgets; the store finds it on the report's preview.
#include <QPoint>
#include <QString>
#include <memory>

class TkvlCustomPreview;
class TkvlCustomPreviewPages;
class TkvlReport;

class TkvlPreviewNavigator {
public:
    virtual ~TkvlPreviewNavigator() = default;

    // Shows page PageNo (1-based) scrolled so that Top (pixels of the page) is at the top.
    virtual void SetPosition(int PageNo, int Top) = 0;
    virtual void SetPageNo(int PageNo) = 0;

    virtual bool HasTab(const QString &Name) = 0;
    virtual void SwitchToTab(const QString &Name) = 0;
    // A new closable tab named Name with caption Caption showing a prepared detail report;
    // the preview owns the report from now on.
    virtual void AddReportTab(std::unique_ptr<TkvlReport> Report, const QString &Name, const QString &Caption) = 0;
    // A new closable tab showing Pages, prepared from the page named DetailPage of Report (the
    // preview's own report, which keeps its main pages); the preview owns Pages from now on
    // and makes them the report's while the tab is shown.
    virtual void AddPagesTab(TkvlReport *Report, std::unique_ptr<TkvlCustomPreviewPages> Pages,
                             const QString &Name, const QString &DetailPage, const QString &Caption) = 0;

    // The pages are to be drawn again (Invalidate), or at once (RepaintWorkspace).
    virtual void Invalidate() = 0;
    virtual void RepaintWorkspace() = 0;

    // A report object's hint: Text at At (workspace pixels); HideReportHint turns the display
    // off. Where and how long it shows is the preview's business.
    virtual void ShowReportHint(const QString &Text, QPoint At) = 0;
    virtual void HideReportHint() = 0;
};

// The navigator of the report's preview, nullptr when there is none or it has no navigation.
TkvlPreviewNavigator *kvlPreviewNavigator(TkvlCustomPreview *Preview);
