#pragma once
// A printer that writes down what a print job does with it, and a prepared-pages store that
// writes down how each page is drawn, in one log:
//   "params 9 210x297 P bin7 dup0 x1"   SetPrintParams: paper, size as given, orientation, bin, duplex, copies
//   "BeginDoc", "EndDoc", "Abort"
//   "page[2#1 x1 -4,-5|...]"            a sheet with the pages drawn on it: page number # copy number,
//                                        scale (x and y when they differ, "ps" the memos' print scale when
//                                        not 1), offsets in millimetres, "clipL,T" the clip's corner in
//                                        device pixels when a clip is set
// The printer has 600 x 300 pixels per inch and unprintable margins of 4, 5, 6 and 7 mm (left, top,
// right, bottom) in either orientation; papers come from the paper table.
#include "engine/store/previewpages.h"
#include "platform/gfx/canvas.h"
#include "report/printers/kvlprinters.h"

#include <QPainter>
#include <QPicture>
#include <QStringList>
#include <cmath>

namespace printtest {

// The log as one text, a line an entry, for readable test failures.
inline std::string lines(const QStringList &Log) { return Log.join(u'\n').toStdString(); }

inline QString num(double V)
{
    const double r = std::nearbyint(V * 1000) / 1000;
    return QString::number(r == 0 ? 0.0 : r, 'g', 8);
}

class RecordingPrinter : public TkvlCustomPrinter {
public:
    explicit RecordingPrinter(QStringList &Log) : TkvlCustomPrinter(QStringLiteral("Registratore"), QString()), FLog(Log)
    {
        Init();
    }
    ~RecordingPrinter() override { FCanvas.Refresh(); }

    QString Sheet;  // the sheet being drawn, while a page is open
    bool Open = false;

    void Init() override
    {
        FDPI = QPoint(600, 300);
        FPapers.resize(1);
        for (int n : kvlPaperTableNumbers())
            FPapers.append({n, QStringLiteral("Carta %1").arg(n)});
        FDefPaperWidth = 210;
        FDefPaperHeight = 297;
        setSize(9, 210, 297, poPortrait);
        FLeftMargin = 4;
        FTopMargin = 5;
        FRightMargin = 6;
        FBottomMargin = 7;
        FInitialized = true;
    }
    void Abort() override
    {
        endSheet();
        FLog.append(QStringLiteral("Abort"));
    }
    bool BeginDoc() override
    {
        FLog.append(QStringLiteral("BeginDoc"));
        return true;
    }
    void BeginPage() override
    {
        FCanvas.Refresh();
        FPainter.begin(&FPicture);
        Sheet.clear();
        Open = true;
    }
    void EndPage() override { endSheet(); }
    void EndDoc() override { FLog.append(QStringLiteral("EndDoc")); }
    bool BeginRAWDoc() override { return false; }
    void EndRAWDoc() override {}
    void WriteRAWDoc(const QByteArray &) override {}
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override
    {
        setSize(APaperSize, APaperWidth, APaperHeight, AOrientation);
    }
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override
    {
        FLog.append(QStringLiteral("params %1 %2x%3 %4 bin%5 dup%6 x%7")
                        .arg(APaperSize)
                        .arg(num(APaperWidth), num(APaperHeight))
                        .arg(QChar(AOrientation == poLandscape ? u'L' : u'P'))
                        .arg(ABin)
                        .arg(ADuplex)
                        .arg(ACopies));
        setSize(APaperSize, APaperWidth, APaperHeight, AOrientation);
    }
    void PropertiesDlg() override {}
    QPainter *PagePainter() const override { return Open ? const_cast<QPainter *>(&FPainter) : nullptr; }

private:
    void setSize(int Paper, double W, double H, TPrinterOrientation O)
    {
        double w = 0, h = 0;
        if (kvlGetPaperDimensions(Paper, w, h)) {
            if (O == poLandscape)
                std::swap(w, h);
        } else {
            Paper = kvlCustomPaper;
            w = W;
            h = H;
        }
        FPaper = Paper;
        FOrientation = O;
        FPaperWidth = w;
        FPaperHeight = h;
    }
    void endSheet()
    {
        if (!Open)
            return;
        FCanvas.Refresh();
        FPainter.end();
        Open = false;
        FLog.append(QStringLiteral("page[%1]").arg(Sheet));
    }

    QStringList &FLog;
    QPicture FPicture;
    QPainter FPainter;
};

// The prepared pages, drawing as the store does and writing each drawing into the sheet.
class RecordingPages : public TkvlPreviewPages {
public:
    RecordingPages(TkvlReport *AReport, RecordingPrinter &Printer) : TkvlPreviewPages(AReport), FPrinter(Printer) {}

    void DrawPage(int Index, TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override
    {
        const QPoint dpi = FPrinter.DPI();
        const double sx = ScaleX * 96 / dpi.x(), sy = ScaleY * 96 / dpi.y();
        QString d = QStringLiteral("%1#%2 x%3").arg(Index + 1).arg(FCopyNo).arg(num(sx));
        if (num(sx) != num(sy))
            d += u'/' + num(sy);
        if (FPrintScale != 1)
            d += QStringLiteral(" ps") + num(FPrintScale);
        d += QStringLiteral(" %1,%2").arg(num(OffsetX * 25.4 / dpi.x()), num(OffsetY * 25.4 / dpi.y()));
        if (Canvas) {
            // The clip's top-left corner: the first visible column and row.
            auto first = [&](bool Column) {
                for (int v = -2; v < 400; ++v)
                    if (Canvas->rectVisible(Column ? QRect(v, -100000, 1, 200000) : QRect(-100000, v, 200000, 1)))
                        return v;
                return 400;
            };
            const int l = first(true), t = first(false);
            if (l > -2 || t > -2)
                d += QStringLiteral(" clip%1,%2").arg(l).arg(t);
        }
        if (!FPrinter.Sheet.isEmpty())
            FPrinter.Sheet += u'|';
        FPrinter.Sheet += d;
        TkvlPreviewPages::DrawPage(Index, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    }

private:
    RecordingPrinter &FPrinter;
};

} // namespace printtest
