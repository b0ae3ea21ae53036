#include "script/expr/qsexpr.h"

#include "script/core/qsmessages.h"
#include "script/builder/qsbuilder.h"
#include "script/xml/qsxml.h"
#include "script/items/qsclasses.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/reflect/persistent.h"

TqsExprNode::~TqsExprNode()
{
    delete FLeft;
    delete FRight;
}

void TqsExprNode::AddNode(TqsExprNode *node)
{
    if (!FLeft)
        FLeft = node;
    else
        FRight = node;
    node->FParent = this;
}

void TqsExprNode::RemoveNode(TqsExprNode *node)
{
    if (FLeft == node)
        FLeft = nullptr;
    else if (FRight == node)
        FRight = nullptr;
}

static TqsVarType typeOfValue(const Variant &v)
{
    switch (v.type()) {
    case varBoolean: return qvtBool;
    case varSingle:
    case varDouble:
    case varCurrency: return qvtFloat;
    case varUString:
    case varOleStr:
    case varString: return qvtString;
    case varInt64: return qvtInt64;
    default: return qvtInt;
    }
}

TqsOperandNode::TqsOperandNode(const Variant &value) : FValue(value)
{
    FTyp = typeOfValue(value);
    SetDirect(&FValue);
}

TqsDesignatorNode::TqsDesignatorNode(TqsDesignator *d) : FDesignator(d)
{
    FVar = d->FDKind == TqsDesignator::dkVariable && d->FRefItem->FKind <= TqsCustomVariable::kParam ? d->FRefItem : nullptr;
    FProc = d->FDKind == TqsDesignator::dkCall ? static_cast<TqsProcVariable *>(d->FRefItem) : nullptr;
    if (FVar && !FVar->FOnGetVarValue) {
        if (FVar->FFrame)
            SetDirectSlot(*FVar->FFrame, FVar->FSlot);
        else
            SetDirect(&FVar->FValue);
    }
    FTyp = d->FTyp;
    FTypeName = d->FTypeName;
}

TqsDesignatorNode::~TqsDesignatorNode() { delete FDesignator; }

Variant TqsDesignatorNode::Eval()
{
    if (FVar)
        return FVar->ReadPlain();
    if (FProc)
        return qsCallProc(FProc, FDesignator->FItems[0].FArgs, FDesignator->FProgram);
    return FDesignator->GetValue();
}

TqsSetNode::TqsSetNode(TqsSetExpression *set) : FSetExpression(set) { FTyp = qvtVariant; }
TqsSetNode::~TqsSetNode() { delete FSetExpression; }
Variant TqsSetNode::Eval() { return FSetExpression->GetValue(); }

namespace {

class TNoneNode : public TqsOperatorNode
{
public:
    TNoneNode() : TqsOperatorNode(opNone, 7) {}
    Variant Eval() override { return FLeft ? FLeft->Eval() : Variant::null(); }
};

class TLeftBracketNode : public TqsOperatorNode
{
public:
    TLeftBracketNode() : TqsOperatorNode(opLeftBracket, 6) {}
    Variant Eval() override { return FLeft ? FLeft->Eval() : Variant::null(); }
};

class TRightBracketNode : public TqsOperatorNode
{
public:
    TRightBracketNode() : TqsOperatorNode(opRightBracket, 5) {}
    Variant Eval() override { return FLeft ? FLeft->Eval() : Variant::null(); }
};

inline Variant leftOf(TqsExprNode *n) { return n->FLeft ? n->FLeft->Eval() : Variant::null(); }
inline Variant rightOf(TqsExprNode *n) { return n->FRight ? n->FRight->Eval() : Variant::null(); }

// Operands are evaluated left to right (a call on the left may change a variable read on
// the right). They are read in place where that cannot change what is seen: the left one only when
// evaluating the right one cannot run code (which might change the left variable).
inline const Variant &leftRef(TqsExprNode *n, Variant &tmp)
{
    if (n->FLeft && n->FLeft->IsDirect() && (!n->FRight || n->FRight->IsDirect()))
        return *n->FLeft->Direct();
    qsAssign(tmp, leftOf(n));
    return tmp;
}
inline const Variant &rightRef(TqsExprNode *n, Variant &tmp)
{
    if (n->FRight && n->FRight->IsDirect())
        return *n->FRight->Direct();
    qsAssign(tmp, rightOf(n));
    return tmp;
}

// Calls f with both operands, taken as leftRef and rightRef would take them but without
// temporaries to make, assign and destroy on the usual paths.
template <class F>
inline auto withOperands(TqsExprNode *n, F &&f)
{
    TqsExprNode *a = n->FLeft, *b = n->FRight;
    if (a && b) [[likely]] {
        if (b->IsDirect()) {
            if (a->IsDirect())
                return f(*a->Direct(), *b->Direct());
            const Variant l = a->Eval();
            return f(l, *b->Direct());
        }
        const Variant l = a->Eval(); // before the right side runs, which may change it
        const Variant r = b->Eval();
        return f(l, r);
    }
    Variant lt, rt;
    const Variant &l = leftRef(n, lt);
    const Variant &r = rightRef(n, rt);
    return f(l, r);
}

template <TqsOperatorType Op>
class TCompareNode : public TqsOperatorNode
{
public:
    TCompareNode() : TqsOperatorNode(Op, 4) {}
    Variant Eval() override { return Variant(EvalBool()); }
    bool EvalBool() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) {
            if constexpr (Op == opEq || Op == opNonEq) {
                bool eq;
                if (l.type() == varInteger && r.type() == varInteger)
                    eq = Variant::compare(l, r) == Variant::Order::Equal;
                else
                    eq = Variant::equals(l, r);
                return Op == opEq ? eq : !eq;
            } else {
                const Variant::Order o = Variant::compare(l, r);
                switch (Op) {
                case opGreat: return o == Variant::Order::Greater;
                case opLess: return o == Variant::Order::Less;
                case opLessEq: return o != Variant::Order::Greater;
                default: return o != Variant::Order::Less;
                }
            }
        });
    }
};

class TPlusNode : public TqsOperatorNode
{
public:
    TPlusNode() : TqsOperatorNode(opPlus, 3) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) {
            qsCheckJoin(l, r);
            return Variant::add(l, r);
        });
    }
};

// Joins the texts of both sides (Null as empty); never numeric addition.
class TStrCatNode : public TqsOperatorNode
{
public:
    TStrCatNode() : TqsOperatorNode(opPlus, 3) { FStrCat = true; }
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) {
            qsCheckJoin(l, r);
            return Variant::concat(l, r);
        });
    }
};

class TMinusNode : public TqsOperatorNode
{
public:
    TMinusNode() : TqsOperatorNode(opMinus, 3) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::sub(l, r); });
    }
};

class TMulNode : public TqsOperatorNode
{
public:
    TMulNode() : TqsOperatorNode(opMul, 2) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::mul(l, r); });
    }
};

class TDivFloatNode : public TqsOperatorNode
{
public:
    TDivFloatNode() : TqsOperatorNode(opDivFloat, 2) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::divide(l, r); });
    }
};

class TDivIntNode : public TqsOperatorNode
{
public:
    TDivIntNode() : TqsOperatorNode(opDivInt, 2) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::intDiv(l, r); });
    }
};

class TModNode : public TqsOperatorNode
{
public:
    TModNode() : TqsOperatorNode(opMod, 2) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) {
            if (l.type() == varInteger && r.type() == varInteger) {
                const int b = r.integerPayload();
                if (b > 0 || b < -1)
                    return Variant(l.integerPayload() % b);
            }
            return Variant::mod(l, r);
        });
    }
};

class TShlNode : public TqsOperatorNode
{
public:
    TShlNode() : TqsOperatorNode(opShl, 2) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::shl(l, r); });
    }
};

class TShrNode : public TqsOperatorNode
{
public:
    TShrNode() : TqsOperatorNode(opShr, 2) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::shr(l, r); });
    }
};

class TXorNode : public TqsOperatorNode
{
public:
    TXorNode() : TqsOperatorNode(opXor, 3) {}
    Variant Eval() override
    {
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::bitXor(l, r); });
    }
};

class TOrNode : public TqsOperatorNode
{
public:
    TOrNode() : TqsOperatorNode(opOr, 3) {}
    Variant Eval() override
    {
        if (FOptimizeBool) {
            Variant l = leftOf(this);
            if (!l.toBool())
                return rightOf(this);
            return l;
        }
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::bitOr(l, r); });
    }
    bool EvalBool() override
    {
        if (FOptimizeBool && FLeft && FRight)
            return FLeft->EvalBool() || FRight->EvalBool();
        return Eval().toBool();
    }
};

class TAndNode : public TqsOperatorNode
{
public:
    TAndNode() : TqsOperatorNode(opAnd, 2) {}
    Variant Eval() override
    {
        if (FOptimizeBool) {
            Variant l = leftOf(this);
            if (l.toBool())
                return rightOf(this);
            return l;
        }
        return withOperands(this, [](const Variant &l, const Variant &r) { return Variant::bitAnd(l, r); });
    }
    bool EvalBool() override
    {
        if (FOptimizeBool && FLeft && FRight)
            return FLeft->EvalBool() && FRight->EvalBool();
        return Eval().toBool();
    }
};

class TNotNode : public TqsOperatorNode
{
public:
    TNotNode() : TqsOperatorNode(opNot, 1) {}
    Variant Eval() override { return Variant::bitNot(leftOf(this)); }
};

class TUnMinusNode : public TqsOperatorNode
{
public:
    TUnMinusNode() : TqsOperatorNode(opUnMinus, 1) {}
    Variant Eval() override { return Variant::negate(leftOf(this)); }
};

// Membership in a set layout: elements, a Null element marking a range between its neighbours.
bool inSetLayout(const Variant &v, const Variant &arr)
{
    if (!arr.isArray())
        return Variant::equals(v, arr);
    const int lo = arr.arrayLowBound(), hi = arr.arrayHighBound();
    for (int i = lo; i <= hi; ++i) {
        const Variant e = arr.arrayGet(i);
        if (!e.isNull() && Variant::equals(v, e))
            return true;
        if (i + 2 <= hi && arr.arrayGet(i + 1).isNull()) {
            if (Variant::compare(e, v) != Variant::Order::Greater
                && Variant::compare(v, arr.arrayGet(i + 2)) != Variant::Order::Greater)
                return true;
            i += 2;
        }
    }
    return false;
}

class TInNode : public TqsOperatorNode
{
public:
    TInNode() : TqsOperatorNode(opIn, 4) {}
    Variant Eval() override
    {
        const Variant l = leftOf(this);
        if (auto *s = dynamic_cast<TqsSetNode *>(FRight))
            return Variant(s->FSetExpression->Check(l));
        return Variant(inSetLayout(l, rightOf(this)));
    }
};

class TIsNode : public TqsOperatorNode
{
public:
    TIsNode() : TqsOperatorNode(opIs, 4) {}
    Variant Eval() override
    {
        const Variant l = leftOf(this);
        TPersistent *obj = qsObjectOf(l);
        auto *dn = dynamic_cast<TqsDesignatorNode *>(FRight);
        auto *cls = dn && !dn->FDesignator->FItems.empty() ? dynamic_cast<TqsClassVariable *>(dn->FDesignator->FItems[0].FRef) : nullptr;
        if (!cls)
            throw EqsRunError(qsMessage(u"SClassRequired"));
        return Variant(obj && cls->FClassRef && obj->ClassType()->inheritsFrom(cls->FClassRef));
    }
};

} // namespace

TqsOperatorNode *qsCreateOperatorNode(const QString &text)
{
    const QString t = text.toUpper();
    if (t == QLatin1String(" ")) return new TNoneNode;
    if (t == QLatin1String("(")) return new TLeftBracketNode;
    if (t == QLatin1String(")")) return new TRightBracketNode;
    if (t == QLatin1String(">")) return new TCompareNode<opGreat>;
    if (t == QLatin1String("<")) return new TCompareNode<opLess>;
    if (t == QLatin1String("<=")) return new TCompareNode<opLessEq>;
    if (t == QLatin1String(">=")) return new TCompareNode<opGreatEq>;
    if (t == QLatin1String("<>")) return new TCompareNode<opNonEq>;
    if (t == QLatin1String("=")) return new TCompareNode<opEq>;
    if (t == QLatin1String("IN")) return new TInNode;
    if (t == QLatin1String("IS")) return new TIsNode;
    if (t == QLatin1String("+")) return new TPlusNode;
    if (t == QLatin1String("STRCAT")) return new TStrCatNode;
    if (t == QLatin1String("-")) return new TMinusNode;
    if (t == QLatin1String("OR")) return new TOrNode;
    if (t == QLatin1String("XOR")) return new TXorNode;
    if (t == QLatin1String("*")) return new TMulNode;
    if (t == QLatin1String("/")) return new TDivFloatNode;
    if (t == QLatin1String("DIV")) return new TDivIntNode;
    if (t == QLatin1String("MOD")) return new TModNode;
    if (t == QLatin1String("AND")) return new TAndNode;
    if (t == QLatin1String("SHL")) return new TShlNode;
    if (t == QLatin1String("SHR")) return new TShrNode;
    if (t == QLatin1String("NOT")) return new TNotNode;
    if (t == QLatin1String("UNMINUS")) return new TUnMinusNode;
    return nullptr;
}

// ---- TqsExpression

TqsExpression::TqsExpression(TqsScript *script) : TqsCustomVariable(kOther), FScript(script)
{
    FNode = FCurNode = new TNoneNode;
}

TqsExpression::~TqsExpression() { delete FNode; }

void TqsExpression::AddOperand(TqsExprNode *node)
{
    node->FSourcePos = FCurPos;
    // an operand needs a free place: two operands in a row are a broken program
    if (FCurNode->FRight || dynamic_cast<TqsOperandNode *>(FCurNode)) {
        delete node;
        throw Exception(QStringLiteral("Invalid intermediate program"));
    }
    FCurNode->AddNode(node);
    FCurNode = node;
}

void TqsExpression::AddConst(const Variant &value) { AddOperand(new TqsOperandNode(value)); }
void TqsExpression::AddDesignator(TqsDesignator *d) { AddOperand(new TqsDesignatorNode(d)); }
void TqsExpression::AddSet(TqsSetExpression *set) { AddOperand(new TqsSetNode(set)); }

bool TqsExpression::AddOperator(const QString &text)
{
    TqsOperatorNode *n = qsCreateOperatorNode(text);
    if (!n)
        return false;
    n->FSourcePos = FCurPos;
    if (n->FOp == opLeftBracket || n->FOp == opUnMinus || n->FOp == opNot) {
        if (FCurNode->FRight || dynamic_cast<TqsOperandNode *>(FCurNode)) {
            delete n;
            throw Exception(QStringLiteral("Invalid intermediate program"));
        }
        FCurNode->AddNode(n);
        FCurNode = n;
        return true;
    }
    if (n->FOp == opRightBracket) {
        TqsExprNode *b = FCurNode;
        while (b->FParent && n->Priority() >= b->Priority())
            b = b->FParent;
        delete n;
        auto *bracket = dynamic_cast<TqsOperatorNode *>(b);
        if (!bracket || bracket->FOp != opLeftBracket || !b->FParent)
            return true; // unbalanced: nothing to close
        TqsExprNode *content = b->FLeft;
        TqsExprNode *parent = b->FParent;
        b->FLeft = nullptr;
        if (parent->FLeft == b)
            parent->FLeft = content;
        else
            parent->FRight = content;
        if (content)
            content->FParent = parent;
        delete b;
        FCurNode = content ? content : parent;
        return true;
    }
    if (FCurNode == FNode) {
        if (FNode->FRight) {
            delete n;
            throw Exception(QStringLiteral("Invalid intermediate program"));
        }
        FNode->AddNode(n);
        FCurNode = n;
        return true;
    }
    TqsExprNode *c = FCurNode;
    TqsExprNode *q = c->FParent;
    auto *open = dynamic_cast<TqsOperatorNode *>(c);
    if (open && open->FOp == opLeftBracket && !open->FLeft) {
        // "(" just opened: the operator goes inside it
        open->AddNode(n);
        FCurNode = n;
        return true;
    }
    while (q && q->FParent && n->Priority() >= q->Priority()) {
        c = q;
        q = q->FParent;
    }
    q->RemoveNode(c);
    q->AddNode(n);
    n->AddNode(c);
    FCurNode = n;
    return true;
}

namespace {

bool isComparison(TqsOperatorType op) { return op >= opGreat && op <= opEq; }

void inferTypes(TqsExprNode *node, const TqsScript *script, QString &conflict)
{
    if (!node)
        return;
    inferTypes(node->FLeft, script, conflict);
    inferTypes(node->FRight, script, conflict);
    auto *op = dynamic_cast<TqsOperatorNode *>(node);
    if (!op)
        return;
    if (op->FOp == opNone || op->FOp == opLeftBracket || op->FOp == opRightBracket) {
        if (node->FLeft) {
            node->FTyp = node->FLeft->FTyp;
            node->FTypeName = node->FLeft->FTypeName;
        }
        return;
    }
    TqsTypeRec l{qvtVariant, QString()}, r{qvtVariant, QString()};
    if (node->FLeft)
        l = {node->FLeft->FTyp, node->FLeft->FTypeName};
    if (node->FRight)
        r = {node->FRight->FTyp, node->FRight->FTypeName};
    if (op->FOp == opNot || op->FOp == opUnMinus)
        r = l; // unary: the operand stands on both sides
    op->FOptimizeBool = l.Typ == qvtBool && r.Typ == qvtBool;
    bool ok;
    if (op->FStrCat) {
        // Text joining accepts anything and gives text.
        node->FTyp = qvtString;
        node->FTypeName.clear();
        return;
    }
    if (op->FOp == opIs && l.Typ == qvtClass && r.Typ == qvtClass)
        ok = true;
    else if (op->FOp == opIn)
        ok = true; // the right side is a set or an array
    else {
        ok = TypesCompatible(l, r, script);
        if (ok) {
            switch (l.Typ) {
            case qvtBool:
                ok = op->FOp == opEq || op->FOp == opNonEq || op->FOp == opOr || op->FOp == opXor || op->FOp == opAnd
                     || op->FOp == opNot;
                break;
            case qvtChar:
            case qvtString: ok = isComparison(op->FOp) || op->FOp == opPlus || op->FOp == opIn; break;
            case qvtClass:
            case qvtArray: ok = op->FOp == opEq || op->FOp == opNonEq; break;
            default: break;
            }
        }
    }
    if (!ok) {
        if (conflict.isEmpty())
            conflict = node->FSourcePos.isEmpty() ? QStringLiteral("0:0") : node->FSourcePos;
        return;
    }
    TqsVarType t = l.Typ;
    QString tn = l.TypeName;
    auto is = [](TqsVarType a, TqsVarType b, TqsVarType x, TqsVarType y) { return (a == x && b == y) || (a == y && b == x); };
    if (is(l.Typ, r.Typ, qvtInt, qvtFloat) || is(l.Typ, r.Typ, qvtFloat, qvtInt64))
        t = qvtFloat;
    if (op->FOp == opDivFloat && (l.Typ == qvtInt || l.Typ == qvtInt64) && (r.Typ == qvtInt || r.Typ == qvtInt64))
        t = qvtFloat;
    if (isComparison(op->FOp) || op->FOp == opIn || op->FOp == opIs) {
        t = qvtBool;
        tn.clear();
    }
    node->FTyp = t;
    node->FTypeName = tn;
}

} // namespace

QString TqsExpression::Finalize()
{
    // The placeholder root gives way to its content.
    if (auto *none = dynamic_cast<TqsOperatorNode *>(FNode); none && none->FOp == opNone && FNode->FLeft) {
        TqsExprNode *content = FNode->FLeft;
        FNode->FLeft = nullptr;
        delete FNode;
        FNode = content;
        FNode->FParent = nullptr;
    }
    QString conflict;
    inferTypes(FNode, FScript, conflict);
    SetType(FNode->FTyp, FNode->FTypeName);
    TqsDesignator *d = SingleDesignator();
    FIsReadOnly = !(d && d->Writable());
    FCurNode = FNode;
    return conflict;
}

TqsDesignator *TqsExpression::SingleDesignator() const
{
    auto *dn = dynamic_cast<TqsDesignatorNode *>(FNode);
    return dn ? dn->FDesignator : nullptr;
}

void TqsExpression::SetValue(const Variant &value)
{
    if (FIsReadOnly)
        return;
    if (TqsDesignator *d = SingleDesignator())
        d->SetValue(value);
}

char TqsExpression::Optimize(TqsCustomVariable *target)
{
    auto *op = dynamic_cast<TqsOperatorNode *>(FNode);
    if (!op || !op->FLeft || !op->FRight)
        return ' ';
    auto sameVar = [target](TqsExprNode *n) {
        auto *dn = dynamic_cast<TqsDesignatorNode *>(n);
        return dn && dn->FVar == target;
    };
    if (op->FStrCat) {
        // x := x & e joins e's text to x
        if (!sameVar(op->FLeft))
            return ' ';
        TqsExprNode *keep = op->FRight;
        op->RemoveNode(keep);
        keep->FParent = nullptr;
        delete FNode;
        FNode = FCurNode = keep;
        return '&';
    }
    if (op->FOp != opPlus && op->FOp != opMinus && op->FOp != opMul && op->FOp != opDivFloat)
        return ' ';
    const char mods[] = {'+', '-', '*', '/'};
    const int idx = op->FOp == opPlus ? 0 : op->FOp == opMinus ? 1 : op->FOp == opMul ? 2 : 3;
    TqsExprNode *keep = nullptr;
    if (sameVar(op->FLeft))
        keep = op->FRight;
    else if (sameVar(op->FRight) && (op->FOp == opPlus || op->FOp == opMul) && target->FTyp != qvtString
             && target->FTyp != qvtVariant)
        keep = op->FLeft;
    if (!keep)
        return ' ';
    op->RemoveNode(keep);
    keep->FParent = nullptr;
    delete FNode;
    FNode = FCurNode = keep;
    return mods[idx];
}

// ---- Sets

TqsSetExpression::~TqsSetExpression()
{
    for (TqsExpression *e : FItems)
        delete e;
}

bool TqsSetExpression::Check(const Variant &value) const
{
    const size_t n = FItems.size();
    for (size_t i = 0; i < n; ++i) {
        if (!FItems[i])
            continue;
        if (i + 2 < n && !FItems[i + 1] && FItems[i + 2]) {
            if (Variant::compare(FItems[i]->GetValue(), value) != Variant::Order::Greater
                && Variant::compare(value, FItems[i + 2]->GetValue()) != Variant::Order::Greater)
                return true;
            i += 2;
            continue;
        }
        if (Variant::equals(FItems[i]->GetValue(), value))
            return true;
    }
    return false;
}

Variant TqsSetExpression::GetValue() const
{
    std::vector<Variant> v;
    v.reserve(FItems.size());
    for (TqsExpression *e : FItems)
        v.push_back(e ? e->GetValue() : Variant::null());
    return Variant::arrayOf(std::span<const Variant>(v));
}

// ---- Designators

TqsDesignator::TqsDesignator(TqsScript *program) : TqsCustomVariable(kOther), FProgram(program) {}

TqsDesignator::~TqsDesignator()
{
    for (auto &item : FItems)
        for (TqsExpression *e : item.FArgs)
            delete e;
    delete FLateBindingXmlSource;
}

void TqsDesignator::Borrow(TqsDesignator &other)
{
    for (auto &item : FItems)
        for (TqsExpression *e : item.FArgs)
            delete e;
    FItems = std::move(other.FItems);
    other.FItems.clear();
    FDKind = other.FDKind;
    FRefItem = other.FRefItem;
    FTyp = other.FTyp;
    FTypeName = other.FTypeName;
    FIsReadOnly = other.FIsReadOnly;
    delete FLateBindingXmlSource;
    FLateBindingXmlSource = std::exchange(other.FLateBindingXmlSource, nullptr);
}

void TqsDesignator::CheckLateBinding()
{
    if (!FLateBindingXmlSource)
        return;
    TqsBuilder builder(FProgram, FNeedDeclareVars);
    std::unique_ptr<TqsDesignator> built(builder.BuildDesignator(FLateBindingXmlSource, FProgram));
    Borrow(*built);
}

void TqsDesignator::Finalize()
{
    if (FItems.empty())
        return;
    TqsCustomVariable *last = FItems.back().FRef;
    if (last) {
        if (last->FTyp == qvtConstructor && FItems.size() > 1 && FItems[FItems.size() - 2].FRef)
            SetType(qvtClass, FItems[FItems.size() - 2].FRef->FTypeName);
        else
            SetType(last->FTyp, last->FTypeName);
        FIsReadOnly = last->FIsReadOnly;
    }
    TqsCustomVariable *first = FItems[0].FRef;
    FDKind = dkOther;
    if (FItems.size() == 1 && first && first->FKind <= kParam && FItems[0].FArgs.empty()) {
        FDKind = dkVariable;
        FRefItem = first;
    } else if (FItems.size() == 1 && first && (first->FKind == kProc)) {
        FDKind = dkCall;
        FRefItem = first;
    } else if (FItems.size() == 2 && first && first->FKind == kStringVariable && FItems[1].FRef
               && FItems[1].FRef->FKind == kStringHelper && FItems[1].FArgs.size() == 1) {
        FDKind = dkStringArray;
        FRefItem = first;
    } else if (FItems.size() == 2 && first && first->FKind <= kParam && first->FTyp == qvtArray && FItems[1].FRef
               && FItems[1].FRef->FKind == kArrayHelper) {
        FDKind = dkArray;
        FRefItem = first;
    }
}

Variant TqsDesignator::GetValue()
{
    switch (FDKind) {
    case dkVariable: return FRefItem->Read();
    case dkCall: return qsCallProc(static_cast<TqsProcVariable *>(FRefItem), FItems[0].FArgs, FProgram);
    case dkStringArray: return qsStringChar(FRefItem->Read(), FItems[1].FArgs[0]->GetValue());
    case dkArray: return ArrayIndexRead(FRefItem->Read(), FItems[1]);
    default:
        if (FLateBindingXmlSource) {
            CheckLateBinding();
            return GetValue();
        }
        return Evaluate(false, Variant());
    }
}

void TqsDesignator::SetValue(const Variant &value)
{
    switch (FDKind) {
    case dkVariable: FRefItem->Store(value); return;
    case dkStringArray: {
        const Variant index = FItems[1].FArgs[0]->GetValue();
        FRefItem->Store(qsStringPutChar(FRefItem->Read(), index, value));
        return;
    }
    case dkArray:
        ArrayIndexWrite(FRefItem->Value(), FItems[1], value);
        return;
    default:
        if (FLateBindingXmlSource) {
            CheckLateBinding();
            SetValue(value);
            return;
        }
        Evaluate(true, value);
        return;
    }
}

namespace {
void indicesOf(TqsDesignatorItem &item, int *idx, int n)
{
    for (int i = 0; i < n; ++i)
        idx[i] = item.FArgs[size_t(i)]->GetValue().toInt();
}
} // namespace

Variant TqsDesignator::ArrayIndexRead(const Variant &arr, TqsDesignatorItem &item)
{
    const int n = int(item.FArgs.size());
    if (!arr.isArray())
        throw EVariantNotArrayError(QStringLiteral("Variant is not an array"));
    if (n != arr.arrayDimCount() || n > qsMaxArrayDims)
        throw EqsRunError(QStringLiteral("Wrong number of array indices"));
    int idx[qsMaxArrayDims];
    indicesOf(item, idx, n);
    return arr.arrayGet(std::span<const int>(idx, size_t(n)));
}

void TqsDesignator::ArrayIndexWrite(Variant &arr, TqsDesignatorItem &item, const Variant &value)
{
    // The indices first: they may read (or change) the array itself. The element write
    // then changes the holder's value in place, copying the elements only when shared.
    const int n = int(item.FArgs.size());
    if (n > qsMaxArrayDims)
        throw EqsRunError(QStringLiteral("Wrong number of array indices"));
    int idx[qsMaxArrayDims];
    indicesOf(item, idx, n);
    if (!arr.isArray())
        throw EVariantNotArrayError(QStringLiteral("Variant is not an array"));
    if (n != arr.arrayDimCount())
        throw EqsRunError(QStringLiteral("Wrong number of array indices"));
    arr.arrayPut(std::span<const int>(idx, size_t(n)), value);
}

Variant TqsDesignator::CallItem(TqsDesignatorItem &item, const Variant &chain)
{
    TqsCustomVariable *r = item.FRef;
    if (r->FKind == kProc)
        return qsCallProc(static_cast<TqsProcVariable *>(r), item.FArgs, FProgram);
    if (r->FKind == kMethod) {
        auto *m = static_cast<TqsMethodHelper *>(r);
        const size_t n = std::min(item.FArgs.size(), size_t(m->ParamCount()));
        // Host functions take few arguments: no allocation for them per call.
        Variant small[8];
        std::vector<Variant> big;
        Variant *vals = small;
        if (n > std::size(small)) {
            big.resize(n);
            vals = big.data();
        }
        for (size_t i = 0; i < n; ++i)
            vals[i] = m->FIsMacro ? Variant(item.FArgs[i]->FSource) : item.FArgs[i]->GetValue();
        for (size_t i = 0; i < n; ++i)
            m->Params(int(i))->FValue = std::move(vals[i]);
        m->FParentValue = chain;
        Variant v = m->GetValue();
        for (size_t i = 0; i < n; ++i)
            if (m->Params(int(i))->FIsVarParam)
                item.FArgs[i]->SetValue(m->Params(int(i))->FValue);
        return v;
    }
    if (r->FKind == kProperty)
        static_cast<TqsPropertyHelper *>(r)->FParentValue = chain;
    else if (r->FKind == kClass && !item.FArgs.empty())
        r->Params(0)->FValue = item.FArgs[0]->GetValue(); // typecast
    return r->GetValue();
}

Variant TqsDesignator::Evaluate(bool assign, const Variant &value)
{
    Variant v = Variant::null();
    TqsCustomVariable *prev = nullptr;
    const size_t n = FItems.size();
    for (size_t i = 0; i < n; ++i) {
        TqsDesignatorItem &item = FItems[i];
        TqsCustomVariable *r = item.FRef;
        const bool last = i + 1 == n;
        if (!r)
            throw EqsRunError(qsMessage(u"SIdUndeclared"));
        // An index on a Variant decides by the value: a string gives its character.
        const bool stringIndex = r->FKind == kStringHelper || (r->FKind == kArrayHelper && v.isString());
        if (stringIndex) {
            if (item.FArgs.size() != 1)
                throw EqsRunError(qsMessage(u"SIndexRequired"));
            if (assign && last) {
                if (prev)
                    prev->SetValue(qsStringPutChar(v, item.FArgs[0]->GetValue(), value));
                return value;
            }
            v = qsStringChar(v, item.FArgs[0]->GetValue());
        } else if (r->FKind == kArrayHelper) {
            if (assign && last) {
                if (prev) {
                    ArrayIndexWrite(v, item, value);
                    prev->SetValue(v);
                }
                return value;
            }
            v = ArrayIndexRead(v, item);
        } else if (assign && last) {
            if (r->FKind == kProperty)
                static_cast<TqsPropertyHelper *>(r)->FParentValue = v;
            if (r->FKind == kEvent) {
                static_cast<TqsEventHelper *>(r)->FParentValue = v;
                static_cast<TqsEventHelper *>(r)->FScope = FProgram;
            }
            if (r->FKind == kMethod) {
                auto *m = static_cast<TqsMethodHelper *>(r);
                const size_t n = std::min(item.FArgs.size(), size_t(m->ParamCount()));
                std::vector<Variant> vals(n);
                for (size_t k = 0; k < n; ++k)
                    vals[k] = item.FArgs[k]->GetValue();
                for (size_t k = 0; k < n; ++k)
                    m->Params(int(k))->FValue = std::move(vals[k]);
                m->FParentValue = v;
            }
            r->SetValue(value);
            return value;
        } else {
            r->FNeedResult = !last || FNeedResult;
            v = CallItem(item, v);
        }
        prev = r;
    }
    return v;
}

// ---- Calls

Variant qsCallProc(TqsProcVariable *proc, const std::vector<TqsExpression *> &args, TqsScript *caller)
{
    // A call counts as a turn of a loop: endless recursion lets the host check too.
    TqsRunState &rs = proc->FProgram->RunState();
    if (rs.Polling)
        TqsScript::CountStep(rs, caller);
    if (caller->FCtl & TqsScript::cfTerminated)
        return Variant::null();
    const size_t n = std::min(args.size(), size_t(proc->ParamCount()));
    TqsActivation activation(proc, rs);
    bool byRef = false;
    for (size_t i = 0; i < n; ++i) {
        TqsExprNode *arg = args[i]->Root();
        byRef |= proc->Params(int(i))->FIsVarParam;
        if (const Variant *direct = arg->Direct())
            qsAssign(activation.Param(i), *direct);
        else
            qsAssign(activation.Param(i), arg->Eval());
    }
    Variant result = activation.Run();
    // the by-reference results go into the caller's variables now that its frame is current again
    if (byRef)
        for (size_t i = 0; i < n; ++i)
            if (proc->Params(int(i))->FIsVarParam)
                args[i]->SetValue(activation.Param(i));
    return result;
}
