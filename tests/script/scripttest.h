#pragma once
// Helpers shared by the script engine's tests.
#include "script/compiler/qsilparser.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"
#include "script/xml/qsxml.h"

#include <QString>
#include <QStringList>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace scripttest {

inline void ensureLanguages()
{
    static const bool done = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)done;
}

// A compact view of an intermediate-program element: name, ":text" for tokens, children
// in brackets; the trailing types copy is left out.
inline QString render(const TqsXMLItem *item)
{
    QString s = item->Name;
    if (item->PropExists(QStringLiteral("text")))
        s += QLatin1Char(':') + item->Prop(QStringLiteral("text"));
    QStringList kids;
    for (int i = 0; i < item->Count(); ++i)
        if (item->Items(i)->Name != QLatin1String("types"))
            kids << render(item->Items(i));
    if (!kids.isEmpty())
        s += QLatin1Char('(') + kids.join(QLatin1Char(' ')) + QLatin1Char(')');
    return s;
}

struct Result
{
    bool ok = false;
    QString il; // rendered program, children of the root only
    QString msg, pos, unit;
};

// Walks `source` (lines separated by "\n") in `language`; `setup` may adjust the script.
template <typename Setup>
Result walk(const QString &language, const QString &source, Setup setup)
{
    ensureLanguages();
    TqsScript script;
    script.SyntaxType = language;
    script.Lines = source.split(QLatin1Char('\n'));
    setup(script);
    TqsILParser parser(&script);
    parser.SelectLanguage(language);
    Result r;
    r.ok = parser.MakeILScript(script.SourceText());
    if (r.ok) {
        QStringList kids;
        const TqsXMLItem *root = parser.ILScript().Root();
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i)->Name != QLatin1String("types"))
                kids << render(root->Items(i));
        r.il = kids.join(QLatin1Char(' '));
    }
    r.msg = script.ErrorMsg;
    r.pos = script.ErrorPos;
    r.unit = script.ErrorUnit;
    return r;
}

inline Result walk(const QString &language, const QString &source)
{
    return walk(language, source, [](TqsScript &) {});
}

} // namespace scripttest
