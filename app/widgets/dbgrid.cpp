#include "app/widgets/dbgrid.h"

#include "app/widgets/guard.h"
#include "platform/data/tablemodel.h"
#include "platform/rtl/color.h"
#include "platform/ui/messages.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionHeaderV2>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

// Maps the grid's columns onto the fields of the dataset model.
class TDBGridModel final : public QAbstractTableModel
{
public:
    TDBGridModel(TDBGrid *grid, TDataSetTableModel *source) : QAbstractTableModel(grid), FGrid(grid), FSource(source)
    {
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] {
            ResolveFields();
            endResetModel();
        });
        connect(source, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &tl, const QModelIndex &br) {
            if (columnCount() > 0)
                Q_EMIT dataChanged(index(tl.row(), 0), index(br.row(), columnCount() - 1));
        });
    }

    void ColumnsChanged()
    {
        beginResetModel();
        ResolveFields();
        endResetModel();
    }
    void TitlesChanged()
    {
        if (columnCount() > 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
    int FieldOf(int column) const { return column >= 0 && column < int(FFields.size()) ? FFields[size_t(column)] : -1; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : FSource->rowCount();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : FGrid->ColumnCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const TDataSet *ds = FSource->DataSet();
        const int f = FieldOf(index.column());
        if (!ds || f < 0 || f >= ds->FieldCount())
            return QVariant();
        switch (role) {
        case Qt::DisplayRole:
            return ds->DisplayTextAt(index.row(), f);
        case Qt::TextAlignmentRole: {
            const Qt::Alignment a = FGrid->Column(index.column()).Alignment;
            return QVariant::fromValue(a ? a : ds->Fields(f)->Alignment());
        }
        default:
            return QVariant();
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= FGrid->ColumnCount())
            return QVariant();
        const TGridColumn &c = FGrid->Column(section);
        switch (role) {
        case Qt::DisplayRole:
            return c.Caption();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(c.TitleAlignment);
        default:
            return QVariant();
        }
    }

private:
    void ResolveFields()
    {
        FFields.clear();
        const TDataSet *ds = FSource->DataSet();
        for (int i = 0; i < FGrid->ColumnCount(); ++i) {
            const TField *f = ds ? ds->FindField(FGrid->Column(i).FieldName) : nullptr;
            FFields.push_back(f ? f->Index() : -1);
        }
    }

    TDBGrid *FGrid;
    TDataSetTableModel *FSource;
    std::vector<int> FFields;
};

class TDBGridDelegate final : public QStyledItemDelegate
{
public:
    explicit TDBGridDelegate(TDBGrid *grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int row = index.row();
        const bool highlighted = row == FGrid->CurrentRow() || FGrid->RowSelected(row);
        const TGridCellStyle st = FGrid->StyleOf(row, index.column(), highlighted);
        p->save();
        p->fillRect(option.rect, st.Background);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const Qt::Alignment align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
            const QRect r = option.rect.adjusted(3, 0, -3, 0);
            p->setFont(option.font);
            p->setPen(st.Text);
            p->drawText(r, int(align ? align : (Qt::AlignLeft | Qt::AlignVCenter)),
                        option.fontMetrics.elidedText(text, Qt::ElideRight, r.width()));
        }
        p->restore();
    }

private:
    TDBGrid *FGrid;
};

// Draws the title of the sorted column in bold.
class TDBGridHeader final : public QHeaderView
{
public:
    explicit TDBGridHeader(TDBGrid *grid) : QHeaderView(Qt::Horizontal, grid), FGrid(grid) {}

protected:
    void paintSection(QPainter *p, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        // The style draws the section and its arrow; the caption is drawn here, in bold for
        // the sorted column (the styles take no font per section).
        QStyleOptionHeaderV2 opt;
        initStyleOption(&opt);
        initStyleOptionForIndex(&opt, logicalIndex);
        opt.rect = rect;
        const QString text = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
        opt.text.clear();
        p->save();
        style()->drawControl(QStyle::CE_Header, &opt, p, this);
        p->restore(); // the style may leave a clip behind
        p->save();
        p->setClipRect(rect);
        QFont f = font();
        // A style name inherited from the desktop's font ("Regular", "Book") would win over the weight.
        f.setStyleName(QString());
        const bool bold = logicalIndex >= 0 && logicalIndex < FGrid->ColumnCount() && FGrid->Column(logicalIndex).TitleBold;
        f.setBold(bold);
        p->setFont(f);
        p->setPen(palette().color(QPalette::ButtonText));
        QRect r = style()->subElementRect(QStyle::SE_HeaderLabel, &opt, this);
        if (opt.sortIndicator != QStyleOptionHeader::None) {
            const QRect arrow = style()->subElementRect(QStyle::SE_HeaderArrow, &opt, this);
            if (arrow.isValid() && arrow.left() > r.left())
                r.setRight(qMin(r.right(), arrow.left() - 2));
        }
        const QFontMetrics fm(f);
        const QString shown = fm.elidedText(text, Qt::ElideRight, r.width());
        p->drawText(r, int(opt.textAlignment), shown);
        // The bold face of the default font (Tahoma) is hardly heavier than its regular one at
        // title sizes: a second pass one pixel to the right makes the sorted title stand out.
        if (bold)
            p->drawText(r.translated(1, 0), int(opt.textAlignment), shown);
        p->restore();
    }

private:
    TDBGrid *FGrid;
};

TDBGrid::TDBGrid(QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new TDBGridHeader(this));
    FSource = new TDataSetTableModel(nullptr, this);
    FModel = new TDBGridModel(this, FSource);
    setModel(FModel);
    setItemDelegate(new TDBGridDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    setTabKeyNavigation(false);

    QHeaderView *v = verticalHeader();
    v->hide();
    v->setMinimumSectionSize(1);
    v->setDefaultSectionSize(kRowHeight);
    v->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView *h = horizontalHeader();
    h->setFixedHeight(kRowHeight);
    h->setMinimumSectionSize(0);
    h->setSectionsClickable(true);
    h->setHighlightSections(false);
    h->setSortIndicatorShown(true);
    h->setSortIndicatorClearable(true);
    h->setStretchLastSection(false);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setMouseTracking(true); // hot-tracked titles
    // The column chooser opens from the title row.
    h->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(h, &QWidget::customContextMenuRequested, this, [this] {
        QDialog *d = CreateColumnChooser();
        d->setAttribute(Qt::WA_DeleteOnClose);
        d->open();
    });

    connect(h, &QHeaderView::sectionClicked, this, [this](int section) {
        RunGuarded([&] { Q_EMIT TitleClick(section); });
        // The header flips its arrow on a click; what the dataset is sorted by decides.
        UpdateSortIndicator();
    });
    connect(h, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!FSyncing && section >= 0 && section < FColumns.size() && !isColumnHidden(section))
            FColumns[section].Width = size;
    });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] {
        ApplyColumns();
        UpdateSortIndicator();
    });
    connect(FSource, &TDataSetTableModel::CurrentRowChanged, this, [this](int row) { FollowDataSetRow(row); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { ViewCurrentChanged(current); });
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::SetDataSet(TDataSet *ds)
{
    FSelected.clear();
    FSource->SetDataSet(ds);
    FollowDataSetRow(ds ? ds->CurrentRow() : -1);
}

TDataSet *TDBGrid::DataSet() const
{
    return FSource->DataSet();
}

TGridColumn &TDBGrid::AddColumn(const QString &fieldName, const QString &title)
{
    TGridColumn c;
    c.FieldName = fieldName;
    c.Title = title;
    FColumns.append(c);
    FModel->ColumnsChanged();
    return FColumns.last();
}

void TDBGrid::SetColumnWidth(int i, int width)
{
    if (i < 0 || i >= FColumns.size())
        return;
    FColumns[i].Width = qMax(0, width);
    ApplyColumns();
}

void TDBGrid::SetColumnVisible(int i, bool visible)
{
    if (i < 0 || i >= FColumns.size())
        return;
    FColumns[i].Visible = visible;
    ApplyColumns();
}

void TDBGrid::SetTitleBold(int i, bool bold)
{
    if (i < 0 || i >= FColumns.size())
        return;
    FColumns[i].TitleBold = bold;
    FModel->TitlesChanged();
}

int TDBGrid::ColumnOfField(const QString &fieldName) const
{
    for (int i = 0; i < FColumns.size(); ++i)
        if (FColumns[i].FieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TDBGrid::ShownColumnWidth(int i) const
{
    return isColumnHidden(i) ? 0 : columnWidth(i);
}

int TDBGrid::RowCount() const
{
    return FModel->rowCount();
}

int TDBGrid::CurrentRow() const
{
    const TDataSet *ds = DataSet();
    return ds && ds->Active() ? ds->CurrentRow() : -1;
}

QString TDBGrid::CellText(int row, int column) const
{
    return FModel->index(row, column).data().toString();
}

void TDBGrid::ApplyColumns()
{
    const bool was = FSyncing;
    FSyncing = true;
    for (int i = 0; i < FColumns.size() && i < FModel->columnCount(); ++i) {
        const TGridColumn &c = FColumns[i];
        setColumnHidden(i, !c.Visible);
        if (c.Visible)
            setColumnWidth(i, c.Width);
    }
    FSyncing = was;
}

void TDBGrid::UpdateSortIndicator()
{
    QHeaderView *h = horizontalHeader();
    const TDataSet *ds = DataSet();
    const QString spec = ds ? ds->IndexFieldNames() : QString();
    const QString first = spec.section(QLatin1Char(';'), 0, 0).trimmed();
    const QString field = first.section(QLatin1Char(':'), 0, 0).trimmed();
    const bool desc = first.section(QLatin1Char(':'), 1, 1).trimmed().compare(QLatin1String("D"), Qt::CaseInsensitive) == 0;
    const int col = field.isEmpty() ? -1 : ColumnOfField(field);
    const QSignalBlocker block(h);
    h->setSortIndicator(col, desc ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TDBGrid::FollowDataSetRow(int row)
{
    const bool was = FSyncing;
    FSyncing = true;
    if (row < 0 || row >= FModel->rowCount()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        int col = 0;
        while (col < FModel->columnCount() - 1 && isColumnHidden(col))
            ++col;
        const QModelIndex idx = FModel->index(row, col);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
        scrollTo(idx);
    }
    FSyncing = was;
    viewport()->update();
}

void TDBGrid::ViewCurrentChanged(const QModelIndex &current)
{
    if (FSyncing || !current.isValid())
        return;
    RunGuarded([&] { FSource->SetCurrentRow(current.row()); });
    viewport()->update();
}

TGridCellStyle TDBGrid::StyleOf(int row, int column, bool highlighted) const
{
    TGridCellStyle st;
    st.Selected = highlighted;
    if (highlighted) {
        st.Background = rtl::ToQColor(clHighlight);
        st.Text = rtl::ToQColor(clHighlightText);
    } else {
        st.Background = rtl::ToQColor(row % 2 ? cl3DLight : clWindow);
        st.Text = rtl::ToQColor(clWindowText);
    }
    if (OnCellStyle)
        OnCellStyle(st, row, column);
    return st;
}

// ---------------------------------------------------------------- selection

void TDBGrid::SetMultiSelect(bool on)
{
    FMultiSelect = on;
    if (!on)
        ClearSelection();
}

bool TDBGrid::RowSelected(int row) const
{
    if (FSelected.isEmpty())
        return false;
    const TDataSet *ds = DataSet();
    const TBookmark bm = ds ? ds->BookmarkAt(row) : TBookmark();
    return !bm.IsNull() && FSelected.contains(bm.id);
}

QList<TBookmark> TDBGrid::SelectedRows() const
{
    QList<TBookmark> out;
    const TDataSet *ds = DataSet();
    if (!ds || FSelected.isEmpty())
        return out;
    for (int r = 0, n = ds->RecordCount(); r < n; ++r) {
        const TBookmark bm = ds->BookmarkAt(r);
        if (FSelected.contains(bm.id))
            out.append(bm);
    }
    return out;
}

int TDBGrid::SelectedCount() const
{
    return int(SelectedRows().size());
}

bool TDBGrid::CurrentRowSelected() const
{
    return RowSelected(CurrentRow());
}

void TDBGrid::SetCurrentRowSelected(bool on)
{
    const TDataSet *ds = DataSet();
    const TBookmark bm = ds ? ds->BookmarkAt(ds->CurrentRow()) : TBookmark();
    if (bm.IsNull())
        return;
    if (on)
        FSelected.insert(bm.id);
    else
        FSelected.remove(bm.id);
    viewport()->update();
}

void TDBGrid::SelectAllRows()
{
    const TDataSet *ds = DataSet();
    if (!ds)
        return;
    for (int r = 0, n = ds->RecordCount(); r < n; ++r)
        FSelected.insert(ds->BookmarkAt(r).id);
    viewport()->update();
}

void TDBGrid::ClearSelection()
{
    FSelected.clear();
    FAnchorRow = -1;
    viewport()->update();
}

// ---------------------------------------------------------------- sorting

void TDBGrid::SortByTitle(int column)
{
    TDataSet *ds = DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || column < 0 || column >= FColumns.size())
        return;
    for (TGridColumn &c : FColumns)
        c.TitleBold = false;
    const QString name = FColumns[column].FieldName;
    const QString desc = name + QLatin1String(":D");
    ds->SetIndexFieldNames(ds->IndexFieldNames() == desc ? name : desc);
    FColumns[column].TitleBold = true;
    FModel->TitlesChanged();
    UpdateSortIndicator();
}

// ---------------------------------------------------------------- input

void TDBGrid::mousePressEvent(QMouseEvent *e)
{
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (FMultiSelect && idx.isValid() && e->button() == Qt::LeftButton) {
        const TDataSet *ds = DataSet();
        const int row = idx.row();
        if (ds && (e->modifiers() & Qt::ControlModifier)) {
            const qint64 id = ds->BookmarkAt(row).id;
            if (!FSelected.remove(id))
                FSelected.insert(id);
            FAnchorRow = row;
        } else if (ds && (e->modifiers() & Qt::ShiftModifier) && FAnchorRow >= 0) {
            for (int r = qMin(FAnchorRow, row); r <= qMax(FAnchorRow, row); ++r)
                FSelected.insert(ds->BookmarkAt(r).id);
        } else {
            FSelected.clear();
            FAnchorRow = row;
        }
    }
    QTableView::mousePressEvent(e);
    viewport()->update();
}

void TDBGrid::mouseReleaseEvent(QMouseEvent *e)
{
    QTableView::mouseReleaseEvent(e);
    RunGuarded([&] { Q_EMIT GridMouseUp(); });
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableView::mouseDoubleClickEvent(e);
    RunGuarded([&] { Q_EMIT GridDblClick(); });
}

void TDBGrid::keyReleaseEvent(QKeyEvent *e)
{
    QTableView::keyReleaseEvent(e);
    if (!e->isAutoRepeat())
        RunGuarded([&] { Q_EMIT GridKeyUp(); });
}

QDialog *TDBGrid::CreateColumnChooser()
{
    auto *d = new QDialog(this);
    d->setObjectName(QStringLiteral("ColumnChooser"));
    d->setWindowTitle(QStringLiteral("Mostra/nascondi colonne"));
    auto *lay = new QVBoxLayout(d);
    QList<QCheckBox *> boxes;
    for (int i = 0; i < FColumns.size(); ++i) {
        auto *cb = new QCheckBox(FColumns[i].Caption(), d);
        cb->setChecked(FColumns[i].Visible);
        lay->addWidget(cb);
        boxes.append(cb);
    }
    auto *buttons = new QDialogButtonBox(d);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OK"));
    lay->addWidget(buttons);
    connect(ok, &QPushButton::clicked, d, [this, d, boxes] {
        bool any = false;
        for (QCheckBox *cb : boxes)
            any = any || cb->isChecked();
        if (!any) {
            ui::ShowMessage(QStringLiteral("Almeno una colonna deve essere visibile"));
            return;
        }
        for (int i = 0; i < boxes.size() && i < FColumns.size(); ++i)
            FColumns[i].Visible = boxes[i]->isChecked();
        ApplyColumns();
        d->accept();
    });
    return d;
}
