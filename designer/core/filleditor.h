#pragma once
// Rules of the fill dialog: one private fill of each kind, the result being the fill of the
// active kind.
#include "report/appearance/fill.h"

class TkvlFillEditor {
public:
    // Copies Fill into the private fill of its kind, which becomes active.
    void SetFill(const TkvlCustomFill *Fill);
    // The private fill of the active kind.
    TkvlCustomFill *Fill();

    TkvlFillType Active = ftBrush;
    TkvlBrushFill Brush;
    TkvlGradientFill Gradient;
    TkvlGlassFill Glass;
};
