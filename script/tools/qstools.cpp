#include "script/tools/qstools.h"

#include "platform/rtl/formatsettings.h"
#include "script/core/qsscript.h"
#include "script/items/qsclasses.h"
#include "script/parser/qsparser.h"

TqsVarType StrToVarType(const QString &typeName, const TqsScript *script)
{
    if (script && !typeName.isEmpty())
        if (auto *v = dynamic_cast<TqsCustomVariable *>(script->Find(typeName)))
            return v->FTyp;
    return qvtClass;
}

bool ClassesCompatible(const QString &class1, const QString &class2, const TqsScript *script)
{
    if (!script)
        return class1.compare(class2, Qt::CaseInsensitive) == 0;
    const TqsClassVariable *c1 = script->FindClass(class1), *c2 = script->FindClass(class2);
    return c1 && c2 && c2->InheritsFrom(c1);
}

bool TypesCompatible(const TqsTypeRec &t1, const TqsTypeRec &t2, const TqsScript *script)
{
    const TqsVarType g = t2.Typ;
    switch (t1.Typ) {
    case qvtInt:
    case qvtInt64: return g == qvtInt || g == qvtFloat || g == qvtVariant || g == qvtEnum || g == qvtInt64;
    case qvtBool: return g == qvtBool || g == qvtVariant;
    case qvtFloat: return g == qvtInt || g == qvtFloat || g == qvtVariant;
    case qvtChar:
    case qvtString: return g == qvtChar || g == qvtString || g == qvtVariant;
    case qvtClass: return g == qvtVariant || (g == qvtClass && ClassesCompatible(t1.TypeName, t2.TypeName, script));
    case qvtArray: return g == qvtArray || g == qvtVariant;
    case qvtVariant: return true;
    case qvtEnum:
        return g == qvtInt || g == qvtVariant || g == qvtInt64
               || (g == qvtEnum && t1.TypeName.compare(t2.TypeName, Qt::CaseInsensitive) == 0);
    case qvtConstructor: return false;
    }
    return false;
}

bool AssignCompatible(const TqsTypeRec &left, const TqsTypeRec &right, const TqsScript *script)
{
    if ((left.Typ == qvtInt || left.Typ == qvtInt64) && right.Typ == qvtFloat)
        return false;
    return TypesCompatible(left, right, script);
}

QString qsFullTypeName(TqsVarType typ, const QString &typeName)
{
    switch (typ) {
    case qvtInt: return QStringLiteral("Integer");
    case qvtBool: return QStringLiteral("Boolean");
    case qvtFloat: return QStringLiteral("Extended");
    case qvtChar: return QStringLiteral("Char");
    case qvtString: return QStringLiteral("String");
    case qvtClass:
    case qvtEnum: return typeName;
    case qvtArray: return QStringLiteral("Array");
    case qvtInt64: return QStringLiteral("Int64");
    default: return QStringLiteral("Variant");
    }
}

Variant ParserStringToVariant(const QString &s)
{
    if (s.isEmpty())
        return Variant::null();
    if (s.startsWith(QLatin1Char('\'')))
        return Variant(s.mid(1, s.size() >= 2 ? s.size() - 2 : 0));
    bool ok = false;
    qint64 i;
    if (s.startsWith(QLatin1Char('$')))
        i = s.mid(1).toLongLong(&ok, 16);
    else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        i = s.mid(2).toLongLong(&ok, 16);
    else
        i = s.toLongLong(&ok, 10);
    if (ok)
        return i > 2147483647 || i < -2147483647 - 1 ? Variant(i) : Variant(int(i));
    // "." is the decimal point of every language, whatever the process's settings.
    const double d = s.toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return Variant(d);
}

TqsCustomVariable *ParseMethodSyntax(const QString &syntax, const TqsScript *script)
{
    TqsParser p;
    if (script && script->ExtendedCharset)
        for (int c = 128; c < 256; ++c)
            p.AddIdentChar(c);
    p.SetText(syntax);
    auto *item = new TqsVariable;
    QString word = p.GetIdent();
    if (word.toLower().startsWith(QLatin1String("macro"))) {
        item->FIsMacro = true;
        word = word.mid(5);
    }
    item->SetName(p.GetIdent());
    QString resultType;
    if (word.compare(QLatin1String("function"), Qt::CaseInsensitive) == 0) {
        const qsizetype colon = syntax.lastIndexOf(QLatin1Char(':'));
        if (colon >= 0) {
            TqsParser rp;
            rp.SetText(syntax.mid(colon + 1));
            resultType = rp.GetIdent();
        }
    }
    item->FTyp = StrToVarType(resultType, script);
    item->FTypeName = resultType;
    p.SkipSpaces();
    if (p.GetChar() != QLatin1String("("))
        return item;
    for (;;) {
        p.SkipSpaces();
        QString w = p.GetIdent();
        bool isVar = false;
        if (w.compare(QLatin1String("var"), Qt::CaseInsensitive) == 0) {
            isVar = true;
            w = p.GetIdent();
        } else if (w.compare(QLatin1String("const"), Qt::CaseInsensitive) == 0) {
            w = p.GetIdent();
        }
        if (w.isEmpty())
            break;
        QStringList names{w};
        bool typed = false;
        for (;;) {
            p.SkipSpaces();
            const QString c = p.GetChar();
            if (c == QLatin1String(",")) {
                names << p.GetIdent();
                continue;
            }
            typed = c == QLatin1String(":");
            break;
        }
        if (!typed)
            break;
        const QString typ = p.GetIdent();
        Variant def = Variant::null();
        p.SkipSpaces();
        QString next = p.GetChar();
        if (next == QLatin1String("=")) {
            p.SkipSpaces();
            QString lit = p.GetNumber();
            if (lit.isEmpty())
                lit = p.GetString();
            if (lit.isEmpty()) {
                const int at = p.Position();
                if (p.GetChar() == QLatin1String("-")) {
                    const QString n = p.GetNumber();
                    if (!n.isEmpty())
                        lit = QLatin1Char('-') + n;
                    else
                        p.SetPosition(at);
                } else
                    p.SetPosition(at);
            }
            if (!lit.isEmpty()) {
                try {
                    def = ParserStringToVariant(lit);
                } catch (const Exception &) {
                    def = Variant::null();
                }
            } else {
                const QString id = p.GetIdent();
                if (script)
                    if (auto *v = dynamic_cast<TqsCustomVariable *>(script->Find(id)))
                        def = v->GetValue();
            }
            p.SkipSpaces();
            next = p.GetChar();
        }
        for (qsizetype i = 0; i < names.size(); ++i) {
            auto *param = new TqsParamItem;
            param->SetName(names[i]);
            param->SetType(StrToVarType(typ, script), typ);
            param->FIsVarParam = isVar;
            if (i + 1 == names.size() && !def.isNull()) {
                param->FDefValue = def;
                param->FIsOptional = true;
                param->FValue = def;
            }
            item->AddParam(param);
        }
        if (next != QLatin1String(";"))
            break;
    }
    return item;
}

QPoint qsPosToPoint(const QString &pos)
{
    if (pos.isEmpty())
        return QPoint(0, 0);
    const qsizetype colon = pos.indexOf(QLatin1Char(':'));
    bool ok1 = false, ok2 = false;
    const int line = colon >= 0 ? pos.left(colon).toInt(&ok1) : 0;
    const int col = colon >= 0 ? pos.mid(colon + 1, 255).toInt(&ok2) : 0;
    if (!ok1 || !ok2)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(pos));
    return QPoint(col, line);
}
