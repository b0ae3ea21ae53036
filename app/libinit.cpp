#include "app/libinit.h"

#include "export/csv/csvexport.h"
#include "export/dialogs/csvexportdialog.h"
#include "export/resources/exportstrings.h"
#include "platform/print/cups/cupsprintsystem.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/bands/kvlband.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"
#include "report/views/kvlviews.h"
#include "report/widgets/kvlwidgetwindows.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/grammar/qsgrammars.h"

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
    kvlRegisterObjectTreeClasses();
    kvlRegisterViewClasses();
    kvlRegisterMemoClasses();
    kvlRegisterBandClasses();
    kvlRegisterPageClasses();
    kvlRegisterDataSetClasses();
    kvlRegisterDialogControlClasses();
    kvlRegisterVariableClasses();
    kvlRegisterStyleClasses();
    kvlRegisterCSVExportClasses();
    qsRegisterStandardLanguages();
    qsRegisterClassLibModules();
    kvlInitResources();
    kvlAddExportStrings();
    kvlRegisterExportDialogs();
    // The library's windows are Qt widgets; printers are the desktop's CUPS queues.
    kvlInstallWidgetWindows();
    print::installCupsPrintSystem();
}

} // namespace lirracal
