#include "export/docx/docxrules.h"

#include "export/xlsx/xlsxoffice.h"
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/numeric.h"

namespace docx {

namespace {

void AppendHex6(QByteArray &Out, int Rgb, bool Upper)
{
    static const char lower[] = "0123456789abcdef";
    static const char upper[] = "0123456789ABCDEF";
    const char *digits = Upper ? upper : lower;
    for (int shift = 20; shift >= 0; shift -= 4)
        Out += digits[(Rgb >> shift) & 0xF];
}

} // namespace

int MillimetresToTwips(double Mm) { return int(rtl::Round(Mm * 56.79)); }
int ColumnTwips(double Units) { return int(rtl::Round(Units * 15.5)); }
int RowTwips(double Units) { return int(rtl::Round(Units * 14.5)); }
int UnitsToEmu(double Units) { return int(rtl::Round(Units * 360000 / 37.7953)); }

QByteArray ColorText(TColor Color)
{
    QByteArray s;
    AppendHex6(s, xlsx::ColorRgb(Color), false);
    return s;
}

QByteArray ColorHex(TColor Color)
{
    QByteArray s;
    AppendHex6(s, xlsx::ColorRgb(Color), true);
    return s;
}

const char *BorderStyle(TkvlFrameStyle Style)
{
    switch (Style) {
    case fsSolid: return "single";
    case fsDash: return "dashed";
    case fsDot: return "dotted";
    case fsDashDot:
    case fsAltDot: return "dashDot";
    case fsDashDotDot: return "dashDotDot";
    case fsDouble: return "double";
    default: return "thin";
    }
}

void AppendBorder(QByteArray &Out, const TkvlFrameLine &Line, bool On)
{
    if (!On) {
        Out += "w:val=\"nil\"";
        return;
    }
    Out += "w:val=\"";
    Out += BorderStyle(Line.Style());
    Out += "\" w:sz=\"4\" w:space=\"0\" w:color=\"";
    Out += ColorText(Line.Color());
    Out += '"';
}

const char *VAlign(TkvlVAlign A)
{
    switch (A) {
    case vaBottom: return "bottom";
    case vaCenter: return "center";
    default: return "top";
    }
}

const char *HAlign(TkvlHAlign A)
{
    switch (A) {
    case haRight: return "right";
    case haCenter: return "center";
    case haBlock: return "both";
    default: return "left";
    }
}

const char *TextDirection(int Rotation)
{
    if (Rotation == 90)
        return "btLr";
    if (Rotation == 270)
        return "tbRlV";
    return "lrTb";
}

void AppendFont(QByteArray &Out, const TFont &Font, uint8_t Style, TColor Color, TSubStyle Sub)
{
    const QByteArray name = XmlText(Font.Name());
    Out += "<w:rPr><w:rFonts w:ascii=\"";
    Out += name;
    Out += "\" w:hAnsi=\"";
    Out += name;
    Out += "\" w:cs=\"";
    Out += name;
    Out += "\"/>";
    if (Style & gfx::StyleBold)
        Out += "<w:b/><w:bCs/>";
    if (Style & gfx::StyleItalic)
        Out += "<w:i/>";
    if (Style & gfx::StyleStrikeOut)
        Out += "<w:strike/>";
    Out += "<w:color w:val=\"";
    AppendHex6(Out, xlsx::ColorRgb(Color), true);
    Out += "\"/><w:w w:val=\"105\"/><w:sz w:val=\"";
    const QByteArray size = QByteArray::number(Font.Size() * 2);
    Out += size;
    Out += "\"/><w:szCs w:val=\"";
    Out += size;
    Out += "\"/>";
    if (Style & gfx::StyleUnderline)
        Out += "<w:u w:val=\"single\"/>";
    Out += "<w:vertAlign w:val=\"";
    Out += Sub == ssSubscript ? "subscript" : Sub == ssSuperscript ? "superscript" : "baseline";
    Out += "\"/></w:rPr>";
}

QByteArray FontProperties(const TFont &Font)
{
    QByteArray s;
    AppendFont(s, Font, uint8_t(Font.Style()), Font.Color(), ssNormal);
    return s;
}

void AppendText(QByteArray &Out, QStringView S, bool Spaced)
{
    if (S.isEmpty())
        return;
    const char *open = Spaced ? "<w:t xml:space=\"preserve\">" : "<w:t>";
    qsizetype from = 0;
    while (from <= S.size()) {
        qsizetype tab = S.indexOf(u'\t', from);
        if (tab < 0)
            tab = S.size();
        if (tab > from) {
            Out += open;
            Out += XmlText(S.mid(from, tab - from).toString());
            Out += "</w:t>";
        }
        if (tab < S.size())
            Out += "<w:tab/>";
        from = tab + 1;
    }
}

int LineValue(int FontSizePt, double LineSpacing)
{
    return int(rtl::Trunc((FontSizePt + (LineSpacing - 1) * 0.95 / 96 * 72) * 20));
}

QByteArray SecPr(const PageSetup &Page)
{
    QByteArray s = "<w:sectPr><w:pgSz w:w=\"" + QByteArray::number(Page.Width) + "\" w:h=\"" +
                   QByteArray::number(Page.Height) + '"';
    if (Page.Height < Page.Width)
        s += " w:orient=\"landscape\"";
    s += "/><w:pgMar w:top=\"" + QByteArray::number(Page.Top) + "\" w:right=\"" + QByteArray::number(Page.Right) +
         "\" w:bottom=\"" + QByteArray::number(Page.Bottom) + "\" w:left=\"" + QByteArray::number(Page.Left) +
         "\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/><w:cols w:space=\"720\"/><w:noEndnote/></w:sectPr>";
    return s;
}

QByteArray XmlText(const QString &S) { return xlsx::EscapeXml(S).toUtf8(); }

} // namespace docx
