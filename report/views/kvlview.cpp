#include "report/views/kvlview.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/seams/kvldesigner.h"
#include "report/utils/textutils.h"
#include "report/views/viewdraw.h"

LIRRA_DEFINE_CLASS(TkvlView)

namespace kvltypes {
const rtl::TypeInfo *ShiftMode()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlShiftMode"), {"smDontShift", "smAlways", "smWhenOverlapped"});
    return t;
}
const rtl::TypeInfo *Visibility()
{
    static const rtl::TypeInfo *t = rtl::SetType(
        QStringLiteral("TkvlVisibilityTypes"),
        rtl::EnumType(QStringLiteral("TkvlVisibilityType"), {"vsPreview", "vsExport", "vsPrint"}));
    return t;
}
} // namespace kvltypes

void TkvlView::DeclareClass(rtl::ClassBuilder<TkvlView> &b)
{
    using T = TkvlView;
    b.prop<&T::Align, &T::SetAlign>("Align", kvltypes::Align()).def(baNone);
    b.prop<&T::Printable, &T::SetPrintable>("Printable").stored(false);
    b.prop<&T::ShiftMode>("ShiftMode", kvltypes::ShiftMode()).def(smAlways);
    for (const char *n : {"Left", "Top", "Width", "Height", "GroupIndex", "Restrictions", "Visible", "OnAfterData",
                          "OnAfterPrint", "OnBeforePrint"})
        b.publish(n);
    b.prop<&T::OnMouseEnter>("OnMouseEnter", kvltypes::Event("TkvlMouseEnterViewEvent"));
    b.prop<&T::OnMouseLeave>("OnMouseLeave", kvltypes::Event("TkvlMouseLeaveViewEvent"));
    b.prop<&T::OnMouseDown>("OnMouseDown", kvltypes::Event("TkvlMouseEvent"));
    b.prop<&T::OnMouseMove>("OnMouseMove", kvltypes::Event("TkvlMouseMoveEvent"));
    b.prop<&T::OnMouseUp>("OnMouseUp", kvltypes::Event("TkvlMouseEvent"));
    b.publish("OnPreviewClick");
    b.publish("OnPreviewDblClick");
    b.prop<&T::Hyperlink, &T::SetHyperlink>("Hyperlink");
    b.prop<&T::Hint>("Hint");
    b.prop<&T::ShowHint>("ShowHint").def(false);
    b.prop<&T::Visibility>("Visibility", kvltypes::Visibility()).def(kvlAllVisibility);

    // Declared here, published by the kinds that use them.
    b.declare<&T::BrushStyle, &T::SetBrushStyle>("BrushStyle", kvlBrushStyleType()).stored(false);
    b.declare<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).stored(false);
    b.declare<&T::Cursor>("Cursor", rtl::types::TCursor()).def(0);
    b.declare<&T::DataField>("DataField");
    b.declare<&T::DataSet, &T::SetDataSet>("DataSet");
    b.declare<&T::DataSetName, &T::SetDataSetName>("DataSetName");
    b.declare<&T::Frame, &T::SetFrame>("Frame");
    b.declare<&T::FillType, &T::SetFillType>("FillType", kvlFillTypeType()).def(ftBrush);
    b.declare<&T::Fill, &T::SetFill>("Fill");
    b.declare<&T::TagStr>("TagStr");
    b.declare<[](const T &) { return QString(); }, &T::SetURL>("URL").stored(false);
}

TkvlView::TkvlView(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlReportComponent(AOwner, Design), FFrame(std::make_unique<TkvlFrame>()),
      FHyperlink(std::make_unique<TkvlHyperlink>())
{
    SetkvComponentStyle(kvComponentStyle() | kvlBit(csDefaultDiff));
}

TkvlView::~TkvlView() = default;

// ---- binding ------------------------------------------------------------------------------

TkvlDataSet *TkvlView::DataSet() const
{
    return FDataSet.get();
}

void TkvlView::SetDataSet(TkvlDataSet *Value)
{
    FDataSet = Value;
    FDataSetName = Value ? Value->UserName() : QString();
}

QString TkvlView::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TkvlView::SetDataSetName(const QString &Value)
{
    FDataSetName = Value;
    FDataSet = FindDataSet(this, FDataSet.get(), Value);
}

bool TkvlView::IsDataField() const
{
    return FDataSet && !DataField.isEmpty();
}

// ---- fill, visibility, link --------------------------------------------------------------

void TkvlView::SetFillType(TkvlFillType Value)
{
    if (!FFill.SetFillType(Value))
        return;
    if (TkvlReport *r = GetReport(); r && r->Designer)
        r->Designer->UpdateInspector();
}

void TkvlView::SetFill(TkvlCustomFill *Value)
{
    if (!Value)
        return;
    SetFillType(kvlGetFillType(Value));
    FFill.SetFill(Value);
}

void TkvlView::SetPrintable(bool Value)
{
    if (Value)
        Visibility |= kvlBit(vsPrint);
    else
        Visibility &= TkvlVisibilityTypes(~kvlBit(vsPrint));
}

void TkvlView::SetURL(const QString &Value)
{
    if (Value.isEmpty())
        return;
    if (Value.startsWith(QLatin1Char('@')) || Value.startsWith(QLatin1Char('#'))) {
        FHyperlink->FKind = Value.startsWith(QLatin1Char('@')) ? hkPageNumber : hkAnchor;
        FHyperlink->FValue = Value.mid(1, 255);
    } else {
        FHyperlink->FKind = hkURL;
        FHyperlink->FValue = Value;
    }
}

// ---- drawing ------------------------------------------------------------------------------

void TkvlView::BeginDraw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    Canvas = ACanvas;
    ScaleX = AScaleX;
    ScaleY = AScaleY;
    OffsetX = AOffsetX;
    OffsetY = AOffsetY;
    const double l = GetAbsLeft(), t = GetAbsTop();
    X = kvlRnd(OffsetX + ScaleX * l);
    Y = kvlRnd(OffsetY + ScaleY * t);
    X1 = kvlRnd(OffsetX + ScaleX * (l + Width()));
    Y1 = kvlRnd(OffsetY + ScaleY * (t + Height()));
    if (FFrame->DropShadow()) {
        X1 -= kvlRnd(ScaleX * FFrame->ShadowWidth());
        Y1 -= kvlRnd(ScaleY * FFrame->ShadowWidth());
    }
    DX = X1 - X;
    DY = Y1 - Y;
    FrameWidth = kvlRnd(ScaleX * FFrame->Width());
}

void TkvlView::DrawBackground()
{
    const double w = FFrame->Width();
    const int hx = kvlRnd(w * ScaleX / 2), mx = kvlRnd(w * ScaleX) % 2;
    const int hy = kvlRnd(w * ScaleY / 2), my = kvlRnd(w * ScaleY) % 2;
    Fill()->Draw(Canvas, FFrame->Has(ftLeft) ? X - hx : X, FFrame->Has(ftTop) ? Y - hy : Y,
                 FFrame->Has(ftRight) ? X1 + hx + mx : X1, FFrame->Has(ftBottom) ? Y1 + hy + my : Y1, ScaleX,
                 ScaleY);
}

void TkvlView::DrawFrame()
{
    FFrame->Draw(Canvas, X, Y, X1, Y1, ScaleX, ScaleY);
}

void TkvlView::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    DrawBackground();
    DrawFrame();
}

void TkvlView::DrawLine(int AX, int AY, int AX1, int AY1, int W)
{
    kvlDrawThickLine(Canvas, AX, AY, AX1, AY1, W);
}

// ---- printing -----------------------------------------------------------------------------

namespace {

// Keeps To as From: most views have neither a tag nor a link, and the same (or no) text is not
// copied again record after record.
inline void keepText(QString &To, const QString &From)
{
    if (To.constData() != From.constData() || To.size() != From.size() || To.isNull() != From.isNull())
        To = From;
}

} // namespace

void TkvlView::BeforePrint()
{
    TkvlReportComponent::BeforePrint();
    keepText(TempTag, TagStr);
    keepText(TempHyperlink, FHyperlink->FValue);
    if (TkvlReport *r = GetReport())
        r->SetSelfValue(this);
}

void TkvlView::AfterPrint()
{
    TkvlReportComponent::AfterPrint();
    keepText(TagStr, TempTag);
    keepText(FHyperlink->FValue, TempHyperlink);
}

Variant TkvlView::Calc(const QString &Expr)
{
    TkvlReport *r = GetReport();
    return r ? r->Calc(Expr) : Variant::null();
}

void TkvlView::ExpandVariables(QString &Expr)
{
    static const QString open = QStringLiteral("["), close = QStringLiteral("]");
    int i = 1;
    while (i <= Expr.size()) {
        if (Expr[i - 1] != QLatin1Char('[')) {
            ++i;
            continue;
        }
        int start = i, j = i;
        bool closed = false;
        const QString expr = kvlGetBrackedVariableW(Expr, open, close, start, j, &closed);
        if (!closed)
            return;  // no complete expression: the rest stays as written
        const QString value = Calc(expr).toString();
        Expr.replace(start - 1, j - start + 1, value);
        i = start + int(value.size());
    }
}

QString TkvlView::ComputeLinkValue(const QString &Text)
{
    const Variant v = Calc(Text);
    if (v.isString() && FHyperlink->FKind != hkURL) {
        TkvlReport *r = GetReport();
        return kvlScriptStringLiteral(r ? r->ScriptLanguage : QString(), v.toString());
    }
    return v.toString();
}

void TkvlView::GetData()
{
    TkvlHyperlink &link = *FHyperlink;
    // The usual view has no tag and no link: nothing to fill, and no text to search.
    if (TagStr.isEmpty() && link.FValue.isEmpty() && link.FExpression.isEmpty()) [[likely]]
        return;
    if (TagStr.contains(QLatin1Char('[')))
        ExpandVariables(TagStr);

    // An empty separator splits nothing.
    const bool canSplit = !link.FValuesSeparator.isEmpty();
    const QChar sep = canSplit ? link.FValuesSeparator.at(0) : QChar();
    QStringList parts;
    if (link.FValue.contains(QLatin1Char('['))) {
        if (canSplit)
            kvlParseDilimitedText(parts, link.FValue, sep);
        if (parts.isEmpty()) {
            ExpandVariables(link.FValue);
        } else {
            for (QString &p : parts)
                ExpandVariables(p);
            link.FValue = parts.join(sep);
        }
    }
    if (!link.FExpression.isEmpty()) {
        parts.clear();
        if (canSplit)
            kvlParseDilimitedText(parts, link.FExpression, sep);
        if (parts.isEmpty()) {
            link.FValue = ComputeLinkValue(link.FExpression);
        } else {
            for (QString &p : parts)
                p = ComputeLinkValue(p);
            link.FValue = parts.join(sep);
        }
    }
}

QString kvlScriptStringLiteral(const QString &Language, const QString &Text)
{
    enum { Pascal, Basic, CLike } style = CLike;
    if (Language.compare(QLatin1String("DozovoZozedi"), Qt::CaseInsensitive) == 0)
        style = Pascal;
    else if (Language.compare(QLatin1String("DevavAraroz"), Qt::CaseInsensitive) == 0)
        style = Basic;
    const QChar quote = style == Pascal ? QLatin1Char('\'') : QLatin1Char('"');

    QString out;
    out.reserve(Text.size() + 2);
    bool inQuotes = false;
    for (QChar c : Text) {
        if (c.unicode() < 32) {
            if (inQuotes) {
                out += quote;
                inQuotes = false;
            }
            out += QLatin1Char('#') + QString::number(c.unicode());
            continue;
        }
        if (!inQuotes) {
            out += quote;
            inQuotes = true;
        }
        if (c == quote && style != CLike)
            out += quote;
        else if (style == CLike && (c == QLatin1Char('"') || c == QLatin1Char('\\')))
            out += QLatin1Char('\\');
        out += c;
    }
    if (inQuotes)
        out += quote;
    else if (out.isEmpty())
        out = QString(quote) + quote;
    return out;
}
