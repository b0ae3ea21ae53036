#include "script/stmt/qsstmt.h"

#include <type_traits>

TqsStatement::~TqsStatement() { Clear(); }

void TqsStatement::Clear()
{
    std::vector<TqsStatement *> items = std::move(FItems);
    FItems.clear();
    for (TqsStatement *s : items)
        delete s;
}

// ---- Assignments

TqsAssignmentStmt::~TqsAssignmentStmt()
{
    delete FDesignator;
    delete FExpression;
}

void TqsAssignmentStmt::Optimize()
{
    FVar = FDesignator->FDKind == TqsDesignator::dkVariable ? FDesignator->FRefItem : FDesignator;
    FExpr = FExpression->Root();
}

void TqsAssignmentStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    if (const Variant *direct = FExpr->Direct())
        FVar->Store(*direct);
    else
        FVar->Store(FExpr->Eval());
}

void TqsCompoundAssignStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    Variant v = FVar->Read();
    const Variant e = FExpr->Eval();
    if ((FModificator == '+' || FModificator == '&') && e.isString() && FVar->FKind <= TqsCustomVariable::kParam
        && !FVar->FOnGetVarValue && !FVar->FIsReadOnly && v.isString() && FVar->Value().isString()) {
        // Text appended to a String variable: once the variable lets go of its text, the
        // text is held only here and grows in place, so that a loop of appends costs
        // amortised constant time instead of a copy of the whole text each time.
        QString text = v.toString();
        v = Variant();
        // the right side may have stored another text into the variable meanwhile
        Variant &held = FVar->Value();
        if (held.toString().constData() == text.constData()) {
            const QString tail = e.toString();
            qsCheckTextLength(text.size(), tail.size());
            held = Variant();
            text.append(tail);
            held = Variant(std::move(text));
            return;
        }
        v = Variant(std::move(text));
    }
    if (FModificator == '+' || FModificator == '&')
        qsCheckJoin(v, e);
    switch (FModificator) {
    case '&': v = Variant::concat(v, e); break;
    case '+': v = Variant::add(v, e); break;
    case '-': v = Variant::sub(v, e); break;
    case '*': v = Variant::mul(v, e); break;
    default: v = Variant::divide(v, e); break;
    }
    FVar->Store(v);
}

TqsCallStmt::~TqsCallStmt() { delete FDesignator; }

void TqsCallStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    if (FModificator == ' ') {
        FDesignator->FNeedResult = false;
        FDesignator->GetValue();
        return;
    }
    const Variant v = FDesignator->GetValue();
    FDesignator->SetValue(FModificator == '+' ? Variant::add(v, Variant(1)) : Variant::sub(v, Variant(1)));
}

void TqsIncStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    // A plain variable holding an Integer steps in place: the store would keep it as it is.
    TqsCustomVariable *var = FVar;
    if (var->FKind <= TqsCustomVariable::kParam && !var->FOnGetVarValue && !var->FIsReadOnly
        && (var->FStore == TqsStoreKind::Raw || var->FStore == TqsStoreKind::Int)) {
        Variant &slot = var->Value();
        if (slot.type() == varInteger) {
            const int64_t n = int64_t(slot.integerPayload()) + (FModificator == '+' ? 1 : -1);
            if (n == int32_t(n)) {
                qsAssign(slot, Variant(int(n)));
                return;
            }
        }
    }
    const Variant v = var->Read();
    if (v.type() == varInteger) {
        const int64_t n = int64_t(v.integerPayload()) + (FModificator == '+' ? 1 : -1);
        if (n == int32_t(n)) {
            FVar->Store(Variant(int(n)));
            return;
        }
    }
    FVar->Store(FModificator == '+' ? Variant::add(v, Variant(1)) : Variant::sub(v, Variant(1)));
}

// ---- Branches

TqsIfStmt::~TqsIfStmt()
{
    delete FCondition;
    delete FElseStmt;
}

void TqsIfStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    if (FCondition->Root()->EvalBool())
        ExecuteList(FItems);
    else if (FElseStmt)
        FElseStmt->Execute();
}

TqsCaseSelector::~TqsCaseSelector() { delete FSetExpression; }

TqsCaseStmt::~TqsCaseStmt()
{
    delete FCondition;
    delete FElseStmt;
}

void TqsCaseStmt::Execute()
{
    const Variant v = FCondition->GetValue();
    RunLine();
    if (Terminated())
        return;
    for (TqsStatement *s : FItems) {
        auto *sel = static_cast<TqsCaseSelector *>(s);
        if (sel->FSetExpression->Check(v)) {
            sel->Execute();
            return;
        }
    }
    if (FElseStmt)
        FElseStmt->Execute();
}

// ---- Loops

namespace {
constexpr unsigned char endsLoop = TqsScript::cfBreak | TqsScript::cfExit | TqsScript::cfTerminated;

// A loop's turns while the tree has a host check. The count lives in a local (a register)
// while the loop runs, a decrement and a branch a turn; the loop's own turns are taken from
// the shared count when it ends, so that loops run again and again inside calls still add up.
class TurnCount
{
public:
    TurnCount(TqsRunState &rs, TqsScript *scope) : FState(rs), FScope(scope), FStart(rs.StepsLeft), FLeft(FStart) {}
    ~TurnCount()
    {
        const int64_t left = int64_t(FState.StepsLeft) - (FStart - FLeft);
        FState.StepsLeft = left > 0 ? int(left) : 0;
    }
    TurnCount(const TurnCount &) = delete;
    TurnCount &operator=(const TurnCount &) = delete;

    void Turn()
    {
        if (--FLeft < 0) [[unlikely]]
            FStart = FLeft = TqsScript::PollTurns(FScope);
    }

private:
    TqsRunState &FState;
    TqsScript *const FScope;
    int FStart, FLeft;
};

struct NoCount
{
    void Turn() {}
};

// The end of a turn: the host's check when one is installed (a stop sets the terminated
// flag looked at next), then whether the loop ends; otherwise a continue is done with.
template <class Count>
inline bool turnEnds(TqsScript *scope, Count &count)
{
    count.Turn();
    unsigned char &ctl = scope->FCtl;
    if (ctl & endsLoop)
        return true;
    ctl &= ~TqsScript::cfContinue;
    return false;
}

// Runs a loop's turns with the turn counter when the tree has a host check, without
// otherwise: the check costs nothing where no host asks for it.
template <class Turns>
inline void runTurns(TqsScript *scope, Turns &&turns)
{
    TqsRunState &rs = scope->RunState();
    if (rs.Polling) {
        TurnCount count(rs, scope);
        turns(count);
    } else {
        NoCount none;
        turns(none);
    }
    scope->FCtl &= ~TqsScript::cfBreak;
}
} // namespace

TqsRepeatStmt::~TqsRepeatStmt() { delete FCondition; }

void TqsRepeatStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    runTurns(FProgram, [this](auto &count) {
        do
            ExecuteList(FItems);
        while (!turnEnds(FProgram, count) && FCondition->Root()->EvalBool() == FInverseCondition);
    });
}

TqsWhileStmt::~TqsWhileStmt() { delete FCondition; }

void TqsWhileStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    runTurns(FProgram, [this](auto &count) {
        while (FCondition->Root()->EvalBool()) {
            ExecuteList(FItems);
            if (turnEnds(FProgram, count))
                break;
        }
    });
}

TqsForStmt::~TqsForStmt()
{
    delete FBeginValue;
    delete FEndValue;
}

void TqsForStmt::Execute()
{
    int from, to;
    try {
        from = FBeginValue->GetValue().toInt();
        to = FEndValue->GetValue().toInt();
    } catch (...) {
        RunLine();
        throw;
    }
    RunLine();
    if (Terminated())
        return;
    Variant &counter = FVariable->Value();
    runTurns(FProgram, [&](auto &count) {
        if (!FDown) {
            for (int64_t i = from; i <= to; ++i) {
                qsAssign(counter, Variant(int(i)));
                ExecuteList(FItems);
                if (turnEnds(FProgram, count))
                    break;
            }
        } else {
            for (int64_t i = from; i >= to; --i) {
                qsAssign(counter, Variant(int(i)));
                ExecuteList(FItems);
                if (turnEnds(FProgram, count))
                    break;
            }
        }
    });
}

TqsVbForStmt::~TqsVbForStmt()
{
    delete FBeginValue;
    delete FEndValue;
    delete FStep;
}

void TqsVbForStmt::Execute()
{
    Variant i, to, step(1);
    try {
        i = FBeginValue->GetValue();
        to = FEndValue->GetValue();
        if (FStep)
            step = FStep->GetValue();
    } catch (...) {
        RunLine();
        throw;
    }
    const bool down = step < Variant(0);
    RunLine();
    if (Terminated())
        return;
    if (i.type() == varInteger && to.type() == varInteger && step.type() == varInteger) {
        // Integer bounds count natively, as the counted for does: the turns past the 32-bit
        // range are past the end, so the sum never needs another kind.
        Variant &counter = FVariable->Value();
        const int64_t last = to.integerPayload(), by = step.integerPayload();
        runTurns(FProgram, [&](auto &count) {
            for (int64_t n = i.integerPayload(); down ? n >= last : n <= last; n += by) {
                qsAssign(counter, Variant(int(n)));
                ExecuteList(FItems);
                if (turnEnds(FProgram, count))
                    break;
            }
        });
        return;
    }
    runTurns(FProgram, [&](auto &count) {
        while (down ? i >= to : i <= to) {
            FVariable->Value() = i;
            ExecuteList(FItems);
            if (turnEnds(FProgram, count))
                break;
            i = Variant::add(i, step);
        }
    });
}

TqsCppForStmt::TqsCppForStmt(TqsScript *program, const QString &sourcePos, const QString &unitName)
    : TqsStatement(program, sourcePos, unitName), FFirstStmt(new TqsStatement(program, sourcePos, unitName)),
      FSecondStmt(new TqsStatement(program, sourcePos, unitName))
{
}

TqsCppForStmt::~TqsCppForStmt()
{
    delete FFirstStmt;
    delete FExpression;
    delete FSecondStmt;
}

namespace {
bool intHolds(TqsOperatorType op, int a, int b)
{
    switch (op) {
    case opLess: return a < b;
    case opLessEq: return a <= b;
    case opGreat: return a > b;
    case opGreatEq: return a >= b;
    case opEq: return a == b;
    default: return a != b;
    }
}
} // namespace

void TqsCppForStmt::FindCountedForm()
{
    FFormKnown = true;
    // The condition compares two values read in place.
    if (FExpression)
        if (auto *op = dynamic_cast<TqsOperatorNode *>(FExpression->Root());
            op && op->FLeft && op->FRight && op->FLeft->IsDirect() && op->FRight->IsDirect()
            && (op->FOp == opLess || op->FOp == opLessEq || op->FOp == opGreat || op->FOp == opGreatEq
                || op->FOp == opEq || op->FOp == opNonEq))
            FCountCompare = op;
    // The step is ++ or -- of a plain variable that keeps what it is given.
    if (FSecondStmt->FItems.size() == 1)
        if (auto *inc = dynamic_cast<TqsIncStmt *>(FSecondStmt->FItems[0]); inc && inc->FVar) {
            TqsCustomVariable *v = inc->FVar;
            if (v->FKind <= TqsCustomVariable::kParam && !v->FOnGetVarValue && !v->FIsReadOnly
                && (v->FStore == TqsStoreKind::Raw || v->FStore == TqsStoreKind::Int))
                FCountStep = inc;
        }
}

void TqsCppForStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    FFirstStmt->Execute();
    if (FProgram->FCtl & TqsScript::cfTerminated)
        return;
    if (!FFormKnown)
        FindCountedForm();
    // a single step statement runs without its list around it
    TqsStatement *step = FSecondStmt->FItems.size() == 1 ? FSecondStmt->FItems[0] : FSecondStmt;
    // The usual form, for (...; i < n; i++): while both sides of the condition hold Integers
    // it is decided here, and while the counter holds one (and no line hook is attached) it
    // steps here, in place; anything else takes the statements' own way.
    TqsOperatorNode *const compare = FCountCompare;
    TqsCustomVariable *const counter = FCountStep ? FCountStep->FVar : nullptr;
    const int by = FCountStep && FCountStep->FModificator == '-' ? -1 : 1;
    const TqsRunState &rs = FProgram->RunState();
    runTurns(FProgram, [&](auto &count) {
        for (;;) {
            if (compare) {
                const Variant *l = compare->FLeft->Direct(), *r = compare->FRight->Direct();
                if (l->type() == varInteger && r->type() == varInteger) {
                    if (!intHolds(compare->FOp, l->integerPayload(), r->integerPayload()))
                        break;
                } else if (!compare->EvalBool()) {
                    break;
                }
            } else if (FExpression && !FExpression->Root()->EvalBool()) {
                break;
            }
            ExecuteList(FItems);
            if (turnEnds(FProgram, count))
                break;
            if (counter && !rs.LineHooks) {
                Variant &slot = counter->Value();
                if (slot.type() == varInteger) {
                    const int64_t n = int64_t(slot.integerPayload()) + by;
                    if (n == int32_t(n)) {
                        qsAssign(slot, Variant(int(n)));
                        continue;
                    }
                }
            }
            step->Execute();
            if (FProgram->FCtl & endsLoop)
                break;
        }
    });
}

// ---- Exceptions

TqsTryStmt::TqsTryStmt(TqsScript *program, const QString &sourcePos, const QString &unitName)
    : TqsStatement(program, sourcePos, unitName), FExceptStmt(new TqsStatement(program, sourcePos, unitName))
{
}

TqsTryStmt::~TqsTryStmt() { delete FExceptStmt; }

namespace {
void setExceptionVars(TqsScript *scope, const QString &className, const QString &message)
{
    scope->SetVariables(QStringLiteral("ExceptionClassName"), Variant(className));
    scope->SetVariables(QStringLiteral("ExceptionMessage"), Variant(message));
}

// Runs the finally part with break, continue and exit of the protected part held aside;
// an exit inside the finally part is kept.
void runFinally(TqsTryStmt *t)
{
    unsigned char &ctl = t->FProgram->FCtl;
    const unsigned char held = ctl & (TqsScript::cfBreak | TqsScript::cfContinue | TqsScript::cfExit);
    ctl &= ~held;
    t->FExceptStmt->Execute();
    ctl |= held;
}
} // namespace

void TqsTryStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    if (FIsExcept) {
        QString cls, msg;
        try {
            ExecuteList(FItems);
            return;
        } catch (const Exception &e) {
            cls = QString::fromLatin1(e.className());
            msg = e.message();
        }
        setExceptionVars(FProgram, cls, msg);
        FExceptStmt->Execute();
        return;
    }
    try {
        ExecuteList(FItems);
    } catch (...) {
        runFinally(this);
        throw;
    }
    runFinally(this);
}

TqsWithStmt::~TqsWithStmt() { delete FDesignator; }

void TqsWithStmt::Execute()
{
    ExecuteList(FItems);
    FVariable->Value() = FDesignator->GetValue();
}
