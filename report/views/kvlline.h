#pragma once
// A straight line along one edge of its bounds or diagonally across them, with optional
// arrow heads.
#include "report/views/kvlstretch.h"

class TkvlCustomLineView : public TkvlStretcheable {
    LIRRA_CLASS(TkvlCustomLineView, TkvlStretcheable)
public:
    // The designer's palette flag: 0 an edge line, 1 a diagonal, 2 with an end arrow, 3 with
    // a start arrow, 4 with both.
    explicit TkvlCustomLineView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    bool Diagonal = false;
    bool ArrowStart = false;
    bool ArrowEnd = false;
    int32_t ArrowLength = 20;  // along the line, screen pixels
    int32_t ArrowWidth = 5;    // half width across the line, screen pixels
    bool ArrowSolid = false;

    // A line that is not diagonal is first made flat: vertical when not wider than tall.
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;
    // A head with its tip at (AX2, AY2), pointing away from (AX1, AY1).
    void DrawArrow(int AX1, int AY1, int AX2, int AY2);
    void DrawDiagonalLine();

private:
    void DrawArrows();
};

class TkvlLineView : public TkvlCustomLineView {
    LIRRA_CLASS(TkvlLineView, TkvlCustomLineView)
public:
    using TkvlCustomLineView::TkvlCustomLineView;
};
