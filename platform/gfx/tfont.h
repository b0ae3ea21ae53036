#pragma once
// Font description with published properties and a suspendable change notification.
// It only describes a font; resolving and measuring it is the font service's job.
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/reflect/persistent.h"

#include <QString>
#include <cstdint>
#include <functional>

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
// Set of TFontStyle: bit 1 << style (bold 1, italic 2, underline 4, strike-out 8).
using TFontStyles = uint8_t;
constexpr TFontStyles FontStyleBit(TFontStyle s) { return TFontStyles(1u << s); }
enum TFontQuality : uint8_t {
    fqDefault,
    fqDraft,
    fqProof,
    fqNonAntialiased,
    fqAntialiased,
    fqClearType,
    fqClearTypeNatural,
};

class TFont : public TPersistent {
    LIRRA_CLASS(TFont, TPersistent)
public:
    static constexpr int32_t DefaultColor = -16777208;  // clWindowText
    static constexpr uint8_t DefaultCharset = 1;        // DEFAULT_CHARSET

    TFont();

    // The font as a canvas takes it; the height stays in this font's own pixels.
    gfx::FontDesc Desc() const
    {
        gfx::FontDesc d;
        d.name = FName;
        d.height = FHeight;
        d.style = FStyle;
        d.charset = FCharset;
        d.orientation = FOrientation;
        d.pitch = FPitch;
        d.quality = FQuality;
        d.color = FColor;
        return d;
    }

    uint8_t Charset() const { return FCharset; }
    void SetCharset(uint8_t v);
    int32_t Color() const { return FColor; }
    void SetColor(int32_t v);
    // Negative: character height in pixels at PixelsPerInch; positive: cell height.
    int32_t Height() const { return FHeight; }
    void SetHeight(int32_t v);
    const QString &Name() const { return FName; }
    void SetName(const QString &v);  // an empty name is ignored
    int32_t Orientation() const { return FOrientation; }
    void SetOrientation(int32_t v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    // Points: -MulDiv(Height, 72, PixelsPerInch); setting it sets Height.
    int32_t Size() const;
    void SetSize(int32_t v);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    bool HasStyle(TFontStyle s) const { return (FStyle & FontStyleBit(s)) != 0; }
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality v);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int v) { FPixelsPerInch = v > 0 ? v : 96; }

    // Called after every change (once per Assign), unless suspended.
    std::function<void(TFont *Sender)> OnChange;
    // Suspends OnChange; the last EndUpdate fires it once when anything changed meanwhile.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // Copies every attribute of another font (pixels per inch included).
    void Assign(TPersistent *Source) override;
    // Same attributes (pixels per inch included).
    bool SameAs(const TFont &o) const;

protected:
    void Changed();

private:
    uint8_t FCharset = DefaultCharset;
    int32_t FColor = DefaultColor;
    int32_t FHeight = -11;
    QString FName = QStringLiteral("Tahoma");
    int32_t FOrientation = 0;
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle = 0;
    TFontQuality FQuality = fqDefault;
    int FPixelsPerInch = 96;
    int FUpdateCount = 0;
    bool FPending = false;
};
