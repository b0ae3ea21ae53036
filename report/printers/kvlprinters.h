#pragma once
// The printers the report library lays out and prints for: the installed queues, or the
// virtual printer when there is none, each with its papers, bins, defaults and printable
// area, and the process-wide list with the current printer.
#include "platform/gfx/tfont.h"
#include "platform/print/printdevice.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

class TCanvas;
class TkvlCustomPrinter;

enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };

using TkvlPaperList = QList<print::NumberedName>;

// Paper numbers of the printers (as stored in templates).
constexpr int kvlCustomPaper = print::kCustomPaper;
constexpr int kvlDefaultBin = print::kAutoBin;
constexpr int kvlA4Paper = 9;

// The drawing surface of a printer. Fonts keep their size in points on the device.
class TkvlPrinterCanvas {
public:
    explicit TkvlPrinterCanvas(TkvlCustomPrinter *Printer);
    ~TkvlPrinterCanvas();
    TFont *Font() { return &FFont; }
    // The canvas on the page being printed; null outside a print job.
    TCanvas *Canvas();
    // Before drawing: the font's pixels per inch become the printer's vertical resolution,
    // its size in points kept, and the canvas takes it.
    void Changing();
    // The device was set up again: the next drawing starts a new canvas.
    void Refresh();

private:
    TkvlCustomPrinter *FPrinter;
    TFont FFont;
    std::unique_ptr<TCanvas> FCanvas;
};

class TkvlCustomPrinter {
public:
    TkvlCustomPrinter(const QString &AName, const QString &APort);
    virtual ~TkvlCustomPrinter();
    TkvlCustomPrinter(const TkvlCustomPrinter &) = delete;
    TkvlCustomPrinter &operator=(const TkvlCustomPrinter &) = delete;

    const QString &Name() const { return FName; }
    const QString &Port() const { return FPort; }
    QString Title;     // print-job title
    QString FileName;  // print to this file; empty prints on the printer

    // Names with their numbers: Papers starts with "Personalizzata" (256), Bins with
    // "Default" (7).
    const TkvlPaperList &Papers() const { return FPapers; }
    const TkvlPaperList &Bins() const { return FBins; }

    QPoint DPI() const { return FDPI; }
    int DefPaper() const { return FDefPaper; }
    TPrinterOrientation DefOrientation() const { return FDefOrientation; }
    double DefPaperWidth() const { return FDefPaperWidth; }
    double DefPaperHeight() const { return FDefPaperHeight; }
    int DefBin() const { return FDefBin; }
    int DefDuplex() const { return FDefDuplex; }
    int Paper() const { return FPaper; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    double PaperWidth() const { return FPaperWidth; }  // millimetres
    double PaperHeight() const { return FPaperHeight; }
    // The unprintable border, millimetres.
    double LeftMargin() const { return FLeftMargin; }
    double TopMargin() const { return FTopMargin; }
    double RightMargin() const { return FRightMargin; }
    double BottomMargin() const { return FBottomMargin; }
    // Chosen in the printer's own dialog; -1 when not chosen.
    int Bin() const { return FBin; }
    int Duplex() const { return FDuplex; }
    TkvlPrinterCanvas *Canvas() { return &FCanvas; }
    bool Initialized() const { return FInitialized; }
    bool Printing() const { return FPrinting; }

    virtual void Init() = 0;
    virtual void Abort() = 0;
    virtual bool BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual bool BeginRAWDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void EndPage() = 0;
    virtual void EndRAWDoc() = 0;
    virtual void WriteRAWDoc(const QByteArray &Text) = 0;
    // Lengths in millimetres in the page's orientation.
    virtual void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                               TPrinterOrientation AOrientation) = 0;
    // ADuplex is the page's duplex mode (none, vertical, horizontal, simplex).
    virtual void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                TPrinterOrientation AOrientation, int ABin, int ADuplex, int ACopies) = 0;
    virtual void PropertiesDlg() = 0;
    // The page being printed, for the canvas; null outside a job.
    virtual QPainter *PagePainter() const { return nullptr; }

    // Position of the entry with that number, or -1.
    int PaperIndex(int Number) const;
    int BinIndex(int Number) const;
    // Number of the entry with that name (case-insensitive); the first entry's number when
    // none has it.
    int PaperNameToNumber(const QString &Name) const;
    int BinNameToNumber(const QString &Name) const;

protected:
    QString FName, FPort;
    TkvlPaperList FPapers, FBins;
    QPoint FDPI;
    int FDefPaper = kvlA4Paper;
    TPrinterOrientation FDefOrientation = poPortrait;
    double FDefPaperWidth = 0, FDefPaperHeight = 0;
    int FDefBin = kvlDefaultBin, FDefDuplex = print::DuplexSimplex;
    int FPaper = kvlA4Paper;
    TPrinterOrientation FOrientation = poPortrait;
    double FPaperWidth = 0, FPaperHeight = 0;
    double FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
    int FBin = -1, FDuplex = -1;
    bool FInitialized = false;
    bool FPrinting = false;
    TkvlPrinterCanvas FCanvas;
};

// A print queue of the system.
class TkvlPrinter : public TkvlCustomPrinter {
public:
    TkvlPrinter(const QString &AName, const QString &APort);
    ~TkvlPrinter() override;

    void Init() override;
    void Abort() override;
    bool BeginDoc() override;
    void BeginPage() override;
    bool BeginRAWDoc() override;
    void EndDoc() override;
    void EndPage() override;
    void EndRAWDoc() override;
    void WriteRAWDoc(const QByteArray &Text) override;
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override;
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override;
    void PropertiesDlg() override;
    QPainter *PagePainter() const override;

    // The settings the device is given (its device mode).
    const print::PageSetup &DeviceMode() const { return FMode; }

private:
    // Reads resolution, sheet and margins for the device mode; false (after the message)
    // when the device gives no resolution.
    bool UpdateDeviceCaps();

    std::unique_ptr<print::Printer> FDevice;
    print::PageSetup FMode;
};

// The printer used when none is installed.
class TkvlVirtualPrinter : public TkvlCustomPrinter {
public:
    TkvlVirtualPrinter();

    void Init() override;
    void Abort() override {}
    bool BeginDoc() override { return false; }
    void BeginPage() override {}
    bool BeginRAWDoc() override { return false; }
    void EndDoc() override {}
    void EndPage() override {}
    void EndRAWDoc() override {}
    void WriteRAWDoc(const QByteArray &) override {}
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override;
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override;
    void PropertiesDlg() override {}
};

class TkvlPrinters {
public:
    // Fills the list and selects the default printer (or the virtual one).
    TkvlPrinters();
    ~TkvlPrinters();

    int Count() const { return int(FItems.size()); }
    // Null for an index out of range.
    TkvlCustomPrinter *Items(int Index) const;
    // Case-insensitive; -1 when none.
    int IndexOf(const QString &Name) const;
    QStringList Printers() const;
    int PrinterIndex() const { return FPrinterIndex; }
    // Selects and initializes a printer; -1 selects the system's default printer.
    void SetPrinterIndex(int Value);
    TkvlCustomPrinter *GetCurrentPrinter() const { return Items(FPrinterIndex); }
    QString GetDefaultPrinter() const;
    // The installed queues, sorted by name; the virtual printer when there are none.
    void FillPrinters();
    void Clear();
    bool HasPhysicalPrinters() const { return FHasPhysicalPrinters; }

    // Held while reading or changing the printers from more than one thread.
    std::recursive_mutex &Lock() const { return FLock; }

private:
    std::vector<std::unique_ptr<TkvlCustomPrinter>> FItems;
    int FPrinterIndex = -1;
    bool FHasPhysicalPrinters = false;
    mutable std::recursive_mutex FLock;
};

// The process-wide list, made on first use and freed at shutdown.
TkvlPrinters &kvlPrinters();

// Sheet size of a table paper in millimetres, portrait; false for other numbers.
bool kvlGetPaperDimensions(int PaperSize, double &Width, double &Height);
// The paper table's numbers in order.
QList<int> kvlPaperTableNumbers();
