#include "designer/core/pageeditor.h"

#include "platform/rtl/exceptions.h"
#include "report/bands/kvlsubreport.h"
#include "report/pages/kvlreportpage.h"
#include "report/utils/numbers.h"

#include <cmath>

namespace {

constexpr double kPixelsPerMm = 96 / 25.4;
constexpr double kCharWidth = 9.6, kCharHeight = 17;

void applyTo(const TkvlPageSetup &S, TkvlReportPage *P)
{
    P->SetOrientation(S.Orientation);
    P->SetSizeAndDimensions(S.Paper, S.Width, S.Height);
    P->LeftMargin = S.LeftMargin;
    P->RightMargin = S.RightMargin;
    P->TopMargin = S.TopMargin;
    P->BottomMargin = S.BottomMargin;
    P->Bin = S.Bin;
    P->BinOtherPages = S.BinOtherPages;
    P->SetColumns(S.Columns);
    P->ColumnWidth = S.ColumnWidth;
    TStringList &positions = P->ColumnPositions();
    positions.Clear();
    for (double mm : S.ColumnPositions)
        positions.Add(kvlFloatToStr(mm));
    P->PrintOnPreviousPage = S.PrintOnPreviousPage;
    P->MirrorMargins = S.MirrorMargins;
    P->EndlessWidth = S.EndlessWidth;
    P->EndlessHeight = S.EndlessHeight;
    P->LargeDesignHeight = S.LargeDesignHeight;
    P->Duplex = TkvlDuplexMode(S.Duplex);
}

} // namespace

double kvlMmToUnits(TkvlRulerUnits Units, double Mm, bool X)
{
    switch (Units) {
    case ruInches: return Mm / 25.4;
    case ruPixels: return Mm * kPixelsPerMm;
    case ruChars: return std::nearbyint(Mm * kPixelsPerMm / (X ? kCharWidth : kCharHeight));
    case ruCM: break;
    }
    return Mm / 10;
}

double kvlUnitsTomm(TkvlRulerUnits Units, double Value, bool X)
{
    switch (Units) {
    case ruInches: return Value * 25.4;
    case ruPixels: return Value / kPixelsPerMm;
    case ruChars: return std::nearbyint(Value) * (X ? kCharWidth : kCharHeight) / kPixelsPerMm;
    case ruCM: break;
    }
    return Value * 10;
}

QString kvlUnitKey(TkvlRulerUnits Units)
{
    switch (Units) {
    case ruInches: return QStringLiteral("uInch");
    case ruPixels: return QStringLiteral("uPix");
    case ruChars: return QStringLiteral("uChar");
    case ruCM: break;
    }
    return QStringLiteral("uCm");
}

TkvlColumnLayout kvlColumnLayout(double PageWidth, double LeftMargin, double RightMargin, int Count)
{
    const int n = Count > 0 ? Count : 1;
    TkvlColumnLayout l;
    l.Width = (PageWidth - LeftMargin - RightMargin) / n;
    l.Positions.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        l.Positions.push_back(i * l.Width);
    return l;
}

TkvlPageSetup kvlPageSetupOf(TkvlReportPage *P)
{
    TkvlPageSetup s;
    s.Orientation = P->Orientation();
    s.Paper = P->PaperSize();
    s.Width = P->PaperWidth();
    s.Height = P->PaperHeight();
    s.LeftMargin = P->LeftMargin;
    s.TopMargin = P->TopMargin;
    s.RightMargin = P->RightMargin;
    s.BottomMargin = P->BottomMargin;
    s.Bin = P->Bin;
    s.BinOtherPages = P->BinOtherPages;
    s.Columns = P->Columns();
    s.ColumnWidth = P->ColumnWidth;
    for (int i = 0; i < P->ColumnPositions().Count(); ++i) {
        // A stored position that does not read is left out rather than shown as 0.
        try {
            s.ColumnPositions.push_back(kvlStrToFloat(P->ColumnPositions()[i]));
        } catch (const Exception &) {
        }
    }
    s.PrintOnPreviousPage = P->PrintOnPreviousPage;
    s.MirrorMargins = P->MirrorMargins;
    s.EndlessWidth = P->EndlessWidth;
    s.EndlessHeight = P->EndlessHeight;
    s.LargeDesignHeight = P->LargeDesignHeight;
    s.Duplex = int(P->Duplex);
    return s;
}

void kvlApplyPageSetup(const TkvlPageSetup &Setup, TkvlReportPage *Page)
{
    applyTo(Setup, Page);
    for (TkvlComponent *c : Page->GetAllObjects())
        if (auto *sub = rtl_cast<TkvlSubreport>(c); sub && sub->Page())
            applyTo(Setup, sub->Page());
}
