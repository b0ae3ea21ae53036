#pragma once
// Band layout of the workspace (TkvlWorkspace::AdjustBands, AdjustBandHeight): bands stacked
// in print order on the vertical grid, views attached to the band they lie in.
#include "designer/core/workspace.h"

// The extra space where the top group of bands ends and where the bottom group begins.
double kvlBandGroupGap(TkvlGridType GridType);
