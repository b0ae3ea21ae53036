#pragma once
// The frame of a view or band: four sides, each a line of its own, and a drop shadow.
#include "platform/gfx/canvas.h"
#include "platform/rtl/reflect/persistent.h"

#include <cstdint>
#include <memory>

enum TkvlFrameStyle : uint8_t { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
enum TkvlFrameType : uint8_t { ftLeft, ftRight, ftTop, ftBottom };
// Set of TkvlFrameType: bit i holds side i.
using TkvlFrameTyp = uint32_t;
constexpr TkvlFrameTyp kvlFrameBit(TkvlFrameType t) { return 1u << t; }
constexpr TkvlFrameTyp kvlFrameAll = 0xF;

namespace rtl { class TypeInfo; }
const rtl::TypeInfo *kvlFrameStyleType();
const rtl::TypeInfo *kvlFrameTypType();

class TkvlFrame;

class TkvlFrameLine : public TPersistent {
    LIRRA_CLASS(TkvlFrameLine, TPersistent)
public:
    explicit TkvlFrameLine(TkvlFrame *AFrame = nullptr) : FFrame(AFrame) {}
    void Assign(TPersistent *Source) override;

    TkvlFrame *Frame() const { return FFrame; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TkvlFrameStyle Style() const { return FStyle; }
    void SetStyle(TkvlFrameStyle v) { FStyle = v; }
    double Width() const { return FWidth; }
    void SetWidth(double v) { FWidth = v; }

    // Stored only where the line departs from its frame.
    bool IsColorStored() const;
    bool IsStyleStored() const;
    bool IsWidthStored() const;

private:
    TkvlFrame *FFrame;
    TColor FColor = 0;
    TkvlFrameStyle FStyle = fsSolid;
    double FWidth = 1;
};

class TkvlFrame : public TPersistent {
    LIRRA_CLASS(TkvlFrame, TPersistent)
public:
    TkvlFrame();
    ~TkvlFrame() override;
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool DropShadow() const { return FDropShadow; }
    void SetDropShadow(bool v) { FDropShadow = v; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v) { FShadowColor = v; }
    double ShadowWidth() const { return FShadowWidth; }
    void SetShadowWidth(double v) { FShadowWidth = v; }
    TkvlFrameStyle Style() const { return FStyle; }
    void SetStyle(TkvlFrameStyle v);
    TkvlFrameTyp Typ() const { return FTyp; }
    void SetTyp(TkvlFrameTyp v) { FTyp = v & kvlFrameAll; }
    double Width() const { return FWidth; }
    void SetWidth(double v);

    TkvlFrameLine *LeftLine() const { return FLeftLine.get(); }
    TkvlFrameLine *TopLine() const { return FTopLine.get(); }
    TkvlFrameLine *RightLine() const { return FRightLine.get(); }
    TkvlFrameLine *BottomLine() const { return FBottomLine.get(); }
    void SetLeftLine(TkvlFrameLine *v) { FLeftLine->Assign(v); }
    void SetTopLine(TkvlFrameLine *v) { FTopLine->Assign(v); }
    void SetRightLine(TkvlFrameLine *v) { FRightLine->Assign(v); }
    void SetBottomLine(TkvlFrameLine *v) { FBottomLine->Assign(v); }

    bool Has(TkvlFrameType t) const { return FTyp & kvlFrameBit(t); }

    // Draws the shadow and the sides around the device rectangle (X, Y)-(X1, Y1).
    void Draw(TCanvas *Canvas, int X, int Y, int X1, int Y1, double ScaleX, double ScaleY);

private:
    bool IsShadowWidthStored() const { return FShadowWidth != 4; }
    bool IsWidthStored() const { return FWidth != 1; }
    void DrawSide(TCanvas *Canvas, int x, int y, int x1, int y1, const TkvlFrameLine &Line,
                  TkvlFrameType Side, bool StartJoined, bool EndJoined, double ScaleX, int Limit);

    TColor FColor = 0;
    bool FDropShadow = false;
    TColor FShadowColor = 0;
    double FShadowWidth = 4;
    TkvlFrameStyle FStyle = fsSolid;
    TkvlFrameTyp FTyp = 0;
    double FWidth = 1;
    std::unique_ptr<TkvlFrameLine> FLeftLine, FTopLine, FRightLine, FBottomLine;
};

// A line W device pixels thick drawn with the canvas's current pen as W one-pixel lines
// side by side (W = 0 draws one).
void kvlDrawThickLine(TCanvas *Canvas, int X, int Y, int X1, int Y1, int W);

// rnd(v) (ties to even) kept within [-limit, limit], so that absurd scales or widths stay
// drawable.
int kvlRoundClamped(double v, int limit);
