#pragma once
// The expression editor: a one-line expression under a data tree whose items are inserted by
// double click or by dragging them onto the line.
#include "designer/core/expreditor.h"

#include <QDialog>
#include <QWidget>
#include <functional>

class QLineEdit;
class QMimeData;
class TkvlReport;

// What the editor needs of a data tree. The designer's data tree implements it; until then
// TkvlPlainDataTree lists the report's record sources, fields and variables.
class TkvlExprDataTree : public QWidget {
public:
    using QWidget::QWidget;
    // The text inserted for the selection (a field as <DataSet."Field">), empty for none.
    virtual QString SelectedText() const = 0;
    virtual TkvlExprTreePosition LastPosition() const = 0;
    virtual void SetLastPosition(const TkvlExprTreePosition &Position) = 0;
    // Runs on a double click of an item.
    std::function<void()> OnDblClick;

    // Drags carry the tree's mark, so that a drop knows which tree it came from.
    static const QString MimeFormat;
    QByteArray Mark() const;
    bool IsMarkOf(const QMimeData *Data) const;
};

// The report's record sources with their fields and its variables, on two tabs.
class TkvlPlainDataTree : public TkvlExprDataTree {
public:
    TkvlPlainDataTree(QWidget *Parent, TkvlReport *Report);
    QString SelectedText() const override;
    TkvlExprTreePosition LastPosition() const override;
    void SetLastPosition(const TkvlExprTreePosition &Position) override;
    class QTabWidget *Tabs = nullptr;
    class QTreeWidget *Trees[2] = {};
};

class TkvlExprEditorForm : public QDialog {
    Q_OBJECT
public:
    // Tree: a data tree handed in by the designer (the dialog takes it over), or nullptr for
    // the plain one.
    TkvlExprEditorForm(QWidget *Parent, TkvlReport *Report, TkvlExprDataTree *Tree = nullptr);

    void done(int Result) override;

    TkvlExprDataTree *DataTree() const { return FDataTree; }
    QLineEdit *ExprMemo = nullptr;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void InsertSelected();
    TkvlReport *FReport;
    TkvlExprDataTree *FDataTree;
};

// The body of the designer's InsertExpression: the editor opened on Expr, the edited text on
// OK, an empty text on Cancel.
QString kvlEditExpression(QWidget *Owner, TkvlReport *Report, const QString &Expr, TkvlExprDataTree *Tree = nullptr);
