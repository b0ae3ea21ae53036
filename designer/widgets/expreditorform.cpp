#include "designer/widgets/hostdialog.h"
#include "designer/widgets/expreditorform.h"

#include "designer/core/sysmemo.h"
#include "designer/widgets/dockstore.h"
#include "platform/rtl/inifile.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"
#include "report/vars/kvlvariables.h"
#include "designer/core/hyperlinkeditor.h"
#include "report/widgets/kvlformutils.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

const QString TkvlExprDataTree::MimeFormat = QStringLiteral("application/x-lirra-datatree");

QByteArray TkvlExprDataTree::Mark() const
{
    return QByteArray::number(quintptr(this), 16);
}

bool TkvlExprDataTree::IsMarkOf(const QMimeData *Data) const
{
    return Data && Data->data(MimeFormat) == Mark();
}

namespace {

// A tree whose drags carry its data tree's mark and the text of the item.
class MarkedTree : public QTreeWidget {
public:
    MarkedTree(QWidget *Parent, const TkvlExprDataTree *Owner) : QTreeWidget(Parent), FOwner(Owner)
    {
        setHeaderHidden(true);
        setRootIsDecorated(false);
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
    }

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &Items) const override
    {
        auto *m = new QMimeData;
        m->setData(TkvlExprDataTree::MimeFormat, FOwner->Mark());
        m->setText(FOwner->SelectedText());
        (void)Items;
        return m;
    }

private:
    const TkvlExprDataTree *FOwner;
};

} // namespace

TkvlPlainDataTree::TkvlPlainDataTree(QWidget *Parent, TkvlReport *Report) : TkvlExprDataTree(Parent)
{
    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    const int captions[] = {2101, 2102};
    for (int i = 0; i < 2; ++i) {
        Trees[i] = new MarkedTree(Tabs, this);
        Trees[i]->setObjectName(i == 0 ? QStringLiteral("DataTree") : QStringLiteral("VariablesTree"));
        Tabs->addTab(Trees[i], kvlGet(captions[i]));
        connect(Trees[i], &QTreeWidget::itemDoubleClicked, this, [this] {
            if (OnDblClick)
                OnDblClick();
        });
    }
    auto *data = new QTreeWidgetItem(Trees[0], {kvlResources().Get(QStringLiteral("dtData"))});
    for (const QString &ds : kvlReportDataSets(Report)) {
        auto *node = new QTreeWidgetItem(data, {ds});
        for (const QString &f : kvlDataSetFields(Report, ds)) {
            auto *leaf = new QTreeWidgetItem(node, {f});
            leaf->setData(0, Qt::UserRole, QStringLiteral("<%1.\"%2\">").arg(ds, f));
        }
    }
    auto *vars = new QTreeWidgetItem(Trees[1], {kvlResources().Get(QStringLiteral("dtVar"))});
    QStringList names = Report ? kvlVariableNames(Report->Variables()) : QStringList();
    for (const QString &v : names)
        (new QTreeWidgetItem(vars, {v}))->setData(0, Qt::UserRole, QString(QLatin1Char('<') + v + QLatin1Char('>')));
    auto *sys = new QTreeWidgetItem(vars, {kvlResources().Get(QStringLiteral("dtSysVar"))});
    for (const char *v : {"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#"})
        (new QTreeWidgetItem(sys, {QLatin1String(v)}))->setData(0, Qt::UserRole, QStringLiteral("<%1>").arg(QLatin1String(v)));
    Trees[0]->expandAll();
    Trees[1]->expandAll();
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(Tabs);
}

QString TkvlPlainDataTree::SelectedText() const
{
    const QTreeWidgetItem *it = Trees[Tabs->currentIndex() == 1 ? 1 : 0]->currentItem();
    return it ? it->data(0, Qt::UserRole).toString() : QString();
}

TkvlExprTreePosition TkvlPlainDataTree::LastPosition() const
{
    const int tab = Tabs->currentIndex();
    return {tab, Trees[tab == 1 ? 1 : 0]->verticalScrollBar()->value()};
}

void TkvlPlainDataTree::SetLastPosition(const TkvlExprTreePosition &Position)
{
    const int tab = Position.Tab == 1 ? 1 : 0;
    Tabs->setCurrentIndex(tab);
    Trees[tab]->verticalScrollBar()->setValue(Position.TopItem);
}

TkvlExprEditorForm::TkvlExprEditorForm(QWidget *Parent, TkvlReport *Report, TkvlExprDataTree *Tree)
    : QDialog(Parent), FReport(Report), FDataTree(Tree ? Tree : new TkvlPlainDataTree(nullptr, Report))
{
    setWindowTitle(kvlGet(4400));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    resize(640, 546);
    auto *panel2 = new QWidget;
    auto *exprL = new QLabel(kvlGet(4401), panel2);
    ExprMemo = new QLineEdit(panel2);
    ExprMemo->setObjectName(QStringLiteral("ExprMemo"));
    ExprMemo->setMinimumHeight(56);
    ExprMemo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ExprMemo->setFrame(false);
    ExprMemo->installEventFilter(this);
    ExprMemo->setAcceptDrops(true);
    auto *pl = new QVBoxLayout(panel2);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addWidget(exprL);
    pl->addWidget(ExprMemo);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(FDataTree);
    splitter->addWidget(panel2);
    splitter->setStretchFactor(0, 1);
    auto *l = new QVBoxLayout(this);
    l->addWidget(splitter, 1);
    QPushButton *ok = nullptr, *cancel = nullptr;
    l->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), ok, cancel));
    FDataTree->OnDblClick = [this] { InsertSelected(); };
}

void TkvlExprEditorForm::InsertSelected()
{
    const QString text = FDataTree->SelectedText();
    if (text.isEmpty())
        return;
    ExprMemo->insert(text);
    ExprMemo->setFocus();
}

bool TkvlExprEditorForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == ExprMemo) {
        if (Event->type() == QEvent::DragEnter || Event->type() == QEvent::DragMove) {
            auto *e = static_cast<QDragMoveEvent *>(Event);
            if (FDataTree->IsMarkOf(e->mimeData()) && !FDataTree->SelectedText().isEmpty())
                e->acceptProposedAction();
            else
                e->ignore();
            return true;
        }
        if (Event->type() == QEvent::Drop) {
            auto *e = static_cast<QDropEvent *>(Event);
            if (FDataTree->IsMarkOf(e->mimeData())) {
                InsertSelected();
                e->acceptProposedAction();
            } else {
                e->ignore();
            }
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TkvlExprEditorForm::showEvent(QShowEvent *Event)
{
    if (FReport)
        if (auto ini = FReport->GetIniFile()) {
            ini->WriteBool(QLatin1String(kvlExprEditorSection), QStringLiteral("Visible"), true);
            kvlRestoreFormPosition(*ini, this);
        }
    QDialog::showEvent(Event);
    FDataTree->SetLastPosition(kvlExprTreePosition());
    ExprMemo->setFocus();
}

void TkvlExprEditorForm::done(int Result)
{
    if (FReport)
        if (auto ini = FReport->GetIniFile()) {
            kvlSaveFormPosition(*ini, this);
            ini->UpdateFile();
        }
    kvlExprTreePosition() = FDataTree->LastPosition();
    QDialog::done(Result);
}

void TkvlExprEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

QString kvlEditExpression(QWidget *Owner, TkvlReport *Report, const QString &Expr, TkvlExprDataTree *Tree)
{
    TkvlExprEditorForm f(Owner, Report, Tree);
    f.ExprMemo->setText(Expr);
    return f.exec() == QDialog::Accepted ? f.ExprMemo->text() : QString();
}
