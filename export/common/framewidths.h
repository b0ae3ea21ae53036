#pragma once
// The four side widths of a frame, put back one by one after the frame width was changed
// (its setter gives every side the same width).
#include "report/appearance/frame.h"

struct TkvlFrameWidths {
    explicit TkvlFrameWidths(const TkvlFrame &F)
        : frame(F.Width()), left(F.LeftLine()->Width()), top(F.TopLine()->Width()),
          right(F.RightLine()->Width()), bottom(F.BottomLine()->Width())
    {
    }
    void RestoreTo(TkvlFrame &F) const
    {
        F.SetWidth(frame);
        F.LeftLine()->SetWidth(left);
        F.TopLine()->SetWidth(top);
        F.RightLine()->SetWidth(right);
        F.BottomLine()->SetWidth(bottom);
    }
    double frame, left, top, right, bottom;
};
