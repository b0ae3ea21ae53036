#pragma once
// The grammars of the four script languages, held as text and registered at start-up.
// Beside the usual rule attributes, the program rule may carry trailing="errN": text left
// after the program (other than blanks and comments) is then that syntax error. Without
// it, as in DozovoZozedi after the final ".", such text is ignored.
#include <QString>

QString qsDozovoGrammar();
QString qsIravedGrammar();
QString qsDevavGrammar();
QString qsJScriptGrammar();

// Registers "DozovoZozedi", "D++Iraved", "DevavAraroz" and "JScript", in that order.
void qsRegisterStandardLanguages();
