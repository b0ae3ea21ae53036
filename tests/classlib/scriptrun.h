#pragma once
// Compiling and running small scripts with the class-library modules registered.
#include "platform/rtl/exceptions.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"

#include <QString>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace classlibtest {

inline std::unique_ptr<TqsScript> Make(const char *language, const QString &source)
{
    static const bool ready = [] {
        qsRegisterStandardLanguages();
        qsRegisterClassLibModules();
        return true;
    }();
    (void)ready;
    auto s = std::make_unique<TqsScript>();
    s->AddRTTI();
    s->SyntaxType = QString::fromLatin1(language);
    s->Lines = source.split(QLatin1Char('\n'));
    return s;
}

// Compiles and runs; "compile: ..." or "raised: ..." on failure, else the text of r. The
// script lives until the next call (keep points to it).
inline QString RunScript(const char *language, const QString &source, TqsScript **keep = nullptr)
{
    static std::unique_ptr<TqsScript> last;
    last = Make(language, source);
    if (keep)
        *keep = last.get();
    if (!last->Compile())
        return QStringLiteral("compile: ") + last->ErrorMsg + QStringLiteral(" at ") + last->ErrorPos;
    try {
        last->Execute();
    } catch (const Exception &e) {
        return QStringLiteral("raised: ") + e.message();
    }
    return last->Variables(QStringLiteral("r")).toString();
}

} // namespace classlibtest
