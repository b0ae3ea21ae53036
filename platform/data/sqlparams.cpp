#include "platform/data/sqlparams.h"

namespace data {

namespace {
bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Statements whose :NAME are the procedural language's variables, not parameters.
bool hasProceduralBody(const QString &sql)
{
    const QStringList words = sql.simplified().left(64).split(QLatin1Char(' '));
    const QString first = words.value(0).toUpper();
    if (first == QLatin1String("CREATE") || first == QLatin1String("ALTER") || first == QLatin1String("RECREATE"))
        return true;
    return first == QLatin1String("EXECUTE") && words.value(1).toUpper().startsWith(QLatin1String("BLOCK"));
}

} // namespace

SqlWithParams ParseSqlParams(const QString &sql)
{
    SqlWithParams out;
    if (hasProceduralBody(sql)) {
        out.sql = sql;
        return out;
    }
    out.sql.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text or identifier; a doubled quote stays inside.
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            j = qMin(j + 1, n);
            out.sql += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            int j = sql.indexOf(QLatin1Char('\n'), i);
            j = j < 0 ? n : j;
            out.sql += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            int j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out.sql += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql.at(i + 1))) {
            int j = i + 1;
            while (j < n && isNameChar(sql.at(j)))
                ++j;
            out.names << sql.mid(i + 1, j - i - 1).toUpper();
            out.sql += QLatin1Char('?');
            i = j;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

} // namespace data
