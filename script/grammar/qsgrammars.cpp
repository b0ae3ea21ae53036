#include "script/grammar/qsgrammars.h"

#include "script/core/qslanguages.h"

void qsRegisterStandardLanguages()
{
    qsRegisterLanguage(QStringLiteral("DozovoZozedi"), qsDozovoGrammar());
    qsRegisterLanguage(QStringLiteral("D++Iraved"), qsIravedGrammar());
    qsRegisterLanguage(QStringLiteral("DevavAraroz"), qsDevavGrammar());
    qsRegisterLanguage(QStringLiteral("JScript"), qsJScriptGrammar());
}
