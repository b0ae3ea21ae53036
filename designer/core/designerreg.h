#pragma once
// What the designer puts into the report library's registries when the program starts: the
// editors of the common property types, then the palette, the component editors, the
// property editors of the report objects with the hidden properties, then the inspector's
// property descriptions. Each call does its work once.

// Editors of the common property types (names, colours, fonts, shortcuts, cursors, dates).
void kvlRegisterCommonPropertyEditors();
// The palette entries, component editors, report-object property editors and hidden lists.
void kvlRegisterDesignerEditors();
// All of it, in that order, the descriptions of properties included.
void kvlRegisterDesigner();
