#include "report/memo/kvlmemo.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/base/codepage.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/memoformat.h"
#include "report/resources/kvlresources.h"
#include "report/serial/collectionio.h"
#include "report/serial/xmlserializer.h"
#include "report/styles/kvlstyles.h"
#include "report/utils/textutils.h"
#include "report/vars/kvlvariables.h"
#include "report/views/viewdraw.h"
#include "report/xml/xmlitem.h"

#include <algorithm>
#include <cmath>

LIRRA_DEFINE_CLASS(TkvlCustomMemoView)
LIRRA_DEFINE_CLASS(TkvlMemoView)
LIRRA_DEFINE_CLASS(TkvlSysMemoView)

namespace {

constexpr int kDefaultCharset = 1;

const rtl::TypeInfo *hAlignType()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlHAlign"), {"haLeft", "haRight", "haCenter", "haBlock"});
    return t;
}

const rtl::TypeInfo *vAlignType()
{
    static const rtl::TypeInfo *t = rtl::EnumType(QStringLiteral("TkvlVAlign"), {"vaTop", "vaBottom", "vaCenter"});
    return t;
}

const QString &formatsName()
{
    static const QString s = QStringLiteral("Formats");
    return s;
}

const QString &highlightsName()
{
    static const QString s = QStringLiteral("Highlights");
    return s;
}

// Case-insensitive replacement of every Marker, the search going on after the inserted text.
bool replaceMarker(QString &Text, QLatin1StringView Marker, const QString &With)
{
    bool replaced = false;
    qsizetype at = 0;
    while ((at = Text.indexOf(Marker, at, Qt::CaseInsensitive)) >= 0) {
        Text.replace(at, Marker.size(), With);
        at += With.size();
        replaced = true;
    }
    return replaced;
}

} // namespace

// ---- class declarations ---------------------------------------------------------------------

void TkvlCustomMemoView::DeclareClass(rtl::ClassBuilder<TkvlCustomMemoView> &b)
{
    using T = TkvlCustomMemoView;
    b.prop<&T::FirstParaBreak>("FirstParaBreak").def(false);
    b.prop<&T::LastParaBreak>("LastParaBreak").def(false);
    b.publish("Cursor");
    b.publish("TagStr");
    b.publish("URL");

    b.declare<&T::AllowExpressions>("AllowExpressions").def(true);
    b.declare<&T::AllowHTMLTags>("AllowHTMLTags").def(false);
    b.declare<&T::AutoWidth>("AutoWidth").def(false);
    b.declare<&T::CharSpacing>("CharSpacing").def(0.0);
    b.declare<&T::Clipped>("Clipped").def(true);
    b.declare<&T::DisplayFormat, &T::SetDisplayFormat>("DisplayFormat").template stored<&T::IsFormatsStored>();
    b.declare<&T::ExpressionDelimiters, &T::SetExpressionDelimiters>("ExpressionDelimiters")
        .template stored<[](const T &m) { return m.ExpressionDelimiters() != QLatin1String("[,]"); }>();
    // Typed as a view: the class builder would take a memo, which has a Text, for a text list.
    b.declare<[](const T &m) -> TkvlView * { return m.FlowTo(); },
              [](T &m, TkvlView *v) { m.SetFlowTo(rtl_cast<TkvlCustomMemoView>(v)); }>("FlowTo");
    b.declare<&T::GapX>("GapX").def(2.0);
    b.declare<&T::GapY>("GapY").def(1.0);
    b.declare<&T::HAlign>("HAlign", hAlignType()).def(haLeft);
    b.declare<&T::HideZeros>("HideZeros").def(false);
    b.declare<&T::Highlight, &T::SetHighlight>("Highlight").template stored<&T::IsHighlightStored>();
    b.declare<&T::LineSpacing>("LineSpacing").def(2.0);
    b.declare<&T::ParagraphGap>("ParagraphGap").def(0.0);
    b.declare<&T::Rotation, &T::SetRotation>("Rotation").def(0);
    b.declare<&T::RTLReading>("RTLReading").def(false);
    b.declare<&T::Style, &T::SetStyle>("Style");
    b.declare<&T::SuppressRepeated>("SuppressRepeated").def(false);
    b.declare<&T::Underlines>("Underlines").def(false);
    b.declare<&T::UseDefaultCharset>("UseDefaultCharset").def(false);
    b.declare<&T::VAlign>("VAlign", vAlignType()).def(vaTop);
    b.declare<&T::WordBreak>("WordBreak").def(false);
    b.declare<&T::WordWrap>("WordWrap").def(true);
    b.declare<&T::Wysiwyg>("Wysiwyg").def(true);
}

void TkvlMemoView::DeclareClass(rtl::ClassBuilder<TkvlMemoView> &b)
{
    for (const char *n : {"AutoWidth", "AllowExpressions", "AllowHTMLTags", "BrushStyle", "CharSpacing", "Clipped",
                          "Color", "DataField", "DataSet", "DataSetName", "DisplayFormat", "ExpressionDelimiters",
                          "FlowTo", "Font", "Frame", "FillType", "Fill", "GapX", "GapY", "HAlign", "HideZeros",
                          "Highlight", "LineSpacing", "ParagraphGap", "ParentFont", "Rotation", "RTLReading",
                          "Style", "SuppressRepeated", "Underlines", "UseDefaultCharset", "WordBreak", "WordWrap",
                          "Wysiwyg", "VAlign"})
        b.publish(n);
    b.description([] { return kvlResourceText(QStringLiteral("obText")); });
}

void TkvlSysMemoView::DeclareClass(rtl::ClassBuilder<TkvlSysMemoView> &b)
{
    for (const char *n : {"AutoWidth", "CharSpacing", "Color", "DisplayFormat", "Font", "Frame", "FillType", "Fill",
                          "GapX", "GapY", "HAlign", "HideZeros", "Highlight", "ParentFont", "Rotation", "RTLReading",
                          "Style", "SuppressRepeated", "VAlign", "WordWrap"})
        b.publish(n);
    b.description([] { return kvlResourceText(QStringLiteral("obSysText")); });
}

// ---- life -----------------------------------------------------------------------------------

TkvlCustomMemoView::TkvlCustomMemoView(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlStretcheable(AOwner, Design), FFormats(std::make_unique<TkvlFormatCollection>(this)),
      FHighlights(std::make_unique<TkvlHighlightCollection>(this)), FLastValue(Variant::null())
{
    SetkvComponentStyle((kvComponentStyle() | kvlBit(csHandlesNestedProperties)) & ~kvlBit(csDefaultDiff));
    SetParentFont(true);
}

TkvlCustomMemoView::~TkvlCustomMemoView() = default;

// ---- text -----------------------------------------------------------------------------------

void TkvlCustomMemoView::SetText(const QString &Value)
{
    FMemo.SetText(Value);
}

QByteArray TkvlCustomMemoView::AnsiText() const
{
    return UnicodeToAnsi(Text(), Font()->Charset());
}

void TkvlCustomMemoView::SetAnsiText(const QByteArray &Value)
{
    SetText(AnsiToUnicode(Value, Font()->Charset()));
}

bool TkvlCustomMemoView::NonDefaultCharset() const
{
    return Font()->Charset() != kDefaultCharset && !UseDefaultCharset;
}

void TkvlCustomMemoView::SetExpressionDelimiters(const QString &Value)
{
    FExpressionDelimiters = Value;
    const qsizetype comma = Value.indexOf(u',');
    FOpenDelim = comma < 0 ? Value : Value.left(comma);
    FCloseDelim = comma < 0 ? QString() : Value.mid(comma + 1, 255);
}

// ---- collections, links, styles -------------------------------------------------------------

TkvlFormat *TkvlCustomMemoView::DisplayFormat() const
{
    if (FFormats->Count() == 0)
        FFormats->Add();
    return FFormats->Items(0);
}

TkvlHighlight *TkvlCustomMemoView::Highlight() const
{
    if (FHighlights->Count() == 0)
        FHighlights->Add();
    return FHighlights->Items(0);
}

bool TkvlCustomMemoView::IsHighlightStored() const
{
    return FHighlights->Count() == 1 && !FHighlights->Items(0)->Condition.trimmed().isEmpty();
}

void TkvlCustomMemoView::SetFlowTo(TkvlCustomMemoView *Value)
{
    for (TkvlCustomMemoView *m = Value; m; m = m->FlowTo())
        if (m == this)
            return;
    FFlowTo = Value;
}

void TkvlCustomMemoView::SetStyle(const QString &Value)
{
    FStyle = Value;
    // A memo read from a template already carries what its style gave it, and what was changed
    // after: applying the style again while loading would undo those changes.
    if (GetIsLoading())
        return;
    if (TkvlReport *r = Report())
        ApplyStyle(r->Styles().Find(Value));
}

void TkvlCustomMemoView::ApplyStyle(const TkvlStyleItem *AStyle)
{
    if (!AStyle)
        return;
    if (AStyle->ApplyFill)
        SetFill(AStyle->Fill());
    if (AStyle->ApplyFont)
        SetFont(AStyle->Font());
    if (AStyle->ApplyFrame)
        SetFrame(AStyle->Frame());
}

void TkvlCustomMemoView::ApplyHighlight(const TkvlHighlight *AHighlight)
{
    if (!AHighlight)
        return;
    if (AHighlight->ApplyFont)
        SetFont(AHighlight->Font());
    if (AHighlight->ApplyFill)
        SetFill(AHighlight->Fill());
    if (AHighlight->ApplyFrame)
        SetFrame(AHighlight->Frame());
    SetVisible(AHighlight->Visible);
}

void TkvlCustomMemoView::ApplyPreviewHighlight()
{
    if (FHighlights->Count() > 0 && FHighlights->Items(0)->Active)
        ApplyHighlight(FHighlights->Items(0));
}

void TkvlCustomMemoView::SavePreHighlightState()
{
    FTempFill = std::make_unique<TkvlFillSlot>();
    FTempFill->SetFill(Fill());
    FTempFont = std::make_unique<TFont>();
    FTempFont->Assign(Font());
    FTempParentFont = ParentFont();
    FTempFrame = std::make_unique<TkvlFrame>();
    FTempFrame->Assign(Frame());
    FTempVisible = Visible();
    FHighlightActivated = true;
}

void TkvlCustomMemoView::RestorePreHighlightState()
{
    SetFill(FTempFill->Fill());
    SetFont(FTempFont.get());
    SetParentFont(FTempParentFont);
    SetFrame(FTempFrame.get());
    SetVisible(FTempVisible);
    FTempFill.reset();
    FTempFont.reset();
    FTempFrame.reset();
    FHighlightActivated = false;
}

// ---- printing -------------------------------------------------------------------------------

namespace {

// Bound to a field: the usual memo has no field name, seen without a call.
inline bool boundToField(const TkvlView &View)
{
    return !View.DataField.isEmpty() && View.IsDataField();
}

} // namespace

void TkvlCustomMemoView::BeforePrint()
{
    TkvlStretcheable::BeforePrint();
    if (!boundToField(*this))
        FTempMemo.Assign(FMemo);
}

void TkvlCustomMemoView::AfterPrint()
{
    // Swapped rather than copied: the saved lines are only read between BeforePrint and
    // AfterPrint, and BeforePrint copies into the list's storage already there.
    if (!boundToField(*this))
        std::swap(FMemo, FTempMemo);
    if (FHighlightActivated)
        RestorePreHighlightState();
    TkvlStretcheable::AfterPrint();
}

namespace {

// A condition of blanks only is no condition; looked at without making a trimmed copy.
bool hasCondition(const QString &Condition)
{
    for (const QChar c : Condition)
        if (!c.isSpace())
            return true;
    return false;
}

} // namespace

void TkvlCustomMemoView::ApplyFirstTrueHighlight()
{
    for (int i = 0; i < FHighlights->Count(); ++i) {
        TkvlHighlight *h = FHighlights->Items(i);
        if (!hasCondition(h->Condition))
            continue;
        const Variant r = Calc(h->Condition);
        bool on = false;
        try {
            on = r == Variant(true);
        } catch (const std::exception &) {
        }
        if (on) {
            SavePreHighlightState();
            ApplyHighlight(h);
            break;
        }
    }
}

inline bool TkvlCustomMemoView::HideZero(const Variant &V) const
{
    return HideZeros && kvlIsZeroValue(V);
}

void TkvlCustomMemoView::FillFromDataField()
{
    TkvlDataSet *ds = DataSet();
    if (ds->IsBlobField(DataField)) {
        // Our code-page conversion covers every character set; no locale is switched.
        ds->AssignBlobTo(DataField, FMemo);
        return;
    }
    Value = ds->GetValue(DataField);
    QString text;
    if (FFormats->Items(0)->Kind != fkText) {
        text = FormatData(Value);
    } else {
        text = ds->GetDisplayText(DataField);
        if (NonDefaultCharset())
            text = AnsiToUnicode(UnicodeToAnsi(text, Font()->Charset()), Font()->Charset());
    }
    if (HideZero(Value))
        text.clear();
    SetText(text);
}

void TkvlCustomMemoView::GetData()
{
    TkvlStretcheable::GetData();
    if (FFormats->Count() == 0) [[unlikely]]
        FFormats->Add();
    // A memo bound to a field takes its text from there, out of the usual path of a record.
    const bool dataField = boundToField(*this);
    if (dataField)
        FillFromDataField();
    // The report is looked up once for the record.
    TkvlReport *const report = GetReport();
    if (!dataField && AllowExpressions)
        FillExpressions(report);

    // Highlight conditions read the memo's value as "Value".
    if (report)
        report->SetLocalValue(Value);
    if (FHighlights->Count() > 0) [[unlikely]]
        ApplyFirstTrueHighlight();

    if (SuppressRepeated) {
        const QString t = Text();
        if (FLastValue.isString() && FLastValue.toString() == t)
            FMemo.Clear();
        else
            FLastValue = t;
    }

    if (TkvlCustomMemoView *next = FlowTo()) {
        InitPart();
        DrawPart();
        next->SetText(FPartMemo);
        next->AllowExpressions = false;
    }
}

// ---- filling --------------------------------------------------------------------------------

namespace {

enum class Marker : uint8_t { None, TotalPages, CopyName };

// The late markers are left in the text for ExtractMacros.
Marker markerOf(QStringView Expr)
{
    if (Expr.compare(QLatin1String("TOTALPAGES#"), Qt::CaseInsensitive) == 0)
        return Marker::TotalPages;
    if (Expr.compare(QLatin1String("COPYNAME#"), Qt::CaseInsensitive) == 0)
        return Marker::CopyName;
    return Marker::None;
}

bool hasLineBreak(QStringView Text)
{
    for (const QChar c : Text) {
        const char16_t u = c.unicode();
        if ((u <= u'\r' && (u == u'\r' || u == u'\n')) || u == 0x2028)
            return true;
    }
    return false;
}

// A value as Format shows it; a text passes through the code page of Charset when it is not 0.
inline QString formatValue(const Variant &Value, const TkvlFormat &Format, int Charset)
{
    if (Format.Kind == fkText && Charset && !Value.isNull()) {
        try {
            return AnsiToUnicode(UnicodeToAnsi(Value.toString(), Charset), Charset);
        } catch (const std::exception &) {
        }
    }
    return kvlFormatMemoValue(Value, Format, rtl::FormatSettings());
}

QString markerText(Marker M)
{
    return M == Marker::TotalPages ? QStringLiteral("[TotalPages#]") : QStringLiteral("[CopyName#]");
}

// Splits an inline format written after " #" off Expr into Format; a ")" after the " #" means
// it belongs to the expression. Answers whether there was a format.
bool splitInlineFormat(const QString &Expr, QStringView &Rest, TkvlFormat &Format)
{
    Rest = Expr;
    const qsizetype p = Expr.indexOf(QLatin1String(" #"));
    if (p < 0)
        return false;
    const QStringView part = QStringView(Expr).mid(p + 2);
    if (part.contains(u')'))
        return false;
    Rest = QStringView(Expr).left(p);
    const QChar c = part.isEmpty() ? QChar() : part[0].toUpper();
    QString fmt = part.mid(1, 255).toString();
    if (c == u'N') {
        Format.Kind = fkNumeric;
        for (QChar &ch : fmt)
            if (ch == u',' || ch == u'-' || ch == u'.') {
                Format.DecimalSeparator = QString(ch);
                ch = u'.';
            }
    } else if (c == u'D' || c == u'T') {
        Format.Kind = fkDateTime;
    } else if (c == u'B') {
        Format.Kind = fkBoolean;
    }
    Format.FormatStr = fmt;
    return true;
}

} // namespace

struct TkvlCustomMemoView::Prepared {
    struct Expression {
        qsizetype literalFrom = 0, literalTo = 0;  // the literal text before it, in Text
        QString expr;                              // what is evaluated
        Marker marker = Marker::None;
        std::unique_ptr<TkvlFormat> format;        // its inline format, else the memo's own
    };
    // What it was made from. The lines are kept shared with the memo's, so an unchanged line
    // is seen by its data pointer alone.
    std::vector<QString> lines;
    QString open, close;
    QString text;  // the lines joined by line breaks
    std::vector<Expression> expressions;
    qsizetype tailFrom = 0;
    bool oneLine = false;  // the template has one line

    bool MadeFrom(const TkvlWideStrings &Memo, const QString &Open, const QString &Close) const
    {
        // The delimiters are kept shared too.
        auto same = [](const QString &a, const QString &b) { return a.constData() == b.constData() || a == b; };
        if (int(lines.size()) != Memo.Count() || !same(Open, open) || !same(Close, close))
            return false;
        for (int i = 0; i < Memo.Count(); ++i) {
            const QString &line = Memo.At(i);
            if (line.constData() != lines[size_t(i)].constData() && line != lines[size_t(i)])
                return false;
        }
        return true;
    }
};

void TkvlCustomMemoView::PreparedText()
{
    auto p = std::make_unique<Prepared>();
    p->open = FOpenDelim;
    p->close = FCloseDelim;
    for (int i = 0; i < FMemo.Count(); ++i)
        p->lines.push_back(FMemo.At(i));
    QString &t = p->text;
    t = FMemo.Text();
    if (t.endsWith(QLatin1String("\r\n")))
        t.chop(2);
    // The scan of the filled text, done once on the template: a value inserted is never
    // scanned again, so the expressions are those of the template.
    qsizetype pos = 0, literal = 0;
    while ((pos = t.indexOf(FOpenDelim, pos)) >= 0) {
        int i = int(pos) + 1, j = i;
        const QString expr = kvlGetBrackedVariableW(t, FOpenDelim, FCloseDelim, i, j);
        if (j == i)
            break;
        Prepared::Expression e;
        e.literalFrom = literal;
        e.literalTo = pos;
        QStringView rest;
        auto format = std::make_unique<TkvlFormat>(nullptr);
        if (splitInlineFormat(expr, rest, *format))
            e.format = std::move(format);
        e.marker = markerOf(rest);
        e.expr = rest.size() == expr.size() ? expr : rest.toString();
        p->expressions.push_back(std::move(e));
        pos = literal = j;
    }
    p->tailFrom = literal;
    p->oneLine = !hasLineBreak(t);
    FPrepared = std::move(p);
}

void TkvlCustomMemoView::FillExpressions(TkvlReport *report)
{
    // An empty delimiter would match everywhere: filling stays off.
    if (FOpenDelim.isEmpty() || FCloseDelim.isEmpty())
        return;
    // Checked here, the text made again only when the template or the delimiters changed.
    if (!FPrepared || !FPrepared->MadeFrom(FMemo, FOpenDelim, FCloseDelim)) [[unlikely]]
        PreparedText();
    if (FPrepared->expressions.empty())
        return;
    // Held here while the values are computed: an expression that changes this memo's text and
    // fills it again makes a new one and leaves this one alone.
    std::unique_ptr<const Prepared> p = std::move(FPrepared);
    const int charset = ConvertingCharset();
    const int lastFormat = FFormats->Count() - 1;
    const QStringView text = p->text;
    // Taken from the member so that an expression that fills this memo again cannot spoil it;
    // its room is kept from record to record, so the text is written in place, each value
    // looked at for line breaks as it is copied.
    QString out = std::move(FFillBuffer);
    out.resize(std::max(out.capacity(), text.size()));
    QChar *begin = out.data(), *to = begin, *end = begin + out.size();
    auto grow = [&](qsizetype more) {
        const qsizetype at = to - begin;
        out.resize(std::max(2 * out.size(), at + more));
        begin = out.data();
        to = begin + at;
        end = begin + out.size();
    };
    auto put = [&](QStringView s) {
        if (end - to < s.size()) [[unlikely]]
            grow(s.size());
        to = std::copy_n(s.data(), s.size(), to);
    };
    char16_t breaks = 0;  // a value's characters that may end a line
    int k = 0;
    for (const Prepared::Expression &e : p->expressions) {
        put(text.mid(e.literalFrom, e.literalTo - e.literalFrom));
        const QString value = e.marker != Marker::None
            ? markerText(e.marker)
            : EvaluateAndFormat(report, charset, e.expr,
                                e.format ? e.format.get() : FFormats->Items(std::min(k, lastFormat)));
        if (end - to < value.size()) [[unlikely]]
            grow(value.size());
        for (const QChar c : value) {
            const char16_t u = c.unicode();
            // Only CR, LF and U+2028 count; anything at or below CR, or U+2028, is looked at again.
            breaks |= u <= u'\r' || u == 0x2028 ? u : 0;
            *to++ = c;
        }
        ++k;
    }
    put(text.mid(p->tailFrom));
    out.resize(to - begin);
    const bool valueBreaks = breaks && hasLineBreak(out);
    // One line, the usual case, is taken as it is; the memo hands the buffer back after the record.
    // The template's literals have no line break when it has one line: only the values are looked at.
    if (p->oneLine && !out.isEmpty() && !valueBreaks) {
        FMemo.Clear();
        FMemo.Add(out);
    } else {
        FMemo.SetText(out);
    }
    FFillBuffer = std::move(out);
    if (!FPrepared)
        FPrepared = std::move(p);
}

QString TkvlCustomMemoView::CalcAndFormat(const QString &Expr, const TkvlFormat *Format)
{
    TkvlFormat inlineFormat(nullptr);
    QStringView expr;
    if (splitInlineFormat(Expr, expr, inlineFormat))
        Format = &inlineFormat;
    if (const Marker m = markerOf(expr); m != Marker::None)
        return markerText(m);
    return EvaluateAndFormat(GetReport(), ConvertingCharset(), expr.size() == Expr.size() ? Expr : expr.toString(),
                             Format);
}

QString TkvlCustomMemoView::EvaluateAndFormat(TkvlReport *Report, int Charset, const QString &Expr,
                                              const TkvlFormat *Format)
{
    if (Report && !Charset) [[likely]]
        Value = Report->Calc(Expr);
    else if (!Report)
        Value = Variant::null();
    else
        Value = Report->Calc(AnsiToUnicode(UnicodeToAnsi(Expr, Charset), Charset));
    if (HideZero(Value))
        return QString();
    return formatValue(Value, Format ? *Format : *DisplayFormat(), Charset);
}

QString TkvlCustomMemoView::FormatData(const Variant &AValue, const TkvlFormat *Format) const
{
    return FormatValue(AValue, Format ? *Format : *DisplayFormat(), ConvertingCharset());
}

QString TkvlCustomMemoView::FormatValue(const Variant &AValue, const TkvlFormat &Format, int Charset) const
{
    return formatValue(AValue, Format, Charset);
}

QString TkvlCustomMemoView::GetComponentText()
{
    QString t = Text();
    if (AllowExpressions) {
        const qsizetype at = t.indexOf(QLatin1String("[TOTALPAGES]"), 0, Qt::CaseInsensitive);
        if (at >= 0)
            t.replace(at, 12, QString::number(TotalPages));
    }
    return t;
}

void TkvlCustomMemoView::ExtractMacros()
{
    if (!AllowExpressions)
        return;
    QString t = Text();
    bool changed = replaceMarker(t, QLatin1StringView("[TOTALPAGES#]"), QString::number(TotalPages));
    // The copy's name comes from the process-wide variable "CopyName"; without it the marker goes.
    if (t.contains(QLatin1StringView("[COPYNAME#]"), Qt::CaseInsensitive)) {
        const TkvlVariables &globals = kvlGlobalVariables();
        const int at = globals.IndexOf(QStringLiteral("CopyName"));
        const QString name = at >= 0 ? rtl::VarToStr(globals.Items(at)->Value()) + QString::number(CopyNo) : QString();
        changed |= replaceMarker(t, QLatin1StringView("[COPYNAME#]"), name);
    }
    if (changed)
        SetText(t);
}

// ---- nested collections ---------------------------------------------------------------------

void TkvlCustomMemoView::WriteNestedProperties(TkvlXMLItem *Item)
{
    if (FFormats->Count() > 1)
        kvlWriteCollection(FFormats.get(), formatsName(), Item, this);
    if (FHighlights->Count() > 1)
        kvlWriteCollection(FHighlights.get(), highlightsName(), Item, this);
}

bool TkvlCustomMemoView::ReadNestedProperty(TkvlXMLItem *Item)
{
    TCollection *c = nullptr;
    if (Item->Name().compare(formatsName(), Qt::CaseInsensitive) == 0)
        c = FFormats.get();
    else if (Item->Name().compare(highlightsName(), Qt::CaseInsensitive) == 0)
        c = FHighlights.get();
    if (!c)
        return false;
    c->Clear();
    kvlReadCollection(c, Item, this);
    return true;
}

// ---- registration ---------------------------------------------------------------------------

void kvlRegisterMemoClasses()
{
    rtl::RegisterClasses(
        {TkvlCustomMemoView::StaticClass(), TkvlMemoView::StaticClass(), TkvlSysMemoView::StaticClass()});
    TkvlResources &res = kvlResources();
    for (const auto &[key, text] : {std::pair{"obText", "Testo"}, std::pair{"obSysText", "Testo di sistema"}})
        if (res.IndexOf(QLatin1String(key)) < 0)
            res.Add(QLatin1String(key), QString::fromUtf8(text));
    kvlSetMemoTextAccess({TkvlCustomMemoView::StaticClass(),
                          [](TPersistent *m) { return static_cast<TkvlCustomMemoView *>(m)->Text(); },
                          [](TPersistent *m, const QString &t) { static_cast<TkvlCustomMemoView *>(m)->SetText(t); }});
}
