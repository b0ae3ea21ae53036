#include "designer/core/reporteditor.h"

#include "report/document/kvlreport.h"
#include "report/printers/kvlprinters.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"

#include <exception>

TkvlPrinterEntries kvlPrinterEntries(const QString &Printer)
{
    TkvlPrinterEntries e;
    const QString def = kvlResources().Get(QStringLiteral("prDefault"));
    e.Names << def;
    e.Captions << def;
    const QString on = kvlResources().Get(QStringLiteral("rePrnOnPort"));
    TkvlPrinters &printers = kvlPrinters();
    for (int i = 0; i < printers.Count(); ++i) {
        const TkvlCustomPrinter *p = printers.Items(i);
        e.Names << p->Name();
        e.Captions << (p->Port().isEmpty() ? p->Name() : p->Name() + u' ' + on + u' ' + p->Port());
    }
    e.Selected = int(e.Names.indexOf(Printer));
    return e;
}

void kvlChangeInheritance(TkvlReport *Report, TkvlCustomDesigner *Designer, TkvlInheritChange Change,
                          const QString &Template)
{
    if (Change == icNone)
        return;
    if (Designer)
        Designer->Lock();
    std::exception_ptr failure;
    try {
        if (Change == icDetach) {
            Report->SetParentReport(QString());
        } else if (!Template.isEmpty()) {
            Report->SetParentReport(QString());
            Report->InheritFromTemplate(Template);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    if (Designer)
        Designer->ReloadReport();
    if (failure)
        std::rethrow_exception(failure);
}
