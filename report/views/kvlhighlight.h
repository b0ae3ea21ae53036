#pragma once
// The two collections memo views carry: conditional highlights and display formats.
#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/collection.h"
#include "report/appearance/frame.h"
#include "report/views/fillslot.h"

#include <memory>

// A look a memo takes while its condition holds.
class TkvlHighlight : public TCollectionItem {
    LIRRA_CLASS(TkvlHighlight, TCollectionItem)
public:
    explicit TkvlHighlight(TCollection *ACollection);
    ~TkvlHighlight() override;
    void Assign(TPersistent *Source) override;

    bool Active = false;
    bool ApplyFont = true;
    bool ApplyFill = true;
    bool ApplyFrame = false;
    QString Condition;
    bool Visible = true;

    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TkvlFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TkvlFrame *Value) { FFrame->Assign(Value); }
    TkvlCustomFill *Fill() const { return FFill.Fill(); }
    void SetFill(TkvlCustomFill *Value) { FFill.SetFill(Value); }
    TkvlFillType FillType() const { return FFill.FillType(); }
    void SetFillType(TkvlFillType Value) { FFill.SetFillType(Value); }
    TColor Color() const { return FFill.Color(); }
    void SetColor(TColor Value) { FFill.SetColor(Value); }

private:
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TkvlFrame> FFrame;
    TkvlFillSlot FFill;
};

class TkvlHighlightCollection : public TCollection {
    LIRRA_CLASS(TkvlHighlightCollection, TCollection)
public:
    explicit TkvlHighlightCollection(TPersistent *AOwner = nullptr);
    TkvlHighlight *Items(int Index) const { return static_cast<TkvlHighlight *>(TCollection::Items(Index)); }
};

enum TkvlFormatKind : uint8_t { fkText, fkNumeric, fkDateTime, fkBoolean };

// How a memo shows a value.
class TkvlFormat : public TCollectionItem {
    LIRRA_CLASS(TkvlFormat, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    void Assign(TPersistent *Source) override;

    QString DecimalSeparator;
    QString ThousandSeparator;
    QString FormatStr;
    TkvlFormatKind Kind = fkText;
};

class TkvlFormatCollection : public TCollection {
    LIRRA_CLASS(TkvlFormatCollection, TCollection)
public:
    explicit TkvlFormatCollection(TPersistent *AOwner = nullptr);
    TkvlFormat *Items(int Index) const { return static_cast<TkvlFormat *>(TCollection::Items(Index)); }
};
