#pragma once
// The tab strip of a preview: one entry per tab of the preview's tab list (TkvlPreviewTabs),
// shown from two tabs on, each entry with a close cross (the first tab's cross does nothing).
// It carries out the preview's tab operations on the preview control it serves.
#include "engine/preview/kvlpreviewtabs.h"

#include <QTabBar>

class TkvlPreview;

class TkvlPreviewTabStrip : public QTabBar, private TkvlPreviewTabHost {
    Q_OBJECT
public:
    TkvlPreviewTabStrip(TkvlPreview *Preview, QWidget *Parent);
    ~TkvlPreviewTabStrip() override;

    TkvlPreviewTabs &TabList() { return FTabs; }

    // The preview shows Report (just initialized): it becomes the first tab, or the first tab's
    // report when a first tab exists.
    void SetFirstTab(TkvlReport *Report, const QString &Name);
    void AddPreviewTab(TkvlReport *Report, const QString &TabName, const QString &DetailPage, bool FreeObjects,
                       const QString &TabCaption);
    void AddPreviewTabOrSwitch(TkvlReport *Report, const QString &TabName, const QString &DetailPage,
                               bool FreeObjects, const QString &TabCaption);
    bool HasTab(const TkvlReport *Report) const { return FTabs.IndexOfReport(Report) >= 0; }
    bool HasTab(const QString &Name) const { return FTabs.IndexOfName(Name) >= 0; }
    void SwitchToTab(const TkvlReport *Report);
    void SwitchToTab(const QString &Name);
    bool HasVisibleTabs() const { return count() > 1; }
    void RemoveTab(int Index);
    void ClearAllTabs();

    // The strip's place for the cross of the tab at Index (strip coordinates).
    QRect CloseCrossRect(int Index) const;

protected:
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    // TkvlPreviewTabHost
    double TabZoom() const override;
    TkvlZoomMode TabZoomMode() const override;
    void SetTabZoom(double Zoom) override;
    void SetTabZoomMode(TkvlZoomMode Mode) override;
    int TabPageNo() const override;
    int TabLeft() const override;
    int TabTop() const override;
    void ShowTabPages(TkvlReport *Report, TkvlCustomPreviewPages *Pages, int PageNo) override;
    void SetTabScroll(int Left, int Top) override;
    void DetachTabReport(TkvlReport *Report) override;
    void UpdateTabOutline() override;

    void selectSilently(int Index);
    void onCurrentChanged(int Index);

    TkvlPreview *FPreview;
    TkvlPreviewTabs FTabs;
    QIcon FCloseIcon;
};
