// The report's roads into the designer: the designer window comes from kvlDesignerClass,
// gets its start-up message as a queued call and is shown modally, modelessly or in a panel.
#include "platform/rtl/reflect/classinfo.h"
#include "report/data/kvldbdataset.h"
#include "report/document/kvlreport.h"
#include "report/seams/kvldesigner.h"
#include "script/core/qsscript.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <exception>

namespace {

// The message a new designer window gets once the caller's event loop runs again; nothing
// when the window is gone by then, and nothing it raises crosses the event loop.
void postStartupMessage(TkvlCustomDesigner *Designer)
{
    auto *app = QCoreApplication::instance();
    if (!app)
        return;
    rtl::ComponentRef<TkvlCustomDesigner> ref(Designer);
    QMetaObject::invokeMethod(
        app,
        [ref]() {
            if (TkvlCustomDesigner *d = ref.get()) {
                try {
                    d->StartupMessage();
                } catch (const std::exception &) {
                } catch (...) {
                }
            }
        },
        Qt::QueuedConnection);
}

} // namespace

TkvlCustomDesigner *TkvlReport::newDesigner(bool PreviewDesigner)
{
    FScript->ClearItems(this);
    // Record sources refresh their field lists for the designer's data tree.
    for (TkvlComponent *c : GetAllObjects())
        if (auto *ds = rtl_cast<TkvlCustomDBDataSet>(c))
            ds->BeforeStartReport();
    Modified = false;
    Designer = kvlDesignerClass(nullptr, this, PreviewDesigner);
    return Designer;
}

void TkvlReport::closeModalDesigner(TkvlCustomDesigner *d)
{
    // The window frees itself when it closes; what is left of it goes here.
    rtl::ComponentRef<TkvlCustomDesigner> left(d);
    d->ShowModal();
    delete left.get();
    QCoreApplication::processEvents();
    Designer = nullptr;
}

void TkvlReport::DesignReport(bool Modal, bool MDIChild)
{
    if (Designer || !kvlDesignerClass)
        return;
    TkvlCustomDesigner *d = newDesigner(false);
    if (!d)
        return;
    if (MDIChild)
        d->SetMDIChild(true);
    postStartupMessage(d);
    if (Modal)
        closeModalDesigner(d);
    else
        d->ShowModeless();
}

void TkvlReport::DesignReportInPanel(QWidget *Panel)
{
    if (Designer || !kvlDesignerClass || !Panel)
        return;
    TkvlCustomDesigner *d = newDesigner(false);
    if (!d)
        return;
    d->SetPanel(Panel);
    postStartupMessage(d);
    d->DoShow();
    d->MoveControlsIntoPanel();
}

bool TkvlReport::DesignPreviewPage()
{
    if (Designer || !kvlDesignerClass)
        return false;
    TkvlCustomDesigner *d = newDesigner(true);
    if (!d)
        return false;
    postStartupMessage(d);
    closeModalDesigner(d);
    return Modified;
}
