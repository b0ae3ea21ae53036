#include "script/items/qsolehelper.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <array>

EqsDispatchError::EqsDispatchError(uint32_t code, QString source, QString description, QString helpFile)
    : Exception(description.isEmpty() ? QStringLiteral("Automation error") : description), Code(code),
      Source(std::move(source)), Description(std::move(description)), HelpFile(std::move(helpFile))
{
}

namespace {

QString SystemText(uint32_t code)
{
    switch (code) {
    case EqsDispatchError::CodeUnknownName: return QStringLiteral("Unknown name.");
    case EqsDispatchError::CodeMemberNotFound: return QStringLiteral("Member not found.");
    case EqsDispatchError::CodeTypeMismatch: return QStringLiteral("Type mismatch.");
    case EqsDispatchError::CodeBadParamCount: return QStringLiteral("Invalid number of parameters.");
    case EqsDispatchError::CodeException: return QStringLiteral("Exception occurred.");
    case 0x80004001: return QStringLiteral("Not implemented");
    case 0x80070057: return QStringLiteral("The parameter is incorrect.");
    default: return QStringLiteral("Unspecified error");
    }
}

// A line of the error text for a field the failure filled.
void AddLine(QString &text, const QString &label, const QString &value)
{
    if (!value.isEmpty())
        text += QStringLiteral("\r\n") + label + value;
}

struct FactoryRegistry
{
    QMutex lock;
    QHash<QString, TqsDispatchFactory> factories; // by upper-case name
};

FactoryRegistry &Registry()
{
    static FactoryRegistry r;
    return r;
}

} // namespace

QString qsOleErrorText(const EqsDispatchError &e, const QString &member)
{
    QString text = QStringLiteral("OLE error ") + QString::number(e.Code, 16).toUpper().rightJustified(8, u'0')
                   + QStringLiteral(": ") + member + QStringLiteral(": ") + SystemText(e.Code);
    AddLine(text, QStringLiteral("Source        ::  "), e.Source);
    AddLine(text, QStringLiteral("Description ::  "), e.Description);
    AddLine(text, QStringLiteral("Help File     ::  "), e.HelpFile);
    return text;
}

static QString OleSyntax(int paramCount)
{
    // The helper is named after the member once parsed: a member name may be a word the
    // declaration syntax reserves.
    QString s = QStringLiteral("function M");
    if (paramCount > 0) {
        s += QLatin1Char('(');
        for (int i = 0; i < paramCount; ++i)
            s += (i ? QStringLiteral("; P") : QStringLiteral("P")) + QString::number(i) + QStringLiteral(": Variant");
        s += QLatin1Char(')');
    }
    return s + QStringLiteral(": Variant");
}

TqsOLEHelper::TqsOLEHelper(const QString &name, int paramCount, const TqsScript *script)
    : TqsMethodHelper(OleSyntax(paramCount), script)
{
    SetName(name);
    FIsReadOnly = false;
}

Variant TqsOLEHelper::GetValue()
{
    const int n = ParamCount();
    std::array<Variant, qsMaxDispatchArgs + 1> args;
    for (int i = 0; i < n; ++i)
        args[size_t(i)] = Params(i)->FValue;
    return DispatchInvoke(args.data(), n, rtl::DispatchObject::Method);
}

void TqsOLEHelper::SetValue(const Variant &value)
{
    const int n = ParamCount();
    std::array<Variant, qsMaxDispatchArgs + 1> args;
    for (int i = 0; i < n; ++i)
        args[size_t(i)] = Params(i)->FValue;
    args[size_t(n)] = value;
    DispatchInvoke(args.data(), n + 1,
                   value.isDispatch() ? rtl::DispatchObject::PropertyPutRef : rtl::DispatchObject::PropertyPut);
}

Variant TqsOLEHelper::DispatchInvoke(const Variant *params, int paramCount, int flags)
{
    rtl::DispatchObject *obj = FParentValue.toDispatch();
    if (!obj)
        rtl::raise<EVariantTypeCastError>(rtl::msg::VarTypeCouldNotConvert, Variant::typeName(FParentValue.varType()),
                                          Variant::typeName(varDispatch));
    if (paramCount > qsMaxDispatchArgs + 1 || paramCount < 0)
        throw EqsRunError(QStringLiteral("Too many arguments for %1").arg(FName));
    const bool put = flags == rtl::DispatchObject::PropertyPut || flags == rtl::DispatchObject::PropertyPutRef;
    const bool wantResult = FNeedResult && !put;
    if (wantResult && flags == rtl::DispatchObject::Method)
        flags = rtl::DispatchObject::Method | rtl::DispatchObject::PropertyGet;
    // The object is kept alive for the call even if the call drops the script's reference.
    const Variant keep = FParentValue;
    try {
        Variant result = obj->invoke(FName, flags, std::span<const Variant>(params, size_t(paramCount)));
        return wantResult ? result : Variant();
    } catch (const EqsDispatchError &e) {
        throw Exception(qsOleErrorText(e, FName));
    } catch (const Exception &e) {
        throw Exception(qsOleErrorText(EqsDispatchError(EqsDispatchError::CodeException, QString(), e.message()), FName));
    }
}

void qsRegisterDispatchClass(const QString &name, TqsDispatchFactory factory)
{
    FactoryRegistry &r = Registry();
    QMutexLocker guard(&r.lock);
    r.factories.insert(name.toUpper(), std::move(factory));
}

void qsUnregisterDispatchClass(const QString &name)
{
    FactoryRegistry &r = Registry();
    QMutexLocker guard(&r.lock);
    r.factories.remove(name.toUpper());
}

Variant qsCreateOleObject(const QString &name)
{
    TqsDispatchFactory factory;
    {
        FactoryRegistry &r = Registry();
        QMutexLocker guard(&r.lock);
        factory = r.factories.value(name.toUpper());
    }
    rtl::DispatchObject *obj = factory ? factory() : nullptr;
    if (!obj)
        throw Exception(QStringLiteral("OLE error 800401F3: ") + name + QStringLiteral(": Invalid class string"));
    return Variant::fromDispatch(obj);
}
