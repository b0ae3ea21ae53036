#pragma once
// 'OS/2': Windows metrics. Read at the table's own length (versions 0 to 5 differ);
// fields beyond it stay zero. Written back unchanged, at that length.
#include "export/truetype/truetypetable.h"

namespace ttf {

class OS2WindowsMetricsClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;

    int16_t Get_AvgCharWidth() const { return xAvgCharWidth; }
    uint16_t Get_Ascent() const { return usWinAscent; }
    uint16_t Get_Descent() const { return usWinDescent; }
    uint16_t Get_DefaultChar() const { return usDefaultChar; }
    uint16_t Get_BreakChar() const { return usBreakChar; }
    uint16_t Get_FirstCharIndex() const { return usFirstCharIndex; }
    uint16_t Get_LastCharIndex() const { return usLastCharIndex; }

    uint16_t Version = 0;
    int16_t xAvgCharWidth = 0;
    uint16_t usFirstCharIndex = 0, usLastCharIndex = 0, usWinAscent = 0, usWinDescent = 0;
    uint16_t usDefaultChar = 0, usBreakChar = 0;
};

} // namespace ttf
