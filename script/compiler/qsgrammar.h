#pragma once
// A grammar document compiled once into an in-memory rule graph, so that the walk never
// re-reads XML attributes. Element kinds, attribute values (lower-cased where the walk
// compares them), error texts and rule references are all resolved here.
#include "script/xml/qsxml.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class TqsParser;

enum class TqsGKind : unsigned char {
    Rule,
    Char,
    Keyword,
    Ident,
    Number,
    String,
    FRString,
    Eol,
    Sequence,
    Switch,
    OptionalSwitch,
    Loop,
    OptionalLoop,
    Optional,
    Ref,
};

struct TqsGElement
{
    TqsGKind Kind = TqsGKind::Sequence;
    QString Name;      // element name as written (the rule's name for rules and references)
    QString Text;      // lower-cased expected token or loop separator
    bool HasText = false;
    char16_t TextChar = 0;  // Text when it is one character, for a quick comparison
    QString Node;      // lower-cased
    QString Add;
    QString AddText;
    bool HasAddText = false;
    QString ErrText;   // resolved message; empty records nothing
    bool HasErr = false;
    bool NoSpace = false;   // char: skip="0"
    bool ClearErr = false;  // loop: skip="1"
    bool Term = false;
    bool Wraps = false;     // its node wraps what it writes (node set, not "uses")
    bool UsesNode = false;  // node="uses": include the units named inside
    bool ExprNode = false;  // node="expr": the node also records where it ends
    int Rule = -1;          // Ref: the rule's element index; -1 when the name is no rule
    std::vector<int> Kids;
};

class TqsGrammar
{
public:
    // Raises Exception(SInvalidLanguage) for text that is not a usable grammar document.
    static std::shared_ptr<TqsGrammar> Compile(const QString &text);

    QString LanguageName;
    std::vector<TqsGElement> Elements;
    std::vector<int> Rules;  // element indexes of the rules, in document order
    int ProgramRule = -1;
    QString TrailingError;   // text left after the program is this error; empty = ignored

    // Tokenizer options, in document order: lower-cased option name and value.
    std::vector<std::pair<QString, QString>> Options;
    QStringList Keywords;
    bool NeedDeclareVars = true;
    std::unique_ptr<TqsXMLItem> Types; // copied into every intermediate program

    int RuleCount() const { return int(Rules.size()); }
    int FindRule(const QString &name) const;
    // Names referred to in the rules that no rule defines, sorted.
    QStringList UnresolvedReferences() const;
    // Resets the tokenizer and configures it from the parser options.
    void ApplyTo(TqsParser &parser, bool extendedCharset) const;

private:
    int CompileElement(const TqsXMLItem *item, bool isRule, const QHash<QString, QString> &errors);
    QHash<QString, int> FRuleIndex; // lower-cased rule name -> element index
};
