#pragma once
// Registers the built-in function library into a script, each function with its
// declaration text and category, bound to its own entry of the library table.
class TqsScript;

void qsAddSysFunctions(TqsScript *script);
