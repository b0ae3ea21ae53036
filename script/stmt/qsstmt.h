#pragma once
// Statements of a compiled script. Each knows its scope (whose control flags it honours),
// its unit and source position, and reports the position to the line hook before it runs.
// With no hook attached in the tree of scopes the report costs one test of its run state.
#include "script/expr/qsexpr.h"

#include <QString>
#include <vector>

class TqsStatement
{
public:
    TqsStatement(TqsScript *program, const QString &sourcePos, const QString &unitName)
        : FProgram(program), FSourcePos(sourcePos), FUnitName(unitName)
    {
    }
    virtual ~TqsStatement();
    // A plain statement is a list: its children run in order.
    virtual void Execute() { ExecuteList(FItems); }

    void Add(TqsStatement *s) { FItems.push_back(s); }
    void Clear();
    int Count() const { return int(FItems.size()); }

    void RunLine()
    {
        if (FProgram->RunState().LineHooks)
            FProgram->RunLine(FUnitName, FSourcePos);
    }
    bool Terminated() const { return FProgram->FCtl & TqsScript::cfTerminated; }

    // Runs the list while no control flag of the scope is set.
    void ExecuteList(const std::vector<TqsStatement *> &list)
    {
        for (TqsStatement *s : list) {
            if (FProgram->FCtl & TqsScript::cfTerminated)
                return;
            s->Execute();
            if (FProgram->FCtl)
                return;
        }
    }

    std::vector<TqsStatement *> FItems; // owned
    TqsScript *FProgram;
    QString FSourcePos, FUnitName;
};

class TqsAssignmentStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsAssignmentStmt() override;
    void Execute() override;
    // Picks the direct target and source once the parts are set.
    void Optimize();

    TqsDesignator *FDesignator = nullptr; // owned
    TqsExpression *FExpression = nullptr; // owned
    TqsCustomVariable *FVar = nullptr;    // the variable itself, else the designator
    TqsExprNode *FExpr = nullptr;         // root of the expression
    char FModificator = ' ';              // ' ', '+', '-', '*', '/', '&' (joining texts)
};

// x op= e (also what x := x op e becomes).
class TqsCompoundAssignStmt : public TqsAssignmentStmt
{
public:
    using TqsAssignmentStmt::TqsAssignmentStmt;
    void Execute() override;
};

class TqsCallStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsCallStmt() override;
    void Execute() override;
    TqsDesignator *FDesignator = nullptr;
    char FModificator = ' ';
};

// x++ / x-- on a plain variable.
class TqsIncStmt : public TqsCallStmt
{
public:
    using TqsCallStmt::TqsCallStmt;
    void Execute() override;
    TqsCustomVariable *FVar = nullptr;
};

class TqsIfStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsIfStmt() override;
    void Execute() override;
    TqsExpression *FCondition = nullptr;
    TqsStatement *FElseStmt = nullptr;
};

class TqsCaseSelector : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsCaseSelector() override;
    TqsSetExpression *FSetExpression = nullptr;
};

class TqsCaseStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsCaseStmt() override;
    void Execute() override;
    TqsExpression *FCondition = nullptr;
    TqsStatement *FElseStmt = nullptr;
};

class TqsRepeatStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsRepeatStmt() override;
    void Execute() override;
    TqsExpression *FCondition = nullptr;
    bool FInverseCondition = false;
};

class TqsWhileStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsWhileStmt() override;
    void Execute() override;
    TqsExpression *FCondition = nullptr;
};

class TqsForStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsForStmt() override;
    void Execute() override;
    TqsExpression *FBeginValue = nullptr, *FEndValue = nullptr;
    bool FDown = false;
    TqsCustomVariable *FVariable = nullptr;
};

class TqsVbForStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsVbForStmt() override;
    void Execute() override;
    TqsExpression *FBeginValue = nullptr, *FEndValue = nullptr, *FStep = nullptr;
    TqsCustomVariable *FVariable = nullptr;
};

class TqsCppForStmt : public TqsStatement
{
public:
    TqsCppForStmt(TqsScript *program, const QString &sourcePos, const QString &unitName);
    ~TqsCppForStmt() override;
    void Execute() override;
    TqsStatement *FFirstStmt;
    TqsExpression *FExpression = nullptr;
    TqsStatement *FSecondStmt;

private:
    // The counted form, looked for at the first run: a condition comparing two values read
    // in place, and a ++ or -- step of a plain variable.
    void FindCountedForm();
    bool FFormKnown = false;
    TqsOperatorNode *FCountCompare = nullptr;
    TqsIncStmt *FCountStep = nullptr;
};

class TqsTryStmt : public TqsStatement
{
public:
    TqsTryStmt(TqsScript *program, const QString &sourcePos, const QString &unitName);
    ~TqsTryStmt() override;
    void Execute() override;
    bool FIsExcept = false;
    TqsStatement *FExceptStmt;
};

class TqsBreakStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    void Execute() override { FProgram->FCtl |= TqsScript::cfBreak; }
};

class TqsContinueStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    void Execute() override { FProgram->FCtl |= TqsScript::cfContinue; }
};

class TqsExitStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    void Execute() override
    {
        RunLine();
        FProgram->FCtl |= TqsScript::cfExit;
    }
};

class TqsWithStmt : public TqsStatement
{
public:
    using TqsStatement::TqsStatement;
    ~TqsWithStmt() override;
    void Execute() override;
    TqsDesignator *FDesignator = nullptr;
    TqsCustomVariable *FVariable = nullptr;
};
