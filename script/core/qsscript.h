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
#include "platform/rtl/variant.h"
#include "script/core/qsfileaccess.h"
#include "script/tools/qstools.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

class QIODevice;
class TqsILParser;
class TqsStatement;
class TqsCustomVariable;
class TqsProcVariable;
class TqsMethodHelper;
class TqsClassVariable;
class TPersistent;
class TComponent;
class Exception;
namespace rtl {
class ClassInfo;
}

// What a running program keeps besides its variables: the nesting of script calls and how
// many line hooks are attached. One per tree of scopes (the outermost script owns it), so
// that scripts on different threads share nothing.
struct TqsRunState
{
    int CallDepth = 0;
    int LineHooks = 0;

    // The host's check while the tree runs (TqsScript::SetOnPoll). Loops count their turns
    // and calls count themselves down in StepsLeft only while Polling; the clock is read
    // when the count runs out, the hook called when PollIntervalMs have passed.
    std::function<bool()> OnPoll;
    bool Polling = false;
    bool StopAsked = false; // the hook said stop: every later check stops at once
    int StepsLeft = 0;
    int StepBudget = MaxStepBudget;
    std::chrono::steady_clock::time_point LastClock, LastPoll;

    static constexpr int MaxStepBudget = 4096;
    static constexpr int PollIntervalMs = 25;
};

// Where the locals of a procedure live. Each local has a slot, numbered as it is declared;
// an activation of the procedure gets a frame of slots on the caller's stack, made from
// the initial values in Home, and Current points at the innermost running activation's
// frame (at Home while none runs). Names declared once the procedure has run (bound late)
// get no slot and keep one value of their own.
struct TqsFrameLayout
{
    Variant *Current = nullptr;
    std::vector<Variant> Home;
    bool Sealed = false;
};

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

// Names whose items a scope makes on their first lookup, so that a module with many names
// costs a script only the items it uses. The table is read-only and may be shared by
// every script; each script makes its own items from it.
class TqsLazyNames
{
public:
    virtual ~TqsLazyNames() = default;
    virtual int Count() const = 0;
    // The index of the name (any case), or -1.
    virtual int IndexOf(QStringView name) const = 0;
    // Registers the item of that index into the script, as an eager module would have.
    virtual void Make(TqsScript &script, int index) const = 0;
};

class TqsScript
{
public:
    using TqsGetUnitEvent = std::function<void(TqsScript *sender, const QString &unitName, QString &unitText)>;
    // Lets the host supply a variable's value when it is read; a Null answer keeps the stored one.
    using TqsGetVarValueEvent =
        std::function<void(const QString &varName, TqsVarType varTyp, Variant &value, const Variant &oldValue)>;
    // Called before each statement runs; sender is the scope the statement runs in.
    using TqsRunLineEvent = std::function<void(TqsScript *sender, const QString &unitName, const QString &sourcePos)>;

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
    // Makes the item of a lazily named name first when it is the one the name finds.
    TqsScriptItem *FindLocal(QStringView name) const;
    TqsScriptItem *Find(QStringView name) const;
    // Frees every item.
    void ClearAllItems();
    // Registers a table of lazily made names, as though each name were added now (stamped
    // with AddedBy, found before the names added earlier and after those added later).
    void AddLazyNames(const TqsLazyNames *names);
    // Makes every lazily named item that is not made yet (for listing them all). Lookups
    // make items too: a scope that threads share must have them made before.
    void RealiseLazyItems() const;

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

    // False with ErrorMsg / ErrorPos / ErrorUnit set when the compile fails: an error in the
    // text, a unit that cannot be read, an unregistered language or an unusable grammar.
    bool Compile();
    // Like Compile, but writes the intermediate program to the stream and builds nothing.
    bool GetILCode(QIODevice *stream);

    // ---- Registration (script/runtime/qsrun.cpp). Those that say "unless present" add
    // nothing when Find already finds the name up the chain; they return the new item or nullptr.
    virtual TqsCustomVariable *AddConst(const QString &name, const QString &typ, const Variant &value);
    virtual TqsCustomVariable *AddVariable(const QString &name, const QString &typ, const Variant &value);
    virtual TqsCustomVariable *AddType(const QString &name, TqsVarType parentType);
    virtual void AddEnum(const QString &typeName, const QString &names);
    virtual void AddEnumSet(const QString &typeName, const QString &names);
    virtual TqsMethodHelper *AddMethod(const QString &syntax, std::function<Variant(const Variant &, const QString &, TqsMethodHelper &)> callEvent,
                                       const QString &category = QString(), const QString &description = QString());
    // The old call-back form: arguments as a Variant array (by-reference ones read back from it).
    virtual TqsMethodHelper *AddMethod(const QString &syntax, std::function<Variant(const Variant &, const QString &, Variant &)> callEvent,
                                       const QString &category = QString(), const QString &description = QString());
    // A host class reached through the class registry; the new class takes over the
    // ancestor's default property. Nothing (nullptr) when the name is present.
    virtual TqsClassVariable *AddClass(const rtl::ClassInfo *cls, const QString &ancestor);
    // A form, data module or frame: its class (ancestor "TForm", "TDataModule" or "TFrame",
    // whichever it inherits from; anything else registers nothing), its owned components
    // as members, and the object itself.
    virtual void AddComponent(TComponent *form);
    void AddForm(TComponent *form) { AddComponent(form); }
    // A variable of the object's class holding its handle.
    virtual TqsCustomVariable *AddObject(const QString &name, TPersistent *obj);
    // The class item of that name up the chain, else nullptr.
    TqsClassVariable *FindClass(QStringView name) const;
    // Instantiates every binding module once (their names stamped with the marker 1).
    void AddRTTI();
    bool RTTIAdded() const { return FRTTIAdded; }

    // ---- Running
    // Reads an intermediate program and builds it without the grammar walk.
    bool SetILCode(QIODevice *stream);
    void Execute();
    bool Run();
    Variant CallFunction(const QString &name, const Variant &params, bool sGlobal = false);
    Variant CallFunction1(const QString &name, Variant &params, bool sGlobal = false);
    Variant CallFunction2(TqsProcVariable *proc, const Variant &params);
    Variant Evaluate(const QString &expression);
    void Terminate();
    // Frees every item but the binding modules' and the root statement; clears the errors.
    void Clear();
    // Frees the script variables stamped with owner, last first, and the root statement.
    void ClearItems(const void *owner);
    void ClearRTTI();
    bool IsExecutableLine(int lineN, const QString &unitName = QString()) const;
    void AddCodeLine(const QString &unitName, const QString &sourcePos);

    Variant Variables(const QString &name) const;
    void SetVariables(const QString &name, const Variant &value);

    // The run state of this tree of scopes (the outermost script's).
    TqsRunState &RunState()
    {
        if (FRunStateFor != Parent || !FRunState) [[unlikely]]
            ResolveRunState();
        return *FRunState;
    }

    // The host's check while this tree of scopes runs: called from loop turns and script
    // calls at a bounded interval, so that the host can let its pending events through or
    // look at a stop request of another thread. True ends the run as Terminate does, at the
    // next statement of every list; the run's later checks stop at once too, until the hook
    // is set again or the main program runs again. An empty hook switches the counting off.
    using TqsPollEvent = std::function<bool()>;
    void SetOnPoll(TqsPollEvent hook);
    // A call: the count runs down, the clock is looked at when it runs out.
    static void CountStep(TqsRunState &state, TqsScript *scope)
    {
        if (--state.StepsLeft < 0) [[unlikely]]
            scope->Poll();
    }
    // When the count has run out: reads the clock, calls the hook when it is due, and stops
    // the run (this scope, its parents and the outermost script's procedures) when asked.
    [[gnu::noinline]] void Poll();
    // A loop's own count has run out: polls and gives the loop its next count.
    [[gnu::noinline, gnu::cold]] static int PollTurns(TqsScript *scope);

    void SetOnRunLine(TqsRunLineEvent hook);
    const TqsRunLineEvent &OnRunLine() const { return FOnRunLine; }
    // Calls the first OnRunLine up the chain with this scope as sender.
    void RunLine(const QString &unitName, const QString &sourcePos);
    TqsStatement *Statement() { return FStatement ? FStatement : CreateStatement(); }

    TqsGetVarValueEvent OnGetVarValue;
    // Decides on every file the script's bindings read or write (script/core/qsfileaccess.h).
    TqsFileAccessEvent OnFileAccess;
    // Set on a procedure's scope: the variables added to it take slots of this layout.
    TqsFrameLayout *FrameLayout = nullptr;

    // Control flags of a run, one byte so that a statement list checks them with one test.
    enum : unsigned char { cfBreak = 1, cfContinue = 2, cfExit = 4, cfTerminated = 8 };
    unsigned char FCtl = 0;
    bool BreakCalled() const { return FCtl & cfBreak; }
    bool ContinueCalled() const { return FCtl & cfContinue; }
    bool ExitCalled() const { return FCtl & cfExit; }
    bool Terminated() const { return FCtl & cfTerminated; }
    bool IsRunning = false;
    bool MainProg = false;
    TqsScript *ProgRunning = nullptr;

protected:
    // Builds items and statements from a walk that succeeded; sets ErrorMsg / ErrorPos
    // on a semantic error.
    virtual void BuildProgram(TqsILParser &parser);
    void DestroyRuntime();
    void SetCompileFailure(const Exception &e);
    // Calls proc with the elements of a one-dimensional array as arguments; with writeBack
    // the parameters' values after the call are put back into the array.
    Variant CallWithArray(TqsProcVariable *proc, Variant &params, bool writeBack);
    TqsStatement *CreateStatement();

    TqsStatement *FStatement = nullptr; // owned
    bool FRTTIAdded = false;
    TqsRunLineEvent FOnRunLine;
    QHash<QString, QSet<int>> FUnitLines;

private:
    void ResolveRunState();
    TqsRunState FOwnRunState;
    TqsRunState *FRunState = nullptr;
    TqsScript *FRunStateFor = nullptr; // the parent FRunState was resolved through

    struct Entry
    {
        QString name;
        TqsScriptItem *item;
        unsigned order; // when it was registered: among equal names the latest comes first
    };
    // Mutable: a lookup may make a lazily named item (the scope's contents do not change
    // as seen from outside, the item exists from its registration on).
    mutable std::vector<Entry> FItems; // sorted by name, case-insensitively
    size_t LowerBound(QStringView name) const;
    void RemoveAt(int index) { FItems.erase(FItems.begin() + index); }

    struct LazyTable
    {
        const TqsLazyNames *names;
        const void *addedBy;
        unsigned order;
        std::vector<bool> made;
    };
    mutable std::vector<LazyTable> FLazy;
    unsigned FOrder = 0;                // of the latest registration
    mutable unsigned FMakingOrder = 0;  // while a lazy item is made: its table's order
    unsigned FNewestLazy = 0;           // the latest order among FLazy
    bool MakeLazy(QStringView name) const;
    void MakeLazyItem(LazyTable &table, int index) const;
    void DropLazy(const std::function<bool(const void *addedBy)> &drop);
};

// Gives a variable added to a procedure's scope its slot (script/items).
void qsTakeSlot(TqsFrameLayout &layout, TqsScriptItem *item);

// Line ends normalised to CR LF (lone CR or LF included), as the grammars expect.
QString qsNormalizeLineEnds(const QString &text);
