#pragma once
// The printer's own settings dialog, injectable so that tests answer it at once.
#include "platform/print/printdevice.h"

namespace print {

class IPrinterDialog {
public:
    virtual ~IPrinterDialog() = default;
    // Shows the settings of the named printer for a page setup; on OK answers true with
    // the chosen bin (one of bins, or kAutoBin) and duplex in setup.
    virtual bool Execute(const QString &printerName, const QList<NumberedName> &bins, PageSetup &setup) = 0;
};

// The installed dialog (the print system's, platform/print/cups, once installed; before that
// one that shows nothing and answers false). install() returns what was there before (null
// for none); the caller keeps ownership.
IPrinterDialog &printerDialog();
IPrinterDialog *install(IPrinterDialog *dialog);

} // namespace print
