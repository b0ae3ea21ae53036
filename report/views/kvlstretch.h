#pragma once
// The base of views whose height can follow their content and that the engine can split
// across pages.
#include "report/views/kvlview.h"

enum TkvlStretchMode : uint8_t { smDontStretch, smActualHeight, smMaxHeight };

namespace kvltypes {
const rtl::TypeInfo *StretchMode();  // TkvlStretchMode
} // namespace kvltypes

class TkvlStretcheable : public TkvlView {
    LIRRA_CLASS(TkvlStretcheable, TkvlView)
public:
    using TkvlView::TkvlView;

    TkvlStretchMode StretchMode = smDontStretch;
    // Height and top the engine keeps while it splits the object.
    double SaveHeight = 0;
    double SavedTop = 0;

    // The height the content needs.
    virtual double CalcHeight() { return Height(); }
    // Prints the next part of a split object; returns the height of what is left.
    virtual double DrawPart() { return 0; }
    // Prepares splitting.
    virtual void InitPart() {}
    virtual bool HasNextDataPart(double aFreeSpace) { return aFreeSpace < Top() + SaveHeight; }
    // The engine tells whether the space below the object is an empty page or column.
    void SetSpaceEmpty(bool Value) { FSpaceEmpty = Value; }
    bool SpaceEmpty() const { return FSpaceEmpty; }

private:
    bool FSpaceEmpty = false;
};
