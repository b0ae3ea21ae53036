#pragma once
// Rules of the report options dialog, free of widgets: the printer entries and the change of
// a report's base report around the designer's lock and reload.
#include <QString>
#include <QStringList>
#include <functional>

class TkvlCustomDesigner;
class TkvlReport;

// "Default" followed by the installed printers; the entry of Printer, -1 when not listed.
struct TkvlPrinterEntries {
    QStringList Names;
    QStringList Captions;  // a printer with a port reads "name on port"
    int Selected = -1;
};
TkvlPrinterEntries kvlPrinterEntries(const QString &Printer);

// The templates the designer offers: its folder and how it lists the template files there.
struct TkvlTemplateFolder {
    QString Path;
    std::function<QStringList(const QString &Path)> List;  // full paths
};

enum TkvlInheritChange { icNone, icDetach, icInherit };
// Detaches Report from its base report, or makes it inherit from Template (detached first);
// with no template nothing changes. The designer is locked before and reloads the report
// after, also when the change fails (the failure is raised after the reload).
void kvlChangeInheritance(TkvlReport *Report, TkvlCustomDesigner *Designer, TkvlInheritChange Change,
                          const QString &Template);
