#include "report/views/kvlhighlight.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlcomponent.h"

LIRRA_DEFINE_CLASS(TkvlHighlight)
LIRRA_DEFINE_CLASS(TkvlHighlightCollection)
LIRRA_DEFINE_CLASS(TkvlFormat)
LIRRA_DEFINE_CLASS(TkvlFormatCollection)

void TkvlHighlight::DeclareClass(rtl::ClassBuilder<TkvlHighlight> &b)
{
    using T = TkvlHighlight;
    b.prop<&T::Active>("Active").stored(false);
    b.prop<&T::ApplyFont>("ApplyFont").def(true);
    b.prop<&T::ApplyFill>("ApplyFill").def(true);
    b.prop<&T::ApplyFrame>("ApplyFrame").def(false);
    b.prop<&T::Font, &T::SetFont>("Font");
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).stored(false);
    b.prop<&T::Condition>("Condition");
    b.prop<&T::FillType, &T::SetFillType>("FillType", kvlFillTypeType());
    b.prop<&T::Fill, &T::SetFill>("Fill");
    b.prop<&T::Frame, &T::SetFrame>("Frame");
    b.prop<&T::Visible>("Visible").def(true);
}

TkvlHighlight::TkvlHighlight(TCollection *ACollection)
    : TCollectionItem(ACollection), FFont(std::make_unique<TFont>()), FFrame(std::make_unique<TkvlFrame>())
{
    FFont->SetPixelsPerInch(96);
    FFont->SetName(QStringLiteral("Arial"));
    FFont->SetSize(10);
    FFont->SetColor(255);
    FFont->SetCharset(uint8_t(kvlDefaultCharset()));
}

TkvlHighlight::~TkvlHighlight() = default;

void TkvlHighlight::Assign(TPersistent *Source)
{
    auto *s = rtl_cast<TkvlHighlight>(Source);
    if (!s) {
        inherited::Assign(Source);
        return;
    }
    Active = s->Active;
    ApplyFont = s->ApplyFont;
    ApplyFill = s->ApplyFill;
    ApplyFrame = s->ApplyFrame;
    Condition = s->Condition;
    Visible = s->Visible;
    FFont->Assign(s->Font());
    FFrame->Assign(s->Frame());
    FFill.SetFill(s->Fill());
}

TkvlHighlightCollection::TkvlHighlightCollection(TPersistent *AOwner)
    : TCollection(TkvlHighlight::StaticClass(), AOwner)
{
}

void TkvlHighlightCollection::DeclareClass(rtl::ClassBuilder<TkvlHighlightCollection> &) {}

static const rtl::TypeInfo *kvlFormatKindType()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlFormatKind"), {"fkText", "fkNumeric", "fkDateTime", "fkBoolean"});
    return t;
}

void TkvlFormat::DeclareClass(rtl::ClassBuilder<TkvlFormat> &b)
{
    using T = TkvlFormat;
    b.prop<&T::DecimalSeparator>("DecimalSeparator");
    b.prop<&T::ThousandSeparator>("ThousandSeparator");
    b.prop<&T::FormatStr>("FormatStr");
    b.prop<&T::Kind>("Kind", kvlFormatKindType()).def(fkText);
}

void TkvlFormat::Assign(TPersistent *Source)
{
    auto *s = rtl_cast<TkvlFormat>(Source);
    if (!s) {
        inherited::Assign(Source);
        return;
    }
    DecimalSeparator = s->DecimalSeparator;
    ThousandSeparator = s->ThousandSeparator;
    FormatStr = s->FormatStr;
    Kind = s->Kind;
}

TkvlFormatCollection::TkvlFormatCollection(TPersistent *AOwner) : TCollection(TkvlFormat::StaticClass(), AOwner) {}

void TkvlFormatCollection::DeclareClass(rtl::ClassBuilder<TkvlFormatCollection> &) {}
