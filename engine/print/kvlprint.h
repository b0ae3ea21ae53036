#pragma once
// Printing of prepared pages: page selection, copies and collation, bins, duplex and the four
// print modes (plain, each page scaled to a sheet, a large page split over several sheets,
// small pages joined on one sheet), each page drawn on the printer's canvas by the store.
#include "report/options/kvloptions.h"

class TkvlCustomPrinter;
class TkvlPreviewPages;
class TkvlReport;

// The print dialog as printing sees it: the engine's windows install theirs at start-up,
// tests a fake that answers at once.
class TkvlPrintDialogService {
public:
    virtual ~TkvlPrintDialogService() = default;
    // Shows the dialog for the report; True on OK with the chosen duplex mode in Duplex. The
    // dialog writes its other choices into the report's print options and the printer list.
    virtual bool Execute(TkvlReport *Report, TkvlDuplexMode &Duplex) = 0;
};

// Installs the dialog (kept by the caller); returns the one installed before. Without one,
// printing asks nothing.
TkvlPrintDialogService *kvlInstallPrintDialog(TkvlPrintDialogService *Dialog);

// Prints the store's pages on the current printer of the printer list, or on Printer when one
// is given (the printer list is then neither checked nor changed). False when there is no
// printer or the dialog was cancelled. The report's print options are restored afterwards;
// an exception from drawing aborts the job and passes on after OnAfterPrintReport.
bool kvlPrintPreviewPages(TkvlPreviewPages *Pages, TkvlCustomPrinter *Printer = nullptr);

// Start-up: stores print through kvlPrintPreviewPages.
void kvlRegisterPrinting();
