#pragma once
// A line edit bound to one field of a dataset: it shows the field of the current row, and
// typing puts the dataset into Edit (Insert when it has no rows) and writes the text into the
// field, so the navigator's Post stores it; Enter stores it as well.
#include "platform/data/dataset.h"

#include <QLineEdit>

class TDBEdit : public QLineEdit, private TDataSetObserver
{
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);
    ~TDBEdit() override;

    void SetDataSet(TDataSet *ds);
    TDataSet *DataSet() const { return FDataSet; }
    void SetDataField(const QString &name);
    QString DataField() const { return FDataField; }
    // The bound field, nullptr when the dataset is closed or lacks it.
    TField *Field() const;

    // Shows the field's value again.
    void DataChange();

private:
    void DataSetAfterOpen(TDataSet &) override { DataChange(); }
    void DataSetBeforeClose(TDataSet &) override;
    void DataSetDestroying(TDataSet &) override;
    void DataSetChanged(TDataSet &) override { DataChange(); }
    void DataSetRecordChanged(TDataSet &, int) override { DataChange(); }
    void DataSetScrolled(TDataSet &) override { DataChange(); }
    void UserEdited(const QString &text);
    void keyPressEvent(QKeyEvent *e) override;

    TDataSet *FDataSet = nullptr;
    QString FDataField;
    bool FWriting = false;
};
