#pragma once
// TqsScript: one script program with its scope of names.
//
// This is the script object's shell: the scope (a sorted, case-insensitive name list
// with duplicates, later registrations of a name found first), the parent chain, the
// source and language, the include path and unit hooks, and the error fields that a
// compile fills. Compiling runs the grammar walk (TqsILParser) that turns the source
// into the intermediate program; BuildProgram is where the program builder turns that
// into items and statements.
//
// The intermediate program is engine XML (TqsXMLDocument):
//   <program>  statements and declarations in source order, then a copy of <types>
//   node elements:  <name pos="line:col"> children </name>   (expr also has pos1 = end)
//   token elements: <name text="token" pos="line:col"/>      (pos = just after the token)
// Element names are the same in every language (assignstmt, callstmt, ifstmt, expr,
// dsgn, op, number, string, ...); included units appear as <uses unit="name"> holding
// the unit's own <program>.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QIODevice;
class TqsILParser;

// Anything a scope names. Script variables (declared names, procedures, classes, host
// functions) answer true to IsScriptVariable; binding-module instances do not and are
// never found by name.
class TqsScriptItem
{
public:
    virtual ~TqsScriptItem() = default;
    virtual bool IsScriptVariable() const { return false; }
    const void *AddedBy = nullptr;
};

class TqsScript
{
public:
    using TqsGetUnitEvent = std::function<void(TqsScript *sender, const QString &unitName, QString &unitText)>;

    TqsScript();
    virtual ~TqsScript();
    TqsScript(const TqsScript &) = delete;
    TqsScript &operator=(const TqsScript &) = delete;

    // Scope. The script owns what is added.
    void Add(const QString &name, TqsScriptItem *item);
    void Remove(TqsScriptItem *item); // takes it out without freeing
    int Count() const { return int(FItems.size()); }
    TqsScriptItem *Items(int index) const { return FItems[index].item; }
    const QString &ItemName(int index) const { return FItems[index].name; }
    TqsScriptItem *FindLocal(QStringView name) const;
    TqsScriptItem *Find(QStringView name) const;
    // Frees every item.
    void ClearAllItems();

    const void *AddedBy = nullptr; // stamped on script variables as they are added
    QString ErrorMsg, ErrorPos, ErrorUnit;
    bool ExtendedCharset = false;
    QStringList Lines;
    QStringList Macros;
    TqsScript *Parent = nullptr;
    QString SyntaxType = QStringLiteral("DozovoZozedi");
    QStringList IncludePath{QString()};
    bool UseClassLateBinding = false;
    bool EvaluteRiseError = false;
    TqsGetUnitEvent OnGetUnit;   // source of an included unit
    TqsGetUnitEvent OnGetILUnit; // an included unit as intermediate-program text

    void SetLines(const QStringList &value) { Lines = value; }
    // The source as compiled: the lines, each followed by CR LF.
    QString SourceText() const;

    // False with ErrorMsg / ErrorPos / ErrorUnit set when the text has an error. An
    // unregistered language, a broken grammar or an unreadable unit raise Exception.
    bool Compile();
    // Like Compile, but writes the intermediate program to the stream and builds nothing.
    bool GetILCode(QIODevice *stream);

protected:
    // Builds items and statements from a walk that succeeded; sets ErrorMsg / ErrorPos
    // on a semantic error.
    virtual void BuildProgram(TqsILParser &parser);

private:
    struct Entry
    {
        QString name;
        TqsScriptItem *item;
    };
    std::vector<Entry> FItems; // sorted by name, case-insensitively
    size_t LowerBound(QStringView name) const;
};

// Line ends normalised to CR LF (lone CR or LF included), as the grammars expect.
QString qsNormalizeLineEnds(const QString &text);
