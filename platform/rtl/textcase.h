#pragma once
// Upper and lower case of text by the simple case mapping of the user's locale: each UTF-16
// code unit becomes one code unit, so a text never changes its length ("straße" stays six
// characters, "İ" stays one). Code units without a simple mapping, surrogates included, are
// kept as they are.
#include <QLocale>
#include <QString>

namespace rtl {

QString UpperCase(const QString &s, const QLocale &locale = QLocale::system());
QString LowerCase(const QString &s, const QLocale &locale = QLocale::system());
// Upper case of the first letter of each word (after a space), lower case of the rest.
QString NameCase(const QString &s, const QLocale &locale = QLocale::system());

} // namespace rtl
