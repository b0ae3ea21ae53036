#pragma once
// The owned background fill of a view or a highlight: switching its kind and the brush
// settings read through it.
#include "report/appearance/fill.h"

#include <memory>

class TkvlFillSlot {
public:
    TkvlFillSlot() : FFill(kvlCreateFill(ftBrush)) {}

    TkvlCustomFill *Fill() const { return FFill.get(); }
    TkvlFillType FillType() const { return kvlGetFillType(FFill.get()); }
    // A different kind replaces the fill by a new one of that kind with its defaults;
    // returns whether it did.
    bool SetFillType(TkvlFillType Value);
    // Takes Value's kind, then its settings.
    bool SetFill(TkvlCustomFill *Value);

    // The brush fill's style and background colour; other kinds give bsClear, and for the
    // colour their middle colour (gradient) or clNone (glass). Setting them changes only a
    // brush fill.
    TBrushStyle BrushStyle() const;
    void SetBrushStyle(TBrushStyle Value);
    TColor Color() const;
    void SetColor(TColor Value);

private:
    std::unique_ptr<TkvlCustomFill> FFill;
};
