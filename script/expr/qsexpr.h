#pragma once
// Expression trees over Variants and the designators that name things in them (a.b[c](d)).
//
// The builder feeds an expression the flat token sequence of the program (operands and
// operator texts, brackets included); the tree grows by operator priority and Finalize
// infers the static type of every node. Nodes evaluate through one virtual call each.
#include "script/items/qsitems.h"

#include <QString>
#include <vector>

enum TqsOperatorType : unsigned char {
    opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor, opMul,
    opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket, opNot, opUnMinus,
    opIn, opIs,
};

class TqsExpression;
class TqsSetExpression;
class TqsXMLItem;

class TqsExprNode
{
public:
    virtual ~TqsExprNode();
    virtual Variant Eval() = 0;
    // The value as a condition; comparisons and Boolean operators answer without a Variant.
    virtual bool EvalBool() { return Eval().toBool(); }
    virtual int Priority() const = 0;
    void AddNode(TqsExprNode *node);
    void RemoveNode(TqsExprNode *node);

    TqsExprNode *FLeft = nullptr, *FRight = nullptr, *FParent = nullptr; // children owned
    // The value itself when the node is a constant or a plain variable without a host hook:
    // operators read it in place, without a call or a copy. A procedure's local is read
    // in the running activation's frame.
    const Variant *Direct() const { return FDirectBase ? *FDirectBase + FDirectIndex : nullptr; }
    bool IsDirect() const { return FDirectBase; }
    void SetDirect(Variant *value)
    {
        FOwnDirect = value;
        FDirectBase = &FOwnDirect;
        FDirectIndex = 0;
    }
    void SetDirectSlot(TqsFrameLayout &layout, int slot)
    {
        FDirectBase = &layout.Current;
        FDirectIndex = slot;
    }
    TqsVarType FTyp = qvtInt;
    QString FTypeName, FSourcePos;

private:
    Variant *const *FDirectBase = nullptr;
    Variant *FOwnDirect = nullptr;
    int FDirectIndex = 0;
};

// A constant.
class TqsOperandNode : public TqsExprNode
{
public:
    explicit TqsOperandNode(const Variant &value);
    TqsOperandNode(const TqsOperandNode &) = delete;
    Variant Eval() override { return FValue; }
    int Priority() const override { return 0; }
    Variant FValue;

protected:
    TqsOperandNode() = default;
};

class TqsDesignator;

class TqsDesignatorNode : public TqsOperandNode
{
public:
    explicit TqsDesignatorNode(TqsDesignator *d);
    ~TqsDesignatorNode() override;
    Variant Eval() override;
    TqsDesignator *FDesignator; // owned
    TqsCustomVariable *FVar;    // the variable itself for a plain variable designator
    TqsProcVariable *FProc;     // the procedure of a plain call
};

class TqsSetNode : public TqsOperandNode
{
public:
    explicit TqsSetNode(TqsSetExpression *set);
    ~TqsSetNode() override;
    Variant Eval() override;
    TqsSetExpression *FSetExpression; // owned
};

class TqsOperatorNode : public TqsExprNode
{
public:
    TqsOperatorNode(TqsOperatorType op, int priority) : FOp(op), FPriority(priority) {}
    int Priority() const override { return FPriority; }
    TqsOperatorType FOp;
    bool FOptimizeBool = false;
    bool FStrCat = false;
    int FPriority;
};

// An operator node for an operator text of the intermediate program ("+", "div", "strcat", ...);
// nullptr for an unknown text.
TqsOperatorNode *qsCreateOperatorNode(const QString &text);

class TqsExpression : public TqsCustomVariable
{
public:
    explicit TqsExpression(TqsScript *script);
    ~TqsExpression() override;

    void AddConst(const Variant &value);
    void AddDesignator(TqsDesignator *d);
    void AddSet(TqsSetExpression *set);
    // False for an unknown operator text.
    bool AddOperator(const QString &text);
    // Position of the first type conflict, empty when none.
    QString Finalize();

    Variant GetValue() override { return FNode->Eval(); }
    void SetValue(const Variant &value) override;
    // The item read directly when the expression is one operand (variable, designator or
    // constant node); nullptr when the root is an operator.
    TqsExprNode *Root() const { return FNode; }
    TqsDesignator *SingleDesignator() const;
    // x := x op e becomes x op= e; returns the compound operator ('&' for joining texts) or ' '.
    char Optimize(TqsCustomVariable *target);

    QString FCurPos; // position given to the next node
    QString FSource; // source text (for macro functions)
    TqsScript *FScript;

private:
    void AddOperand(TqsExprNode *node);
    TqsExprNode *FNode;
    TqsExprNode *FCurNode;
};

// Set constructor [1, 3..5]: a nullptr item marks a range between its neighbours.
class TqsSetExpression
{
public:
    ~TqsSetExpression();
    bool Check(const Variant &value) const;
    Variant GetValue() const;
    std::vector<TqsExpression *> FItems; // owned
};

struct TqsDesignatorItem
{
    TqsCustomVariable *FRef = nullptr;
    bool FFlag = false; // an index property has been given its index
    std::vector<TqsExpression *> FArgs; // owned
    QString FSourcePos;
};

class TqsDesignator : public TqsCustomVariable
{
public:
    enum TqsDesignatorKind : unsigned char { dkOther, dkVariable, dkStringArray, dkArray, dkCall };

    explicit TqsDesignator(TqsScript *program);
    ~TqsDesignator() override;

    Variant GetValue() override;
    void SetValue(const Variant &value) override;
    // Type, read-only flag and kind from the items.
    void Finalize();
    bool Writable() const { return !FIsReadOnly; }

    TqsDesignatorKind FDKind = dkOther;
    TqsScript *FProgram;
    std::vector<TqsDesignatorItem> FItems;
    // A member of a value known only at run time: the designator's program element, built
    // at the first evaluation (then dropped).
    TqsXMLItem *FLateBindingXmlSource = nullptr; // owned
    bool FNeedDeclareVars = true;
    void CheckLateBinding();
    // Takes over the content of another designator.
    void Borrow(TqsDesignator &other);

private:
    Variant Evaluate(bool assign, const Variant &value);
    Variant CallItem(TqsDesignatorItem &item, const Variant &chain);
    Variant ArrayIndexRead(const Variant &arr, TqsDesignatorItem &item);
    void ArrayIndexWrite(Variant &arr, TqsDesignatorItem &item, const Variant &value);
};

// Calls a script procedure with the argument expressions of a designator item: every
// argument is evaluated before any parameter is set; locals of a running activation are
// saved and restored around the call; by-reference arguments are written back after that.
Variant qsCallProc(TqsProcVariable *proc, const std::vector<TqsExpression *> &args, TqsScript *caller);
