#pragma once
// Background fills of views and bands: a brush, a gradient or a glass effect.
#include "platform/gfx/canvas.h"
#include "platform/rtl/reflect/persistent.h"

#include <cstdint>

enum TkvlFillType : uint8_t { ftBrush, ftGradient, ftGlass };
enum TkvlGradientStyle : uint8_t { gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter };
enum TkvlGlassFillOrientation : uint8_t { foVertical, foHorizontal, foVerticalMirror, foHorizontalMirror };

namespace rtl { class TypeInfo; }
const rtl::TypeInfo *kvlFillTypeType();
const rtl::TypeInfo *kvlBrushStyleType();

class TkvlCustomFill : public TPersistent {
    LIRRA_CLASS(TkvlCustomFill, TPersistent)
public:
    // Fills the device rectangle (X, Y)-(X1, Y1).
    virtual void Draw(TCanvas *Canvas, int X, int Y, int X1, int Y1, double ScaleX, double ScaleY) = 0;
};

class TkvlBrushFill : public TkvlCustomFill {
    LIRRA_CLASS(TkvlBrushFill, TkvlCustomFill)
public:
    void Assign(TPersistent *Source) override;
    void Draw(TCanvas *Canvas, int X, int Y, int X1, int Y1, double ScaleX, double ScaleY) override;

    TColor FBackColor = gfx::kColorNone;
    TColor FForeColor = 0;
    TBrushStyle FStyle = bsSolid;
};

class TkvlGradientFill : public TkvlCustomFill {
    LIRRA_CLASS(TkvlGradientFill, TkvlCustomFill)
public:
    void Assign(TPersistent *Source) override;
    void Draw(TCanvas *Canvas, int X, int Y, int X1, int Y1, double ScaleX, double ScaleY) override;
    // The colour halfway between start and end (the colour a view reports).
    TColor GetColor() const;

    TColor FStartColor = 0xFFFFFF;
    TColor FEndColor = 0;
    TkvlGradientStyle FGradientStyle = gsHorizontal;
};

class TkvlGlassFill : public TkvlCustomFill {
    LIRRA_CLASS(TkvlGlassFill, TkvlCustomFill)
public:
    void Assign(TPersistent *Source) override;
    void Draw(TCanvas *Canvas, int X, int Y, int X1, int Y1, double ScaleX, double ScaleY) override;

    TColor FColor = 8421504;
    double FBlend = 0.5;
    bool FHatch = false;
    TkvlGlassFillOrientation FOrientation = foHorizontal;

private:
    bool IsColorStored() const { return FColor != 8421504; }
};

// A new fill of the kind with its defaults (the caller owns it).
TkvlCustomFill *kvlCreateFill(TkvlFillType Kind);
TkvlFillType kvlGetFillType(const TkvlCustomFill *Fill);
