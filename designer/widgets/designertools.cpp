#include "designer/widgets/designertools.h"

#include "designer/core/designercore.h"
#include "designer/widgets/datatree.h"
#include "designer/widgets/designerform.h"
#include "designer/widgets/inspector.h"
#include "designer/widgets/reporttree.h"

#include <QPointer>

void kvlAttachToolWindows(TkvlDesignerForm *Form)
{
    TkvlDesignerCore *core = Form->Core();
    TkvlToolWindowHooks &hooks = Form->ToolWindows;

    QPointer<TkvlObjectInspector> inspector = new TkvlObjectInspector(core, Form);
    inspector->OnModify = [core] { core->OnModify(TkvlChangeSource::Inspector); };
    inspector->OnSelectionChanged = [core] { core->OnSelectionChanged(TkvlChangeSource::Inspector); };
    Form->AddToolWindow(inspector, Form->DockSite(QStringLiteral("RightDockSite")));
    // The page's objects and the selection are the designer's; the inspector shows them again
    // whenever either changes.
    const auto show = [inspector, core] {
        if (!inspector)
            return;
        inspector->SetObjects(core->Objects);
        inspector->SetSelectedObjects(&core->SelectedObjects);
    };
    hooks.UpdateInspector = [inspector, show] {
        show();
        if (inspector)
            inspector->UpdateProperties();
    };
    hooks.InspectorSelectionChanged = show;
    hooks.CommitInspector = [inspector] {
        if (inspector)
            inspector->SetItemIndex(inspector->ItemIndex());
    };
    hooks.InspectorUpdating = [inspector](bool Enabled) {
        if (!inspector)
            return;
        if (Enabled)
            inspector->EnableUpdate();
        else
            inspector->DisableUpdate();
    };

    QPointer<TkvlDataTreeForm> dataTree = new TkvlDataTreeForm(Form, core->Report());
    Form->AddToolWindow(dataTree, Form->DockSite(QStringLiteral("LeftDockSite1")));
    hooks.UpdateDataTree = [dataTree] {
        if (dataTree)
            dataTree->UpdateItems();
    };

    QPointer<TkvlReportTreeForm> reportTree = new TkvlReportTreeForm(Form, core);
    reportTree->OnSelectionChanged = [core](QObject *) { core->OnSelectionChanged(TkvlChangeSource::ReportTree); };
    Form->AddToolWindow(reportTree, Form->DockSite(QStringLiteral("LeftDockSite2")));
    hooks.UpdateReportTree = [reportTree] {
        if (reportTree)
            reportTree->UpdateItems();
    };
    hooks.ReportTreeSelectionChanged = [reportTree] {
        if (reportTree)
            reportTree->UpdateSelection();
    };
}
