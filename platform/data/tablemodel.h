#pragma once
// Table model over a dataset for the grids: one row per row of the view (filtered and sorted),
// one column per field. The dataset stays the owner of the rows and of the current row.
#include "platform/data/dataset.h"

#include <QAbstractTableModel>

class TDataSetTableModel : public QAbstractTableModel, private TDataSetObserver
{
    Q_OBJECT
public:
    explicit TDataSetTableModel(TDataSet *dataSet = nullptr, QObject *parent = nullptr);
    ~TDataSetTableModel() override;

    TDataSet *DataSet() const { return m_ds; }
    void SetDataSet(TDataSet *ds);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Column of a field by name, -1 when missing.
    int ColumnOf(const QString &fieldName) const;
    // Makes row the dataset's current row.
    void SetCurrentRow(int row);

Q_SIGNALS:
    // The dataset's current row moved (view position, -1 when empty).
    void CurrentRowChanged(int row);

private:
    void DataSetAfterOpen(TDataSet &) override;
    void DataSetBeforeClose(TDataSet &) override;
    void DataSetDestroying(TDataSet &) override;
    void DataSetChanged(TDataSet &) override;
    void DataSetRecordChanged(TDataSet &, int row) override;
    void DataSetScrolled(TDataSet &) override;
    void Reset();

    TDataSet *m_ds = nullptr;
    bool m_resetting = false;
};
