#include "report/printers/kvlprinters.h"

#include "platform/gfx/fontservice.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/print/printerdialog.h"
#include "report/resources/kvlresources.h"
#include "report/utils/messages.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QString resText(const char *key) { return kvlResources().Get(QString::fromLatin1(key)); }

int indexOfNumber(const TkvlPaperList &list, int Number)
{
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].number == Number)
            return int(i);
    return -1;
}

int numberOfName(const TkvlPaperList &list, const QString &Name)
{
    for (const print::NumberedName &e : list)
        if (e.name.compare(Name, Qt::CaseInsensitive) == 0)
            return e.number;
    return list.isEmpty() ? 0 : list.front().number;
}

// Pixels to whole millimetres.
double wholeMm(int pixels, int dpi) { return double(std::lround(pixels / double(dpi) * 25.4)); }

constexpr double kVirtualMargin = 5;

// A printer's canvas draws text with the installed font file itself, not a copy of its bytes:
// the print engine embeds a font it can name by its file and gives the job real, searchable
// text; a face made from bytes alone would reach the job as outlines. The glyphs, positions
// and line breaks stay those measured for the screen, as the file is checked to be the one
// measured. A face the font database does not find as that very file is drawn as before.
class PrinterPainterCanvas : public gfx::PainterCanvas {
public:
    using gfx::PainterCanvas::PainterCanvas;

protected:
    QRawFont glyphRunFont(const gfx::ScaledFont &Font) override
    {
        const QRawFont measured = Font.rawFont();
        if (!measured.isValid())
            return measured;
        const Key key{measured.familyName(), measured.styleName(), Font.em()};
        for (const auto &[k, raw] : FFonts)
            if (k == key)
                return raw;
        QRawFont raw = installedFont(measured, Font.em());
        FFonts.emplace_back(key, raw);
        return raw;
    }

private:
    struct Key {
        QString family, style;
        double em;
        bool operator==(const Key &) const = default;
    };

    static QRawFont installedFont(const QRawFont &Measured, double Em)
    {
        QFont f;
        f.setFamilies({Measured.familyName()});
        f.setStyleName(Measured.styleName());
        f.setPixelSize(std::max(1, int(std::lround(Em))));
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
        QRawFont raw = QRawFont::fromFont(f);
        if (!raw.isValid())
            return Measured;
        raw.setPixelSize(Em);
        // The header holds the file's checksum and dates: equal headers, equal files.
        for (const char *table : {"head", "cmap", "hmtx"})
            if (raw.fontTable(table) != Measured.fontTable(table))
                return Measured;
        return raw;
    }

    std::vector<std::pair<Key, QRawFont>> FFonts;
};

} // namespace

// ---- canvas ---------------------------------------------------------------------------

TkvlPrinterCanvas::TkvlPrinterCanvas(TkvlCustomPrinter *Printer) : FPrinter(Printer) {}

TkvlPrinterCanvas::~TkvlPrinterCanvas() = default;

TCanvas *TkvlPrinterCanvas::Canvas()
{
    if (!FCanvas) {
        QPainter *p = FPrinter->PagePainter();
        if (!p)
            return nullptr;
        const QPoint dpi = FPrinter->DPI();
        FCanvas = std::make_unique<PrinterPainterCanvas>(p, dpi.x(), dpi.y(), true);
    }
    Changing();
    return FCanvas.get();
}

void TkvlPrinterCanvas::Changing()
{
    const int ppi = FPrinter->DPI().y();
    if (ppi > 0 && FFont.PixelsPerInch() != ppi) {
        const int32_t size = FFont.Size();
        FFont.SetPixelsPerInch(ppi);
        FFont.SetSize(size);
    }
    if (FCanvas)
        FCanvas->setFont(FFont.Desc());
}

void TkvlPrinterCanvas::Refresh() { FCanvas.reset(); }

// ---- common printer -------------------------------------------------------------------

TkvlCustomPrinter::TkvlCustomPrinter(const QString &AName, const QString &APort)
    : FName(AName), FPort(APort), FCanvas(this)
{
    FPapers.append({kvlCustomPaper, resText("prCustom")});
    FBins.append({kvlDefaultBin, resText("prDefault")});
}

TkvlCustomPrinter::~TkvlCustomPrinter() = default;

int TkvlCustomPrinter::PaperIndex(int Number) const { return indexOfNumber(FPapers, Number); }
int TkvlCustomPrinter::BinIndex(int Number) const { return indexOfNumber(FBins, Number); }
int TkvlCustomPrinter::PaperNameToNumber(const QString &Name) const { return numberOfName(FPapers, Name); }
int TkvlCustomPrinter::BinNameToNumber(const QString &Name) const { return numberOfName(FBins, Name); }

// ---- system printer -------------------------------------------------------------------

TkvlPrinter::TkvlPrinter(const QString &AName, const QString &APort)
    : TkvlCustomPrinter(AName, APort), FDevice(print::makePrinter(AName))
{
}

TkvlPrinter::~TkvlPrinter()
{
    FCanvas.Refresh();  // the canvas draws with the device's painter
}

QPainter *TkvlPrinter::PagePainter() const { return FDevice->painter(); }

bool TkvlPrinter::UpdateDeviceCaps()
{
    const std::optional<print::PageMetrics> m = FDevice->metrics(FMode);
    if (!m || m->dpiX <= 0 || m->dpiY <= 0) {
        kvlErrorMsg(QStringLiteral("Printer selected is not valid"));
        return false;
    }
    FDPI = QPoint(m->dpiX, m->dpiY);
    FPaperWidth = wholeMm(m->paperWidth, m->dpiX);
    FPaperHeight = wholeMm(m->paperHeight, m->dpiY);
    FLeftMargin = wholeMm(m->offsetX, m->dpiX);
    FTopMargin = wholeMm(m->offsetY, m->dpiY);
    FRightMargin = FPaperWidth - wholeMm(m->printableWidth, m->dpiX) - FLeftMargin;
    FBottomMargin = FPaperHeight - wholeMm(m->printableHeight, m->dpiY) - FTopMargin;
    return true;
}

void TkvlPrinter::Init()
{
    if (FInitialized)
        return;
    if (!FDevice->open())
        return;
    const print::PageSetup &def = FDevice->defaults();
    FMode = def;
    if (!UpdateDeviceCaps())
        return;
    FDefPaper = def.paper;
    FDefBin = def.bin;
    FDefDuplex = def.duplex;
    FDefOrientation = def.landscape ? poLandscape : poPortrait;
    FPaper = FDefPaper;
    FOrientation = FDefOrientation;
    FDefPaperWidth = FPaperWidth;
    FDefPaperHeight = FPaperHeight;
    FPapers.resize(1);
    for (const print::NumberedName &p : FDevice->papers())
        if (p.number != kvlCustomPaper)
            FPapers.append(p);
    FBins.resize(1);
    for (const print::NumberedName &b : FDevice->bins())
        if (b.number != kvlDefaultBin)
            FBins.append(b);
    FBin = -1;
    FDuplex = -1;
    FInitialized = true;
}

void TkvlPrinter::SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                                TPrinterOrientation AOrientation)
{
    if (APaperSize != -1 && PaperIndex(APaperSize) == -1)
        APaperSize = kvlCustomPaper;
    FMode.landscape = AOrientation == poLandscape;
    if (APaperSize != kvlCustomPaper) {
        if (APaperSize != -1)
            FMode.paper = APaperSize;
        if (!UpdateDeviceCaps())
            return;
    } else {
        // The device is given a real paper; the page's own size is what counts.
        int real = PaperIndex(kvlA4Paper) != -1 ? kvlA4Paper : kvlCustomPaper;
        if (real == kvlCustomPaper)
            for (const print::NumberedName &p : FPapers)
                if (p.number != kvlCustomPaper) {
                    real = p.number;
                    break;
                }
        FMode.paper = real;
        if (real == kvlCustomPaper) {
            FMode.widthMm = AOrientation == poLandscape ? APaperHeight : APaperWidth;
            FMode.heightMm = AOrientation == poLandscape ? APaperWidth : APaperHeight;
        }
        if (!UpdateDeviceCaps())
            return;
        FPaperWidth = APaperWidth;
        FPaperHeight = APaperHeight;
    }
    FPaper = APaperSize;
    FOrientation = AOrientation;
}

void TkvlPrinter::SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                 TPrinterOrientation AOrientation, int ABin, int ADuplex, int ACopies)
{
    print::PageSetup mode = FMode;
    mode.landscape = AOrientation == poLandscape;
    if (PaperIndex(APaperSize) == -1)
        APaperSize = kvlCustomPaper;
    mode.paper = APaperSize;
    if (APaperSize == kvlCustomPaper) {
        // The device takes the sheet upright: in landscape its length is the page's width.
        mode.widthMm = std::nearbyint((mode.landscape ? APaperHeight : APaperWidth) * 10) / 10;
        mode.heightMm = std::nearbyint((mode.landscape ? APaperWidth : APaperHeight) * 10) / 10;
    }
    mode.copies = std::max(1, ACopies);
    mode.bin = ABin != kvlDefaultBin ? ABin : (FBin != -1 ? FBin : FDefBin);
    int duplex = ADuplex == 0 ? FDefDuplex : ADuplex + 1;  // the page's modes: none, vertical, horizontal, simplex
    if (duplex == 4)
        duplex = print::DuplexSimplex;
    if (FDuplex != -1)
        duplex = FDuplex;
    mode.duplex = duplex;
    const print::PageSetup old = FMode;
    FMode = mode;
    if (!UpdateDeviceCaps()) {
        FMode = old;
        return;
    }
    FDevice->setPageSetup(FMode);
    FCanvas.Refresh();
    FPaper = APaperSize;
    FOrientation = AOrientation;
    if (APaperSize == kvlCustomPaper) {
        FPaperWidth = APaperWidth;
        FPaperHeight = APaperHeight;
    }
}

bool TkvlPrinter::BeginDoc()
{
    const QString title = Title.isEmpty() ? QStringLiteral("Korvelle Document") : Title;
    FPrinting = FDevice->beginDoc(title, FileName, FMode);
    FCanvas.Refresh();
    return FPrinting;
}

void TkvlPrinter::BeginPage()
{
    FCanvas.Refresh();
    FDevice->beginPage();
}

void TkvlPrinter::EndPage() { FDevice->endPage(); }

void TkvlPrinter::EndDoc()
{
    FCanvas.Refresh();
    if (FDevice->printing() && !FDevice->endDoc())
        kvlErrorMsg(FDevice->lastError());
    FPrinting = false;
    FBin = -1;
    FDuplex = -1;
    FMode.bin = FDefBin;
    FMode.duplex = FDefDuplex;
}

void TkvlPrinter::Abort()
{
    FCanvas.Refresh();
    FDevice->abort();
    EndDoc();
}

bool TkvlPrinter::BeginRAWDoc()
{
    return FDevice->beginRawDoc(Title.isEmpty() ? QStringLiteral("Korvelle Document") : Title);
}

void TkvlPrinter::WriteRAWDoc(const QByteArray &Text) { FDevice->writeRawDoc(Text); }

void TkvlPrinter::EndRAWDoc() { FDevice->endRawDoc(); }

void TkvlPrinter::PropertiesDlg()
{
    print::PageSetup mode = FMode;
    if (!print::printerDialog().Execute(FName, FBins, mode))
        return;
    FBin = mode.bin;
    FDefBin = mode.bin;
    FMode.bin = mode.bin;
    if (mode.duplex != FMode.duplex) {
        FDuplex = mode.duplex;
        FMode.duplex = mode.duplex;
    }
    UpdateDeviceCaps();
}

// ---- virtual printer ------------------------------------------------------------------

TkvlVirtualPrinter::TkvlVirtualPrinter() : TkvlCustomPrinter(resText("prVirtual"), QString()) {}

void TkvlVirtualPrinter::Init()
{
    if (FInitialized)
        return;
    FDPI = QPoint(600, 600);
    FDefPaper = FPaper = kvlA4Paper;
    FDefOrientation = FOrientation = poPortrait;
    FDefPaperWidth = FPaperWidth = 210;
    FDefPaperHeight = FPaperHeight = 297;
    FPapers.resize(1);
    for (int n : kvlPaperTableNumbers())
        FPapers.append({n, QString()});
    FBin = -1;
    FDuplex = -1;
    FInitialized = true;
}

void TkvlVirtualPrinter::SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                                       TPrinterOrientation AOrientation)
{
    double w = 0, h = 0;
    if (kvlGetPaperDimensions(APaperSize, w, h)) {
        if (AOrientation == poLandscape)
            std::swap(w, h);
    } else {
        APaperSize = kvlCustomPaper;
        w = APaperWidth;
        h = APaperHeight;
    }
    FPaper = APaperSize;
    FOrientation = AOrientation;
    FPaperWidth = w;
    FPaperHeight = h;
    FLeftMargin = FTopMargin = FRightMargin = FBottomMargin = kVirtualMargin;
}

void TkvlVirtualPrinter::SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                        TPrinterOrientation AOrientation, int ABin, int, int)
{
    SetViewParams(APaperSize, APaperWidth, APaperHeight, AOrientation);
    FBin = ABin;
}

// ---- the list -------------------------------------------------------------------------

TkvlPrinters::TkvlPrinters()
{
    FillPrinters();
    if (FHasPhysicalPrinters) {
        int i = IndexOf(GetDefaultPrinter().trimmed());
        SetPrinterIndex(i < 0 ? 0 : i);
    } else {
        SetPrinterIndex(0);
    }
}

TkvlPrinters::~TkvlPrinters() = default;

TkvlCustomPrinter *TkvlPrinters::Items(int Index) const
{
    return Index >= 0 && Index < Count() ? FItems[size_t(Index)].get() : nullptr;
}

int TkvlPrinters::IndexOf(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList TkvlPrinters::Printers() const
{
    QStringList out;
    for (const auto &p : FItems)
        out.append(p->Name());
    return out;
}

void TkvlPrinters::SetPrinterIndex(int Value)
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    if (Value == -1) {
        Value = IndexOf(GetDefaultPrinter());
        if (Value == -1)  // the default queue went away: the first one serves
            Value = Count() > 0 ? 0 : -1;
    }
    if (TkvlCustomPrinter *p = Items(Value)) {
        FPrinterIndex = Value;
        p->Init();
    }
}

QString TkvlPrinters::GetDefaultPrinter() const { return print::defaultPrinterName(); }

void TkvlPrinters::FillPrinters()
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    Clear();
    QStringList names = print::printerNames();
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    for (const QString &n : names)
        FItems.push_back(std::make_unique<TkvlPrinter>(n, QString()));
    FHasPhysicalPrinters = !FItems.empty();
    if (!FHasPhysicalPrinters)
        FItems.push_back(std::make_unique<TkvlVirtualPrinter>());
}

void TkvlPrinters::Clear()
{
    std::lock_guard<std::recursive_mutex> lock(FLock);
    FItems.clear();
    FPrinterIndex = -1;
}

namespace {
std::unique_ptr<TkvlPrinters> &printersSlot()
{
    static std::unique_ptr<TkvlPrinters> slot;
    return slot;
}
} // namespace

TkvlPrinters &kvlPrinters()
{
    static std::once_flag once;
    std::call_once(once, [] {
        printersSlot() = std::make_unique<TkvlPrinters>();
        // The queues' Qt objects go before the application does.
        if (QCoreApplication::instance())
            qAddPostRoutine([] { printersSlot().reset(); });
    });
    return *printersSlot();
}
