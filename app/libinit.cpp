#include "app/libinit.h"

#include "designer/core/designerreg.h"
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/designerform.h"
#include "engine/print/kvlprint.h"
#include "engine/run/kvlengine.h"
#include "engine/store/previewpages.h"
#include "engine/widgets/kvlprintdialog.h"
#include "engine/widgets/kvlpreviewform.h"
#include "export/csv/csvexport.h"
#include "export/dialogs/csvexportdialog.h"
#include "export/pdf/pdfexport.h"
#include "export/dialogs/xlsxexportdialog.h"
#include "export/dialogs/pdfexportdialog.h"
#include "export/resources/exportstrings.h"
#include "export/xlsx/xlsxexport.h"
#include "export/dialogs/docxexportdialog.h"
#include "export/docx/docxexport.h"
#include "platform/print/cups/cupsprintsystem.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreportunit.h"
#include "report/resources/kvlresources.h"
#include "report/widgets/kvlwidgetwindows.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/forms/qsforms.h"
#include "script/grammar/qsgrammars.h"
#include "script/report/kvlclassrtti.h"

namespace lirracal {

void InitializeLibraries()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // In this order: report object classes (template reading and the designer's palette);
    // component and property editors, wizards; script languages and binding modules; the
    // designer window class; string tables; the text layout object, record-source list and
    // locks. The registries, the record-source list and the binding-module list make
    // themselves on first use.
    rtl::RegisterRootClasses();
    // The report classes, process-wide variables and hooks, cursors, and the script
    // engine's copies of string-table texts.
    kvlInitReportUnit();
    kvlRegisterDialogControlClasses();
    kvlRegisterDMPClasses();
    kvlRegisterBandEngine();
    kvlRegisterCSVExportClasses();
    kvlRegisterPDFExportClasses();
    kvlRegisterXLSXExportClasses();
    kvlRegisterDOCXExportClasses();
    qsRegisterStandardLanguages();
    qsRegisterClassLibModules();
    qsRegisterFormsModules();
    kvlRegisterReportModules(&TqsFormsFunctions::Create);
    kvlRegisterDesignerForm();
    kvlInitResources();
    kvlAddExportStrings();
    kvlAddDesignerStrings();
    kvlRegisterDesigner();
    kvlRegisterExportDialogs();
    kvlRegisterXLSXExportDialog();
    kvlRegisterPDFExportDialog();
    kvlRegisterDOCXExportDialog();
    // The library's windows are Qt widgets; printers are the desktop's CUPS queues.
    kvlInstallWidgetWindows();
    print::installCupsPrintSystem();
    // Reports keep their prepared pages in the store.
    kvlRegisterPreviewPagesStore();
    // The store prints through the engine's printing.
    kvlRegisterPrinting();
    kvlRegisterPrintDialog();
    // Reports show their pages in the preview window.
    kvlRegisterPreviewForm();
}

} // namespace lirracal
