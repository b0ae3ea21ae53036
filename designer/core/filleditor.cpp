#include "designer/core/filleditor.h"

void TkvlFillEditor::SetFill(const TkvlCustomFill *Fill)
{
    if (!Fill)
        return;
    auto *src = const_cast<TkvlCustomFill *>(Fill);
    Active = kvlGetFillType(Fill);
    switch (Active) {
    case ftBrush: Brush.Assign(src); break;
    case ftGradient: Gradient.Assign(src); break;
    case ftGlass: Glass.Assign(src); break;
    }
}

TkvlCustomFill *TkvlFillEditor::Fill()
{
    switch (Active) {
    case ftGradient: return &Gradient;
    case ftGlass: return &Glass;
    case ftBrush: break;
    }
    return &Brush;
}
