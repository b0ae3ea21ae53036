#pragma once
// A print queue as the report library's printers see it: its papers and bins numbered as the
// report templates store them, its defaults, the printable area for a page setup, and print
// jobs (drawn pages go out as one PDF document; raw text goes out untouched).
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPainter;

namespace print {

// Numbers shared with the stored templates and print settings.
constexpr int kCustomPaper = 256;  // a size of the user's own; also every paper without a number
constexpr int kAutoBin = 7;        // the printer chooses the bin
constexpr int kFirstOtherBin = 256;
enum DuplexValue : int { DuplexSimplex = 1, DuplexVertical = 2, DuplexHorizontal = 3 };

struct NumberedName {
    int number = 0;
    QString name;
    bool operator==(const NumberedName &) const = default;
};

// What a job or a view asks of the printer.
struct PageSetup {
    int paper = 9;
    // Sheet size in millimetres, portrait; used for custom paper.
    double widthMm = 210, heightMm = 297;
    bool landscape = false;
    int bin = kAutoBin;
    int duplex = DuplexSimplex;
    int copies = 1;
};

// The device's view of a page setup, in device pixels, in the page's orientation.
struct PageMetrics {
    int dpiX = 0, dpiY = 0;
    int paperWidth = 0, paperHeight = 0;          // the whole sheet
    int printableWidth = 0, printableHeight = 0;  // inside the unprintable border
    int offsetX = 0, offsetY = 0;                 // of the printable area
};

class Printer;

// The print system the program installed at start-up (the CUPS one, platform/print/cups);
// with none installed there are no queues, so the report library offers its virtual printer.
class PrintSystem {
public:
    virtual ~PrintSystem() = default;
    virtual QStringList printerNames() = 0;
    virtual QString defaultPrinterName() = 0;
    virtual std::unique_ptr<Printer> printer(const QString &name) = 0;
};

// Installs a print system (kept by the caller); returns the one installed before.
PrintSystem *installPrintSystem(PrintSystem *system);

// The print queues known to the print system, in its order, and the default one's name
// (empty when there is none or no scheduler answers).
QStringList printerNames();
QString defaultPrinterName();
// A queue of the installed print system by name (one that is never there when no print
// system is installed).
std::unique_ptr<Printer> makePrinter(const QString &name);

// Number of a bin by its IPP/driver keyword: the kinds every platform knows keep their
// usual numbers (auto 7, top 1, bottom 2, middle 3, manual 4, ...); 0 for the others.
int knownBinNumber(const QString &keyword);

class Printer {
public:
    Printer() = default;
    virtual ~Printer() = default;
    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;

    virtual const QString &name() const = 0;
    // Reads papers, bins and defaults; false when the queue is not there.
    virtual bool open() = 0;
    virtual bool isOpen() const = 0;

    // Papers the driver lists with a number (custom-size entries left out), in its order.
    virtual const QList<NumberedName> &papers() const = 0;
    // Input slots besides the automatic one, numbered: known kinds by knownBinNumber, the
    // others from 256 upward.
    virtual const QList<NumberedName> &bins() const = 0;
    virtual const PageSetup &defaults() const = 0;

    // Resolution and printable area of the device for a page setup (the paper of the setup,
    // or the given size for custom paper); nothing when the device gives no resolution.
    virtual std::optional<PageMetrics> metrics(const PageSetup &setup) const = 0;

    // ---- jobs: one at a time ----
    // Starts a document; FileName non-empty writes the document there (a PDF) instead of
    // sending it to the queue. Pages are drawn with painter() between beginPage and endPage;
    // its origin is the corner of the printable area, its unit a device pixel.
    virtual bool beginDoc(const QString &title, const QString &fileName, const PageSetup &setup) = 0;
    // A setup change takes effect with the next page. A queue takes paper, bin and duplex per
    // job, so pages that change them are sent as a further job; with several jobs the
    // copies are made by sending the whole run again, so that they stay collated.
    virtual void setPageSetup(const PageSetup &setup) = 0;
    virtual bool beginPage() = 0;
    virtual QPainter *painter() const = 0;  // while a document is open, else null
    virtual bool endPage() = 0;
    // Finishes the document and, unless printed to a file, submits it; false on failure.
    virtual bool endDoc() = 0;
    virtual void abort() = 0;
    virtual bool printing() const = 0;
    // Last error of a job, for messages.
    virtual QString lastError() const = 0;

    // A raw document: text passed to the queue without filtering.
    virtual bool beginRawDoc(const QString &title) = 0;
    virtual bool writeRawDoc(const QByteArray &data) = 0;
    virtual bool endRawDoc() = 0;
};

} // namespace print
