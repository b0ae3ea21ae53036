#include "platform/rtl/color.h"

#include <array>
#include <iterator>

namespace rtl {

namespace {

// RGB of the system colours by index, a light desktop scheme. Fixed, so that
// reports draw and export alike on every machine.
constexpr std::array<TColor, 31> kSystemColors = {
    RGB(0xC8, 0xC8, 0xC8), // 0 scroll bar
    RGB(0x00, 0x00, 0x00), // 1 background
    RGB(0x99, 0xB4, 0xD1), // 2 active caption
    RGB(0xBF, 0xCD, 0xDB), // 3 inactive caption
    RGB(0xF0, 0xF0, 0xF0), // 4 menu
    RGB(0xFF, 0xFF, 0xFF), // 5 window
    RGB(0x64, 0x64, 0x64), // 6 window frame
    RGB(0x00, 0x00, 0x00), // 7 menu text
    RGB(0x00, 0x00, 0x00), // 8 window text
    RGB(0x00, 0x00, 0x00), // 9 caption text
    RGB(0xB4, 0xB4, 0xB4), // 10 active border
    RGB(0xF4, 0xF7, 0xFC), // 11 inactive border
    RGB(0xAB, 0xAB, 0xAB), // 12 application workspace
    RGB(0x00, 0x78, 0xD7), // 13 highlight
    RGB(0xFF, 0xFF, 0xFF), // 14 highlight text
    RGB(0xF0, 0xF0, 0xF0), // 15 button face
    RGB(0xA0, 0xA0, 0xA0), // 16 button shadow
    RGB(0x6D, 0x6D, 0x6D), // 17 gray text
    RGB(0x00, 0x00, 0x00), // 18 button text
    RGB(0x00, 0x00, 0x00), // 19 inactive caption text
    RGB(0xFF, 0xFF, 0xFF), // 20 button highlight
    RGB(0x69, 0x69, 0x69), // 21 3-D dark shadow
    RGB(0xE3, 0xE3, 0xE3), // 22 3-D light
    RGB(0x00, 0x00, 0x00), // 23 info text
    RGB(0xFF, 0xFF, 0xE1), // 24 info background
    RGB(0x00, 0x00, 0x00), // 25 unused
    RGB(0x00, 0x66, 0xCC), // 26 hot light
    RGB(0xB9, 0xD1, 0xEA), // 27 gradient active caption
    RGB(0xD7, 0xE4, 0xF2), // 28 gradient inactive caption
    RGB(0x33, 0x99, 0xFF), // 29 menu highlight
    RGB(0xF0, 0xF0, 0xF0), // 30 menu bar
};

struct NamedColor {
    TColor value;
    const char *name;
};

// First name of a value wins when writing (clSilver before clLtGray).
constexpr NamedColor kNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

} // namespace

TColor ColorToRGB(TColor c)
{
    if (c >= 0)
        return c;
    const unsigned index = unsigned(c) & 0xFF;
    return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
}

QColor ToQColor(TColor c)
{
    if (c == clNone)
        return QColor(Qt::transparent);
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

bool ColorToIdent(TColor c, QString &ident)
{
    for (const NamedColor &n : kNames) {
        if (n.value == c) {
            ident = QLatin1String(n.name);
            return true;
        }
    }
    return false;
}

bool IdentToColor(const QString &ident, TColor &c)
{
    for (const NamedColor &n : kNames) {
        if (ident.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            c = n.value;
            return true;
        }
    }
    return false;
}

QString ColorToString(TColor c)
{
    QString s;
    if (ColorToIdent(c, s))
        return s;
    return QLatin1Char('$') + QString::number(uint32_t(c), 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

bool TryStringToColor(const QString &s, TColor &c)
{
    if (IdentToColor(s, c))
        return true;
    const QString t = s.trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = qint64(t.mid(1).toUInt(&ok, 16));
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = qint64(t.mid(2).toUInt(&ok, 16));
    else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return false;
    c = TColor(uint32_t(v));
    return true;
}

} // namespace rtl
