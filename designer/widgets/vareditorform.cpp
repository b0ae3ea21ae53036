#include "designer/widgets/vareditorform.h"

#include "designer/core/vareditor.h"
#include "designer/widgets/bandeditorforms.h"
#include "designer/widgets/dialogtools.h"
#include "platform/gfx/picturehelpers.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifile.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"
#include "report/utils/messages.h"
#include "report/vars/kvlvariables.h"
#include "report/widgets/kvlformutils.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kNameRole = Qt::UserRole;  // the entry's name, a category's with its blank
const QString kSection = QStringLiteral("Form5.TkvlVarEditorForm");

QIcon mainImage(int Index)
{
    const TImageList &images = kvlResources().GetMainButtonImages();
    return Index < images.Count() ? QIcon(QPixmap::fromImage(images.Image(Index))) : QIcon();
}

QString dictionaryFilter() { return kvlGet(2909); }

} // namespace

TkvlVarEditorForm::TkvlVarEditorForm(TkvlReport *AReport, QWidget *DataTree, QWidget *Owner)
    : QDialog(Owner), FReport(AReport), FVariables(std::make_unique<TkvlVariables>()),
      FIsInheritedReport(AReport->GetIsAncestor())
{
    setObjectName(QStringLiteral("TkvlVarEditorForm"));
    setWindowTitle(kvlGet(2900));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    FNewCategory = kvlToolButton(bar, 65, kvlGet(2901), "NewCategoryB");
    FNewVar = kvlToolButton(bar, 67, kvlGet(2902), "NewVarB");
    FEdit = kvlToolButton(bar, 68, kvlGet(2903), "EditB");
    FDelete = kvlToolButton(bar, 81, kvlGet(2904), "DeleteB");
    FEditList = kvlToolButton(bar, 69, kvlGet(2905), "EditListB");
    bar->addSeparator();
    FLoad = kvlToolButton(bar, 1, kvlGet(2906), "LoadB");
    FSave = kvlToolButton(bar, 2, kvlGet(2907), "SaveB");
    bar->addSeparator();
    FCancel = kvlToolButton(bar, 55, kvlGet(2), "CancelB");
    FOk = kvlToolButton(bar, 56, kvlGet(1), "OkB");
    v->addWidget(bar);

    FSplit1 = new QSplitter(Qt::Vertical, this);
    FSplit1->setObjectName(QStringLiteral("Splitter1"));
    FSplit2 = new QSplitter(Qt::Horizontal, FSplit1);
    FSplit2->setObjectName(QStringLiteral("Splitter2"));
    FTree = new QTreeWidget(FSplit2);
    FTree->setObjectName(QStringLiteral("VarTree"));
    FTree->setHeaderHidden(true);
    FTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTree->installEventFilter(this);
    auto *panel = new QWidget(FSplit2);
    panel->setObjectName(QStringLiteral("Panel"));
    auto *pl = new QVBoxLayout(panel);
    pl->setContentsMargins(0, 0, 0, 0);
    if (DataTree)
        pl->addWidget(DataTree);
    else
        panel->hide();
    auto *exprBox = new QWidget(FSplit1);
    auto *el = new QVBoxLayout(exprBox);
    el->setContentsMargins(0, 0, 0, 0);
    el->setSpacing(0);
    auto *caption = new QLabel(u' ' + kvlGet(2908), exprBox);
    caption->setObjectName(QStringLiteral("ExprPanel"));
    caption->setFixedHeight(17);
    FExpr = new QPlainTextEdit(exprBox);
    FExpr->setObjectName(QStringLiteral("ExprMemo"));
    FExpr->setFrameShape(QFrame::NoFrame);
    FExpr->installEventFilter(this);
    el->addWidget(caption);
    el->addWidget(FExpr);
    v->addWidget(FSplit1, 1);

    connect(FNewCategory, &QToolButton::clicked, this, [this] { NewCategory(); });
    connect(FNewVar, &QToolButton::clicked, this, [this] { NewVariable(); });
    connect(FEdit, &QToolButton::clicked, this, [this] { Rename(); });
    connect(FDelete, &QToolButton::clicked, this, [this] { Delete(); });
    connect(FEditList, &QToolButton::clicked, this, [this] { EditList(); });
    connect(FLoad, &QToolButton::clicked, this, [this] {
        ui::FileDialogRequest r;
        r.filter = dictionaryFilter();
        r.defaultExt = QStringLiteral("kq3");
        const ui::FileDialogResult a = ui::fileDialogs().Open(r);
        if (!a.accepted || a.fileName().isEmpty())
            return;
        // A file that does not read leaves the copy and the tree as they were.
        try {
            kvlLoadVariablesKeeping(*FVariables, a.fileName());
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
            return;
        }
        FillVariables();
    });
    connect(FSave, &QToolButton::clicked, this, [this] {
        SelectRoot();
        ui::FileDialogRequest r;
        r.filter = dictionaryFilter();
        r.defaultExt = QStringLiteral("kq3");
        const ui::FileDialogResult a = ui::fileDialogs().Save(r);
        if (!a.accepted || a.fileName().isEmpty())
            return;
        try {
            FVariables->SaveToFile(a.fileName());
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
        }
    });
    connect(FCancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(FOk, &QToolButton::clicked, this, &QDialog::accept);
    connect(FTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *C, QTreeWidgetItem *P) { Selected(C, P); });
    connect(FTree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *I) { Edited(I); });

    FVariables->Assign(&FReport->Variables());
    resize(std::max(532, bar->sizeHint().width()), 548);
    FillVariables();
    kvlMirrorIfRightToLeft(this);
}

TkvlVarEditorForm::~TkvlVarEditorForm() = default;

bool TkvlVarEditorForm::IsCategory(const QTreeWidgetItem *Item) const { return Item && Item->parent() == FRoot && TkvlVariables::IsCategory(Item->data(0, kNameRole).toString()); }

void TkvlVarEditorForm::FillVariables()
{
    FUpdating = true;
    FTree->clear();
    FRoot = new QTreeWidgetItem(FTree);
    FRoot->setIcon(0, mainImage(66));
    QStringList categories;
    FVariables->GetCategoriesList(categories);
    auto addVar = [this](QTreeWidgetItem *Parent, const QString &Name) {
        auto *item = new QTreeWidgetItem(Parent, {Name});
        item->setIcon(0, mainImage(80));
        item->setData(0, kNameRole, Name);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    };
    for (const QString &c : categories) {
        auto *cat = new QTreeWidgetItem(FRoot, {c});
        cat->setIcon(0, mainImage(66));
        cat->setData(0, kNameRole, QString(u' ' + c));
        cat->setFlags(cat->flags() | Qt::ItemIsEditable);
        QStringList vars;
        FVariables->GetVariablesList(c, vars);
        for (const QString &n : vars)
            addVar(cat, n);
    }
    if (categories.isEmpty()) {
        QStringList vars;
        FVariables->GetVariablesList(QString(), vars);
        for (const QString &n : vars)
            addVar(FRoot, n);
    }
    UpdateItem0();
    FTree->expandAll();
    FTree->setCurrentItem(FRoot);
    FUpdating = false;
    Selected(FRoot, nullptr);
}

void TkvlVarEditorForm::UpdateItem0()
{
    const bool was = FUpdating;
    FUpdating = true;
    FRoot->setText(0, kvlResources().Get(FRoot->childCount() ? QStringLiteral("vaVar") : QStringLiteral("vaNoVar")));
    FUpdating = was;
}

void TkvlVarEditorForm::UpdateControls()
{
    if (FUpdating)
        return;
    FLoad->setEnabled(!FIsInheritedReport);
    FEditList->setEnabled(!FIsInheritedReport);
    // Edit and Delete follow the selected node every time.
    const QTreeWidgetItem *item = FTree->currentItem();
    const int at = item && item != FRoot ? FVariables->IndexOf(item->data(0, kNameRole).toString()) : -1;
    const bool editable = at >= 0 && !FVariables->Items(at)->IsInherited;
    FEdit->setEnabled(editable);
    FDelete->setEnabled(editable);
}

void TkvlVarEditorForm::StoreExpression(QTreeWidgetItem *Item)
{
    if (!Item || Item == FRoot || IsCategory(Item) || !FExpr->document()->isModified())
        return;
    const int at = FVariables->IndexOf(Item->data(0, kNameRole).toString());
    if (at >= 0)
        FVariables->Items(at)->SetValue(Variant(FExpr->toPlainText()));
    FExpr->document()->setModified(false);
}

void TkvlVarEditorForm::Selected(QTreeWidgetItem *Current, QTreeWidgetItem *Previous)
{
    if (FUpdating)
        return;
    StoreExpression(Previous);
    UpdateControls();
    const bool variable = Current && Current != FRoot && !IsCategory(Current);
    const int at = variable ? FVariables->IndexOf(Current->data(0, kNameRole).toString()) : -1;
    FExpr->setPlainText(at >= 0 ? FVariables->Items(at)->Value().toString() : QString());
    FExpr->document()->setModified(false);
}

void TkvlVarEditorForm::SelectRoot()
{
    StoreExpression(FTree->currentItem());
    FTree->setCurrentItem(FRoot);
}

void TkvlVarEditorForm::NewCategory()
{
    const QString name = kvlNewCategory(*FVariables);
    FUpdating = true;
    auto *cat = new QTreeWidgetItem(FRoot, {name});
    cat->setIcon(0, mainImage(66));
    cat->setData(0, kNameRole, QString(u' ' + name));
    cat->setFlags(cat->flags() | Qt::ItemIsEditable);
    FUpdating = false;
    FTree->expandAll();
    UpdateItem0();
}

void TkvlVarEditorForm::NewVariable()
{
    if (!FRoot->childCount())
        return;
    QTreeWidgetItem *target = FTree->currentItem();
    if (!target || target == FRoot)
        target = FRoot->child(FRoot->childCount() - 1);
    else if (!IsCategory(target))
        target = target->parent();
    // Without categories the variables hang from the root.
    if (!IsCategory(target))
        target = FRoot;
    const QString name = kvlNewVariable(*FVariables, target == FRoot ? QString() : target->text(0));
    if (name.isEmpty())
        return;
    FUpdating = true;
    auto *item = new QTreeWidgetItem(target, {name});
    item->setIcon(0, mainImage(80));
    item->setData(0, kNameRole, name);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    FUpdating = false;
    FTree->expandAll();
}

void TkvlVarEditorForm::Rename()
{
    QTreeWidgetItem *item = FTree->currentItem();
    if (item && item != FRoot && FEdit->isEnabled())
        FTree->editItem(item);
}

void TkvlVarEditorForm::Edited(QTreeWidgetItem *Item)
{
    if (FUpdating || Item == FRoot)
        return;
    const QString stored = Item->data(0, kNameRole).toString();
    const bool category = TkvlVariables::IsCategory(stored);
    const QString old = category ? stored.mid(1) : stored;
    const QString typed = Item->text(0);
    if (typed == old)
        return;
    FUpdating = true;
    if (FEdit->isEnabled() && kvlRenameEntry(*FVariables, old, typed, category)) {
        Item->setData(0, kNameRole, category ? QString(u' ' + typed) : typed);
    } else {
        Item->setText(0, old);
        if (FEdit->isEnabled())
            kvlErrorMsg(kvlResources().Get(QStringLiteral("vaDupName")));
    }
    FUpdating = false;
}

void TkvlVarEditorForm::Delete()
{
    QTreeWidgetItem *item = FTree->currentItem();
    if (!item || item == FRoot || !FDelete->isEnabled())
        return;
    const QString name = item->data(0, kNameRole).toString();
    if (TkvlVariables::IsCategory(name))
        FVariables->DeleteCategory(name.mid(1));
    else
        FVariables->DeleteVariable(name);
    FExpr->document()->setModified(false);
    delete item;
    UpdateItem0();
    UpdateControls();
}

void TkvlVarEditorForm::EditList()
{
    SelectRoot();
    QString text = kvlDictionaryLines(*FVariables).join(u'\n');
    if (kvlEditStrings(text, this)) {
        kvlDictionaryFromLines(*FVariables, text.split(u'\n'));
        FillVariables();
    }
    FTree->setCurrentItem(FRoot);
}

bool TkvlVarEditorForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(Event);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (enter && (k->modifiers() & Qt::ControlModifier)) {
            accept();
            return true;
        }
        if (Watched == FExpr && enter)
            return true;  // one line
        // Keys of the tree, unless a name is being edited there.
        if (Watched == FTree && !FTree->indexWidget(FTree->currentIndex())) {
            switch (k->key()) {
            case Qt::Key_Insert:
                FRoot->childCount() ? NewVariable() : NewCategory();
                return true;
            case Qt::Key_Delete:
                Delete();
                return true;
            case Qt::Key_F2:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                Rename();
                return true;
            default:
                break;
            }
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TkvlVarEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) &&
        (Event->modifiers() & Qt::ControlModifier)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlVarEditorForm::showEvent(QShowEvent *Event)
{
    if (const std::unique_ptr<TCustomIniFile> ini = FReport->GetIniFile()) {
        const int split1 = ini->ReadInteger(kSection, QStringLiteral("Split1Pos"), 76);
        const int split2 = ini->ReadInteger(kSection, QStringLiteral("Split2Pos"), 400);
        FSplit1->setSizes({std::max(1, height() - split1), split1});
        if (FSplit2->widget(1)->isVisibleTo(this))
            FSplit2->setSizes({std::max(1, width() - split2), split2});
    }
    QDialog::showEvent(Event);
    FTree->setFocus();
}

void TkvlVarEditorForm::done(int Result)
{
    if (Result == Accepted) {
        SelectRoot();
        FReport->Variables().Assign(FVariables.get());
    }
    if (const std::unique_ptr<TCustomIniFile> ini = FReport->GetIniFile()) {
        ini->WriteInteger(kSection, QStringLiteral("Split1Pos"), FSplit1->sizes().value(1));
        if (FSplit2->widget(1)->isVisibleTo(this))
            ini->WriteInteger(kSection, QStringLiteral("Split2Pos"), FSplit2->sizes().value(1));
    }
    QDialog::done(Result);
}

bool kvlEditVariables(TkvlReport *Report, QWidget *DataTree, QWidget *Owner)
{
    TkvlVarEditorForm f(Report, DataTree, Owner);
    return f.exec() == QDialog::Accepted;
}
