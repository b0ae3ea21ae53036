#include "report/dmp/kvldmpviews.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/dmp/kvldmppage.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"
#include "report/views/viewdraw.h"

#include <cmath>

LIRRA_DEFINE_CLASS(TkvlDMPMemoView)
LIRRA_DEFINE_CLASS(TkvlDMPLineView)
LIRRA_DEFINE_CLASS(TkvlDMPCommand)

namespace {

TkvlDMPPage *dmpPageOf(const TkvlComponent *c) { return rtl_cast<TkvlDMPPage>(c->GetPage()); }

} // namespace

// ---- text -----------------------------------------------------------------------------------

void TkvlDMPMemoView::DeclareClass(rtl::ClassBuilder<TkvlDMPMemoView> &b)
{
    using T = TkvlDMPMemoView;
    for (const char *n : {"AutoWidth", "AllowExpressions", "DataField", "DataSet", "DataSetName", "DisplayFormat",
                          "ExpressionDelimiters", "FlowTo"})
        b.publish(n);
    b.prop<&T::FontStyle, &T::SetFontStyle>("FontStyle", kvltypes::DMPFontStyles())
        .template stored<[](const T &m) { return !m.ParentFont(); }>();
    for (const char *n : {"Frame", "HAlign", "HideZeros", "ParentFont", "RTLReading", "SuppressRepeated", "WordWrap"})
        b.publish(n);
    b.prop<&T::TruncOutboundText>("TruncOutboundText");
    b.publish("VAlign");
    b.description([] { return kvlResourceText(QStringLiteral("obDMPText")); });
}

TkvlDMPMemoView::TkvlDMPMemoView(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlCustomMemoView(AOwner, Design)
{
    // The base constructors took the parent's font without this class's part of it.
    if (ParentFont())
        if (TkvlDMPPage *page = dmpPageOf(this))
            FFontStyle = page->FontStyle();
    ResetFontOptions();
}

void TkvlDMPMemoView::ResetFontOptions()
{
    Font()->OnChange = nullptr;
    kvlSetDMPFont(*Font(), FFontStyle);
    CharSpacing = 0;
    LineSpacing = 1;
    GapX = 0;
    GapY = 0;
}

void TkvlDMPMemoView::SetFontStyle(TkvlDMPFontStyles Value)
{
    FFontStyle = Value;
    SetParentFont(false);
    ResetFontOptions();
}

void TkvlDMPMemoView::SetParentFont(bool Value)
{
    TkvlCustomMemoView::SetParentFont(Value);
    if (Value)
        if (TkvlDMPPage *page = dmpPageOf(this))
            FFontStyle = page->FontStyle();
}

void TkvlDMPMemoView::SetLeft(double Value)
{
    TkvlCustomMemoView::SetLeft(Align() == baRight ? kvlSnapTrunc(Value, kvlCharX) : kvlSnapRound(Value, kvlCharX));
}

void TkvlDMPMemoView::SetTop(double Value) { TkvlCustomMemoView::SetTop(kvlSnapRound(Value, kvlCharY)); }
void TkvlDMPMemoView::SetWidth(double Value) { TkvlCustomMemoView::SetWidth(kvlSnapRound(Value, kvlCharX)); }
void TkvlDMPMemoView::SetHeight(double Value) { TkvlCustomMemoView::SetHeight(kvlSnapRound(Value, kvlCharY)); }

void TkvlDMPMemoView::SetBoundsDirect(double ALeft, double ATop, double AWidth, double AHeight)
{
    TkvlCustomMemoView::SetLeft(ALeft);
    TkvlCustomMemoView::SetTop(ATop);
    TkvlCustomMemoView::SetWidth(AWidth);
    TkvlCustomMemoView::SetHeight(AHeight);
}

double TkvlDMPMemoView::CalcHeight() { return kvlSnapRound(TkvlCustomMemoView::CalcHeight(), kvlCharY); }
double TkvlDMPMemoView::CalcWidth() { return kvlSnapRound(TkvlCustomMemoView::CalcWidth(), kvlCharX); }

void TkvlDMPMemoView::DrawFrame()
{
    const double l = GetAbsLeft(), t = GetAbsTop();
    X = kvlRnd(OffsetX + ScaleX * (l - kvlCharX / 2));
    Y = kvlRnd(OffsetY + ScaleY * (t - kvlCharY / 2));
    X1 = kvlRnd(OffsetX + ScaleX * (l + Width() + kvlCharX / 2));
    Y1 = kvlRnd(OffsetY + ScaleY * (t + Height() + kvlCharY / 2));
    TkvlCustomMemoView::DrawFrame();
}

QString TkvlDMPMemoView::GetoutBoundText() const
{
    const int lines = int(std::nearbyint(Height() / kvlCharY));
    const int columns = int(std::nearbyint(Width() / kvlCharX));
    QString out;
    for (int i = 0; i < lines && i < Memo().Count(); ++i)
        out += Memo().Get(i).left(std::max(columns, 0)) + QLatin1String("\r\n");
    return out;
}

// ---- line -----------------------------------------------------------------------------------

void TkvlDMPLineView::DeclareClass(rtl::ClassBuilder<TkvlDMPLineView> &b)
{
    using T = TkvlDMPLineView;
    b.prop<&T::FontStyle, &T::SetFontStyle>("FontStyle", kvltypes::DMPFontStyles())
        .template stored<[](const T &m) { return !m.ParentFont(); }>();
    b.publish("ParentFont");
    b.description([] { return kvlResourceText(QStringLiteral("obDMPLine")); });
}

TkvlDMPLineView::TkvlDMPLineView(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlCustomLineView(AOwner, Design)
{
    if (ParentFont())
        if (TkvlDMPPage *page = dmpPageOf(this))
            FFontStyle = page->FontStyle();
}

void TkvlDMPLineView::SetFontStyle(TkvlDMPFontStyles Value)
{
    FFontStyle = Value;
    SetParentFont(false);
}

void TkvlDMPLineView::SetParentFont(bool Value)
{
    TkvlCustomLineView::SetParentFont(Value);
    if (Value)
        if (TkvlDMPPage *page = dmpPageOf(this))
            FFontStyle = page->FontStyle();
}

void TkvlDMPLineView::SetLeft(double Value)
{
    double x;
    if (Value < 0)
        x = kvlSnapTrunc(Value, kvlCharX) - kvlCharX / 2;
    else if (Align() == baRight)
        x = kvlSnapRound(Value, kvlCharX) - kvlCharX / 2;
    else
        x = kvlSnapTrunc(Value, kvlCharX) + kvlCharX / 2;
    TkvlCustomLineView::SetLeft(x);
}

void TkvlDMPLineView::SetTop(double Value)
{
    TkvlCustomLineView::SetTop(kvlSnapTrunc(Value, kvlCharY) + kvlCharY / 2);
}

void TkvlDMPLineView::SetWidth(double Value)
{
    TkvlCustomLineView::SetWidth(Align() == baWidth ? kvlSnapTrunc(Value, kvlCharX) : kvlSnapRound(Value, kvlCharX));
}

// ---- command --------------------------------------------------------------------------------

void TkvlDMPCommand::DeclareClass(rtl::ClassBuilder<TkvlDMPCommand> &b)
{
    using T = TkvlDMPCommand;
    b.prop<&T::Command>("Command");
    b.description([] { return kvlResourceText(QStringLiteral("obDMPCmd")); });
}

TkvlDMPCommand::TkvlDMPCommand(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlView(AOwner, Design) {}

void TkvlDMPCommand::SetLeft(double Value) { TkvlView::SetLeft(kvlSnapRound(Value, kvlCharX)); }
void TkvlDMPCommand::SetTop(double Value) { TkvlView::SetTop(kvlSnapRound(Value, kvlCharY)); }

namespace {

// One group of the command as a printer byte: empty, malformed or above 255 is refused.
QChar byteOf(const QString &Group)
{
    const int32_t code = rtl::StrToInt(Group);
    if (code < 0 || code > 255)
        throw EConvertError(QStringLiteral("'%1' is not a printer byte").arg(Group));
    return QChar(char16_t(code));
}

} // namespace

QString TkvlDMPCommand::ToChr() const
{
    QString out;
    if (Command.startsWith(u'#')) {
        const QString s = Command + u'#';
        QString group;
        for (qsizetype i = 1; i < s.size(); ++i) {
            if (s[i] == u'#') {
                out += byteOf(group);
                group.clear();
            } else {
                group += s[i];
            }
        }
        return out;
    }
    for (qsizetype i = 0; i + 1 < Command.size(); i += 2)
        out += byteOf(u'$' + Command.mid(i, 2));
    return out;
}

// ---- start-up -------------------------------------------------------------------------------

void kvlRegisterDMPClasses()
{
    rtl::RegisterClass(TkvlDMPPage::StaticClass());
    TkvlObjectCollection &objects = kvlObjects();
    objects.RegisterObject1(TkvlDMPMemoView::StaticClass(), nullptr, {}, {}, 0, 2, kvlBit(ctDMP));
    objects.RegisterObject1(TkvlDMPLineView::StaticClass(), nullptr, {}, {}, 0, 5, kvlBit(ctDMP));
    objects.RegisterObject1(TkvlDMPCommand::StaticClass(), nullptr, {}, {}, 0, 21, kvlBit(ctDMP));
    // The descriptions' texts, unless a language file gave them already.
    TkvlResources &res = kvlResources();
    for (const auto &[key, text] : {std::pair{"obDMPText", "Testo per stampante ad aghi"},
                                    std::pair{"obDMPLine", "Linea per stampante ad aghi"},
                                    std::pair{"obDMPCmd", "Dot-matrix Command object"}})
        if (res.IndexOf(QLatin1String(key)) < 0)
            res.Add(QLatin1String(key), QString::fromUtf8(text));
}
