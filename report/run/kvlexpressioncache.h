#pragma once
// Expressions of a report compiled once each into a function of a script of their own
// ("kv3f0", "kv3f1", ... in the report's script language) and called on every evaluation.
// Texts are compared exactly: two spellings are two functions.
#include "platform/rtl/variant.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>

class TqsScript;
class TqsProcVariable;

class TkvlExpressionCache {
public:
    // MainScript: the report's script, which stops counting as main program while an
    // expression's function runs.
    explicit TkvlExpressionCache(TqsScript *MainScript);
    ~TkvlExpressionCache();
    TkvlExpressionCache(const TkvlExpressionCache &) = delete;
    TkvlExpressionCache &operator=(const TkvlExpressionCache &) = delete;

    // The language new expressions are compiled in.
    QString ScriptLanguage = QStringLiteral("DozovoZozedi");

    // Forgets every compiled expression.
    void Clear();
    // Evaluates Expression with AScript as the names' scope. On failure ErrorMsg holds the
    // message and the result is Null; a text that does not compile is not kept.
    Variant Calc(const QString &Expression, QString &ErrorMsg, TqsScript *AScript);
    // Calls a function of this cache (from Find or Compiled) as Calc does.
    Variant Call(TqsProcVariable *Function, QString &ErrorMsg, TqsScript *AScript);
    // The compiled function of a text, compiling it when it is new; nullptr and ErrorMsg when
    // it does not compile.
    TqsProcVariable *Compiled(const QString &Expression, QString &ErrorMsg, TqsScript *AScript);
    // Changes whenever Clear drops the functions: a function pointer kept by a caller holds
    // while the generation it was taken at is current.
    uint64_t Generation() const { return FGeneration; }
    // The compiled function of a text, or nullptr.
    TqsProcVariable *Find(const QString &Expression) const { return FExpressions.value(Expression); }
    int Count() const { return int(FExpressions.size()); }
    TqsScript &Script() const { return *FScript; }

private:
    TqsProcVariable *Compile(const QString &Expression, QString &ErrorMsg);

    TqsScript *FMainScript;
    std::unique_ptr<TqsScript> FScript;
    QHash<QString, TqsProcVariable *> FExpressions;  // the functions live in FScript
    uint64_t FGeneration = 1;
};
