#include "platform/gfx/tfont.h"

#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classbuilder.h"

LIRRA_DEFINE_CLASS(TFont)

void TFont::DeclareClass(rtl::ClassBuilder<TFont> &b)
{
    using T = TFont;
    b.prop<&T::Charset, &T::SetCharset>("Charset", rtl::types::TFontCharset());
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor());
    b.prop<&T::Height, &T::SetHeight>("Height");
    b.prop<&T::Name, &T::SetName>("Name", rtl::types::TFontName());
    b.prop<&T::Orientation, &T::SetOrientation>("Orientation").def(0);
    b.prop<&T::Pitch, &T::SetPitch>("Pitch", rtl::EnumType(QStringLiteral("TFontPitch"),
                                                            {"fpDefault", "fpVariable", "fpFixed"}))
        .def(fpDefault);
    b.prop<&T::Size, &T::SetSize>("Size").stored(false);
    b.prop<&T::Style, &T::SetStyle>(
        "Style", rtl::SetType(QStringLiteral("TFontStyles"),
                              rtl::EnumType(QStringLiteral("TFontStyle"),
                                            {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})));
    b.prop<&T::Quality, &T::SetQuality>("Quality",
                                        rtl::EnumType(QStringLiteral("TFontQuality"),
                                                      {"fqDefault", "fqDraft", "fqProof", "fqNonAntialiased",
                                                       "fqAntialiased", "fqClearType", "fqClearTypeNatural"}))
        .def(fqDefault);
}

TFont::TFont() = default;

void TFont::Changed()
{
    if (FUpdateCount > 0) {
        FPending = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

void TFont::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPending) {
        FPending = false;
        Changed();
    }
}

#define LIRRA_FONT_SETTER(Fn, Field, Type)                                                     \
    void TFont::Fn(Type v)                                                                     \
    {                                                                                          \
        if (Field == v)                                                                        \
            return;                                                                            \
        Field = v;                                                                             \
        Changed();                                                                             \
    }
LIRRA_FONT_SETTER(SetCharset, FCharset, uint8_t)
LIRRA_FONT_SETTER(SetColor, FColor, int32_t)
LIRRA_FONT_SETTER(SetHeight, FHeight, int32_t)
LIRRA_FONT_SETTER(SetOrientation, FOrientation, int32_t)
LIRRA_FONT_SETTER(SetPitch, FPitch, TFontPitch)
LIRRA_FONT_SETTER(SetQuality, FQuality, TFontQuality)
#undef LIRRA_FONT_SETTER

void TFont::SetStyle(TFontStyles v)
{
    v &= 0x0F;
    if (FStyle == v)
        return;
    FStyle = v;
    Changed();
}

void TFont::SetName(const QString &v)
{
    if (v.isEmpty() || v == FName)
        return;
    FName = v;
    Changed();
}

int32_t TFont::Size() const { return -rtl::MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int32_t v) { SetHeight(-rtl::MulDiv(v, FPixelsPerInch, 72)); }

void TFont::Assign(TPersistent *Source)
{
    auto *f = rtl_cast<TFont>(Source);
    if (!f) {
        TPersistent::Assign(Source);
        return;
    }
    if (f == this)
        return;
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FOrientation = f->FOrientation;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    FQuality = f->FQuality;
    FPixelsPerInch = f->FPixelsPerInch;
    Changed();
}

bool TFont::SameAs(const TFont &o) const
{
    return FCharset == o.FCharset && FColor == o.FColor && FHeight == o.FHeight && FName == o.FName
        && FOrientation == o.FOrientation && FPitch == o.FPitch && FStyle == o.FStyle && FQuality == o.FQuality
        && FPixelsPerInch == o.FPixelsPerInch;
}
