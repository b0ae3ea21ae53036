#pragma once
// The base of every printable object: it owns a frame, a background fill and a hyperlink,
// can be bound to a record-source field, draws itself in three steps (geometry, background,
// frame) at any scale, and fills bracketed expressions into its tag and link at print time.
#include "platform/rtl/variant.h"
#include "report/appearance/fill.h"
#include "report/appearance/frame.h"
#include "report/appearance/hyperlink.h"
#include "report/core/kvlcomponent.h"
#include "report/seams/kvlseamtypes.h"
#include "report/views/fillslot.h"

#include <memory>

class TkvlDataSet;

// Alignment of a view inside its band or page.
enum TkvlAlign : uint8_t { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
// How the engine moves a view when objects above it grow.
enum TkvlShiftMode : uint8_t { smDontShift, smAlways, smWhenOverlapped };
// Where a view is shown (set of bits).
enum TkvlVisibilityType : uint8_t { vsPreview, vsExport, vsPrint };
using TkvlVisibilityTypes = uint8_t;
constexpr TkvlVisibilityTypes kvlBit(TkvlVisibilityType v) { return TkvlVisibilityTypes(1u << v); }
constexpr TkvlVisibilityTypes kvlAllVisibility = 7;

namespace kvltypes {
const rtl::TypeInfo *ShiftMode();     // TkvlShiftMode
const rtl::TypeInfo *Visibility();    // TkvlVisibilityTypes
} // namespace kvltypes

class TkvlView : public TkvlReportComponent {
    LIRRA_CLASS(TkvlView, TkvlReportComponent)
public:
    explicit TkvlView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlView() override;

    TkvlAlign Align() const { return FAlign; }
    virtual void SetAlign(TkvlAlign Value) { FAlign = Value; }

    // ---- binding ----
    QString DataField;
    TkvlDataSet *DataSet() const;
    // Also takes the source's user name (empty for nil).
    void SetDataSet(TkvlDataSet *Value);
    // The bound source's user name when one is bound, else the stored name.
    QString DataSetName() const;
    // Stores the name and looks the source up by it.
    void SetDataSetName(const QString &Value);
    bool IsDataField() const;

    // ---- owned records ----
    TkvlFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TkvlFrame *Value) { FFrame->Assign(Value); }
    TkvlHyperlink *Hyperlink() const { return FHyperlink.get(); }
    void SetHyperlink(TkvlHyperlink *Value) { FHyperlink->Assign(Value); }
    TkvlCustomFill *Fill() const { return FFill.Fill(); }
    void SetFill(TkvlCustomFill *Value);
    TkvlFillType FillType() const { return FFill.FillType(); }
    // A new kind makes a default fill of that kind; an open designer's inspector is refreshed.
    void SetFillType(TkvlFillType Value);
    TBrushStyle BrushStyle() const { return FFill.BrushStyle(); }
    void SetBrushStyle(TBrushStyle Value) { FFill.SetBrushStyle(Value); }
    TColor Color() const { return FFill.Color(); }
    void SetColor(TColor Value) { FFill.SetColor(Value); }
    bool Printable() const { return Visibility & kvlBit(vsPrint); }
    void SetPrintable(bool Value);
    // "@n" links to page n, "#name" to an anchor, anything else is a URL; empty does nothing.
    void SetURL(const QString &Value);

    // ---- plain settings ----
    int16_t Cursor = 0;
    TkvlShiftMode ShiftMode = smAlways;
    QString TagStr;
    QString Hint;
    bool ShowHint = false;
    bool PlainText = false;
    TkvlVisibilityTypes Visibility = kvlAllVisibility;
    bool DrawAsMask = false;
    QString OnMouseEnter, OnMouseLeave, OnMouseDown, OnMouseMove, OnMouseUp;
    // TagStr and the hyperlink's value as they were before printing.
    QString TempTag, TempHyperlink;

    // ---- the last BeginDraw: device rectangle, frame width, transform, target ----
    int X = 0, Y = 0, X1 = 0, Y1 = 0, DX = 0, DY = 0;
    int FrameWidth = 0;
    double ScaleX = 1, ScaleY = 1, OffsetX = 0, OffsetY = 0;
    TCanvas *Canvas = nullptr;

    // ---- drawing ----
    // Stores the transform and computes the device rectangle; a drop shadow is kept inside
    // the bounds.
    virtual void BeginDraw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY);
    // The fill, reaching under the outer half of every drawn frame line.
    virtual void DrawBackground();
    virtual void DrawFrame();
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;
    // A line W device pixels thick with the canvas's current pen.
    void DrawLine(int AX, int AY, int AX1, int AY1, int W);

    // ---- preview mouse hooks (kinds that react override them) ----
    virtual void DoMouseMove(int, int, TMouseButton, TShiftState, bool &) {}
    virtual void DoMouseUp(int, int, TMouseButton, TShiftState, bool &) {}
    virtual void DoMouseEnter(TkvlView *, bool &) {}
    virtual void DoMouseLeave(TkvlView *, bool &) {}
    virtual void DoMouseClick(TkvlView *, bool, bool &, bool &) {}

    QString Diff(TkvlComponent *Source) override;
    // ---- printing ----
    void BeforePrint() override;
    // Expands TagStr and the hyperlink, then computes the hyperlink's expression.
    void GetData() override;
    void AfterPrint() override;
    // Replaces each complete bracketed expression by its value as text.
    void ExpandVariables(QString &Expr);
    // The report's evaluation of Expr; Null without a report.
    Variant Calc(const QString &Expr);

private:
    QString ComputeLinkValue(const QString &Text);

    TkvlAlign FAlign = baNone;
    rtl::ComponentRef<TkvlDataSet> FDataSet;
    QString FDataSetName;
    std::unique_ptr<TkvlFrame> FFrame;
    std::unique_ptr<TkvlHyperlink> FHyperlink;
    TkvlFillSlot FFill;
};

// Text as a string literal of the script language: DozovoZozedi doubles single quotes,
// DevavAraroz doubles double quotes, the others put a backslash before '"' and '\'.
// Control characters become #N parts, as no quoted part may span lines.
QString kvlScriptStringLiteral(const QString &Language, const QString &Text);
