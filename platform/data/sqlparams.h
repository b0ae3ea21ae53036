#pragma once
// Named parameters (:NAME) of SQL text, turned into the driver's positional markers.
#include <QString>
#include <QStringList>

namespace data {

struct SqlWithParams
{
    QString sql;       // the text with every :NAME replaced by ?
    QStringList names; // upper-case names in the order of their markers (repeats included)
};

// Markers inside quoted strings, quoted identifiers and comments are left alone, and so is
// the whole text of CREATE, ALTER, RECREATE and EXECUTE BLOCK, where :NAME is a variable.
SqlWithParams ParseSqlParams(const QString &sql);

} // namespace data
