#pragma once
// The designer as a model: the report it edits, the page shown, measuring units and zoom,
// the modification chain that feeds undo, opening and closing. It has no widget: it reaches
// its window through TkvlDesignerView, which the designer window implements and tests fake.
#include "designer/core/workspaceunits.h"
#include "designer/core/settings.h"
#include "designer/core/workspace.h"
#include "report/seams/kvldesigner.h"

#include <QPoint>
#include <QPointF>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class TkvlDialogPage;
class TkvlPictureCache;
class TkvlUndoBuffer;


// Which part of the designer reported a change or a new selection.
enum class TkvlChangeSource : uint8_t { None, Window, Workspace, Inspector, ReportTree, DataTree };

// What the designer asks of its window. Everything but the workspace, the tabs, the code and
// the scroll position has a default that does nothing, so a window (or a test) implements
// only what it shows.
class TkvlDesignerView {
public:
    virtual ~TkvlDesignerView() = default;

    // The page workspace the window shows (its model).
    virtual TkvlWorkspace &Workspace() = 0;
    // Page tabs: the captions (code tab first) and the current one.
    virtual void SetTabs(const QStringList &Captions) = 0;
    virtual void SetTabIndex(int Index) = 0;
    // The code panel (true) or the page in the scroll box (false) is shown.
    virtual void ShowCodePanel(bool Code) = 0;
    // The script editor's lines and the script language (language list and syntax).
    virtual QStringList CodeLines() const = 0;
    virtual void SetCodeLines(const QStringList &Lines) = 0;
    virtual void SetLanguage(const QString &Language) = 0;
    // Scroll position of the scroll box.
    virtual QPoint ScrollPosition() const = 0;
    virtual void SetScrollPosition(QPoint Value) = 0;

    // The workspace goes into the scroll box (Dialog nullptr) or fills the dialog page's form.
    virtual void PlaceWorkspace(TkvlDialogPage *Dialog) { (void)Dialog; }
    // A dialog page's form shown for editing goes back to its page.
    virtual void DetachDialogForm() {}
    virtual void SetWorkspaceOrigin(QPoint Value) { (void)Value; }
    // The page's size or margins changed (rulers follow).
    virtual void PageDimensionsChanged() {}
    virtual void SetWorkspaceColor(TColor Value) { (void)Value; }
    virtual void FocusCode() {}
    // The scroll box takes the focus when the window is visible.
    virtual void FocusPage() {}
    virtual void SetAutoScroll(bool Value) { (void)Value; }
    // Status panel 0 and the rulers follow the unit; rulers and zoom list follow the scale.
    virtual void ShowUnits(TkvlDesignerUnits Units) { (void)Units; }
    virtual void ShowScale(double Scale) { (void)Scale; }
    virtual void SetCaption(const QString &Caption) { (void)Caption; }
    virtual void SetSaveEnabled(bool Value) { (void)Value; }
    // Tool bars, palette and commands follow the page and the selection.
    virtual void UpdateControls() {}

    // Tool windows: refresh, show the selection, stop and resume repainting.
    virtual void UpdateInspector() {}
    virtual void InspectorSelectionChanged() {}
    virtual void CommitInspector() {}
    virtual void DisableInspectorUpdate() {}
    virtual void EnableInspectorUpdate() {}
    virtual void UpdateDataTree() {}
    virtual void DataTreeSelectionChanged() {}
    virtual void UpdateReportTree() {}
    virtual void ReportTreeSelectionChanged() {}

    // The save question; IDYES, IDNO or IDCANCEL.
    virtual int AskSave(const QString &Text) = 0;
    // The window as an object for the settings component's events.
    virtual QObject *WindowObject() { return nullptr; }

    // The window's own life.
    virtual void ShowModal() {}
    virtual void ShowModeless() {}
    virtual void SetMDIChild(bool Value) { (void)Value; }
    virtual void SetPanel(QWidget *Panel) { (void)Panel; }
    virtual void DoShow() {}
    virtual void MoveControlsIntoPanel() {}
};

class TkvlDesignerCore : public TkvlCustomDesigner {
    LIRRA_CLASS(TkvlDesignerCore, TkvlCustomDesigner)
public:
    TkvlDesignerCore(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner);
    ~TkvlDesignerCore() override;

    // The window; Owned: the designer frees it.
    void SetView(TkvlDesignerView *View, bool Owned);
    TkvlDesignerView *View() const { return FView; }

    // Made ready for editing (the window's first show), and taken down again (its close).
    void Init();
    void Done();
    bool Initialized() const { return FInitialized; }

    // ---- the seam ----
    void SetModified(bool Value) override;
    void SetPage(TkvlPage *Value) override;
    QString GetCode() override;
    // The expression editor is not part of this window yet: nothing is inserted.
    QString InsertExpression(const QString &Expr) override;
    void Lock() override;
    void ReloadPages(int Index) override;
    void ReloadReport() override;
    void UpdateDataTree() override;
    void UpdatePage() override;
    void UpdateInspector() override;
    void DisableInspectorUpdate() override;
    void EnableInspectorUpdate() override;
    void ShowModal() override;
    void ShowModeless() override;
    void SetMDIChild(bool Value) override;
    void StartupMessage() override;
    void SetPanel(QWidget *Panel) override;
    void DoShow() override;
    void MoveControlsIntoPanel() override;

    // Every reload, Lock included, bumps it: a view that cached object pointers drops them.
    uint64_t Generation() const { return FGeneration; }

    // ---- events of the workspace, inspector and trees ----
    void OnModify(TkvlChangeSource Sender);
    void OnSelectionChanged(TkvlChangeSource Sender);

    // ---- units and zoom ----
    TkvlDesignerUnits Units() const { return FUnits; }
    // The unit the user chose for report pages.
    TkvlDesignerUnits UserUnits() const { return FOldUnits; }
    // The user's choice; it is kept for report pages while other pages force their own.
    void SetUnits(TkvlDesignerUnits Value);
    double Scale() const { return FScale; }
    void SetScale(double Value);
    double mmToUnits(double mm, bool X = true) const;
    double UnitsTomm(double Value, bool X = true) const;
    // Size in pixels of an object inserted by a click.
    QPointF GetDefaultObjectSize() const;
    void UpdatePageDimensions();
    static QString UnitsKey(TkvlDesignerUnits Units);
    static QString ScaleText(double Scale);

    // ---- commands ----
    bool CheckOp(TkvlDesignerRestriction Op) const;
    void SetReportDefaults();
    void SwitchToCodeWindow() { SetPage(nullptr); }
    // Saves the report; false when nothing was written. SaveFileHook, when set, does it.
    bool SaveFile(bool SaveAs, bool UseOnSaveEvent);
    std::function<bool(bool SaveAs, bool UseOnSaveEvent)> SaveFileHook;
    // "Untitled." and the extension without a file name, else the file's name.
    QString GetReportName() const;
    void UpdateCaption();

    // ---- closing ----
    // Whether the window may close; may ask the save question.
    bool CloseQuery();
    // The window closed: settings go, the report takes the modified flag and forgets its
    // designer.
    void FormClose();

    // ---- state ----
    int TabIndex() const { return FTabIndex; }
    // The saved scroll position text of a tab ("x:y", empty when none).
    QString PagePosition(int Tab) const;
    TkvlObjectLists &Lists() { return FLists; }
    TkvlUndoBuffer *UndoBuffer() const { return FUndoBuffer.get(); }
    TkvlPictureCache *PictureCache() const { return FPictureCache.get(); }
    QStringList &RecentFiles() { return FRecentFiles; }
    TkvlChangeSource ModifiedBy() const { return FModifiedBy; }
    QString TemplatePath, TemplateExt;
    TColor WorkspaceColor = 0xFFFFFF;
    double GridSize1 = 0.1, GridSize2 = 0.1, GridSize3 = 4, GridSize4 = 4;
    bool ShowStartup = true;
    bool ScriptRunning = false;

private:
    void applyUnits(TkvlDesignerUnits Value);
    void reloadObjects();
    int pageIndex(const TkvlPage *Page) const;
    std::vector<TkvlPage *> pages() const;
    void storeScrollPosition();
    void restoreScrollPosition();
    // The seam's lists and the workspace's lists follow the sender's.
    void syncLists(TkvlChangeSource Sender);
    TkvlWorkspace &ws() { return FView->Workspace(); }

    TkvlDesignerView *FView = nullptr;
    bool FOwnsView = false;
    bool FInitialized = false;
    TkvlObjectLists FLists;
    TkvlDesignerUnits FUnits = duCM, FOldUnits = duCM;
    double FScale = 1;
    int FTabIndex = -1;
    QStringList FPagePositions;
    QStringList FRecentFiles;
    TkvlChangeSource FModifiedBy = TkvlChangeSource::None;
    bool FLockSelectionChanged = false;
    uint64_t FGeneration = 0;
    std::unique_ptr<TkvlPictureCache> FPictureCache;
    std::unique_ptr<TkvlUndoBuffer> FUndoBuffer;
    std::unique_ptr<TkvlPreviewDesignerSettings> FPreviewSettings;
};
