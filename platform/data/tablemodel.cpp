#include "platform/data/tablemodel.h"

TDataSetTableModel::TDataSetTableModel(TDataSet *dataSet, QObject *parent) : QAbstractTableModel(parent)
{
    SetDataSet(dataSet);
}

TDataSetTableModel::~TDataSetTableModel()
{
    if (m_ds)
        m_ds->RemoveObserver(this);
}

void TDataSetTableModel::SetDataSet(TDataSet *ds)
{
    if (ds == m_ds)
        return;
    beginResetModel();
    if (m_ds)
        m_ds->RemoveObserver(this);
    m_ds = ds;
    if (m_ds)
        m_ds->AddObserver(this);
    endResetModel();
}

int TDataSetTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_ds || !m_ds->Active() || m_resetting)
        return 0;
    return m_ds->RecordCount();
}

int TDataSetTableModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_ds || m_resetting)
        return 0;
    return m_ds->FieldCount();
}

QVariant TDataSetTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_ds || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_ds->DisplayTextAt(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_ds->Fields(index.column())->Alignment());
    default:
        return QVariant();
    }
}

QVariant TDataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !m_ds || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_ds->Fields(section)->DisplayLabel();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_ds->Fields(section)->Alignment());
    return QVariant();
}

int TDataSetTableModel::ColumnOf(const QString &fieldName) const
{
    if (!m_ds)
        return -1;
    const TField *f = m_ds->FindField(fieldName);
    return f ? f->Index() : -1;
}

void TDataSetTableModel::SetCurrentRow(int row)
{
    if (!m_ds || !m_ds->Active() || row < 0 || row >= m_ds->RecordCount() || row == m_ds->CurrentRow())
        return;
    // Leaving a row being edited stores it first (a refused store raises and the row stays).
    if (m_ds->State() != TDataSetState::dsBrowse) {
        m_ds->Post();
        if (m_ds->State() != TDataSetState::dsBrowse || row >= m_ds->RecordCount())
            return;
    }
    m_ds->SetRecNo(row + 1);
}

void TDataSetTableModel::Reset()
{
    beginResetModel();
    endResetModel();
    Q_EMIT CurrentRowChanged(m_ds ? m_ds->CurrentRow() : -1);
}

void TDataSetTableModel::DataSetAfterOpen(TDataSet &) { Reset(); }

void TDataSetTableModel::DataSetBeforeClose(TDataSet &)
{
    // The rows go away right after this call: the views must forget them first.
    beginResetModel();
    m_resetting = true;
    endResetModel();
    m_resetting = false;
}

void TDataSetTableModel::DataSetDestroying(TDataSet &)
{
    beginResetModel();
    m_ds = nullptr;
    endResetModel();
}

void TDataSetTableModel::DataSetChanged(TDataSet &) { Reset(); }

void TDataSetTableModel::DataSetRecordChanged(TDataSet &, int row)
{
    Q_EMIT dataChanged(index(row, 0), index(row, qMax(0, columnCount() - 1)));
}

void TDataSetTableModel::DataSetScrolled(TDataSet &ds) { Q_EMIT CurrentRowChanged(ds.CurrentRow()); }
