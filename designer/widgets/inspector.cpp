#include "designer/widgets/inspector.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/reflect/component.h"
#include "platform/ui/services.h"
#include "report/core/kvlcomponent.h"
#include "report/progress/kvlwindows.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/utils/messages.h"
#include "report/widgets/kvlpopupform.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr QRgb kNavy = 0x000080;

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }

gfx::FontDesc canvasFont(const QFont &Font, QRgb Color)
{
    gfx::FontDesc d;
    d.name = Font.family();
    d.height = -(Font.pixelSize() > 0 ? Font.pixelSize() : QFontMetrics(Font).height() - 3);
    d.color = int32_t(qBlue(Color) << 16 | qGreen(Color) << 8 | qRed(Color));
    return d;
}

// Bold names of the position and size rows, at the top level.
bool boldName(const QString &Name, int Depth)
{
    if (Depth != 0)
        return false;
    for (const char *n : {"Name", "Width", "Height", "Left", "Top"})
        if (Name == QLatin1String(n))
            return true;
    return false;
}

} // namespace

// The grid's surface: every row is drawn by the inspector.
class TkvlInspectorGrid : public QWidget {
public:
    explicit TkvlInspectorGrid(TkvlObjectInspector *Owner) : QWidget(nullptr), FOwner(Owner)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        FOwner->paintGrid(p);
    }
    void mousePressEvent(QMouseEvent *e) override { FOwner->gridPress(e); }
    void mouseMoveEvent(QMouseEvent *e) override { FOwner->gridMove(e); }
    void mouseReleaseEvent(QMouseEvent *) override { FOwner->gridRelease(); }
    void mouseDoubleClickEvent(QMouseEvent *) override { FOwner->gridDoubleClick(); }
    void wheelEvent(QWheelEvent *e) override { FOwner->gridWheel(e); }
    void leaveEvent(QEvent *) override { FOwner->gridLeave(); }

private:
    TkvlObjectInspector *FOwner;
};

namespace {

// Drop-down items drawn by the row's editor.
class EditorItemDelegate : public QStyledItemDelegate {
public:
    EditorItemDelegate(TkvlPropertyEditor *Editor, QObject *Parent) : QStyledItemDelegate(Parent), FEditor(Editor) {}
    void paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        const bool selected = Option.state & QStyle::State_Selected;
        const QPalette &pal = Option.palette;
        const QColor back = pal.color(selected ? QPalette::Highlight : QPalette::Base);
        const QColor text = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
        gfx::PainterCanvas canvas(Painter, 96, 96);
        canvas.setFont(canvasFont(Option.font, text.rgb()));
        canvas.brush().color = rtl::FromQColor(back);
        canvas.setBkMode(gfx::BkMode::Transparent);
        FEditor->OnDrawLBItem(canvas, Index.row(), Option.rect, selected);
    }
    QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(Option, Index).width(), FEditor->ItemHeight);
    }

private:
    TkvlPropertyEditor *FEditor;
};

} // namespace

// ---- creation ---------------------------------------------------------------------------

TkvlObjectInspector::TkvlObjectInspector(TkvlCustomDesigner *Designer, QWidget *Owner)
    : TkvlDockForm(Owner), FDesigner(Designer)
{
    if (!Designer)
        throw Exception(QStringLiteral("The Owner of the object inspector should be TkvlCustomDesigner"));
    setWindowTitle(kvlResources().Get(QStringLiteral("2000")));
    resize(198, 474);
    FRowHeight = QFontMetrics(font()).height() + 3;

    auto *layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ObjectsCB = new QComboBox(Body());
    ObjectsCB->setObjectName(QStringLiteral("ObjectsCB"));
    layout->addWidget(ObjectsCB);
    layout->addSpacing(4);

    Tabs = new QTabBar(Body());
    Tabs->setObjectName(QStringLiteral("Tabs"));
    Tabs->setExpanding(false);
    Tabs->setDrawBase(false);
    Tabs->addTab(kvlResources().Get(QStringLiteral("oiProp")));
    Tabs->addTab(kvlResources().Get(QStringLiteral("oiEvent")));
    layout->addWidget(Tabs);

    Splitter1 = new QSplitter(Qt::Vertical, Body());
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1, 1);

    Box = new QScrollArea(Splitter1);
    Box->setObjectName(QStringLiteral("Box"));
    Box->setFrameShape(QFrame::StyledPanel);
    Box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Box->setWidgetResizable(false);
    Box->verticalScrollBar()->setSingleStep(FRowHeight);
    Box->viewport()->installEventFilter(this);
    Box->viewport()->setAutoFillBackground(true);
    PB = new TkvlInspectorGrid(this);
    PB->setObjectName(QStringLiteral("PB"));
    Box->setWidget(PB);

    Edit1 = new QLineEdit(PB);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFrame(false);
    Edit1->hide();
    Edit1->installEventFilter(this);
    EditBtn = new QToolButton(PB);
    EditBtn->setObjectName(QStringLiteral("EditBtn"));
    EditBtn->setText(QStringLiteral("..."));
    EditBtn->setFocusPolicy(Qt::NoFocus);
    EditBtn->hide();
    ComboBtn = new QToolButton(PB);
    ComboBtn->setObjectName(QStringLiteral("ComboBtn"));
    ComboBtn->setArrowType(Qt::DownArrow);
    ComboBtn->setFocusPolicy(Qt::NoFocus);
    ComboBtn->hide();

    HintPanel = new QWidget(Splitter1);
    HintPanel->setObjectName(QStringLiteral("HintPanel"));
    HintPanel->setAutoFillBackground(true);
    QPalette hp = HintPanel->palette();
    hp.setColor(QPalette::Window, Qt::white);
    HintPanel->setPalette(hp);
    auto *hintLayout = new QVBoxLayout(HintPanel);
    hintLayout->setContentsMargins(0, 0, 0, 0);
    hintLayout->setSpacing(0);
    PropL = new QLabel(HintPanel);
    PropL->setObjectName(QStringLiteral("PropL"));
    PropL->setFixedHeight(16);
    PropL->setAutoFillBackground(true);
    QFont bold = PropL->font();
    bold.setBold(true);
    PropL->setFont(bold);
    QPalette pp = PropL->palette();
    pp.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
    PropL->setPalette(pp);
    DescrL = new QLabel(HintPanel);
    DescrL->setObjectName(QStringLiteral("DescrL"));
    DescrL->setWordWrap(true);
    DescrL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hintLayout->addWidget(PropL);
    hintLayout->addWidget(DescrL, 1);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({400, 65});

    FSplitterPos = 198 / 2;
    SetColor(clWindow);

    connect(EditBtn, &QToolButton::clicked, this, [this] { EditBtnClick(); });
    connect(ComboBtn, &QToolButton::pressed, this,
            [this] { FComboPressAfterClose = kvlPopupJustClosed(100); });
    connect(ComboBtn, &QToolButton::clicked, this, [this] { ComboBtnClick(); });
    connect(ObjectsCB, &QComboBox::activated, this, [this](int i) { ObjectsCBClick(i); });
    connect(Tabs, &QTabBar::currentChanged, this, [this](int i) { TabChange(i); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *Old, QWidget *Now) {
        if (Old && isAncestorOf(Old) && !(Now && (isAncestorOf(Now) || (FPopupForm && FPopupForm->isAncestorOf(Now)))))
            CommitOnLeave();
    });
    installEventFilter(this);
}

TkvlObjectInspector::~TkvlObjectInspector()
{
    if (FPopupForm)
        delete FPopupForm;
}

// ---- selection --------------------------------------------------------------------------

QString TkvlObjectInspector::entryText(TPersistent *Object) const
{
    auto *c = rtl_cast<TComponent>(Object);
    return c ? c->Name() + QStringLiteral(": ") + c->ClassName() : QString();
}

void TkvlObjectInspector::SetObjects(const std::vector<TkvlComponent *> &Objects)
{
    FUpdatingObjectsCB = true;
    ObjectsCB->clear();
    std::vector<std::pair<QString, TkvlComponent *>> entries;
    entries.reserve(Objects.size());
    for (TkvlComponent *o : Objects)
        entries.emplace_back(entryText(o), o);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    for (const auto &[text, o] : entries)
        ObjectsCB->addItem(text, QVariant::fromValue(static_cast<void *>(o)));
    ObjectsCB->setCurrentIndex(-1);
    FUpdatingObjectsCB = false;
}

void TkvlObjectInspector::setObjectsEntry(TkvlComponent *Object)
{
    int i = ObjectsCB->findData(QVariant::fromValue(static_cast<void *>(Object)));
    if (i < 0) {
        ObjectsCB->addItem(entryText(Object), QVariant::fromValue(static_cast<void *>(Object)));
        i = ObjectsCB->count() - 1;
    }
    ObjectsCB->setCurrentIndex(i);
}

void TkvlObjectInspector::SetSelectedObjects(std::vector<TkvlComponent *> *Objects)
{
    if (FStoring) {
        FSelectedObjects = Objects;
        FRebuildPending = true;
        return;
    }
    FSelectedObjects = Objects;
    FList = nullptr;
    FRows.clear();
    FEventList.reset();
    FPropertyList = Objects ? kvlCreatePropertyList(*Objects, FDesigner, &FRules) : nullptr;
    if (FPropertyList) {
        // Script events go to the second tab, by the rule that gives them the event editor.
        FEventList = std::make_unique<TkvlPropertyList>(FDesigner);
        for (int i = 0; i < FPropertyList->Count();) {
            const rtl::PropInfo *p = FPropertyList->Items(i).Editor->GetPropInfo();
            if (isEventTypeName(p->typeName()))
                FEventList->Append(FPropertyList->Take(i));
            else
                ++i;
        }
    }
    FUpdatingObjectsCB = true;
    if (Objects && Objects->size() == 1)
        setObjectsEntry(Objects->front());
    else
        ObjectsCB->setCurrentIndex(-1);
    FUpdatingObjectsCB = false;
    applyTab();
    if (Count() > 0) {
        int row = 0;
        for (int i = 0; i < Count(); ++i)
            if (GetName(i) == FLastPosition) {
                row = i;
                break;
            }
        const QString keep = FLastPosition;
        SetItemIndex(row);
        if (GetName(row) != keep)
            FLastPosition = keep;  // going back to an object that has it puts the cursor there
    }
}

void TkvlObjectInspector::Inspect(const std::vector<TkvlComponent *> &Objects)
{
    FTempList = Objects;
    SetObjects(FTempList);
    SetSelectedObjects(&FTempList);
}

void TkvlObjectInspector::UpdateProperties() { SetSelectedObjects(FSelectedObjects); }

void TkvlObjectInspector::applyTab()
{
    FList = Tabs->currentIndex() == 1 ? FEventList.get() : FPropertyList.get();
    FItemIndex = -1;
    PropL->clear();
    DescrL->clear();
    FormResize();
}

void TkvlObjectInspector::TabChange(int Index)
{
    if (Index == 1 && FDesigner->IsPreviewDesigner()) {
        Tabs->setCurrentIndex(0);
        return;
    }
    applyTab();
}

void TkvlObjectInspector::ObjectsCBClick(int Index)
{
    if (FUpdatingObjectsCB || Index < 0 || !FSelectedObjects)
        return;
    auto *o = static_cast<TkvlComponent *>(ObjectsCB->itemData(Index).value<void *>());
    FSelectedObjects->clear();
    FSelectedObjects->push_back(o);
    SetSelectedObjects(FSelectedObjects);
    Edit1->setFocus();
    if (OnSelectionChanged)
        OnSelectionChanged();
}

// ---- rows -------------------------------------------------------------------------------

void TkvlObjectInspector::rebuildRows()
{
    FRows.clear();
    auto walk = [this](auto &&self, TkvlPropertyList *List, int Depth) -> void {
        for (int i = 0; i < List->Count(); ++i) {
            TkvlPropertyItem &item = List->Items(i);
            FRows.push_back({&item, List, Depth});
            if (item.Expanded && item.SubProperty)
                self(self, item.SubProperty.get(), Depth + 1);
        }
    };
    if (FList)
        walk(walk, FList, 0);
}

TkvlPropertyItem *TkvlObjectInspector::GetItem(int Index) const
{
    return Index >= 0 && Index < Count() ? FRows[size_t(Index)].Item : nullptr;
}

int TkvlObjectInspector::GetOffset(int Index) const { return FRows[size_t(Index)].Depth; }
QString TkvlObjectInspector::GetName(int Index) const { return FRows[size_t(Index)].Item->Editor->GetName(); }
TkvlPropertyAttributes TkvlObjectInspector::GetType(int Index) const
{
    return FRows[size_t(Index)].Item->Editor->GetAttributes();
}
QString TkvlObjectInspector::GetValue(int Index) const { return FRows[size_t(Index)].Item->Editor->GetValue(); }

void TkvlObjectInspector::SetItemIndex(int Value)
{
    if (Value > Count() - 1)
        Value = Count() - 1;
    if (Value < 0)
        Value = -1;
    Edit1->setVisible(Count() > 0);
    if (Count() == 0) {
        PropL->clear();
        DescrL->clear();
        return;
    }
    if (FItemIndex >= 0 && FItemIndex < Count() && Edit1->isModified()) {
        const int row = FItemIndex;
        Edit1->setModified(false);
        StoreValue(row, Edit1->text());
        if (Value > Count() - 1)
            Value = Count() - 1;
    }
    FItemIndex = Value;
    // Each label is set once (a label relays itself out on every change).
    QString name, description;
    if (FItemIndex >= 0) {
        name = GetName(FItemIndex);
        FLastPosition = name;
        if (TPersistent *o = FRows[size_t(FItemIndex)].List->Component()) {
            const QString specific = QStringLiteral("prop") + name + QLatin1Char('.') + o->ClassName();
            description = kvlResources().Get(specific);
            if (description == specific)
                description = kvlResources().Get(QStringLiteral("prop") + name);
        }
    }
    PropL->setText(name);
    DescrL->setText(description);
    FUpdatingPB = true;
    AdjustControls();
}

void TkvlObjectInspector::EnableUpdate()
{
    FDisableUpdate = false;
    PB->update();
}

void TkvlObjectInspector::SetColor(TColor Value)
{
    FColor = Value;
    QPalette p = Box->viewport()->palette();
    p.setColor(QPalette::Window, rtl::ToQColor(Value));
    Box->viewport()->setPalette(p);
    QPalette cp = ObjectsCB->palette();
    cp.setColor(QPalette::Base, rtl::ToQColor(Value));
    ObjectsCB->setPalette(cp);
    PB->update();
}

int TkvlObjectInspector::Splitter1Pos() const { return Splitter1->sizes().value(1); }

void TkvlObjectInspector::SetSplitter1Pos(int Value)
{
    const int total = Splitter1->sizes().value(0) + Splitter1->sizes().value(1);
    Splitter1->setSizes({std::max(total - Value, 1), Value});
}

void TkvlObjectInspector::SetSplitterPos(int Value)
{
    FSplitterPos = Value;
    AdjustControls();
}

// ---- layout -----------------------------------------------------------------------------

void TkvlObjectInspector::FormResize()
{
    rebuildRows();
    PB->resize(Box->viewport()->width(), Count() * FRowHeight);
    AdjustControls();
}

void TkvlObjectInspector::AdjustControls()
{
    if (FDisableUpdate)
        return;
    if (FItemIndex < 0 || FItemIndex >= Count()) {
        EditBtn->hide();
        ComboBtn->hide();
        Edit1->hide();
        FUpdatingPB = false;
        PB->update();
        return;
    }
    const TkvlPropertyAttributes a = GetType(FItemIndex);
    if (FUpdatingPB) {
        EditBtn->setVisible(a & paBit(paDialog));
        ComboBtn->setVisible(a & paBit(paValueList));
        Edit1->setReadOnly(a & paBit(paReadOnly));
    }
    const int top = FItemIndex * FRowHeight;
    int w = PB->width() - FSplitterPos - 2;
    if (EditBtn->isVisibleTo(PB)) {
        EditBtn->setGeometry(PB->width() - 15, top, 15, FRowHeight - 1);
        w -= 15;
    }
    if (ComboBtn->isVisibleTo(PB)) {
        // Beside the "..." button when both show.
        const int right = EditBtn->isVisibleTo(PB) ? PB->width() - 15 : PB->width();
        ComboBtn->setGeometry(right - 15, top, 15, FRowHeight - 1);
        w -= 15;
    }
    Edit1->setText(GetValue(FItemIndex));
    Edit1->setModified(false);
    Edit1->setGeometry(FSplitterPos + 2, top + 1, std::max(w, 1), FRowHeight - 2);
    Edit1->show();
    Edit1->selectAll();
    Box->ensureVisible(0, top + 1 + FRowHeight / 2, 0, FRowHeight / 2 + 1);
    FUpdatingPB = false;
    PB->update();
}

void TkvlObjectInspector::showEvent(QShowEvent *Event)
{
    TkvlDockForm::showEvent(Event);
    FormResize();
}

// ---- storing values ---------------------------------------------------------------------

void TkvlObjectInspector::StoreValue(int Index, const QString &Text)
{
    TkvlPropertyEditor *editor = FRows[size_t(Index)].Item->Editor.get();
    FStoring = true;
    try {
        editor->SetValue(Text);
        FStoring = false;
        DoModify();
    } catch (const Exception &e) {
        // Read from the editor before the message box: its loop may rebuild the rows.
        const bool written = editor->WrittenCount() > 0;
        const QString stored = FRebuildPending ? QString() : editor->GetValue();
        const bool rebuild = FRebuildPending;
        FStoring = false;
        kvlErrorMsg(e.message());
        if (!rebuild)
            Edit1->setText(stored);
        // Objects written before a setter raised are changed: the designer must know.
        if (written)
            DoModify();
    }
    if (FRebuildPending) {
        FRebuildPending = false;
        const int row = FItemIndex;
        UpdateProperties();
        if (row >= 0 && row < Count())
            SetItemIndex(row);
    }
    PB->update();
}

void TkvlObjectInspector::DoModify()
{
    if (FSelectedObjects && FSelectedObjects->size() == 1) {
        TkvlComponent *o = FSelectedObjects->front();
        FUpdatingObjectsCB = true;
        const int i = ObjectsCB->findData(QVariant::fromValue(static_cast<void *>(o)));
        if (i >= 0) {
            ObjectsCB->setItemText(i, entryText(o));
            ObjectsCB->setCurrentIndex(i);
        }
        FUpdatingObjectsCB = false;
    }
    if (OnModify)
        OnModify();
}

bool TkvlObjectInspector::RunEdit(TkvlPropertyEditor *Editor, bool &Rebuilt)
{
    bool changed = false;
    FStoring = true;
    try {
        changed = Editor->Edit();
    } catch (const Exception &e) {
        changed = Editor->WrittenCount() > 0;
        FStoring = false;
        kvlErrorMsg(e.message());
    }
    FStoring = false;
    Rebuilt = FRebuildPending;
    if (FRebuildPending) {
        FRebuildPending = false;
        UpdateProperties();
    }
    return changed;
}

void TkvlObjectInspector::EditBtnClick()
{
    if (FItemIndex < 0 || FItemIndex >= Count())
        return;
    bool rebuilt;
    if (RunEdit(FRows[size_t(FItemIndex)].Item->Editor.get(), rebuilt)) {
        SetItemIndex(std::min(FItemIndex, Count() - 1));
        DoModify();
    }
}

void TkvlObjectInspector::CommitOnLeave()
{
    if (!FDisableUpdate && FItemIndex >= 0 && Edit1->isModified())
        SetItemIndex(FItemIndex);
}

// ---- drop-down list ---------------------------------------------------------------------

QListWidget *TkvlObjectInspector::PopupList() const
{
    return FPopupForm && FPopupForm->isVisible() ? FPopupLB : nullptr;
}

void TkvlObjectInspector::ComboBtnClick()
{
    if (FComboPressAfterClose) {
        // The press that closed the list does not open it again.
        FComboPressAfterClose = false;
        Edit1->setFocus();
        return;
    }
    if (FItemIndex < 0 || FItemIndex >= Count())
        return;
    TkvlPropertyEditor *editor = FRows[size_t(FItemIndex)].Item->Editor.get();
    editor->ItemHeight = FRowHeight;
    editor->GetValues();
    const QStringList &values = editor->Values();
    if (values.isEmpty())
        return;
    if (FPopupForm)
        delete FPopupForm;
    FPopupForm = new TkvlPopupForm(this);
    auto *layout = new QVBoxLayout(FPopupForm);
    layout->setContentsMargins(0, 0, 0, 0);
    FPopupLB = new QListWidget(FPopupForm);
    FPopupLB->setObjectName(QStringLiteral("PopupLB"));
    FPopupLB->setFrameShape(QFrame::Box);
    FPopupLB->setUniformItemSizes(true);
    layout->addWidget(FPopupLB);
    const bool ownerDraw = editor->GetAttributes() & paBit(paOwnerDraw);
    if (ownerDraw)
        FPopupLB->setItemDelegate(new EditorItemDelegate(editor, FPopupLB));
    FPopupLB->addItems(values);
    for (int i = 0; i < FPopupLB->count(); ++i)
        FPopupLB->item(i)->setSizeHint(QSize(0, FRowHeight));
    const int current = values.indexOf(Edit1->text());
    if (current >= 0)
        FPopupLB->setCurrentRow(current);
    connect(FPopupLB, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { LBClick(FPopupLB->row(item)); });

    const QFontMetrics fm(FPopupLB->font());
    int width = 0;
    for (const QString &v : values)
        width = std::max(width, fm.horizontalAdvance(v));
    width += 8;
    if (ownerDraw)
        width += editor->GetExtraLBSize();
    const int rows = std::min<int>(8, int(values.size()));
    if (values.size() > 8)
        width += QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int column = PB->width() - FSplitterPos;
    const QPoint below = Edit1->mapToGlobal(QPoint(0, Edit1->height()));
    int left;
    if (width < column) {
        left = below.x() - 3;
        width = column + 1;
    } else {
        left = below.x() + column - width - 2;
    }
    const int height = rows * FRowHeight + 2;
    if (left < 0)
        left = 0;
    int top = below.y();
    if (const QScreen *screen = Edit1->screen()) {
        const int bottom = screen->geometry().bottom() + 1;
        if (top + height > bottom)
            top = bottom - height;
    }
    FPopupForm->setGeometry(left, top, width, height);
    FDisableUpdate = true;
    FPopupForm->show();
    FPopupForm->activateWindow();
    FPopupLB->setFocus();
    FDisableUpdate = false;
}

void TkvlObjectInspector::LBClick(int Row)
{
    if (!FPopupLB || Row < 0)
        return;
    Edit1->setText(FPopupLB->item(Row)->text());
    FPopupForm->hide();
    Edit1->setFocus();
    Edit1->selectAll();
    if (FItemIndex >= 0 && FItemIndex < Count()) {
        Edit1->setModified(false);
        StoreValue(FItemIndex, Edit1->text());
    }
}

// ---- keys -------------------------------------------------------------------------------

bool TkvlObjectInspector::Edit1Key(QKeyEvent *Event)
{
    if (Count() == 0)
        return false;
    const int page = std::max(1, Box->viewport()->height() / FRowHeight);
    switch (Event->key()) {
    case Qt::Key_Escape:
        Edit1->undo();
        Edit1->setModified(false);
        return true;
    case Qt::Key_Up:
        if (FItemIndex > 0)
            SetItemIndex(FItemIndex - 1);
        return true;
    case Qt::Key_Down:
        if (FItemIndex < Count() - 1)
            SetItemIndex(FItemIndex + 1);
        return true;
    case Qt::Key_PageUp:
        SetItemIndex(std::max(0, FItemIndex - page));
        return true;
    case Qt::Key_PageDown:
        SetItemIndex(std::min(Count() - 1, FItemIndex + page));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FItemIndex >= 0 && (GetType(FItemIndex) & paBit(paDialog))) {
            EditBtnClick();
        } else if (FItemIndex >= 0 && Edit1->isModified()) {
            Edit1->setModified(false);
            StoreValue(FItemIndex, Edit1->text());
        }
        Edit1->selectAll();
        return true;
    default:
        return false;
    }
}

void TkvlObjectInspector::keyPressEvent(QKeyEvent *Event)
{
    if (OnDesignerKey && OnDesignerKey(Event))
        return;
    TkvlDockForm::keyPressEvent(Event);
}

bool TkvlObjectInspector::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == Edit1) {
        switch (Event->type()) {
        case QEvent::KeyPress: {
            auto *k = static_cast<QKeyEvent *>(Event);
            if (Edit1Key(k))
                return true;
            // Edit shortcuts act on the edit box alone; other keys reach the designer.
            if (k->matches(QKeySequence::Cut) || k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste))
                return false;
            if ((k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && OnDesignerKey && OnDesignerKey(k))
                return true;
            return false;
        }
        case QEvent::MouseButtonPress:
            // The second press of a double click on a value lands here.
            if (ui::clock().TickCount() - FTickCount < QApplication::doubleClickInterval()) {
                FTickCount = -1000000;
                EditBtnClick();
                return true;
            }
            return false;
        case QEvent::MouseButtonDblClick:
            EditBtnClick();
            return true;
        default:
            return false;
        }
    }
    if (Watched == Box->viewport() && Event->type() == QEvent::Resize)
        FormResize();
    return TkvlDockForm::eventFilter(Watched, Event);
}

// ---- the grid ---------------------------------------------------------------------------

void TkvlObjectInspector::paintGrid(QPainter &Painter)
{
    Painter.fillRect(PB->rect(), rtl::ToQColor(FColor));
    if (FUpdatingPB || FDisableUpdate)
        return;
    Painter.setFont(PB->font());
    for (int i = 0; i < Count(); ++i)
        if (i != FItemIndex)
            drawOneLine(Painter, i, false);
    if (FItemIndex >= 0 && FItemIndex < Count())
        drawOneLine(Painter, FItemIndex, true);
}

void TkvlObjectInspector::drawOneLine(QPainter &Painter, int Index, bool Current)
{
    const Row &row = FRows[size_t(Index)];
    TkvlPropertyEditor *editor = row.Item->Editor.get();
    editor->ItemHeight = FRowHeight;
    const int offset = PB->logicalDpiX() > 96 ? 2 : 0;
    const int top = Index * FRowHeight;
    const int bottom = (Index + 1) * FRowHeight - 1;
    const QRect nameCell(0, top, FSplitterPos, FRowHeight - 1);
    const bool hasSub = row.Item->SubProperty != nullptr;
    int x = (hasSub ? offset + 1 : offset + 13) + row.Depth * (12 + offset);

    Painter.setPen(buttonFace());
    Painter.drawLine(0, bottom, PB->width(), bottom);
    if (Current)
        Painter.fillRect(nameCell, buttonFace());
    else
        Painter.drawLine(FSplitterPos - 1, top, FSplitterPos - 1, bottom);

    if (hasSub) {
        const int bx = x + 1;
        const int by = top + 3 + offset;
        Painter.setPen(QColor(128, 128, 128));
        Painter.setBrush(Qt::white);
        Painter.drawRect(bx, by, 8, 8);
        Painter.setPen(Qt::black);
        Painter.drawLine(bx + 2, by + 4, bx + 6, by + 4);
        if (!row.Item->Expanded)
            Painter.drawLine(bx + 4, by + 2, bx + 4, by + 6);
        Painter.setBrush(Qt::NoBrush);
        x += 12 + offset;
    }
    const QString name = editor->GetName();
    QFont f = PB->font();
    f.setBold(boldName(name, row.Depth));
    Painter.setFont(f);
    Painter.setPen(PB->palette().color(QPalette::WindowText));
    Painter.save();
    Painter.setClipRect(nameCell);
    Painter.drawText(QRect(x, top + 1, FSplitterPos - x, FRowHeight - 1), Qt::AlignLeft | Qt::AlignTop, name);
    Painter.restore();
    Painter.setFont(PB->font());
    if (Current)
        return;

    const QRect valueCell(FSplitterPos + 2, top + 1, PB->width() - FSplitterPos - 2, FRowHeight);
    if (editor->GetAttributes() & paBit(paOwnerDraw)) {
        gfx::PainterCanvas canvas(&Painter, 96, 96);
        canvas.setFont(canvasFont(PB->font(), kNavy));
        canvas.setBkMode(gfx::BkMode::Transparent);
        editor->OnDrawItem(canvas, valueCell);
    } else {
        Painter.setPen(QColor(0, 0, 128));
        Painter.drawText(valueCell, Qt::AlignLeft | Qt::AlignTop, editor->GetValue());
    }
}

void TkvlObjectInspector::gridPress(QMouseEvent *Event)
{
    if (Count() == 0 || Event->button() != Qt::LeftButton)
        return;
    const QPoint pos = Event->position().toPoint();
    if (pos.x() > FSplitterPos - 4 && pos.x() < FSplitterPos + 2) {
        FDown = true;
        return;
    }
    const int row = pos.y() / FRowHeight;
    if (row < 0 || row >= Count())
        return;
    TkvlPropertyEditor *editor = FRows[size_t(row)].Item->Editor.get();
    if (pos.x() >= FSplitterPos && pos.x() < FSplitterPos + 15
        && qstrcmp(editor->ClassName(), "TkvlBooleanProperty") == 0) {
        // The check box flips without making the row current.
        bool rebuilt;
        const bool changed = RunEdit(editor, rebuilt);
        if (!rebuilt && FItemIndex >= 0) {
            FUpdatingPB = true;
            AdjustControls();
        }
        PB->update();
        if (changed)
            DoModify();
        return;
    }
    SetItemIndex(row);
    Edit1->setFocus();
    FTickCount = ui::clock().TickCount();
    const int depth = GetOffset(row);
    FDisableDblClick = false;
    if (pos.x() > depth * 12 && pos.x() < depth * 12 + 13 && FRows[size_t(row)].Item->SubProperty) {
        TkvlPropertyItem *item = FRows[size_t(row)].Item;
        item->Expanded = !item->Expanded;
        FormResize();
        // The double click that follows must not fold the row up again.
        FDisableDblClick = true;
    }
}

void TkvlObjectInspector::gridMove(QMouseEvent *Event)
{
    const QPoint pos = Event->position().toPoint();
    if (FDown) {
        if (pos.x() > 30 && pos.x() < PB->width() - 30) {
            FSplitterPos = pos.x();
            FUpdatingPB = true;
            AdjustControls();
        }
        return;
    }
    FSplitCursor = pos.x() > FSplitterPos - 4 && pos.x() < FSplitterPos + 2;
    PB->setCursor(FSplitCursor ? Qt::SplitHCursor : Qt::ArrowCursor);
    const int row = pos.y() / FRowHeight;
    if (FSplitCursor || pos.x() <= 12 || row < 0 || row >= Count()) {
        QToolTip::hideText();
        return;
    }
    const QFontMetrics fm(PB->font());
    QString text;
    int available;
    QPoint anchor;
    const int depth = GetOffset(row);
    if (pos.x() > FSplitterPos - 4) {
        text = GetValue(row);
        available = row == FItemIndex ? 1000 : PB->width() - FSplitterPos;
        anchor = QPoint(FSplitterPos + 1, row * FRowHeight);
    } else {
        text = GetName(row);
        available = FSplitterPos - (depth * 12 + 12);
        anchor = QPoint(depth * 12 + 12, row * FRowHeight);
    }
    if (fm.horizontalAdvance(text) > available)
        QToolTip::showText(PB->mapToGlobal(anchor - QPoint(2, 2)), text, PB);
    else
        QToolTip::hideText();
}

void TkvlObjectInspector::gridRelease() { FDown = false; }

void TkvlObjectInspector::gridDoubleClick()
{
    if (FDisableDblClick) {
        FDisableDblClick = false;
        return;
    }
    TkvlPropertyItem *item = GetItem(FItemIndex);
    if (item && item->SubProperty) {
        item->Expanded = !item->Expanded;
        FormResize();
    }
}

void TkvlObjectInspector::gridWheel(QWheelEvent *Event)
{
    const int notches = Event->angleDelta().y() / 120;
    QScrollBar *bar = Box->verticalScrollBar();
    bar->setValue(bar->value() - notches * FRowHeight);
    Event->accept();
}

void TkvlObjectInspector::gridLeave() { QToolTip::hideText(); }
