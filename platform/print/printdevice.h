#pragma once
// A CUPS queue as the report library's printers see it: its papers and bins numbered as the
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

// The print queues known to the print system, in its order, and the default one's name
// (empty when there is none or no scheduler answers).
QStringList printerNames();
QString defaultPrinterName();

// Number of a bin by its IPP/driver keyword: the kinds every platform knows keep their
// usual numbers (auto 7, top 1, bottom 2, middle 3, manual 4, ...); 0 for the others.
int knownBinNumber(const QString &keyword);

class Printer {
public:
    explicit Printer(const QString &name);
    ~Printer();
    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;

    const QString &name() const;
    // Reads papers, bins and defaults; false when the queue is not there.
    bool open();
    bool isOpen() const;

    // Papers the driver lists with a number (custom-size entries left out), in its order.
    const QList<NumberedName> &papers() const;
    // Input slots besides the automatic one, numbered: known kinds by knownBinNumber, the
    // others from 256 upward.
    const QList<NumberedName> &bins() const;
    const PageSetup &defaults() const;

    // Resolution and printable area of the device for a page setup (the paper of the setup,
    // or the given size for custom paper); nothing when the device gives no resolution.
    std::optional<PageMetrics> metrics(const PageSetup &setup) const;

    // ---- jobs: one at a time ----
    // Starts a document; FileName non-empty writes the document there (a PDF) instead of
    // sending it to the queue. Pages are drawn with painter() between beginPage and endPage;
    // its origin is the corner of the printable area, its unit a device pixel.
    bool beginDoc(const QString &title, const QString &fileName, const PageSetup &setup);
    // A setup change takes effect with the next page. The queue takes one bin, duplex and
    // copy count for the whole job: those of the first page.
    void setPageSetup(const PageSetup &setup);
    bool beginPage();
    QPainter *painter() const;  // while a document is open, else null
    bool endPage();
    // Finishes the document and, unless printed to a file, submits it; false on failure.
    bool endDoc();
    void abort();
    bool printing() const;
    // Last error of a job, for messages.
    QString lastError() const;

    // A raw document: text passed to the queue without filtering.
    bool beginRawDoc(const QString &title);
    bool writeRawDoc(const QByteArray &data);
    bool endRawDoc();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace print
