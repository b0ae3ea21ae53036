#include "report/run/kvlexpressioncache.h"

#include "platform/rtl/exceptions.h"
#include "report/core/kvlresourcetext.h"
#include "script/core/qsscript.h"
#include "script/items/qsitems.h"

TkvlExpressionCache::TkvlExpressionCache(TqsScript *MainScript)
    : FMainScript(MainScript), FScript(std::make_unique<TqsScript>())
{
    FScript->ExtendedCharset = true;
}

TkvlExpressionCache::~TkvlExpressionCache() = default;

void TkvlExpressionCache::Clear()
{
    FExpressions.clear();
    ++FGeneration;
    FScript->Parent = nullptr;
    FScript->Clear();
    FScript->Lines.clear();
}

namespace {
// The program that declares one function returning the expression, or empty for a language
// without such a form.
QString programText(const QString &Language, const QString &Name, const QString &Expression)
{
    const QString lang = Language.toLower();
    if (lang == QLatin1String("dozovozozedi"))
        return QStringLiteral("function ") + Name + QStringLiteral(": Variant; begin Result := ") + Expression +
               QStringLiteral(" end; begin end.");
    if (lang == QLatin1String("d++iraved"))
        return QStringLiteral("Variant ") + Name + QStringLiteral("() { return ") + Expression + QStringLiteral("; } {}");
    if (lang == QLatin1String("devavararoz"))
        return QStringLiteral("function ") + Name + QStringLiteral("\r\nreturn ") + Expression +
               QStringLiteral("\r\nend function");
    if (lang == QLatin1String("jscript"))
        return QStringLiteral("function ") + Name + QStringLiteral("() { return ") + Expression + QStringLiteral("; }");
    return QString();
}
} // namespace

TqsProcVariable *TkvlExpressionCache::Compile(const QString &Expression, QString &ErrorMsg)
{
    const QString name = QStringLiteral("kv3f") + QString::number(FExpressions.size());
    const QString text = programText(ScriptLanguage, name, Expression);
    FScript->SyntaxType = ScriptLanguage;
    FScript->Lines = text.split(QStringLiteral("\r\n"));
    const bool compiled = !text.isEmpty() && FScript->Compile();
    auto *func = dynamic_cast<TqsProcVariable *>(FScript->FindLocal(name));
    if (compiled && func) {
        FExpressions.insert(Expression, func);
        return func;
    }
    // A half-built function would shadow the next expression's name.
    if (TqsScriptItem *item = FScript->FindLocal(name)) {
        FScript->Remove(item);
        delete item;
    }
    QString why = FScript->ErrorMsg;
    if (why.isEmpty())
        why = text.isEmpty() ? QStringLiteral("Unknown language: ") + ScriptLanguage : QStringLiteral("Error");
    ErrorMsg = kvlResourceText(QStringLiteral("clExprError")) + QStringLiteral(" '") + Expression +
               QStringLiteral("': ") + why;
    return nullptr;
}

TqsProcVariable *TkvlExpressionCache::Compiled(const QString &Expression, QString &ErrorMsg, TqsScript *AScript)
{
    ErrorMsg.clear();
    // The names of a new expression are resolved in AScript's scope while it compiles.
    FScript->Parent = AScript;
    TqsProcVariable *func = FExpressions.value(Expression);
    return func ? func : Compile(Expression, ErrorMsg);
}

Variant TkvlExpressionCache::Calc(const QString &Expression, QString &ErrorMsg, TqsScript *AScript)
{
    TqsProcVariable *func = Compiled(Expression, ErrorMsg, AScript);
    return func ? Call(func, ErrorMsg, AScript) : Variant::null();
}

Variant TkvlExpressionCache::Call(TqsProcVariable *func, QString &ErrorMsg, TqsScript *AScript)
{
    ErrorMsg.clear();
    FScript->Parent = AScript;
    // Script statements that look at the main program's state must not take an expression
    // for it; the flag comes back however the call ends.
    struct MainProgGuard {
        TqsScript *s;
        bool saved;
        ~MainProgGuard()
        {
            if (s)
                s->MainProg = saved;
        }
    } guard{FMainScript, FMainScript && FMainScript->MainProg};
    if (FMainScript)
        FMainScript->MainProg = false;
    try {
        return func->Invoke(nullptr, 0);
    } catch (const Exception &e) {
        ErrorMsg = e.message();
    } catch (const std::exception &e) {
        ErrorMsg = QString::fromUtf8(e.what());
    }
    return Variant::null();
}
