#include "report/serial/propertydiff.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/format.h"
#include "report/appearance/fill.h"
#include "report/appearance/frame.h"
#include "report/appearance/hyperlink.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/serial/xmlserializer.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "report/views/kvlview.h"
#include "report/xml/xmltext.h"

#include <charconv>
#include <cmath>

namespace kvldiff {

bool FloatDiff(double A, double B) { return std::fabs(A - B) > 0.0001; }

namespace {
void begin(QString &Out, QStringView Name)
{
    Out += u' ';
    Out += Name;
    Out += u"=\"";
}

// Digits written straight into Out: a stored object has several numbers, none worth a
// string of its own.
void appendInt(QString &Out, qint64 Value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, Value).ptr;
    Out += QLatin1StringView(digits, end - digits);
}
} // namespace

void AddFloat(QString &Out, QStringView Name, double Value)
{
    begin(Out, Name);
    // Whole numbers (most positions and sizes) have the same digits in the general format.
    if (std::fabs(Value) < 1e15 && Value == std::trunc(Value) && !(Value == 0 && std::signbit(Value)))
        appendInt(Out, qint64(Value));
    else
        Out += rtl::FloatToStr(Value);
    Out += u'"';
}

void AddInt(QString &Out, QStringView Name, qint64 Value)
{
    begin(Out, Name);
    appendInt(Out, Value);
    Out += u'"';
}

void AddBool(QString &Out, QStringView Name, bool Value)
{
    begin(Out, Name);
    Out += Value ? u'1' : u'0';
    Out += u'"';
}

void AddStr(QString &Out, QStringView Name, const QString &Value)
{
    begin(Out, Name);
    Out += kvlStrToXML(Value);
    Out += u'"';
}

} // namespace kvldiff

using namespace kvldiff;

namespace {
// Add + Name, for the prefixed attribute names of nested records.
QString joined(QStringView Add, QStringView Name)
{
    QString s;
    s.reserve(Add.size() + Name.size());
    s += Add;
    s += Name;
    return s;
}
} // namespace

QString kvlDiffFont(const TFont &Font, const TFont &SourceFont, QStringView Add)
{
    // Add carries the blank, so the attributes are written by hand here.
    QString out;
    auto attr = [&](QStringView Name, const QString &Value) {
        out += Add;
        out += Name;
        out += u"=\"";
        out += Value;
        out += u'"';
    };
    if (Font.Name() != SourceFont.Name())
        attr(u"Font.Name", kvlStrToXML(Font.Name()));
    if (Font.Size() != SourceFont.Size())
        attr(u"Font.Size", QString::number(Font.Size()));
    if (Font.Color() != SourceFont.Color())
        attr(u"Font.Color", QString::number(Font.Color()));
    if ((Font.Style() & 0xF) != (SourceFont.Style() & 0xF))
        attr(u"Font.Style", QString::number(Font.Style() & 0xF));
    if (Font.Charset() != SourceFont.Charset())
        attr(u"Font.Charset", QString::number(Font.Charset()));
    return out;
}

QString kvlDiffFrameLine(const TkvlFrameLine &Line, const TkvlFrameLine &SourceLine, QStringView LineName,
                         bool ColorChanged, bool StyleChanged, bool WidthChanged)
{
    QString out;
    if (ColorChanged ? Line.IsColorStored() : Line.Color() != SourceLine.Color())
        AddInt(out, joined(LineName, u".Color"), Line.Color());
    if (StyleChanged ? Line.IsStyleStored() : Line.Style() != SourceLine.Style())
        AddInt(out, joined(LineName, u".Style"), Line.Style());
    if (WidthChanged ? Line.IsWidthStored() : FloatDiff(Line.Width(), SourceLine.Width()))
        AddFloat(out, joined(LineName, u".Width"), Line.Width());
    return out;
}

QString kvlDiffFrame(const TkvlFrame &Frame, const TkvlFrame &Source)
{
    QString out;
    const bool colorChanged = Frame.Color() != Source.Color();
    const bool styleChanged = Frame.Style() != Source.Style();
    const bool widthChanged = FloatDiff(Frame.Width(), Source.Width());
    if (colorChanged)
        AddInt(out, u"Frame.Color", Frame.Color());
    if (Frame.DropShadow() != Source.DropShadow())
        AddBool(out, u"Frame.DropShadow", Frame.DropShadow());
    if (Frame.ShadowColor() != Source.ShadowColor())
        AddInt(out, u"Frame.ShadowColor", Frame.ShadowColor());
    if (FloatDiff(Frame.ShadowWidth(), Source.ShadowWidth()))
        AddFloat(out, u"Frame.ShadowWidth", Frame.ShadowWidth());
    if (styleChanged)
        AddInt(out, u"Frame.Style", Frame.Style());
    if (Frame.Typ() != Source.Typ())
        AddInt(out, u"Frame.Typ", Frame.Typ());
    if (widthChanged)
        AddFloat(out, u"Frame.Width", Frame.Width());
    const struct {
        TkvlFrameLine *(TkvlFrame::*line)() const;
        const char16_t *name;
    } sides[] = {{&TkvlFrame::LeftLine, u"Frame.LeftLine"},
                 {&TkvlFrame::TopLine, u"Frame.TopLine"},
                 {&TkvlFrame::RightLine, u"Frame.RightLine"},
                 {&TkvlFrame::BottomLine, u"Frame.BottomLine"}};
    for (const auto &s : sides)
        out += kvlDiffFrameLine(*(Frame.*s.line)(), *(Source.*s.line)(), QStringView(s.name), colorChanged,
                                styleChanged, widthChanged);
    return out;
}

QString kvlDiffFill(const TkvlCustomFill &Fill, const TkvlCustomFill &Source, QStringView Add)
{
    QString out;
    if (auto *f = rtl_cast<const TkvlBrushFill>(&Fill)) {
        auto *s = rtl_cast<const TkvlBrushFill>(&Source);
        if (!s || f->FBackColor != s->FBackColor)
            AddInt(out, joined(Add, u".BackColor"), f->FBackColor);
        if (!s || f->FForeColor != s->FForeColor)
            AddInt(out, joined(Add, u".ForeColor"), f->FForeColor);
        if (!s || f->FStyle != s->FStyle)
            AddInt(out, joined(Add, u".Style"), f->FStyle);
    } else if (auto *f = rtl_cast<const TkvlGradientFill>(&Fill)) {
        auto *s = rtl_cast<const TkvlGradientFill>(&Source);
        if (!s || f->FStartColor != s->FStartColor)
            AddInt(out, joined(Add, u".StartColor"), f->FStartColor);
        if (!s || f->FEndColor != s->FEndColor)
            AddInt(out, joined(Add, u".EndColor"), f->FEndColor);
        if (!s || f->FGradientStyle != s->FGradientStyle)
            AddInt(out, joined(Add, u".GradientStyle"), f->FGradientStyle);
    } else if (auto *f = rtl_cast<const TkvlGlassFill>(&Fill)) {
        auto *s = rtl_cast<const TkvlGlassFill>(&Source);
        if (!s || f->FColor != s->FColor)
            AddInt(out, joined(Add, u".Color"), f->FColor);
        if (!s || f->FBlend != s->FBlend)
            AddFloat(out, joined(Add, u".Blend"), f->FBlend);
        if (!s || f->FHatch != s->FHatch)
            AddBool(out, joined(Add, u".Hatch"), f->FHatch);
        if (!s || f->FOrientation != s->FOrientation)
            AddInt(out, joined(Add, u".Orientation"), f->FOrientation);
    }
    return out;
}

QString kvlDiffHyperlink(const TkvlHyperlink &Link, const TkvlHyperlink &Source, QStringView Add)
{
    QString out;
    if (Link.FKind != Source.FKind)
        AddInt(out, joined(Add, u".Kind"), Link.FKind);
    const struct {
        QString TkvlHyperlink::*field;
        const char16_t *name;
    } texts[] = {{&TkvlHyperlink::FDetailReport, u".DetailReport"}, {&TkvlHyperlink::FDetailPage, u".DetailPage"},
                 {&TkvlHyperlink::FReportVariable, u".ReportVariable"}, {&TkvlHyperlink::FTabCaption, u".TabCaption"},
                 {&TkvlHyperlink::FValue, u".Value"}, {&TkvlHyperlink::FValuesSeparator, u".ValuesSeparator"}};
    for (const auto &t : texts)
        if (Link.*t.field != Source.*t.field)
            AddStr(out, joined(Add, QStringView(t.name)), Link.*t.field);
    return out;
}

// ---- the object operations ----------------------------------------------------------------

QString TkvlComponent::InternalDiff(TkvlComponent *Source)
{
    QString out;
    if (!Source)
        return out;
    // Room for the usual attributes and a line of text, so the kinds' additions seldom grow it.
    out.reserve(96);
    if (FloatDiff(Left(), Source->Left()))
        AddFloat(out, u"l", Left());
    if (Is<TkvlBand>() || FloatDiff(Top(), Source->Top()))
        AddFloat(out, u"t", Top());
    auto *memo = rtl_cast<TkvlCustomMemoView>(this);
    if (!(memo && memo->AutoWidth) && FloatDiff(Width(), Source->Width()))
        AddFloat(out, u"w", Width());
    if (FloatDiff(Height(), Source->Height()))
        AddFloat(out, u"h", Height());
    if (Visible() != Source->Visible())
        AddBool(out, u"Visible", Visible());
    if (!ParentFont())
        out += kvlDiffFont(*Font(), *Source->Font(), u" ");
    if (ParentFont() != Source->ParentFont())
        AddBool(out, u"ParentFont", ParentFont());
    if (Tag() != Source->Tag())
        AddInt(out, u"Tag", Tag());
    return out;
}

QString TkvlComponent::AllDiff(TkvlComponent *Source)
{
    TkvlXMLSerializer s;
    s.Owner = GetReport();
    const QString text = s.WriteComponentStr(this);
    const qsizetype blank = text.indexOf(u' ');
    QString out = blank < 0 ? QString() : text.mid(blank + 1);
    if (Source) {
        out += u' ';
        out += InternalDiff(Source);
    }
    if (Is<TkvlNullBand>()) {
        AddFloat(out, u"l", Left());
        AddFloat(out, u"t", Top());
    }
    return out;
}

QString TkvlComponent::Diff(TkvlComponent *Source) { return InternalDiff(Source); }

QString TkvlView::Diff(TkvlComponent *Source)
{
    QString out = TkvlReportComponent::Diff(Source);
    auto *s = rtl_cast<TkvlView>(Source);
    if (!s)
        return out;
    if (Align() != s->Align())
        AddInt(out, u"Align", Align());
    out += kvlDiffFrame(*Frame(), *s->Frame());
    if (Cursor != s->Cursor)
        AddInt(out, u"Cursor", Cursor);
    if (Visibility != s->Visibility)
        AddInt(out, u"Visibility", Visibility);
    if (TagStr != s->TagStr)
        AddStr(out, u"TagStr", TagStr);
    if (FillType() != s->FillType())
        AddInt(out, u"FillType", FillType());
    out += kvlDiffFill(*Fill(), *s->Fill(), u"Fill");
    out += kvlDiffHyperlink(*Hyperlink(), *s->Hyperlink(), u"Hyperlink");
    return out;
}

QString TkvlShapeView::Diff(TkvlComponent *Source)
{
    QString out = TkvlView::Diff(Source);
    auto *s = rtl_cast<TkvlShapeView>(Source);
    if (s && Shape != s->Shape)
        AddInt(out, u"Shape", Shape);
    return out;
}

QString TkvlPictureView::Diff(TkvlComponent *Source)
{
    if (PictureChangedFlag) {
        TkvlReport *r = GetReport();
        if (r && r->PreviewPages()) {
            r->PreviewPages()->AddPicture(this);
            PictureChangedFlag = false;
        }
    }
    QString out = u' ' + TkvlView::Diff(Source);
    AddInt(out, u"ImageIndex", ImageIndex);
    if (Transparent)
        AddBool(out, u"Transparent", true);
    if (TransparentColor != 0xFFFFFF)
        AddInt(out, u"TransparentColor", TransparentColor);
    return out;
}

QString TkvlGroupHeader::Diff(TkvlComponent *Source)
{
    QString out = InternalDiff(Source);
    if (DrillDown) {
        // Object names, dots and digits only: nothing to escape.
        out += u" DrillName=\"";
        out += DrillName;
        out += u'"';
    }
    return out;
}
