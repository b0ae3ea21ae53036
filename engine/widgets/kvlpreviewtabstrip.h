#pragma once
// The tab strip of a preview: the view of the preview's tab list (TkvlPreviewTabs), one entry
// per tab, each with a close cross. The preview shows it from two tabs on and acts on what
// the user does with it: a selected entry (OnSelect) or a click on the selected tab's cross
// (OnClose; the first tab's cross does nothing).
#include <QTabBar>
#include <functional>

class TkvlPreviewTabs;

class TkvlPreviewTabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TkvlPreviewTabStrip(QWidget *Parent);

    // The entries made to match the list (captions, the current tab), without firing OnSelect.
    void Sync(const TkvlPreviewTabs &Tabs);
    bool HasVisibleTabs() const { return count() > 1; }
    // The strip's place for the cross of the tab at Index (strip coordinates).
    QRect CloseCrossRect(int Index) const;

    std::function<void(int Index)> OnSelect;
    std::function<void(int Index)> OnClose;

protected:
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    QIcon FCloseIcon;
    bool FSyncing = false;
};
