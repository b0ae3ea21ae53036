#pragma once
// The grammar walk: interprets a language's compiled rule graph over the source text and
// writes the language-neutral intermediate program (see script/core/qsscript.h for its
// shape). Backtracking costs a position reset and dropping the output lines written
// since; the first syntax error recorded wins, and only the loop rules clear it.
#include "script/parser/qsparser.h"
#include "script/xml/qsxml.h"

#include <QString>
#include <QStringList>
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
    // grammar. Raises EqsError (SLangNotFound, SInvalidLanguage).
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

    bool Walk(int index);
    bool WalkRule(int index);
    bool WalkLoop(const TqsGElement &e, int entryPos, size_t entryLines);
    bool Enter();
    void Fail(const TqsGElement &e, int entryPos, size_t entryLines);
    void RecordError(const TqsGElement &e, int entryPos);
    QString PositionAt(int pos, bool skipSpaces);
    QString CurrentPosition() const { return FParser.GetXYPosition(); }
    void Wrap(const QString &node, int entryPos, size_t entryLines);
    void WriteToken(const QString &name, QStringView text);
    void WriteReportExpression(const QString &text);
    void IncludeUnits(size_t entryLines);
    bool IncludeUnit(const QString &name, QString &splice);
    QString ReadUnitFile(const QString &name) const;
    void CheckTrailingText();

    TqsScript *FProgram;
    std::shared_ptr<const TqsGrammar> FGrammar;
    TqsXMLDocument FILScript;
    QString FLangName;
    bool FNeedDeclareVars = true;
    TqsParser FParser;
    std::vector<QString> FLines;
    Error FError;
    int FDepth = 0;
    const char *FStackBase = nullptr;
    bool FTooDeep = false;
    QString FTooDeepPos;
    int FUnitDepth = 0;
};
