#pragma once
// The built-in function library of the scripts: conversions, formatting, dates, strings,
// mathematics and the miscellaneous functions, as plain functions over Variant.
//
// Each function takes its arguments in declaration order in one array; a var parameter is
// written back into its slot, and the caller copies it to the script variable. The table
// below is in registration order; each entry keeps its declaration text, category key and
// dispatch group so that the system module registers it and binds the call to the entry
// itself (no name lookup per call).
#include "platform/rtl/exceptions.h"
#include "platform/rtl/variant.h"

#include <QString>
#include <span>

// Allocation refused for a string or array grown past the engine's limits.
LIRRA_DECLARE_EXCEPTION(EOutOfMemory, Exception)

using TqsSysFn = Variant (*)(Variant *args);

struct TqsSysFunction
{
    const char *syntax;   // declaration text as registered
    const char *category; // string-table key of the function's category
    int group;            // call-back group, 1 to 7
    int paramCount;       // parameters of the declaration
    unsigned varParams;   // bit i set: parameter i is a var parameter
    const char *name;     // upper-case name
    TqsSysFn fn;
};

// Every function, in registration order.
std::span<const TqsSysFunction> qsSysFunctionTable();
// The entry of an upper-case name, or nullptr.
const TqsSysFunction *qsFindSysFunction(QStringView upperName);

// One call-back group's dispatch by name: the function of that group with the upper-case
// name, given its arguments; 0 when the group does not serve the name.
Variant qsSysCallGroup(int group, QStringView upperName, Variant *args);

// Longest text SetLength makes; the same bound as the element count of arrays.
inline constexpr int qsMaxStringLength = 16 * 1024 * 1024;
