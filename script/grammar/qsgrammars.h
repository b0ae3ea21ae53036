#pragma once
// The grammars of the four script languages, held as text and registered at start-up.
#include <QString>

QString qsDozovoGrammar();
QString qsIravedGrammar();
QString qsDevavGrammar();
QString qsJScriptGrammar();

// Registers "DozovoZozedi", "D++Iraved", "DevavAraroz" and "JScript", in that order.
void qsRegisterStandardLanguages();
