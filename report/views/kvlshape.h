#pragma once
// A geometric figure: rectangle, rounded rectangle, ellipse, triangle, diamond or one of
// the two diagonals, outlined in the frame's colour and filled with the view's fill.
#include "report/views/kvlview.h"

enum TkvlShapeKind : uint8_t {
    skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2
};

// The pen style a frame style draws figures with: the same ordinal, the double style solid.
TPenStyle kvlFramePenStyle(TkvlFrameStyle Style);

class TkvlShapeView : public TkvlView {
    LIRRA_CLASS(TkvlShapeView, TkvlView)
public:
    // The designer passes the palette's shape kind as Design->flags.
    explicit TkvlShapeView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    TkvlShapeKind Shape = skRectangle;
    QString Diff(TkvlComponent *Source) override;
    // Corner size of rounded rectangles in tens of pixels (0: a quarter of the shorter side).
    int32_t Curve = 0;

    // A double frame draws the figure a second time inside the first.
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;

private:
    // The figure into the device rectangle (L, T)-(R, B).
    void DrawShape(int L, int T, int R, int B, TPenStyle PenStyle);
    void DrawFigure(int L, int T, int R, int B);
    QPainterPath FigureOutline(int L, int T, int R, int B) const;
    // Corner size of a rounded rectangle of that device size.
    int Corner(int DX_, int DY_) const;
};
