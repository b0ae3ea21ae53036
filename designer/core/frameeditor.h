#pragma once
// Rules of the frame dialog, applied to its private frame: sides switched with the current
// line values, all sides, no sides.
#include "report/appearance/frame.h"

#include <QString>

// The line the next side set takes.
struct TkvlFrameLineValues {
    TkvlFrameStyle Style = fsSolid;
    double Width = 1;
    TColor Color = 0;
};

// A side clicked towards State (on: the side was off). Switching off only removes a side
// drawn with the current values (widths equal within 1e-6, so a width shown rounded still
// matches); any other click turns the side on and gives it the current values.
void kvlFrameLineClicked(TkvlFrame &Frame, TkvlFrameType Side, bool State, const TkvlFrameLineValues &Line);
// Every side on, all taking the current values.
void kvlFrameAllSides(TkvlFrame &Frame, const TkvlFrameLineValues &Line);
// No side on; the side lines keep their values for a later All.
void kvlFrameNoSides(TkvlFrame &Frame);
// A width as the box shows it (the process's decimal separator, no trailing zeros).
QString kvlWidthText(double Width);
