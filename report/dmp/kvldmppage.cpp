#include "report/dmp/kvldmppage.h"

#include "platform/rtl/reflect/classbuilder.h"

#include <cmath>

LIRRA_DEFINE_CLASS(TkvlDMPPage)

void TkvlDMPPage::DeclareClass(rtl::ClassBuilder<TkvlDMPPage> &b)
{
    using T = TkvlDMPPage;
    b.prop<&T::FontStyle, &T::SetFontStyle>("FontStyle", kvltypes::DMPFontStyles()).stored(true);
}

TkvlDMPPage::TkvlDMPPage(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlReportPage(AOwner, Design)
{
    ResetFontOptions();
}

void TkvlDMPPage::ResetFontOptions()
{
    Font()->OnChange = nullptr;
    kvlSetDMPFont(*Font(), FFontStyle);
}

void TkvlDMPPage::SetFontStyle(TkvlDMPFontStyles Value)
{
    FFontStyle = Value;
    ResetFontOptions();
    for (TkvlComponent *c : GetAllObjects())
        if (c->ParentFont())
            c->SetParentFont(true);
}

namespace {

// Millimetres to whole cells and back.
double cellsRound(double Mm, double Cell) { return kvlSnapRound(Mm * kvlPixelsPerMm, Cell) / kvlPixelsPerMm; }
double cellsTrunc(double Mm, double Cell) { return kvlSnapTrunc(Mm * kvlPixelsPerMm, Cell) / kvlPixelsPerMm; }

} // namespace

void TkvlDMPPage::SetDefaults()
{
    TkvlReportPage::SetDefaults();
    LeftMargin = RightMargin = kvlCharX / kvlPixelsPerMm;
    TopMargin = BottomMargin = kvlCharY / kvlPixelsPerMm;
    SetSheetDirect(cellsTrunc(PaperWidth(), kvlCharX), cellsTrunc(PaperHeight(), kvlCharY));
}

void TkvlDMPPage::SetPaperSize(int32_t Value)
{
    if (GetIsLoading()) {
        // The width and height were read before the number: a table size would bring back
        // the cells that SetDefaults cut.
        const double w = PaperWidth(), h = PaperHeight();
        TkvlReportPage::SetPaperSize(Value);
        SetSheetDirect(w, h);
        return;
    }
    TkvlReportPage::SetPaperSize(Value);
    SetSheetDirect(cellsRound(PaperWidth(), kvlCharX), cellsRound(PaperHeight(), kvlCharY));
}

void TkvlDMPPage::SetPaperWidth(double Value)
{
    TkvlReportPage::SetPaperWidth(Value);
    SetSheetDirect(cellsRound(PaperWidth(), kvlCharX), PaperHeight());
}

void TkvlDMPPage::SetPaperHeight(double Value)
{
    TkvlReportPage::SetPaperHeight(Value);
    SetSheetDirect(PaperWidth(), cellsRound(PaperHeight(), kvlCharY));
}

bool TkvlDMPPage::GetCellSize(double &CellWidth, double &CellHeight) const
{
    CellWidth = kvlCharX;
    CellHeight = kvlCharY;
    return true;
}
