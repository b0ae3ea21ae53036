#pragma once
// The designer as the report sees it. The designer window lives in the designer code, which
// stores its factory in kvlDesignerClass at start-up; the report reaches the designer only
// through that reference (nullptr: no designer). The base carries no widget.
#include "platform/rtl/reflect/component.h"

#include <QString>
#include <vector>

class QWidget;
class TkvlReport;
class TkvlPage;
class TkvlComponent;

class TkvlCustomDesigner : public TComponent {
    LIRRA_CLASS(TkvlCustomDesigner, TComponent)
public:
    // The designer for AReport; APreviewDesigner edits a prepared page instead of the template.
    TkvlCustomDesigner(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner);

    TkvlReport *Report() const { return FReport; }
    bool IsPreviewDesigner() const { return FIsPreviewDesigner; }
    QString MemoFontName;
    int MemoFontSize = 0;
    bool UseObjectFont = false;
    QWidget *ParentForm = nullptr;
    bool InspectorLock = false;
    std::vector<TkvlComponent *> Objects;          // objects of the current page
    std::vector<TkvlComponent *> SelectedObjects;  // the selection

    bool Modified() const { return FModified; }
    TkvlPage *Page() const { return FPage; }

    // Stores the flag; True also marks the report modified.
    virtual void SetModified(bool Value);
    virtual void SetPage(TkvlPage *Value) { FPage = Value; }
    virtual QString GetCode() = 0;
    virtual QString InsertExpression(const QString &Expr) = 0;
    virtual void Lock() = 0;
    virtual void ReloadPages(int Index) = 0;
    virtual void ReloadReport() = 0;
    virtual void UpdateDataTree() = 0;
    virtual void UpdatePage() = 0;
    virtual void UpdateInspector() = 0;
    virtual void DisableInspectorUpdate() = 0;
    virtual void EnableInspectorUpdate() = 0;

    // ---- the window, as the designer's own code shows it ----
    // Shows the window modally and returns when it has closed (closing hands the modified flag
    // to the report and clears its Designer).
    virtual void ShowModal() {}
    // Shows the window with a task-bar button of its own and returns at once.
    virtual void ShowModeless() {}
    virtual void SetMDIChild(bool Value) { (void)Value; }
    // The first message after creation: the start-up screen, when the settings ask for it.
    virtual void StartupMessage() {}
    // A designer placed in Panel: its ParentForm becomes the outermost form among the panel's
    // parents; after the show handler (DoShow) every control of the window moves into Panel.
    virtual void SetPanel(QWidget *Panel) { (void)Panel; }
    virtual void DoShow() {}
    virtual void MoveControlsIntoPanel() {}

private:
    TkvlReport *FReport;
    bool FIsPreviewDesigner;
    bool FModified = false;
    TkvlPage *FPage = nullptr;
};

// Creates the designer window for a report.
using TkvlDesignerClass = TkvlCustomDesigner *(*)(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner);
extern TkvlDesignerClass kvlDesignerClass;
