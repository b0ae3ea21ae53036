#pragma once
// The report designer's main window: control bars for the tool bars at the top and bottom,
// a place for the object palette at the left, four dock sites for the tool windows, the page
// tabs, the page in a scroll box with two rulers, the script editor on the code tab, and a
// status bar. The designer's state lives in TkvlDesignerCore; this window is its view.
//
// Hosting points for the other parts of the designer:
//  - tool bars go into ControlBar("DockTop") / ControlBar("DockBottom"), the palette into
//    PaletteHost(); they follow the window through the signals below;
//  - tool windows (inspector, trees, watch list) come in through AddToolWindow and refresh
//    through the hooks of ToolWindowHooks;
//  - saving goes through Core()->SaveFileHook when it is set.
#include "designer/core/designercore.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QComboBox;
class QEventLoop;
class QLabel;
class QStatusBar;
class QTabBar;
class TkvlControlBar;
class TkvlDesignerWorkspace;
class TkvlDockForm;
class TkvlDockSite;
class TkvlRuler;
class TkvlScrollBox;
class TkvlSyntaxMemo;

// What the tool windows do when the designer asks; each may stay empty.
struct TkvlToolWindowHooks {
    std::function<void()> UpdateInspector, InspectorSelectionChanged, CommitInspector;
    std::function<void(bool Enabled)> InspectorUpdating;
    std::function<void()> UpdateDataTree, DataTreeSelectionChanged;
    std::function<void()> UpdateReportTree, ReportTreeSelectionChanged;
};

class TkvlDesignerForm : public QWidget, public TkvlDesignerView {
    Q_OBJECT
public:
    // The window of Core (which frees it).
    explicit TkvlDesignerForm(TkvlDesignerCore *Core);
    ~TkvlDesignerForm() override;

    TkvlDesignerCore *Core() const { return FCore; }

    // ---- hosting points ----
    // "DockTop" or "DockBottom"; nullptr for any other name.
    TkvlControlBar *ControlBar(const QString &Name) const;
    QWidget *PaletteHost() const { return FPaletteHost; }
    // "LeftDockSite1", "LeftDockSite2", "RightDockSite" or "CodeDockSite".
    TkvlDockSite *DockSite(const QString &Name) const;
    // A tool window of this designer: docked into Site, or floating without one. Its
    // position is stored and restored with the window's.
    void AddToolWindow(TkvlDockForm *Form, TkvlDockSite *Site = nullptr);
    TkvlToolWindowHooks ToolWindows;

    // ---- parts ----
    TkvlSyntaxMemo *CodeWindow() const { return FCodeWindow; }
    TkvlDesignerWorkspace *WorkspaceControl() const { return FWorkspace; }
    TkvlScrollBox *ScrollBox() const { return FScrollBox; }
    TkvlRuler *TopRuler() const { return FTopRuler; }
    TkvlRuler *LeftRuler() const { return FLeftRuler; }
    QTabBar *Tabs() const { return FTabs; }
    QComboBox *LanguageList() const { return FLangCB; }
    QStatusBar *StatusBar() const { return FStatusBar; }
    QLabel *StatusPanel(int Index) const;
    QString ScaleText() const { return FScaleText; }

    // ---- the view ----
    TkvlWorkspace &Workspace() override;
    void SetTabs(const QStringList &Captions) override;
    void SetTabIndex(int Index) override;
    void ShowCodePanel(bool Code) override;
    QStringList CodeLines() const override;
    void SetCodeLines(const QStringList &Lines) override;
    void SetLanguage(const QString &Language) override;
    QPoint ScrollPosition() const override;
    void SetScrollPosition(QPoint Value) override;
    void PlaceWorkspace(TkvlDialogPage *Dialog) override;
    void DetachDialogForm() override;
    void SetWorkspaceOrigin(QPoint Value) override;
    void PageDimensionsChanged() override;
    void SetWorkspaceColor(TColor Value) override;
    void FocusCode() override;
    void FocusPage() override;
    void ShowUnits(TkvlDesignerUnits Units) override;
    void ShowScale(double Scale) override;
    void SetCaption(const QString &Caption) override;
    void SetSaveEnabled(bool Value) override;
    void UpdateControls() override;
    void UpdateInspector() override;
    void InspectorSelectionChanged() override;
    void CommitInspector() override;
    void DisableInspectorUpdate() override;
    void EnableInspectorUpdate() override;
    void UpdateDataTree() override;
    void DataTreeSelectionChanged() override;
    void UpdateReportTree() override;
    void ReportTreeSelectionChanged() override;
    int AskSave(const QString &Text) override;
    QObject *WindowObject() override { return this; }
    void ShowModal() override;
    void ShowModeless() override;
    void SetMDIChild(bool Value) override;
    void SetPanel(QWidget *Panel) override;
    void DoShow() override;
    void MoveControlsIntoPanel() override;

Q_SIGNALS:
    // The tool bars and palette follow the page, the selection and the modified flag.
    void controlsUpdate();
    void saveEnabledChanged(bool Enabled);
    void scaleChanged(const QString &Text);

protected:
    void showEvent(QShowEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;

private:
    void build();
    void firstShow();
    void saveSettings();
    void restoreSettings();
    void storeSettings(bool Save);
    void placeRulers();
    void tabChanged(int Index);

    TkvlDesignerCore *FCore;
    TkvlControlBar *FDockTop = nullptr, *FDockBottom = nullptr;
    QWidget *FPaletteHost = nullptr;
    TkvlDockSite *FLeftDockSite1 = nullptr, *FLeftDockSite2 = nullptr, *FRightDockSite = nullptr,
                 *FCodeDockSite = nullptr;
    QWidget *FScrollBoxPanel = nullptr, *FCodePanel = nullptr;
    TkvlScrollBox *FScrollBox = nullptr;
    TkvlRuler *FTopRuler = nullptr, *FLeftRuler = nullptr;
    TkvlDesignerWorkspace *FWorkspace = nullptr;
    TkvlSyntaxMemo *FCodeWindow = nullptr;
    QComboBox *FLangCB = nullptr;
    QTabBar *FTabs = nullptr;
    QStatusBar *FStatusBar = nullptr;
    QLabel *FStatus[3] = {};
    QString FScaleText;
    bool FUpdatingTabs = false;
    bool FShown = false;
    bool FClosed = false;
    QPointer<QWidget> FDialogForm;
    Qt::WindowFlags FDialogFlags;
    QPointer<QWidget> FPanel;
    QEventLoop *FLoop = nullptr;
    std::vector<QPointer<TkvlDockForm>> FToolWindows;
};

// Creates the designer (its core with this window) for a report.
TkvlCustomDesigner *kvlCreateDesignerForm(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner);
// Start-up: the report opens this designer, and the preview's edit buttons a preview designer.
void kvlRegisterDesignerForm();
// Designs a prepared page copied into Report (LentPages empty), or copies of the lent template
// pages; true when the user kept changes, which then go back into the lent pages.
bool kvlDesignPreview(TkvlReport &Report, const std::vector<TkvlPage *> &LentPages);
