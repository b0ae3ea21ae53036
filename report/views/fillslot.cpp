#include "report/views/fillslot.h"

bool TkvlFillSlot::SetFillType(TkvlFillType Value)
{
    if (Value == FillType())
        return false;
    FFill.reset(kvlCreateFill(Value));
    return true;
}

bool TkvlFillSlot::SetFill(TkvlCustomFill *Value)
{
    if (!Value)
        return false;
    const bool changed = SetFillType(kvlGetFillType(Value));
    if (Value != FFill.get())
        FFill->Assign(Value);
    return changed;
}

TBrushStyle TkvlFillSlot::BrushStyle() const
{
    if (auto *b = rtl_cast<TkvlBrushFill>(FFill.get()))
        return b->FStyle;
    return bsClear;
}

void TkvlFillSlot::SetBrushStyle(TBrushStyle Value)
{
    if (auto *b = rtl_cast<TkvlBrushFill>(FFill.get()))
        b->FStyle = Value;
}

TColor TkvlFillSlot::Color() const
{
    if (auto *g = rtl_cast<TkvlGradientFill>(FFill.get()))
        return g->GetColor();
    if (auto *b = rtl_cast<TkvlBrushFill>(FFill.get()))
        return b->FBackColor;
    return clNone;
}

void TkvlFillSlot::SetColor(TColor Value)
{
    if (auto *b = rtl_cast<TkvlBrushFill>(FFill.get()))
        b->FBackColor = Value;
}
