// Checks every row of the rule table in doc/variant.md.
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/variant.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <charconv>
#include <functional>
#include <map>

namespace {

struct Cell
{
    bool isError = false;
    Variant value;
    QString errorClass, errorMessage;
};

const std::map<QString, VarType> &kinds()
{
    static const std::map<QString, VarType> k = {
        {"Integer", varInteger}, {"Int64", varInt64},     {"Double", varDouble},   {"Currency", varCurrency},
        {"Date", varDate},       {"Boolean", varBoolean}, {"String", varUString},  {"Byte", varByte},
        {"Word", varWord},       {"Single", varSingle},   {"Smallint", varSmallint},
    };
    return k;
}

double number(const QString &text)
{
    const QByteArray a = text.toLatin1();
    double d = 0;
    const auto r = std::from_chars(a.data(), a.data() + a.size(), d);
    if (r.ec != std::errc() || r.ptr != a.data() + a.size())
        throw std::runtime_error("bad number " + a.toStdString());
    return d;
}

int64_t integer(const QString &text)
{
    const QByteArray a = text.toLatin1();
    int64_t v = 0;
    const auto r = std::from_chars(a.data(), a.data() + a.size(), v);
    if (r.ec != std::errc() || r.ptr != a.data() + a.size())
        throw std::runtime_error("bad integer " + a.toStdString());
    return v;
}

Cell parseCell(const QString &text)
{
    Cell c;
    const qsizetype colon = text.indexOf(u':');
    if (text.startsWith(u'E') && colon > 0) {
        c.isError = true;
        c.errorClass = text.left(colon);
        c.errorMessage = text.mid(colon + 1).trimmed();
        return c;
    }
    if (text == u"Empty")
        return c;
    if (text == u"Null") {
        c.value = Variant::null();
        return c;
    }
    if (text == u"Array") {
        c.value = Variant::arrayOf({Variant(1), Variant(2)});
        return c;
    }
    const qsizetype sp = text.indexOf(u' ');
    const QString kind = text.left(sp), rest = text.mid(sp + 1);
    const auto k = kinds().find(kind);
    if (sp < 0 || k == kinds().end())
        throw std::runtime_error("bad value " + text.toStdString());
    switch (k->second) {
    case varInteger:
    case varInt64:
    case varByte:
    case varWord:
    case varSmallint: c.value = Variant::fromInt(integer(rest), k->second); break;
    case varDouble: c.value = Variant(number(rest)); break;
    case varSingle: c.value = Variant::fromSingle(float(number(rest))); break;
    case varCurrency: c.value = Variant::fromCurrency(number(rest)); break;
    case varDate: c.value = Variant::fromDate(number(rest)); break;
    case varBoolean: c.value = Variant(rest == u"True"); break;
    default:
        if (!rest.startsWith(u'\'') || !rest.endsWith(u'\''))
            throw std::runtime_error("bad string " + text.toStdString());
        c.value = Variant(rest.mid(1, rest.size() - 2));
        break;
    }
    return c;
}

Variant evaluate(const QString &op, const Variant &a, const Variant &b)
{
    using Bin = std::function<Variant(const Variant &, const Variant &)>;
    static const std::map<QString, Bin> binary = {
        {"+", Variant::add},      {"-", Variant::sub},     {"*", Variant::mul},       {"/", Variant::divide},
        {"div", Variant::intDiv}, {"mod", Variant::mod},   {"and", Variant::bitAnd},  {"or", Variant::bitOr},
        {"xor", Variant::bitXor}, {"shl", Variant::shl},   {"shr", Variant::shr},     {"&", Variant::concat},
        {"=", [](const Variant &x, const Variant &y) { return Variant(x == y); }},
        {"<>", [](const Variant &x, const Variant &y) { return Variant(x != y); }},
        {"<", [](const Variant &x, const Variant &y) { return Variant(x < y); }},
        {">", [](const Variant &x, const Variant &y) { return Variant(x > y); }},
        {"<=", [](const Variant &x, const Variant &y) { return Variant(x <= y); }},
        {">=", [](const Variant &x, const Variant &y) { return Variant(x >= y); }},
    };
    if (op.startsWith(u"to ")) {
        const auto k = kinds().find(op.mid(3));
        if (k == kinds().end())
            throw std::runtime_error("bad kind " + op.toStdString());
        return a.castTo(k->second);
    }
    const auto it = binary.find(op);
    if (it == binary.end())
        throw std::runtime_error("bad operation " + op.toStdString());
    return it->second(a, b);
}

QString describe(const Variant &v)
{
    return Variant::typeName(v.varType()) + u' ' + (v.isArray() ? QStringLiteral("[]") : v.toString());
}

TEST(VariantRules, DocumentedTable)
{
    rtl::ScopedFormatSettings pin(TFormatSettings::english());
    QFile doc(qEnvironmentVariable("LIRRA_SOURCE_DIR", QStringLiteral(LIRRA_SOURCE_ROOT)) + QStringLiteral("/doc/variant.md"));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly)) << doc.fileName().toStdString();
    const QStringList lines = QString::fromUtf8(doc.readAll()).split(u'\n');
    const qsizetype start = lines.indexOf(QStringLiteral("## Rules by example"));
    ASSERT_GE(start, 0);
    int rows = 0;
    for (qsizetype i = start; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (!line.startsWith(u'|') || line.startsWith(QStringLiteral("| left")) || line.startsWith(QStringLiteral("|---")))
            continue;
        QStringList cells = line.mid(1, line.size() - 2).split(u'|');
        ASSERT_EQ(cells.size(), 4) << line.toStdString();
        for (QString &c : cells)
            c = c.trimmed();
        SCOPED_TRACE(line.toStdString());
        ++rows;
        const bool unary = cells[0].isEmpty();
        const Cell expected = parseCell(cells[3]);
        try {
            Variant got;
            if (unary) {
                const Variant x = parseCell(cells[2]).value;
                got = cells[1] == u"not" ? Variant::bitNot(x) : Variant::negate(x);
            } else {
                got = evaluate(cells[1], parseCell(cells[0]).value, cells[2].isEmpty() ? Variant() : parseCell(cells[2]).value);
            }
            if (expected.isError)
                ADD_FAILURE() << "expected " << expected.errorClass.toStdString() << ", got " << describe(got).toStdString();
            else
                EXPECT_TRUE(got.identical(expected.value))
                    << "got " << describe(got).toStdString() << ", expected " << describe(expected.value).toStdString();
        } catch (const Exception &e) {
            if (!expected.isError)
                ADD_FAILURE() << "raised " << e.className() << ": " << e.message().toStdString();
            else {
                EXPECT_EQ(QString::fromLatin1(e.className()), expected.errorClass);
                EXPECT_EQ(e.message(), expected.errorMessage);
            }
        }
    }
    EXPECT_GT(rows, 0) << "no rule rows found";
}

} // namespace
