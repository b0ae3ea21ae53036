#pragma once
// Page setup of a designed page, free of widgets: lengths in the designer's unit, the column
// layout over the printable width, and the values written to a page and to the page of every
// subreport placed on it.
#include "designer/core/rulerticks.h"
#include "report/printers/kvlprinters.h"

#include <QString>
#include <QStringList>
#include <vector>

class TkvlReportPage;

// Millimetres to the unit and back; X picks the horizontal character width.
double kvlMmToUnits(TkvlRulerUnits Units, double Mm, bool X = true);
double kvlUnitsTomm(TkvlRulerUnits Units, double Value, bool X = true);
// Resource key of the unit's short name ("uCm", "uInch", "uPix", "uChar").
QString kvlUnitKey(TkvlRulerUnits Units);

// Columns spread over the page's width between the margins; a count of 0 is one column.
struct TkvlColumnLayout {
    double Width = 0;               // millimetres
    std::vector<double> Positions;  // millimetres from the left margin
};
TkvlColumnLayout kvlColumnLayout(double PageWidth, double LeftMargin, double RightMargin, int Count);

// Everything the page setup edits, in millimetres.
struct TkvlPageSetup {
    TPrinterOrientation Orientation = poPortrait;
    int Paper = kvlA4Paper;
    double Width = 0, Height = 0;
    double LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    int Bin = kvlDefaultBin, BinOtherPages = kvlDefaultBin;
    int Columns = 0;
    double ColumnWidth = 0;
    std::vector<double> ColumnPositions;
    bool PrintOnPreviousPage = false, MirrorMargins = false, EndlessWidth = false, EndlessHeight = false,
         LargeDesignHeight = false;
    int Duplex = 0;
};

TkvlPageSetup kvlPageSetupOf(TkvlReportPage *Page);
// Writes to Page, then to the page of each subreport among Page's objects, in object order.
void kvlApplyPageSetup(const TkvlPageSetup &Setup, TkvlReportPage *Page);
