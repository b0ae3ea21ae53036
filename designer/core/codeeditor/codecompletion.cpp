#include "designer/core/codeeditor/codecompletion.h"

#include "designer/core/codeeditor/codebuffer.h"

QString kvlCompletionName(const QString &Line, int CaretX)
{
    const QString s = Line.left(TkvlCodeBuffer::TextLength(Line)).left(CaretX).trimmed();
    QString name;
    bool single = false, dbl = false;
    int brackets = 0;
    for (qsizetype i = s.size() - 2; i >= 0; --i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') && !dbl) {
            single = !single;
            continue;
        }
        if (c == QLatin1Char('"') && !single) {
            dbl = !dbl;
            continue;
        }
        if (single || dbl)
            continue;
        if (c == QLatin1Char(')') || c == QLatin1Char(']')) {
            ++brackets;
            continue;
        }
        if ((c == QLatin1Char('(') || c == QLatin1Char('[')) && brackets > 0) {
            --brackets;
            continue;
        }
        if (brackets > 0)
            continue;
        if (TkvlCodeBuffer::IsWordChar(c) || c == QLatin1Char('.') || c == QLatin1Char(' '))
            name.prepend(c);
        else
            break;
    }
    return name;
}

int kvlCompletionWordLength(const QString &Item)
{
    if (Item.isEmpty())
        return 0;
    int n = 1;
    while (n < Item.size() && TkvlCodeBuffer::IsWordChar(Item[n]))
        ++n;
    return n;
}

TkvlCompletionInsert kvlCompletionInsert(const QString &Item)
{
    const int n = kvlCompletionWordLength(Item);
    TkvlCompletionInsert out{Item.left(n), 0};
    if (n < Item.size() && Item[n] == QLatin1Char('(')) {
        out.Text += QLatin1String("()");
        out.CaretBack = 1;
    }
    return out;
}

QString kvlCompletionKindWord(const QString &Item, int Kind)
{
    if (Item.contains(QLatin1String("Constructor")))
        return QStringLiteral("constructor");
    switch (Kind) {
    case ckProperty: return QStringLiteral("property");
    case ckProcedure: return QStringLiteral("procedure");
    case ckFunction: return QStringLiteral("function");
    default: return QStringLiteral("var");
    }
}
