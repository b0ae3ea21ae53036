#pragma once
// The designer's block of the string table.
#include <QByteArray>

// The block as one UTF-8 resource document.
QByteArray kvlDesignerStringsXML();
// Adds the block to kvlResources(): keys already present take the designer's texts.
void kvlAddDesignerStrings();
