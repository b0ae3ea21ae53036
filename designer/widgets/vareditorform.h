#pragma once
// The report's variables: categories and their variables in a tree, each variable's
// expression below it, the dictionary as lines, and dictionary files. Edits a copy that OK
// writes into the report.
#include <QDialog>
#include <memory>

class QPlainTextEdit;
class QSplitter;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TkvlReport;
class TkvlVariables;

class TkvlVarEditorForm final : public QDialog {
public:
    // DataTree: the designer's data tree, placed at the right (may be null until it exists).
    TkvlVarEditorForm(TkvlReport *AReport, QWidget *DataTree, QWidget *Owner = nullptr);
    ~TkvlVarEditorForm() override;

    TkvlVariables *Variables() const { return FVariables.get(); }

    QTreeWidget *VarTree() const { return FTree; }
    QPlainTextEdit *ExprMemo() const { return FExpr; }
    QToolButton *NewCategoryB() const { return FNewCategory; }
    QToolButton *NewVarB() const { return FNewVar; }
    QToolButton *EditB() const { return FEdit; }
    QToolButton *DeleteB() const { return FDelete; }
    QToolButton *EditListB() const { return FEditList; }
    QToolButton *LoadB() const { return FLoad; }
    QToolButton *SaveB() const { return FSave; }
    QToolButton *OkB() const { return FOk; }
    QToolButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    void FillVariables();
    void UpdateItem0();
    void UpdateControls();
    void StoreExpression(QTreeWidgetItem *Item);
    void Selected(QTreeWidgetItem *Current, QTreeWidgetItem *Previous);
    void NewCategory();
    void NewVariable();
    void Rename();
    void Edited(QTreeWidgetItem *Item);
    void Delete();
    void EditList();
    void SelectRoot();
    bool IsCategory(const QTreeWidgetItem *Item) const;

    TkvlReport *FReport;
    std::unique_ptr<TkvlVariables> FVariables;
    bool FIsInheritedReport;
    bool FUpdating = false;
    QString FEditingFrom;

    QTreeWidget *FTree;
    QTreeWidgetItem *FRoot = nullptr;
    QPlainTextEdit *FExpr;
    QSplitter *FSplit1, *FSplit2;
    QToolButton *FNewCategory, *FNewVar, *FEdit, *FDelete, *FEditList, *FLoad, *FSave, *FCancel, *FOk;
};

// The designer's variables command: true when OK wrote the variables into the report.
bool kvlEditVariables(TkvlReport *Report, QWidget *DataTree, QWidget *Owner);
