#pragma once
// The dot-matrix page: a report page whose paper and margins are whole character cells and
// whose print style every object inheriting its font follows.
#include "report/dmp/kvldmpgrid.h"
#include "report/pages/kvlreportpage.h"

class TkvlDMPPage : public TkvlReportPage {
    LIRRA_CLASS(TkvlDMPPage, TkvlReportPage)
public:
    explicit TkvlDMPPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    TkvlDMPFontStyles FontStyle() const { return FFontStyle; }
    // Also passes the style on to every object that inherits its font.
    void SetFontStyle(TkvlDMPFontStyles Value);
    // The page font becomes the fixed dot-matrix font in the page's style; font changes
    // no longer reach the children by themselves.
    void ResetFontOptions();

    // The report-page defaults, then margins of one cell and the sheet cut to whole cells
    // (the paper number stays).
    void SetDefaults();
    // The report-page operation, then the sheet rounded to whole cells. While the page is
    // being read, the paper number keeps the width and height already read.
    void SetPaperSize(int32_t Value) override;
    void SetPaperWidth(double Value) override;
    void SetPaperHeight(double Value) override;

    bool GetCellSize(double &CellWidth, double &CellHeight) const override;

private:
    TkvlDMPFontStyles FFontStyle = 0;
};
