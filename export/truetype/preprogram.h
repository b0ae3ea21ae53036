#pragma once
// 'prep': the control value program, moved as it is.
#include "export/truetype/truetypetable.h"

#include <QByteArray>

namespace ttf {

class PreProgramClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;

    QByteArray pre_program;
};

} // namespace ttf
