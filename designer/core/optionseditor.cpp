#include "designer/core/optionseditor.h"

bool kvlGridUnitsEditable(TkvlGridType Grid) { return Grid != gtDialog && Grid != gtChar; }

TkvlDesignerOptions kvlAcceptedOptions(const TkvlDesignerOptions &Before, const TkvlDesignerOptions &Edited,
                                       bool UnitsEditable)
{
    TkvlDesignerOptions o = Edited;
    if (!UnitsEditable) {
        o.Units = Before.Units;
        for (int i = 0; i < 3; ++i)
            o.GridSize[i] = Before.GridSize[i];
    }
    return o;
}
