#pragma once
// The markup pieces of the word-processing document: colours, borders, alignments, run
// properties, texts, section properties and the unit conversions of pages, cells and pictures.
#include "platform/gfx/tfont.h"
#include "platform/rtl/color.h"
#include "report/appearance/frame.h"
#include "report/text/htmltags.h"
#include "report/text/kvldrawtext.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace docx {

// Page size and margins of one section, in twips.
struct PageSetup {
    int Width = 0, Height = 0;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Millimetres of paper, report units of columns and rows, report units of pictures.
int MillimetresToTwips(double Mm);
int ColumnTwips(double Units);
int RowTwips(double Units);
int UnitsToEmu(double Units);

// Six hexadecimal digits of a colour (system colours resolved), lowercase "rrggbb".
QByteArray ColorText(TColor Color);
// Upper-case "RRGGBB" of a colour, for fills and fonts.
QByteArray ColorHex(TColor Color);
const char *BorderStyle(TkvlFrameStyle Style);
// The attributes of one side of a cell border; "nil" when the side is off.
void AppendBorder(QByteArray &Out, const TkvlFrameLine &Line, bool On);
const char *VAlign(TkvlVAlign A);
const char *HAlign(TkvlHAlign A);
// "btLr" for 90, "tbRlV" for 270, "lrTb" otherwise.
const char *TextDirection(int Rotation);

// Run properties: the font's name and size with the given style bits (gfx::FontStyleBits),
// colour and vertical position.
void AppendFont(QByteArray &Out, const TFont &Font, uint8_t Style, TColor Color, TSubStyle Sub);
// Run properties of the font as it stands, on the baseline.
QByteArray FontProperties(const TFont &Font);

// A text run's body: nothing for an empty S, else <w:t> elements with tabs as <w:tab/>;
// Spaced keeps leading and trailing blanks. Characters XML forbids are dropped.
void AppendText(QByteArray &Out, QStringView S, bool Spaced);

// The line height of a text paragraph in twentieths of a point.
int LineValue(int FontSizePt, double LineSpacing);

// <w:sectPr> of a page: landscape when the height is below the width.
QByteArray SecPr(const PageSetup &Page);

// Text for an XML attribute or element, without the characters XML forbids.
QByteArray XmlText(const QString &S);

} // namespace docx
