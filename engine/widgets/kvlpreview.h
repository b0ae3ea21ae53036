#pragma once
// The preview control: shows a report's prepared pages in a page workspace with an outline
// tree or a thumbnail strip beside it, receives the report's progress while pages are being
// prepared (so pages appear while the engine runs) and carries out the preview's commands.
#include "engine/preview/kvlpreviewtabs.h"
#include "engine/preview/kvltextsearch.h"
#include "engine/store/previewnavigator.h"
#include "platform/rtl/color.h"
#include "report/options/kvloptions.h"
#include "report/seams/kvlpreview.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class QFrame;
class TStream;
class TkvlPage;
class TkvlCustomExportFilter;
class TkvlPreviewTabStrip;
class TkvlPreviewWorkspace;

// What a window hosting the preview shows of its state; the preview window implements it.
class TkvlPreviewHost {
public:
    virtual ~TkvlPreviewHost() = default;
    virtual void UpdateControls() = 0;
    // The Close button's caption: "Annulla" while the engine runs, "Chiudi" after.
    virtual void SetCloseCaption(const QString &Caption) = 0;
    virtual void ShowZoom(double Zoom) = 0;
    virtual void SetOutlineButton(bool Down) = 0;
    virtual void SetThumbnailButton(bool Down) = 0;
    virtual void ClearStatus() = 0;
    // The report's progress message (IsHint: its hint) for the status bar.
    virtual void ShowStatus(const QString &Text, bool IsHint)
    {
        (void)Text;
        (void)IsHint;
    }
};

// The bar between the outline (or thumbnails) and the pages.
class TkvlPreviewSplitter : public QWidget {
    Q_OBJECT
public:
    explicit TkvlPreviewSplitter(QWidget *Parent);
    std::function<void(int Dx)> OnMove;
    std::function<void()> OnMoved;

protected:
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    bool FDown = false;
    int FLastX = 0;
};

class TkvlPreview : public QWidget,
                    public TkvlCustomPreview,
                    public TkvlPreviewNavigator,
                    private TkvlPreviewTabHost {
    Q_OBJECT
public:
    enum TBorderStyle { bsNone, bsSingle };

    explicit TkvlPreview(QWidget *Parent = nullptr);
    ~TkvlPreview() override;

    // ---- attachment ----
    void Init(TkvlReport *AReport, TkvlCustomPreviewPages *APreviewPages) override;
    void UnInit(TkvlCustomPreviewPages *APreviewPages) override;
    void Lock() override;
    void Unlock() override;
    void RefreshReport() override;
    void InternalOnProgressStart(TkvlReport *AReport, TkvlProgressType Kind, int Progress) override;
    void InternalOnProgress(TkvlReport *AReport, TkvlProgressType Kind, int Progress) override;
    void InternalOnProgressStop(TkvlReport *AReport, TkvlProgressType Kind, int Progress) override;
    void ReportDestroyed(TkvlReport *AReport) override;

    // ---- navigation ----
    int PageCount();
    int PageNo() const { return FPageNo; }
    void SetPageNo(int Value) override;
    void SetActivePage(int Value);
    void First();
    void Prior();
    void Next();
    void Last();
    void SetPosition(int PageN, int Top) override;
    int GetTopPosition();

    // ---- zoom and layout ----
    double Zoom() const { return FZoom; }
    void SetZoom(double Value);
    TkvlZoomMode ZoomMode() const { return FZoomMode; }
    void SetZoomMode(TkvlZoomMode Value);
    // The page kept current while the zoom box changes the zoom; -1 = none.
    int SavedPageNo() const { return FSavedPageNo; }
    void SetSavedPageNo(int Value) { FSavedPageNo = Value; }
    void UpdatePages();
    void UpdateOutline();
    void MouseWheelScroll(int Delta, bool Horizontal, bool Zoom);
    // The key table; true when the key was used.
    bool KeyDown(QKeyEvent *Event);

    // ---- state ----
    bool Locked() const { return FLocked; }
    // The engine is preparing pages for this preview: commands that reach the store are refused.
    bool Running() const { return FRunning; }
    bool Initialized() const { return FInitialized; }
    bool AllowF3() const { return FAllowF3; }

    // ---- commands (each refused while the engine runs, except Cancel) ----
    bool Print();
    // Asks for a name through the file-dialog service and saves there as ".kp3".
    void SaveToFile();
    bool SaveToFile(const QString &FileName);
    // Asks for a name through the file-dialog service and loads it.
    void LoadFromFile();
    bool LoadFromFile(const QString &FileName);
    void LoadFromStream(TStream &Stream);
    bool Export(TkvlCustomExportFilter *Filter);
    // The current page copied into a report of its own and designed; stored back when changed.
    void Edit();
    // The template pages the prepared pages came from, lent to a report of their own and designed.
    void EditTemplate();
    // The page settings of the current page, or of every template page and a new preparation.
    void PageSetupDlg();
    // Asks for the search text in the find dialog and searches.
    void Find();
    // F3: searches again from the last match.
    void FindNext();
    // Searches from the first page (FromTop) or from the current one.
    bool FindText(const QString &Text, bool FromTop, bool CaseSensitive);
    bool FindTextFound() const { return FSearch.Found(); }
    void FindTextClear();
    void AddPage();
    void DeletePage();
    // Stops a running preparation at the next page.
    void Cancel();
    void Clear();

    // Runs a modal dialog of the preview (find, page settings) and answers its result; tests
    // drive the dialog here instead of the default exec().
    std::function<int(QDialog &)> ExecDialog;
    // Opens the designer modally on Report: a prepared page copied into it (LentPages empty), or
    // the template pages lent to it (LentPages, which stay the store's); true when the design
    // was changed. Empty while no designer is linked in: Edit and EditTemplate do nothing.
    // A new preview starts with kvlPreviewDesigner.
    std::function<bool(TkvlReport &Report, const std::vector<TkvlPage *> &LentPages)> OnDesign;

    // ---- message panel ----
    void ShowMessage(const QString &Text);
    void HideMessage();

    // ---- outline and thumbnails ----
    bool OutlineVisible() const override;
    void SetOutlineVisible(bool Value);
    bool ThumbnailVisible() const;
    void SetThumbnailVisible(bool Value);
    int OutlineWidth() const { return FOutlineWidth; }
    void SetOutlineWidth(int Value);
    TColor OutlineColor() const { return FOutlineColor; }
    void SetOutlineColor(TColor Value);

    // ---- published ----
    TColor ActiveFrameColor() const;
    void SetActiveFrameColor(TColor Value);
    TColor BackColor() const;
    void SetBackColor(TColor Value);
    TColor FrameColor() const;
    void SetFrameColor(TColor Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool EachReportInTab() const { return FEachReportInTab; }
    void SetEachReportInTab(bool Value) { FEachReportInTab = Value; }
    void SetOnMouseDown(std::function<void(QMouseEvent *)> Handler);

    std::function<void(TkvlPreview *, int PageNo)> OnPageChanged;
    std::function<void(TkvlPreview *)> OnClick, OnDblClick;
    // The host window (preview window), nullptr for a preview on a form of its own.
    TkvlPreviewHost *Host = nullptr;

    // ---- children ----
    QTreeWidget *OutlineTree() const { return FOutline; }
    QMenu *OutlinePopup() const { return FOutlinePopup; }
    TkvlPreviewSplitter *Splitter() const { return FSplitter; }
    TkvlPreviewWorkspace *Thumbnail() const { return FThumbnail; }
    TkvlPreviewWorkspace *Workspace() const { return FWorkspace; }
    QFrame *MessagePanel() const { return FMessagePanel; }
    QLabel *MessageLabel() const { return FMessageLabel; }
    TkvlPreviewTabStrip *Tabs() const { return FTabs; }
    const TkvlTextSearch &Search() const { return FSearch; }

    // Called by the workspaces.
    void DoClick();
    void DoDblClick();

    // ---- tabs: the first one is made by Init ----
    TkvlPreviewTabs &TabList() { return FTabList; }
    int CurrentTab() const { return FTabList.CurTab(); }
    // Shows the tab at Index (its strip entry selected); nothing beyond the list.
    void SetCurrentTab(int Index);
    void AddPreviewTab(TkvlReport *AReport, const QString &TabName, const QString &DetailPage, bool FreeObjects,
                       const QString &TabCaption);
    // Switches to the tab showing the report with its current pages, else adds one named after
    // TabName, the report's file name or its ReportOptions.Name.
    void AddPreviewTabOrSwitch(TkvlReport *AReport, const QString &TabName, const QString &DetailPage,
                               bool FreeObjects, const QString &TabCaption);
    bool HasTab(const TkvlReport *AReport) const { return FTabList.IndexOfReport(AReport) >= 0; }
    void SwitchToTab(const TkvlReport *AReport);
    bool HasVisibleTabs() const;
    // Closes a tab other than the first; the preview goes to the tab on its left before the
    // closed tab's objects are freed.
    void RemoveTab(int Index);
    // Closes every tab but the first; the first tab's report gets its pages back and lets go of
    // the preview.
    void ClearAllTabs();

    // ---- navigation asked by the prepared pages (objects under the mouse) ----
    bool HasTab(const QString &Name) override;
    void SwitchToTab(const QString &Name) override;
    void AddReportTab(std::unique_ptr<TkvlReport> Report, const QString &Name, const QString &Caption) override;
    void AddPagesTab(TkvlReport *Report, std::unique_ptr<TkvlCustomPreviewPages> Pages, const QString &Name,
                     const QString &DetailPage, const QString &Caption) override;
    void Invalidate() override;
    void RepaintWorkspace() override;
    void ShowReportHint(const QString &Text, QPoint At) override;
    void HideReportHint() override;
    // The report's progress message, passed to the host's status bar.
    void ShowProgressMessage(const QString &Text, bool IsHint) override;

protected:
    void resizeEvent(QResizeEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    // Commands that reach the store: false (refused) while the engine runs.
    bool commandAllowed() const { return !FRunning; }
    void pageChanged();
    void layoutChildren();
    int layoutWidth(const QWidget *Control) const;
    void onOutlineClick(QTreeWidgetItem *Item);
    void attachPages();
    void guardClose(bool On);
    int execDialog(QDialog &Dialog);
    void afterLoad();
    void refreshDetailPage(const TkvlPreviewTabItem &Tab);
    void syncTabs();
    void forgetReport(TkvlReport *AReport);

    // TkvlPreviewTabHost
    double TabZoom() const override { return FZoom; }
    TkvlZoomMode TabZoomMode() const override { return FZoomMode; }
    void SetTabZoom(double Zoom) override { SetZoom(Zoom); }
    void SetTabZoomMode(TkvlZoomMode Mode) override { SetZoomMode(Mode); }
    int TabPageNo() const override { return FPageNo; }
    int TabLeft() const override;
    int TabTop() const override;
    void ShowTabPages(TkvlReport *AReport, TkvlCustomPreviewPages *Pages, int APageNo) override;
    void SetTabScroll(int Left, int Top) override;
    void DetachTabReport(TkvlReport *AReport) override;
    void UpdateTabOutline() override { UpdateOutline(); }

    bool FAllowF3 = false;
    TBorderStyle FBorderStyle = bsSingle;
    bool FLocked = false;
    QFrame *FMessagePanel = nullptr;
    QLabel *FMessageLabel = nullptr;
    QTreeWidget *FOutline = nullptr;
    TColor FOutlineColor = clWindow;
    QMenu *FOutlinePopup = nullptr;
    int FOutlineWidth = 120;
    int FPageNo = 1;
    int FSavedPageNo = -1;
    bool FRefreshing = false;
    bool FRunning = false;
    TkvlPreviewSplitter *FSplitter = nullptr;
    TkvlPreviewWorkspace *FThumbnail = nullptr;
    qint64 FTickStart = 0; // while preparing: the tick count of the first page
    int FRefreshStep = 0;  // then the pages between page-counter refreshes
    TkvlPreviewWorkspace *FWorkspace = nullptr;
    double FZoom = 1.0;
    TkvlZoomMode FZoomMode = zmDefault;
    TkvlPreviewTabStrip *FTabs = nullptr;
    bool FInitialized = false;
    bool FCalledFromPreview = false;
    TkvlPreviewTabs FTabList{this};
    bool FEachReportInTab = false;
    QWidget *FGuardedWindow = nullptr;
    bool FCloseAfterRun = false;  // the window was asked to close while the engine ran
    TkvlTextSearch FSearch;
};

// The designer the previews' edit buttons open, set once at start-up by the designer; nullptr
// while no designer is linked in.
using TkvlPreviewDesignFunc = bool (*)(TkvlReport &Report, const std::vector<TkvlPage *> &LentPages);
extern TkvlPreviewDesignFunc kvlPreviewDesigner;
