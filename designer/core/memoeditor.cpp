#include "designer/core/memoeditor.h"

#include "designer/core/formateditor.h"

QString kvlBracketExpression(const QString &Expr, const QString &Delimiters)
{
    const TkvlDelimiters d = kvlSplitDelimiters(Delimiters);
    QString e = Expr;
    if (e.size() >= 2 && e.startsWith(QLatin1Char('<')) && e.endsWith(QLatin1Char('>')) && e.count(QLatin1Char('<')) == 1)
        e = e.mid(1, e.size() - 2);
    return d.Open + e + d.Close;
}
