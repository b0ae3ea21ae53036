#include "script/stmt/qsstmt.h"



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
            held = Variant();
            text.append(e.toString());
            held = Variant(std::move(text));
            return;
        }
        v = Variant(std::move(text));
    }
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
}

TqsRepeatStmt::~TqsRepeatStmt() { delete FCondition; }

void TqsRepeatStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    unsigned char &ctl = FProgram->FCtl;
    for (;;) {
        ExecuteList(FItems);
        if (ctl & endsLoop)
            break;
        ctl &= ~TqsScript::cfContinue;
        if (FCondition->Root()->EvalBool() != FInverseCondition)
            break;
    }
    ctl &= ~TqsScript::cfBreak;
}

TqsWhileStmt::~TqsWhileStmt() { delete FCondition; }

void TqsWhileStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    unsigned char &ctl = FProgram->FCtl;
    while (FCondition->Root()->EvalBool()) {
        ExecuteList(FItems);
        if (ctl & endsLoop)
            break;
        ctl &= ~TqsScript::cfContinue;
    }
    ctl &= ~TqsScript::cfBreak;
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
    unsigned char &ctl = FProgram->FCtl;
    Variant &counter = FVariable->Value();
    if (!FDown) {
        for (int64_t i = from; i <= to; ++i) {
            qsAssign(counter, Variant(int(i)));
            ExecuteList(FItems);
            if (ctl & endsLoop)
                break;
            ctl &= ~TqsScript::cfContinue;
        }
    } else {
        for (int64_t i = from; i >= to; --i) {
            qsAssign(counter, Variant(int(i)));
            ExecuteList(FItems);
            if (ctl & endsLoop)
                break;
            ctl &= ~TqsScript::cfContinue;
        }
    }
    ctl &= ~TqsScript::cfBreak;
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
    unsigned char &ctl = FProgram->FCtl;
    while (down ? i >= to : i <= to) {
        FVariable->Value() = i;
        ExecuteList(FItems);
        if (ctl & endsLoop)
            break;
        ctl &= ~TqsScript::cfContinue;
        i = Variant::add(i, step);
    }
    ctl &= ~TqsScript::cfBreak;
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

void TqsCppForStmt::Execute()
{
    RunLine();
    if (Terminated())
        return;
    FFirstStmt->Execute();
    unsigned char &ctl = FProgram->FCtl;
    if (ctl & TqsScript::cfTerminated)
        return;
    // a single step statement runs without its list around it
    TqsStatement *step = FSecondStmt->FItems.size() == 1 ? FSecondStmt->FItems[0] : FSecondStmt;
    while (!FExpression || FExpression->Root()->EvalBool()) {
        ExecuteList(FItems);
        if (ctl & endsLoop)
            break;
        ctl &= ~TqsScript::cfContinue;
        step->Execute();
        if (ctl & endsLoop)
            break;
    }
    ctl &= ~TqsScript::cfBreak;
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
