#include "platform/print/cups/duplex_p.h"
#include "platform/print/printerdialog.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace print {

namespace {

// Qt's print dialog: the user picks duplex there; the bin stays as it was, since the
// dialog shows input slots only among the driver's advanced options.
class QtPrinterDialog final : public IPrinterDialog {
public:
    bool Execute(const QString &printerName, const QList<NumberedName> &, PageSetup &setup) override
    {
        QPrinter printer(QPrinterInfo::printerInfo(printerName), QPrinter::HighResolution);
        printer.setDuplex(qtDuplex(setup.duplex));
        printer.setCopyCount(setup.copies);
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        setup.duplex = duplexValue(printer.duplex());
        return true;
    }
};

} // namespace

IPrinterDialog &qtPrinterDialog()
{
    static QtPrinterDialog dialog;
    return dialog;
}

} // namespace print
