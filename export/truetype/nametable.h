#pragma once
// 'name': the font's names, read as UTF-16.
#include "export/truetype/truetypetable.h"

#include <QString>

namespace ttf {

enum NameID {
    NameID_CopyrightNotice = 0,
    NameID_FamilyName = 1,
    NameID_SubfamilyName = 2,
    NameID_UniqueID = 3,
    NameID_FullName = 4,
    NameID_Version = 5,
    NameID_PostscriptName = 6,
    NameID_Trademark = 7,
};

struct NamingTableHeader {
    uint16_t TableVersion = 0, Count = 0, stringOffset = 0;
};

class NameTableClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void Load(FontBuffer &font) override;
    // The first Windows Unicode (3, 1) or Unicode (0) name of that id; empty when none.
    QString get_Item(int nameId) const;

    NamingTableHeader name_header;
    const uint8_t *namerecord_ptr = nullptr;
    const uint8_t *string_storage_ptr = nullptr;

private:
    uint32_t m_storageSize = 0;
};

} // namespace ttf
