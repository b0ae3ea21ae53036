#pragma once
// The program builder: turns an intermediate program into the items and statements of a
// script, resolving every name against the scope chain and checking types. The first
// semantic error ends the build and lands in the script's ErrorMsg / ErrorPos / ErrorUnit;
// items built before it stay.
#include "script/stmt/qsstmt.h"

#include <QHash>
#include <QString>
#include <vector>

class TqsXMLItem;

class TqsBuilder
{
public:
    enum TqsEmitOp { emNone, emCreate, emFree };

    TqsBuilder(TqsScript *script, bool needDeclareVars);
    // Builds the program; false with the script's error fields set on an error.
    bool ParseILScript(TqsXMLItem *root);

    // A designator built while the script runs (late binding); raises on an error.
    TqsDesignator *BuildDesignator(TqsXMLItem *xi, TqsScript *scope);

    // Nesting of a program given from outside is bounded.
    static constexpr int MaxDepth = 2000;

private:
    TqsXMLItem *Child(TqsXMLItem *xi, int index);
    [[noreturn]] void Fail(const QString &message);
    void SetPos(TqsXMLItem *xi);

    void DoProgram(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void Declare(TqsXMLItem *xi, TqsScript *scope);
    void DeclareProc(TqsXMLItem *xi, TqsScript *scope);
    void DoStmt(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoChildren(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list, int from = 0, int to = -1);
    void DoUses(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoVar(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoConst(TqsXMLItem *xi, TqsScript *scope);
    void DoParameters(TqsXMLItem *xi, TqsProcVariable *proc);
    TqsCustomVariable *CreateVar(TqsXMLItem *xi, TqsScript *scope, bool byRef, bool isParam, TqsStatement *list,
                                 int identIndex);
    void DoAssign(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoCall(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoIf(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoCase(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoFor(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list, bool vb);
    void DoCppFor(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoWhile(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoRepeat(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoTry(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoReturn(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    void DoWith(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);
    TqsExpression *DoExpression(TqsXMLItem *xi, TqsScript *scope);
    void AddExprChildren(TqsExpression *e, TqsXMLItem *xi, TqsScript *scope);
    TqsSetExpression *DoSet(TqsXMLItem *xi, TqsScript *scope);
    TqsDesignator *DoDesignator(TqsXMLItem *xi, TqsScript *scope, TqsEmitOp emit);

    TqsCustomVariable *FindVar(TqsScript *scope, const QString &name);
    TqsVarType FindType(QString &name, TqsScript *scope);
    void CheckIdent(TqsScript *scope, const QString &name);
    void CheckTypeCompatibility(const TqsCustomVariable *target, const TqsCustomVariable *expr);
    TqsCustomVariable *Helper(TqsScript *scope, const char *name);
    TqsCustomVariable *FreeHelper(TqsScript *scope);
    TqsDesignator *LateBound(TqsDesignator *d, TqsXMLItem *source);
    QString SourceBetween(const QString &pos, const QString &pos1) const;
    template <class T>
    T *NewStmt(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list);

    TqsScript *FScript;
    bool FNeedDeclareVars;
    QString FErrorPos;
    QString FUnitName;
    TqsXMLItem *FProgRoot = nullptr;
    // The <types> element of each program element, found once: a program holds every
    // statement as a child, so a search per declaration would grow with the program.
    QHash<const TqsXMLItem *, TqsXMLItem *> FTypes;
    TqsXMLItem *TypesOf(TqsXMLItem *program);
    std::vector<TqsCustomVariable *> FWithList;
    QStringList FSourceLines;
    int FDepth = 0;
    bool FRunTime = false;
};
