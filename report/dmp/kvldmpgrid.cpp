#include "report/dmp/kvldmpgrid.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/typeinfo.h"

namespace kvltypes {

const rtl::TypeInfo *DMPFontStyles()
{
    static const rtl::TypeInfo *t = rtl::SetType(
        QStringLiteral("TkvlDMPFontStyles"),
        rtl::EnumType(QStringLiteral("TkvlDMPFontStyle"),
                      {"fsxBold", "fsxItalic", "fsxUnderline", "fsxSuperScript", "fsxSubScript", "fsxCondensed",
                       "fsxWide", "fsx12cpi", "fsx15cpi"}));
    return t;
}

} // namespace kvltypes

void kvlSetDMPFont(TFont &Font, TkvlDMPFontStyles Style)
{
    Font.SetName(QStringLiteral("Courier New"));
    Font.SetSize(12);
    TFontStyles s = 0;
    if (Style & kvlBit(fsxBold))
        s |= FontStyleBit(fsBold);
    if (Style & kvlBit(fsxItalic))
        s |= FontStyleBit(fsItalic);
    if (Style & kvlBit(fsxUnderline))
        s |= FontStyleBit(fsUnderline);
    Font.SetStyle(s);
}
