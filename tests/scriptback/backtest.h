#pragma once
// Helpers of the script back-end tests: a script with the system module, compiled from
// lines joined by "\n".
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/items/qsitems.h"

#include <QString>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const Variant &v, std::ostream *os)
{
    *os << Variant::typeName(v.varType()).toStdString() << ':' << (v.isArray() ? std::string("[array]") : v.toString().toStdString());
}

namespace backtest {

inline void ensureLanguages()
{
    static const bool done = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)done;
}

inline std::unique_ptr<TqsScript> make(const char *language, const QString &source)
{
    ensureLanguages();
    auto s = std::make_unique<TqsScript>();
    s->AddRTTI();
    s->SyntaxType = QString::fromLatin1(language);
    s->Lines = source.split(QLatin1Char('\n'));
    return s;
}

// Compiles and runs; the compile error as text on failure, else empty.
inline QString run(TqsScript &s)
{
    if (!s.Compile())
        return s.ErrorMsg + QStringLiteral(" at ") + s.ErrorPos;
    s.Execute();
    return QString();
}

} // namespace backtest
