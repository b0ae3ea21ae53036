#pragma once
// Registers a function of the built-in library into a script, with its declaration text
// and category, bound to its own entry of the library table.
class TqsScript;
struct TqsSysFunction;

void qsAddSysFunction(TqsScript *script, const TqsSysFunction &f);
