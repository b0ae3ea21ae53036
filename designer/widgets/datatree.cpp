#include "designer/widgets/datatree.h"

#include "designer/core/datatree.h"
#include "designer/widgets/dragmanager.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "script/catalogue/qscatalogue.h"
#include "script/core/qsscript.h"
#include "script/xml/qsxml.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace kvldatatree;

namespace {

constexpr int kDataSetRole = Qt::UserRole;
constexpr int kElementRole = Qt::UserRole + 1;
const QString kText = QStringLiteral("text");

QString res(const char *Key) { return kvlResources().Get(QString::fromLatin1(Key)); }

QTreeWidgetItem *node(QTreeWidgetItem *Parent, const QString &Text, int Image)
{
    auto *item = new QTreeWidgetItem(Parent);
    item->setText(0, Text);
    TImageList &images = kvlResources().GetMainButtonImages();
    if (Image >= 0 && Image < images.Count())
        item->setIcon(0, QIcon(QPixmap::fromImage(images.Image(Image))));
    return item;
}

QTreeWidgetItem *rootNode(QTreeWidget *Tree, const QString &Text, int Image)
{
    auto *item = node(nullptr, Text, Image);
    Tree->addTopLevelItem(item);
    return item;
}

TkvlDataSet *dataSetOf(const QTreeWidgetItem *Item)
{
    return Item ? reinterpret_cast<TkvlDataSet *>(Item->data(0, kDataSetRole).value<quintptr>()) : nullptr;
}

TqsXMLItem *elementOf(const QTreeWidgetItem *Item)
{
    return Item ? reinterpret_cast<TqsXMLItem *>(Item->data(0, kElementRole).value<quintptr>()) : nullptr;
}

// Nodes with children are drawn bold.
void boldParents(QTreeWidgetItem *Item)
{
    if (Item->childCount() > 0) {
        QFont f = Item->font(0);
        f.setBold(true);
        Item->setFont(0, f);
    }
    for (int i = 0; i < Item->childCount(); ++i)
        boldParents(Item->child(i));
}

} // namespace

TkvlDataTreeForm::TkvlDataTreeForm(QWidget *Owner, TkvlReport *Report, bool OwnedByDesigner)
    : TkvlDockForm(Owner), FReport(Report), FOwnedByDesigner(OwnedByDesigner), FTabs(new QTabBar(Body()))
{
    setWindowTitle(kvlGet(2100));
    setObjectName(QStringLiteral("DataTreeForm"));
    auto *layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FTabs->setShape(QTabBar::RoundedNorth);
    FTabs->setExpanding(false);
    FTabs->setElideMode(Qt::ElideRight);
    FTabs->setUsesScrollButtons(false);
    for (int key : {2101, 2102, 2103, 2106})
        FTabs->addTab(kvlGet(key));
    FTabs->setFixedHeight(logicalDpiY() >= 97 ? 26 : 22);
    layout->addWidget(FTabs);
    for (int i = 0; i < 4; ++i) {
        FPanels[i] = new QWidget(Body());
        auto *pl = new QVBoxLayout(FPanels[i]);
        pl->setContentsMargins(0, 0, 0, 0);
        pl->setSpacing(0);
        FTrees[i] = new QTreeWidget(FPanels[i]);
        FTrees[i]->setHeaderHidden(true);
        FTrees[i]->setRootIsDecorated(i == 3);
        FTrees[i]->setFrameShape(QFrame::Box);
        FTrees[i]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        FTrees[i]->viewport()->installEventFilter(this);
        if (i != 2)  // the function tree sits in a splitter with its description
            pl->addWidget(FTrees[i], 1);
        layout->addWidget(FPanels[i], 1);
    }
    // Record sources: the no-data hint instead of the tree, the check boxes under it.
    FNoDataPn = new QWidget(FPanels[0]);
    auto *nl = new QVBoxLayout(FNoDataPn);
    nl->setContentsMargins(10, 20, 10, 0);
    FNoDataL = new QLabel(FNoDataPn);
    FNoDataL->setWordWrap(true);
    FNoDataL->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    FNoDataL->setMinimumHeight(140);
    FNoDataL->installEventFilter(this);
    nl->addWidget(FNoDataL);
    nl->addStretch();
    static_cast<QVBoxLayout *>(FPanels[0]->layout())->addWidget(FNoDataPn, 1);
    FNoDataPn->hide();
    FCBPanel = new QWidget(FPanels[0]);
    auto *cl = new QVBoxLayout(FCBPanel);
    cl->setContentsMargins(2, 2, 2, 2);
    FInsFieldCB = new QCheckBox(kvlGet(2104), FCBPanel);
    FInsFieldCB->setChecked(true);
    FInsCaptionCB = new QCheckBox(kvlGet(2105), FCBPanel);
    FSortCB = new QCheckBox(kvlGet(6004), FCBPanel);
    for (QCheckBox *cb : {FInsFieldCB, FInsCaptionCB, FSortCB})
        cl->addWidget(cb);
    FPanels[0]->layout()->addWidget(FCBPanel);
    FCBPanel->hide();
    connect(FSortCB, &QCheckBox::toggled, this, [this] { FillDataTree(); });
    // Functions: the description under a splitter.
    auto *split = new QSplitter(Qt::Vertical, FPanels[2]);
    split->addWidget(FTrees[2]);
    auto *desc = new QWidget(split);
    auto *dl = new QVBoxLayout(desc);
    FFunctionNameL = new QLabel(desc);
    FFunctionNameL->setWordWrap(true);
    QFont bold = FFunctionNameL->font();
    bold.setBold(true);
    FFunctionNameL->setFont(bold);
    FFunctionDescL = new QLabel(desc);
    FFunctionDescL->setWordWrap(true);
    dl->addWidget(FFunctionNameL);
    dl->addWidget(FFunctionDescL);
    dl->addStretch();
    split->addWidget(desc);
    split->setStretchFactor(0, 3);
    FPanels[2]->layout()->addWidget(split);
    connect(FTrees[2], &QTreeWidget::currentItemChanged, this, [this] { FunctionsTreeChange(); });
    connect(FTrees[3], &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *i) { ExpandClass(i); });
    connect(FTabs, &QTabBar::tabBarClicked, this, [this](int i) { ShowTab(i); });
    for (QTreeWidget *t : FTrees)
        connect(t, &QTreeWidget::itemDoubleClicked, this, [this] {
            if (OnDblClick)
                OnDblClick();
        });
    resize(240, 420);
    ShowTab(0);
}

TkvlDataTreeForm::~TkvlDataTreeForm()
{
    if (FOwnedByDesigner && !FFirstTime)
        CollapsedSources() = collapsedNow();
}

QStringList TkvlDataTreeForm::collapsedNow() const
{
    QStringList out;
    if (QTreeWidgetItem *root = FTrees[0]->topLevelItem(0))
        for (int i = 0; i < root->childCount(); ++i)
            if (!root->child(i)->isExpanded())
                out.append(root->child(i)->text(0));
    return out;
}

void TkvlDataTreeForm::UpdateItems()
{
    FillDataTree();
    FillVariablesTree();
    FFirstTime = false;
}

void TkvlDataTreeForm::FillDataTree()
{
    const QStringList collapsed = FFirstTime ? CollapsedSources() : collapsedNow();
    QTreeWidget *tree = FTrees[0];
    FUpdating = true;
    tree->setUpdatesEnabled(false);
    tree->clear();
    const std::vector<TkvlDataTreeSource> sources = Sources(FReport, FSortCB->isChecked());
    const bool none = sources.empty();
    FNoDataPn->setVisible(none);
    tree->setVisible(!none);
    if (none) {
        FNoDataL->setText(res("dtNoData") + QStringLiteral("\n\n") + res("dtNoData1"));
    } else {
        QTreeWidgetItem *root = rootNode(tree, res("dtData"), imSourceRoot);
        for (const TkvlDataTreeSource &s : sources) {
            QTreeWidgetItem *src = node(root, s.Alias, imSource);
            src->setData(0, kDataSetRole, QVariant::fromValue(quintptr(s.DataSet)));
            for (qsizetype i = 0; i < s.Fields.size(); ++i) {
                QTreeWidgetItem *f = node(src, s.Fields[i], s.FieldImages[size_t(i)]);
                f->setData(0, kDataSetRole, QVariant::fromValue(quintptr(s.DataSet)));
            }
        }
        boldParents(root);
        root->setExpanded(true);
        for (int i = 0; i < root->childCount(); ++i)
            root->child(i)->setExpanded(!collapsed.contains(root->child(i)->text(0)));
    }
    tree->setUpdatesEnabled(true);
    FUpdating = false;
}

void TkvlDataTreeForm::FillVariablesTree()
{
    QTreeWidget *tree = FTrees[1];
    FUpdating = true;
    tree->clear();
    QTreeWidgetItem *root = rootNode(tree, res("dtVar"), imFolder);
    for (const TkvlDataTreeCategory &c : Variables(FReport)) {
        QTreeWidgetItem *parent = c.Name.isEmpty() ? root : node(root, c.Name, imFolder);
        for (const QString &v : c.Variables)
            node(parent, v, imVariable);
    }
    QTreeWidgetItem *sys = node(root, res("dtSysVar"), imFolder);
    for (const QString &v : SystemVariables())
        node(sys, v, imVariable);
    boldParents(root);
    tree->expandAll();
    tree->scrollToItem(root);
    FUpdating = false;
}

void TkvlDataTreeForm::FillFunctions()
{
    TqsXMLItem *functions = FCatalogue->FindItem(QStringLiteral("Functions"));
    QTreeWidget *tree = FTrees[2];
    FUpdating = true;
    tree->clear();
    std::function<void(TqsXMLItem *, QTreeWidgetItem *)> add = [&](TqsXMLItem *e, QTreeWidgetItem *parent) {
        QString shown;
        if (e->Count() > 0)
            shown = parent ? kvlResources().Get(e->Prop(kText)) : res("dtFunc");
        else
            shown = e->Prop(kText).section(u' ', 1).left(255);
        if (shown.compare(QStringLiteral("hidden"), Qt::CaseInsensitive) == 0)
            return;
        QTreeWidgetItem *item = parent ? node(parent, shown, e->Count() > 0 ? imFolder : imFunction)
                                       : rootNode(tree, shown, imFolder);
        if (e->Count() == 0)
            item->setData(0, kElementRole, QVariant::fromValue(quintptr(e)));
        for (int i = 0; i < e->Count(); ++i)
            add(e->Items(i), item);
    };
    add(functions, nullptr);
    if (QTreeWidgetItem *root = tree->topLevelItem(0))
        boldParents(root);
    tree->expandAll();
    tree->scrollToTop();
    FUpdating = false;
}

void TkvlDataTreeForm::FillClasses()
{
    TqsXMLItem *classes = FCatalogue->FindItem(QStringLiteral("Classes"));
    QTreeWidget *tree = FTrees[3];
    tree->clear();
    QTreeWidgetItem *root = rootNode(tree, kvlGet(2106), imFolder);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    for (int i = 0; i < classes->Count(); ++i) {
        TqsXMLItem *c = classes->Items(i);
        QTreeWidgetItem *item = node(root, c->Prop(kText), imClass);
        item->setData(0, kElementRole, QVariant::fromValue(quintptr(c)));
        node(item, QStringLiteral("more..."), -1);
    }
    root->setExpanded(true);
}

void TkvlDataTreeForm::ExpandClass(QTreeWidgetItem *Item)
{
    TqsXMLItem *c = elementOf(Item);
    if (!c || !Item->parent())
        return;
    qDeleteAll(Item->takeChildren());
    for (int i = 0; i < c->Count(); ++i) {
        const QString text = c->Items(i)->Prop(kText);
        node(Item, text, MemberImage(text));
    }
    Item->setData(0, kElementRole, QVariant());  // done once
}

void TkvlDataTreeForm::FunctionsTreeChange()
{
    if (FUpdating)
        return;
    TqsXMLItem *e = elementOf(FTrees[2]->currentItem());
    FFunctionNameL->setText(e ? e->Prop(kText) : QString());
    FFunctionDescL->setText(e ? kvlResources().Get(e->Prop(QStringLiteral("description"))) : QString());
}

void TkvlDataTreeForm::ShowTab(int Index)
{
    if (Index < 0 || Index >= 4)
        return;
    FTabs->setCurrentIndex(Index);
    for (int i = 0; i < 4; ++i)
        FPanels[i]->setVisible(i == Index);
    CheckMultiSelection();
    if (!FCatalogue) {
        FCatalogue = std::make_unique<TqsXMLItem>();
        if (TqsScript *script = FReport->Script()) {
            script->AddRTTI();
            GenerateXMLContents(script, FCatalogue.get(), false);
        }
    }
    if (Index == 2 && FTrees[2]->topLevelItemCount() == 0)
        FillFunctions();
    if (Index == 3 && FTrees[3]->topLevelItemCount() == 0)
        FillClasses();
}

int TkvlDataTreeForm::GetActivePage() const { return FTabs->currentIndex(); }

QTreeWidgetItem *TkvlDataTreeForm::nodeAt(int SelectionIndex) const
{
    QTreeWidget *tree = FTrees[GetActivePage()];
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    if (SelectionIndex >= 0 && SelectionIndex < selected.size())
        return selected[SelectionIndex];
    return tree->currentItem();
}

QString TkvlDataTreeForm::GetFieldName(int SelectionIndex) const
{
    QTreeWidgetItem *item = nodeAt(SelectionIndex);
    if (!item)
        return {};
    switch (GetActivePage()) {
    case 0:
        if (item->childCount() == 0 && dataSetOf(item))
            return FieldText(FReport->GetAlias(dataSetOf(item)), item->text(0));
        return {};
    case 1:
        return item->childCount() == 0 && item->parent() ? VariableText(item->text(0)) : QString();
    case 2:
        return item->childCount() == 0 && elementOf(item) ? FunctionText(item->text(0)) : QString();
    default:
        return {};
    }
}

TkvlDataSet *TkvlDataTreeForm::GetDataSet(int SelectionIndex) const
{
    return GetActivePage() == 0 ? dataSetOf(nodeAt(SelectionIndex)) : nullptr;
}

QString TkvlDataTreeForm::ActiveDS() const
{
    if (GetActivePage() != 0)
        return {};
    QTreeWidgetItem *item = FTrees[0]->currentItem();
    TkvlDataSet *ds = dataSetOf(item);
    if (!ds || item->childCount() == 0 || item->text(0) != ds->UserName())
        return {};
    return FReport->GetAlias(ds);
}

int TkvlDataTreeForm::GetSelectionCount() const
{
    QTreeWidget *tree = FTrees[GetActivePage()];
    if (GetActivePage() == 0)
        return int(tree->selectedItems().size());
    return tree->currentItem() ? 1 : 0;
}

QPoint TkvlDataTreeForm::GetLastPosition() const
{
    QTreeWidget *tree = FTrees[GetActivePage()];
    int top = 0;
    if (QTreeWidgetItem *item = tree->itemAt(0, 0))
        for (QTreeWidgetItem *i = tree->topLevelItem(0); i && i != item; i = tree->itemBelow(i))
            ++top;
    return {GetActivePage(), top};
}

void TkvlDataTreeForm::SetLastPosition(QPoint Position)
{
    ShowTab(Position.x());
    QTreeWidget *tree = FTrees[GetActivePage()];
    QTreeWidgetItem *item = tree->topLevelItem(0);
    for (int i = 0; item && i < Position.y(); ++i)
        item = tree->itemBelow(item);
    if (item)
        tree->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void TkvlDataTreeForm::UpdateSelection()
{
    if (GetActivePage() != 0)
        return;
    QTreeWidget *tree = FTrees[0];
    tree->clearSelection();
    TkvlCustomDesigner *designer = FReport->Designer;
    if (!designer || designer->SelectedObjects.size() != 1)
        return;
    auto *ds = rtl_cast<TkvlDataSet>(designer->SelectedObjects.front());
    if (!ds)
        return;
    for (QTreeWidgetItem *i = tree->topLevelItem(0); i; i = tree->itemBelow(i))
        if (dataSetOf(i) == ds) {
            i->setSelected(true);
            tree->setCurrentItem(i);
            return;
        }
}

void TkvlDataTreeForm::SetColor(const QColor &Color)
{
    for (QTreeWidget *t : FTrees) {
        QPalette p = t->palette();
        p.setColor(QPalette::Base, Color);
        t->setPalette(p);
    }
}

void TkvlDataTreeForm::SetMultiSelectAllowed(bool Value)
{
    FMultiSelectAllowed = Value;
    CheckMultiSelection();
}

void TkvlDataTreeForm::CheckMultiSelection()
{
    const bool multi = FPanels[0]->isVisibleTo(this) && FMultiSelectAllowed;
    FTrees[0]->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TkvlDataTreeForm::SetControlsParent(QWidget *AParent)
{
    FControlsParent = AParent;
    FTabs->setParent(AParent);
    for (QWidget *p : FPanels)
        p->setParent(AParent);
    AParent->installEventFilter(this);
    UpdateSize();
    FTabs->show();
    ShowTab(GetActivePage());
}

void TkvlDataTreeForm::UpdateSize()
{
    QWidget *parent = FTabs->parentWidget();
    if (!parent || parent != FControlsParent)
        return;  // in its own window the layout places them
    const int w = parent->contentsRect().width(), h = parent->contentsRect().height();
    const int tabHeight = logicalDpiY() >= 97 ? 26 : 22;
    FTabs->setGeometry(0, 0, w, tabHeight);
    for (QWidget *p : FPanels)
        p->setGeometry(0, tabHeight - 1, w, std::max(0, h - tabHeight + 1));
}

bool TkvlDataTreeForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == FControlsParent && Event->type() == QEvent::Resize)
        UpdateSize();
    if (Watched == FNoDataL && Event->type() == QEvent::MouseButtonDblClick) {
        if (OnDblClick)
            OnDblClick();
        return true;
    }
    if (Event->type() == QEvent::MouseButtonPress) {
        auto *m = static_cast<QMouseEvent *>(Event);
        for (QTreeWidget *t : FTrees)
            if (Watched == t->viewport() && m->button() == Qt::LeftButton && t->itemAt(m->position().toPoint()))
                TkvlDragController::Instance().BeginDrag(&FNodeDrag, nullptr, m->globalPosition().toPoint());
    }
    return TkvlDockForm::eventFilter(Watched, Event);
}
