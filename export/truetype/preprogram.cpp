#include "export/truetype/preprogram.h"

namespace ttf {

void PreProgramClass::Load(FontBuffer &font)
{
    pre_program = QByteArray(reinterpret_cast<const char *>(bytes(font)), entry.length);
}

} // namespace ttf
