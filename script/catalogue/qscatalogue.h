#pragma once
// The catalogue of the names a script knows, for the designer: functions by category,
// classes with their members, enumeration types, variables and constants.
#include "script/items/qsclasses.h"

class TqsXMLItem;

// Fills Item with the groups "Functions", "Classes", "Types", "Variables" and "Constants"
// (always all five, in that order) from the names of Prog's own level in name order. With
// functionsOnly only host functions are listed.
void GenerateXMLContents(const TqsScript *prog, TqsXMLItem *item, bool functionsOnly);
// One "item" per member of every class of Prog's own level that is cls or an ancestor of it.
void GenerateMembers(const TqsScript *prog, TqsClassRef cls, TqsXMLItem *item);
