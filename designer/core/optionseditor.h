#pragma once
// The designer window's own options as the options dialog edits them: the window fills a copy,
// the dialog changes it, and on OK the window takes it back.
#include "designer/core/rulerticks.h"
#include "designer/core/workspace.h"
#include "platform/rtl/color.h"

#include <QString>

struct TkvlDesignerOptions {
    TkvlRulerUnits Units = ruCM;
    double GridSize[4] = {};  // centimetres, inches, pixels, dialog pixels
    bool ShowGrid = false, GridAlign = false, EditAfterInsert = false, ShowBandCaptions = true,
         DropFields = false, ShowStartup = false, FreeBandsPlacement = false, UseObjectFont = false,
         GridLCD = false;
    int GapBetweenBands = 0;
    QString CodeFontName;
    int CodeFontSize = 10;
    QString MemoFontName;
    int MemoFontSize = 10;
    TColor WorkspaceColor = clWhite, ToolsColor = clBtnFace;
};

// The unit and the first three grid sizes are not the user's to change while the workspace
// shows a dialog page or a dot-matrix page.
bool kvlGridUnitsEditable(TkvlGridType Grid);

// What OK keeps of Edited: all of it, but the unit and the first three grid sizes only when
// they were editable.
TkvlDesignerOptions kvlAcceptedOptions(const TkvlDesignerOptions &Before, const TkvlDesignerOptions &Edited,
                                       bool UnitsEditable);
