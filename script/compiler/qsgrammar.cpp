#include "script/compiler/qsgrammar.h"

#include "platform/rtl/exceptions.h"
#include "script/core/qsmessages.h"
#include "script/parser/qsparser.h"

#include <algorithm>

namespace {

[[noreturn]] void invalidLanguage()
{
    throw Exception(qsMessage(u"SInvalidLanguage"));
}

TqsGKind kindOf(const QString &name)
{
    static const QHash<QString, TqsGKind> kinds{
        {QStringLiteral("char"), TqsGKind::Char},
        {QStringLiteral("keyword"), TqsGKind::Keyword},
        {QStringLiteral("ident"), TqsGKind::Ident},
        {QStringLiteral("number"), TqsGKind::Number},
        {QStringLiteral("string"), TqsGKind::String},
        {QStringLiteral("frstring"), TqsGKind::FRString},
        {QStringLiteral("eol"), TqsGKind::Eol},
        {QStringLiteral("sequence"), TqsGKind::Sequence},
        {QStringLiteral("switch"), TqsGKind::Switch},
        {QStringLiteral("optionalswitch"), TqsGKind::OptionalSwitch},
        {QStringLiteral("loop"), TqsGKind::Loop},
        {QStringLiteral("optionalloop"), TqsGKind::OptionalLoop},
        {QStringLiteral("optional"), TqsGKind::Optional},
    };
    return kinds.value(name.toLower(), TqsGKind::Ref);
}

} // namespace

std::shared_ptr<TqsGrammar> TqsGrammar::Compile(const QString &text)
{
    TqsXMLDocument doc;
    try {
        doc.LoadFromBytes(text.toUtf8());
    } catch (const Exception &) {
        invalidLanguage();
    }
    const TqsXMLItem *root = doc.Root();
    auto g = std::make_shared<TqsGrammar>();
    g->LanguageName = root->Prop(QStringLiteral("text"));

    QHash<QString, QString> errors;
    for (int i = 0; i < root->Count(); ++i) {
        const TqsXMLItem *item = root->Items(i);
        if (item->Name.compare(QLatin1String("parser"), Qt::CaseInsensitive) == 0) {
            for (int j = 0; j < item->Count(); ++j) {
                const TqsXMLItem *opt = item->Items(j);
                const QString name = opt->Name.toLower();
                if (name == QLatin1String("keywords")) {
                    for (int k = 0; k < opt->Count(); ++k)
                        g->Keywords << opt->Items(k)->Name;
                } else if (name == QLatin1String("errors")) {
                    for (int k = 0; k < opt->Count(); ++k)
                        errors.insert(opt->Items(k)->Name.toLower(), opt->Items(k)->Prop(QStringLiteral("text")));
                } else {
                    const QString value = opt->Prop(QStringLiteral("text"));
                    g->Options.emplace_back(name, value);
                    if (name == QLatin1String("declarevars") && value == QLatin1String("0"))
                        g->NeedDeclareVars = false;
                }
            }
        } else if (item->Name.compare(QLatin1String("types"), Qt::CaseInsensitive) == 0) {
            g->Types = std::make_unique<TqsXMLItem>();
            g->Types->Assign(item);
        } else {
            const QString key = item->Name.toLower();
            const int idx = int(g->Elements.size());
            if (!g->FRuleIndex.contains(key))
                g->FRuleIndex.insert(key, idx);
            g->Rules.push_back(idx);
            g->Elements.emplace_back(); // reserve the rule's slot before its children
        }
    }
    if (!g->Types) {
        g->Types = std::make_unique<TqsXMLItem>();
        g->Types->Name = QStringLiteral("types");
    }
    // Second pass: compile each rule into the slot reserved for it.
    int r = 0;
    for (int i = 0; i < root->Count(); ++i) {
        const TqsXMLItem *item = root->Items(i);
        if (item->Name.compare(QLatin1String("parser"), Qt::CaseInsensitive) == 0
            || item->Name.compare(QLatin1String("types"), Qt::CaseInsensitive) == 0)
            continue;
        const int slot = g->Rules[r++];
        const int built = g->CompileElement(item, true, errors);
        g->Elements[slot] = std::move(g->Elements[built]);
        g->Elements.pop_back(); // the rule element itself is always the last one built
    }
    for (TqsGElement &e : g->Elements)
        if (e.Kind == TqsGKind::Ref)
            e.Rule = g->FRuleIndex.value(e.Name.toLower(), -1);
    g->ProgramRule = g->FindRule(QStringLiteral("program"));
    if (g->ProgramRule < 0)
        invalidLanguage();
    const QString trailing = root->Items(root->Find(QStringLiteral("program")))->Prop(QStringLiteral("trailing"));
    if (!trailing.isEmpty())
        g->TrailingError = errors.value(trailing.toLower());
    return g;
}

int TqsGrammar::CompileElement(const TqsXMLItem *item, bool isRule, const QHash<QString, QString> &errors)
{
    TqsGElement e;
    e.Kind = isRule ? TqsGKind::Rule : kindOf(item->Name);
    e.Name = item->Name;
    e.HasText = item->PropExists(QStringLiteral("text"));
    e.Text = item->Prop(QStringLiteral("text")).toLower();
    if (e.Text.size() == 1)
        e.TextChar = e.Text[0].unicode();
    e.Node = item->Prop(QStringLiteral("node")).toLower();
    e.Add = item->Prop(QStringLiteral("add"));
    e.HasAddText = item->PropExists(QStringLiteral("addtext"));
    e.AddText = item->Prop(QStringLiteral("addtext"));
    e.HasErr = item->PropExists(QStringLiteral("err"));
    if (e.HasErr)
        e.ErrText = errors.value(item->Prop(QStringLiteral("err")).toLower());
    const QString skip = item->Prop(QStringLiteral("skip"));
    e.NoSpace = skip == QLatin1String("0");
    e.ClearErr = skip == QLatin1String("1");
    e.Term = item->Prop(QStringLiteral("term")) == QLatin1String("1");
    e.UsesNode = e.Node == QLatin1String("uses");
    e.ExprNode = e.Node == QLatin1String("expr");
    // Switches, loops and optionals finish without a node of their own.
    const bool finishes = e.Kind == TqsGKind::Switch || e.Kind == TqsGKind::OptionalSwitch || e.Kind == TqsGKind::Loop
                          || e.Kind == TqsGKind::OptionalLoop || e.Kind == TqsGKind::Optional;
    e.Wraps = !e.Node.isEmpty() && !e.UsesNode && !finishes;
    for (int i = 0; i < item->Count(); ++i)
        e.Kids.push_back(CompileElement(item->Items(i), false, errors));
    Elements.push_back(std::move(e));
    return int(Elements.size()) - 1;
}

int TqsGrammar::FindRule(const QString &name) const
{
    return FRuleIndex.value(name.toLower(), -1);
}

QStringList TqsGrammar::UnresolvedReferences() const
{
    QStringList names;
    for (const TqsGElement &e : Elements)
        if (e.Kind == TqsGKind::Ref && e.Rule < 0 && !names.contains(e.Name))
            names << e.Name;
    names.sort();
    return names;
}

void TqsGrammar::ApplyTo(TqsParser &parser, bool extendedCharset) const
{
    parser.Reset();
    for (const QString &k : Keywords)
        parser.AddKeyword(k);
    for (const auto &[name, value] : Options) {
        if (name == QLatin1String("identchars"))
            parser.ConstructCharset(value);
        else if (name == QLatin1String("commentline1"))
            parser.CommentLine1 = value;
        else if (name == QLatin1String("commentline2"))
            parser.CommentLine2 = value;
        else if (name == QLatin1String("commentblock1"))
            parser.SetCommentBlock1(value);
        else if (name == QLatin1String("commentblock2"))
            parser.SetCommentBlock2(value);
        else if (name == QLatin1String("stringquotes"))
            parser.StringQuotes = value;
        else if (name == QLatin1String("hexsequence"))
            parser.HexSequence = value;
        else if (name == QLatin1String("specstrchar"))
            parser.SpecStrChar = value == QLatin1String("1");
        else if (name == QLatin1String("skipeol")) {
            if (value == QLatin1String("0"))
                parser.SkipEOL = false;
        } else if (name == QLatin1String("skipchar"))
            parser.SkipChar = value;
        else if (name == QLatin1String("casesensitive"))
            parser.CaseSensitive = value == QLatin1String("1");
    }
    if (extendedCharset)
        for (int c = 128; c < 256; ++c)
            parser.AddIdentChar(c);
}
