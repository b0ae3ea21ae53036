#pragma once
// The grammar walk: interprets a language's compiled rule graph over the source text and
// writes the language-neutral intermediate program (see script/core/qsscript.h for its
// shape). Backtracking costs a position reset and dropping the output lines written
// since; the first syntax error recorded wins, and only the loop rules clear it.
#include "script/parser/qsparser.h"
#include "script/xml/qsxml.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

class TqsGrammar;
struct TqsGElement;
class TqsScript;

class TqsILParser
{
public:
    explicit TqsILParser(TqsScript *program);
    ~TqsILParser();
    TqsILParser(const TqsILParser &) = delete;
    TqsILParser &operator=(const TqsILParser &) = delete;

    // Selects a registered language: the tokenizer is reset and configured from its
    // grammar. Raises Exception (SLangNotFound, SInvalidLanguage).
    void SelectLanguage(const QString &langName);
    // Walks the text; on success ILScript() holds the intermediate program. Always sets
    // the script's ErrorMsg and ErrorPos (empty after a success).
    bool MakeILScript(const QString &text);

    TqsXMLDocument &ILScript() { return FILScript; }
    TqsParser &Parser() { return FParser; }
    TqsScript *Program() const { return FProgram; }
    const TqsGrammar *Grammar() const { return FGrammar.get(); }
    const QString &LangName() const { return FLangName; }
    bool NeedDeclareVars() const { return FNeedDeclareVars; }

    QString UnitName;      // unit being compiled; empty for the main text
    QStringList UsesList;  // units already included in this compile

    // Hostile input is bounded: nesting of the walk and of included units.
    static constexpr int MaxDepth = 3000;
    static constexpr int MaxStackBytes = 2 * 1024 * 1024;
    static constexpr int MaxUnitDepth = 64;

private:
    struct Error
    {
        bool set = false;
        bool term = false;
        bool sticky = false; // an included unit's error: never cleared by a loop
        QString msg, pos;
    };

    // One line of output. Backtracking drops trailing lines; the tree is built from the
    // surviving lines only once the walk has succeeded.
    // The text is a view of the source or of the grammar where it can be; only a text made
    // by the walk (numbers, strings, unit names) is held by the line.
    struct Line
    {
        enum Kind : unsigned char { Open, Close, Token, Unit } kind;
        const QString *name;   // element name, owned by the grammar or static
        QStringView text;      // token text, or the unit's name
        int pos = 0, pos1 = 0; // text positions (1-based); pos1 only on expr
        int unit = -1;         // Unit: index into FUnits, -1 when the unit gave nothing
        QString owned;         // what text views when the walk made it
    };

    bool Walk(int index);
    bool WalkRule(int index);
    bool WalkLoop(const TqsGElement &e, int entryPos, size_t entryLines);
    bool Enter();
    void Fail(const TqsGElement &e, int entryPos, size_t entryLines);
    void RecordError(const TqsGElement &e, int entryPos);
    int TokenStart(int pos);
    QString PositionText(int pos) const;
    void OpenNode(const TqsGElement &e);
    void CloseNode(const TqsGElement &e, size_t openLine, int entryPos);
    // A token whose text lives in the source or the grammar; WriteOwnedToken keeps its own copy.
    void WriteToken(const QString *name, QStringView text);
    void WriteOwnedToken(const QString *name, QString text);
    void WriteReportExpression(const QString &text);
    void IncludeUnits(size_t entryLines);
    bool IncludeUnit(const QString &name, int pos, int &unit);
    QString ReadUnitFile(const QString &name) const;
    void CheckTrailingText();
    void BuildTree();

    TqsScript *FProgram;
    std::shared_ptr<const TqsGrammar> FGrammar;
    TqsXMLDocument FILScript;
    QString FLangName;
    bool FNeedDeclareVars = true;
    TqsParser FParser;
    std::deque<Line> FLines; // grows without moving what was written
    std::vector<std::unique_ptr<TqsXMLItem>> FUnits; // programs of included units
    Error FError;
    int FDepth = 0;
    const char *FStackBase = nullptr;
    bool FTooDeep = false;
    QString FTooDeepPos;
    int FUnitDepth = 0;
    // A unit's walker shares the stack and depth budget of the walker that includes it.
    const char *FOuterStackBase = nullptr;
    int FOuterDepth = 0;
};
