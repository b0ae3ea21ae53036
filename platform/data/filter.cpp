#include "platform/data/filter.h"

#include "platform/data/dberrors.h"

#include <QDate>

namespace data {

namespace {

enum class Tok { End, Name, Text, Number, Date, Op, LParen, RParen, And, Or, Not };

struct Token
{
    Tok kind = Tok::End;
    QString text;   // name, text value, operator
    Variant value;  // number or date
    int pos = 0;
};

[[noreturn]] void fail(int pos, const QString &what)
{
    throw EDatabaseError(QStringLiteral("Malformed filter at position %1: %2").arg(pos + 1).arg(what));
}

class Lexer
{
public:
    explicit Lexer(const QString &s) : m_s(s) {}

    Token next()
    {
        const int n = m_s.size();
        while (m_i < n && m_s.at(m_i).isSpace())
            ++m_i;
        Token t;
        t.pos = m_i;
        if (m_i >= n)
            return t;
        const QChar c = m_s.at(m_i);
        if (c == QLatin1Char('(')) {
            ++m_i;
            t.kind = Tok::LParen;
        } else if (c == QLatin1Char(')')) {
            ++m_i;
            t.kind = Tok::RParen;
        } else if (c == QLatin1Char('[')) {
            const int end = m_s.indexOf(QLatin1Char(']'), m_i + 1);
            if (end < 0)
                fail(m_i, QStringLiteral("missing ']'"));
            t.kind = Tok::Name;
            t.text = m_s.mid(m_i + 1, end - m_i - 1).trimmed();
            if (t.text.isEmpty())
                fail(m_i, QStringLiteral("empty field name"));
            m_i = end + 1;
        } else if (c == QLatin1Char('\'')) {
            t.kind = Tok::Text;
            t.text = quoted(m_i);
        } else if (c == QLatin1Char('{')) {
            t.kind = Tok::Date;
            t.value = date();
        } else if (c == QLatin1Char('=') ) {
            ++m_i;
            t.kind = Tok::Op;
            t.text = QStringLiteral("=");
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!')) {
            t.kind = Tok::Op;
            t.text = c;
            ++m_i;
            if (m_i < n && (m_s.at(m_i) == QLatin1Char('=') || (c == QLatin1Char('<') && m_s.at(m_i) == QLatin1Char('>')))) {
                t.text += m_s.at(m_i);
                ++m_i;
            }
            if (t.text == QLatin1String("!"))
                fail(t.pos, QStringLiteral("unexpected '!'"));
            if (t.text == QLatin1String("!="))
                t.text = QStringLiteral("<>");
        } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && m_i + 1 < n && m_s.at(m_i + 1).isDigit())) {
            int j = m_i + 1;
            while (j < n && (m_s.at(j).isDigit() || m_s.at(j) == QLatin1Char('.')))
                ++j;
            const QString num = m_s.mid(m_i, j - m_i);
            bool ok = false;
            if (!num.contains(QLatin1Char('.'))) {
                const qlonglong v = num.toLongLong(&ok);
                if (ok)
                    t.value = (v >= INT_MIN && v <= INT_MAX) ? Variant(int(v)) : Variant(static_cast<long long>(v));
            }
            if (!ok) {
                const double d = num.toDouble(&ok);
                if (!ok)
                    fail(m_i, QStringLiteral("bad number '%1'").arg(num));
                t.value = Variant(d);
            }
            t.kind = Tok::Number;
            m_i = j;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int j = m_i + 1;
            while (j < n && (m_s.at(j).isLetterOrNumber() || m_s.at(j) == QLatin1Char('_') ||
                             m_s.at(j) == QLatin1Char('$') || m_s.at(j) == QLatin1Char('.')))
                ++j;
            t.text = m_s.mid(m_i, j - m_i);
            m_i = j;
            const QString up = t.text.toUpper();
            t.kind = up == QLatin1String("AND") ? Tok::And
                     : up == QLatin1String("OR") ? Tok::Or
                     : up == QLatin1String("NOT") ? Tok::Not
                                                  : Tok::Name;
        } else {
            fail(m_i, QStringLiteral("unexpected '%1'").arg(c));
        }
        return t;
    }

private:
    QString quoted(int start)
    {
        const int n = m_s.size();
        QString out;
        int j = start + 1;
        for (;;) {
            if (j >= n)
                fail(start, QStringLiteral("unterminated text"));
            const QChar c = m_s.at(j);
            if (c == QLatin1Char('\'')) {
                if (j + 1 < n && m_s.at(j + 1) == QLatin1Char('\'')) {
                    out += c;
                    j += 2;
                    continue;
                }
                ++j;
                break;
            }
            out += c;
            ++j;
        }
        m_i = j;
        return out;
    }

    // {d yyyy-mm-dd } with optional blanks and optional quotes around the date.
    Variant date()
    {
        const int start = m_i;
        const int end = m_s.indexOf(QLatin1Char('}'), m_i);
        if (end < 0)
            fail(start, QStringLiteral("missing '}'"));
        QString body = m_s.mid(m_i + 1, end - m_i - 1).trimmed();
        m_i = end + 1;
        if (!body.startsWith(QLatin1Char('d'), Qt::CaseInsensitive) || body.size() < 2 || !body.at(1).isSpace())
            fail(start, QStringLiteral("expected {d yyyy-mm-dd }"));
        body = body.mid(1).trimmed();
        if (body.size() >= 2 && body.startsWith(QLatin1Char('\'')) && body.endsWith(QLatin1Char('\'')))
            body = body.mid(1, body.size() - 2).trimmed();
        const QDate d = QDate::fromString(body, QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            fail(start, QStringLiteral("bad date '%1'").arg(body));
        return Variant::fromDate(double(QDate(1899, 12, 30).daysTo(d)));
    }

    const QString &m_s;
    int m_i = 0;
};

enum class CmpOp { Eq, Ne, Lt, Le, Gt, Ge };

struct Operand
{
    bool isField = false;
    QString name;
    int index = -1;
    Variant value;
    bool wildcard = false; // text constant ending in '*'
    QString prefix;        // the text before the '*'
};

class CompareNode : public FilterExpr
{
public:
    CompareNode(Operand l, CmpOp op, Operand r) : m_l(std::move(l)), m_r(std::move(r)), m_op(op) {}

    void Bind(const std::function<int(const QString &)> &fieldIndex) override
    {
        for (Operand *o : {&m_l, &m_r}) {
            if (!o->isField)
                continue;
            o->index = fieldIndex(o->name);
            if (o->index < 0)
                throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(o->name));
        }
    }

    bool Evaluate(const std::vector<Variant> &row, int options) const override
    {
        const Variant &a = m_l.isField ? row[size_t(m_l.index)] : m_l.value;
        const Variant &b = m_r.isField ? row[size_t(m_r.index)] : m_r.value;
        if (a.isEmptyOrNull() || b.isEmptyOrNull())
            return false;
        const Qt::CaseSensitivity cs = (options & foCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        const bool partial = !(options & foNoPartialCompare) && (m_op == CmpOp::Eq || m_op == CmpOp::Ne);
        int c;
        if (partial && (m_r.wildcard || m_l.wildcard)) {
            const QString &prefix = m_r.wildcard ? m_r.prefix : m_l.prefix;
            const Variant &other = m_r.wildcard ? a : b;
            const bool match = other.toString().startsWith(prefix, cs);
            return m_op == CmpOp::Eq ? match : !match;
        }
        if (a.isString() && b.isString()) {
            c = QString::compare(a.toString(), b.toString(), cs);
        } else {
            try {
                c = int(Variant::compare(a, b));
            } catch (const Exception &e) {
                throw EDatabaseError(QStringLiteral("Filter cannot compare these values: %1").arg(e.message()));
            }
        }
        switch (m_op) {
        case CmpOp::Eq: return c == 0;
        case CmpOp::Ne: return c != 0;
        case CmpOp::Lt: return c < 0;
        case CmpOp::Le: return c <= 0;
        case CmpOp::Gt: return c > 0;
        case CmpOp::Ge: return c >= 0;
        }
        return false;
    }

private:
    Operand m_l, m_r;
    CmpOp m_op;
};

// Terms joined by AND (or by OR), kept side by side so that long chains nest no deeper.
class LogicNode : public FilterExpr
{
public:
    explicit LogicNode(bool isAnd) : m_and(isAnd) {}
    void add(std::unique_ptr<FilterExpr> e) { m_terms.push_back(std::move(e)); }
    void Bind(const std::function<int(const QString &)> &f) override
    {
        for (auto &t : m_terms)
            t->Bind(f);
    }
    bool Evaluate(const std::vector<Variant> &row, int options) const override
    {
        for (const auto &t : m_terms)
            if (t->Evaluate(row, options) != m_and)
                return !m_and;
        return m_and;
    }

private:
    bool m_and;
    std::vector<std::unique_ptr<FilterExpr>> m_terms;
};

class NotNode : public FilterExpr
{
public:
    explicit NotNode(std::unique_ptr<FilterExpr> e) : m_e(std::move(e)) {}
    void Bind(const std::function<int(const QString &)> &f) override { m_e->Bind(f); }
    bool Evaluate(const std::vector<Variant> &row, int options) const override { return !m_e->Evaluate(row, options); }

private:
    std::unique_ptr<FilterExpr> m_e;
};

class Parser
{
public:
    explicit Parser(const QString &text) : m_lex(text) { advance(); }

    std::unique_ptr<FilterExpr> parseAll()
    {
        auto e = parseOr(0);
        if (m_tok.kind != Tok::End)
            fail(m_tok.pos, QStringLiteral("unexpected text after the end of the expression"));
        return e;
    }

private:
    static constexpr int kMaxDepth = 200;

    void advance() { m_tok = m_lex.next(); }

    std::unique_ptr<FilterExpr> parseOr(int depth)
    {
        auto first = parseAnd(depth);
        if (m_tok.kind != Tok::Or)
            return first;
        auto node = std::make_unique<LogicNode>(false);
        node->add(std::move(first));
        while (m_tok.kind == Tok::Or) {
            advance();
            node->add(parseAnd(depth));
        }
        return node;
    }

    std::unique_ptr<FilterExpr> parseAnd(int depth)
    {
        auto first = parseNot(depth);
        if (m_tok.kind != Tok::And)
            return first;
        auto node = std::make_unique<LogicNode>(true);
        node->add(std::move(first));
        while (m_tok.kind == Tok::And) {
            advance();
            node->add(parseNot(depth));
        }
        return node;
    }

    std::unique_ptr<FilterExpr> parseNot(int depth)
    {
        if (depth > kMaxDepth)
            fail(m_tok.pos, QStringLiteral("expression nested too deeply"));
        if (m_tok.kind == Tok::Not) {
            advance();
            return std::make_unique<NotNode>(parseNot(depth + 1));
        }
        if (m_tok.kind == Tok::LParen) {
            advance();
            auto e = parseOr(depth + 1);
            if (m_tok.kind != Tok::RParen)
                fail(m_tok.pos, QStringLiteral("expected ')'"));
            advance();
            return e;
        }
        Operand l = operand();
        if (m_tok.kind != Tok::Op)
            fail(m_tok.pos, QStringLiteral("expected a comparison operator"));
        const QString op = m_tok.text;
        advance();
        Operand r = operand();
        const CmpOp cmp = op == QLatin1String("=")    ? CmpOp::Eq
                          : op == QLatin1String("<>") ? CmpOp::Ne
                          : op == QLatin1String("<")  ? CmpOp::Lt
                          : op == QLatin1String("<=") ? CmpOp::Le
                          : op == QLatin1String(">")  ? CmpOp::Gt
                                                      : CmpOp::Ge;
        return std::make_unique<CompareNode>(std::move(l), cmp, std::move(r));
    }

    Operand operand()
    {
        Operand o;
        switch (m_tok.kind) {
        case Tok::Name:
            o.isField = true;
            o.name = m_tok.text;
            break;
        case Tok::Text:
            o.value = Variant(m_tok.text);
            if (m_tok.text.endsWith(QLatin1Char('*'))) {
                o.wildcard = true;
                o.prefix = m_tok.text.left(m_tok.text.size() - 1);
            }
            break;
        case Tok::Number:
        case Tok::Date:
            o.value = m_tok.value;
            break;
        default:
            fail(m_tok.pos, m_tok.kind == Tok::End ? QStringLiteral("unexpected end of the expression")
                                                   : QStringLiteral("expected a field name or a value"));
        }
        advance();
        return o;
    }

    Lexer m_lex;
    Token m_tok;
};

} // namespace

std::unique_ptr<FilterExpr> FilterExpr::Parse(const QString &text)
{
    return Parser(text).parseAll();
}

} // namespace data
