#pragma once
// Buttons that move through and change a dataset: first, prior, next, last, insert, delete,
// edit, post, cancel, refresh. Each enables itself by the dataset's state; Click is emitted
// after the button has acted (not when its action failed).
#include "platform/data/dataset.h"

#include <QWidget>
#include <array>

class QToolButton;

enum class TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
constexpr int kNavigateBtnCount = 10;

class TDBNavigator : public QWidget, private TDataSetObserver
{
    Q_OBJECT
public:
    explicit TDBNavigator(QWidget *parent = nullptr);
    ~TDBNavigator() override;

    void SetDataSet(TDataSet *ds);
    TDataSet *DataSet() const { return FDataSet; }

    void SetVisibleButtons(std::initializer_list<TNavigateBtn> buttons);
    bool ButtonVisible(TNavigateBtn b) const;
    QToolButton *Button(TNavigateBtn b) const { return FButtons[size_t(b)]; }

    // Presses a button as the user does.
    void BtnClick(TNavigateBtn b);
    // Enables the buttons by the dataset's state.
    void UpdateButtons();

Q_SIGNALS:
    void Click(TNavigateBtn button);

protected:
    void changeEvent(QEvent *e) override;

private:
    void DataSetAfterOpen(TDataSet &) override { UpdateButtons(); }
    void DataSetBeforeClose(TDataSet &) override { UpdateButtons(); }
    void DataSetDestroying(TDataSet &) override;
    void DataSetChanged(TDataSet &) override { UpdateButtons(); }
    void DataSetRecordChanged(TDataSet &, int) override { UpdateButtons(); }
    void DataSetScrolled(TDataSet &) override { UpdateButtons(); }
    void DataSetStateChanged(TDataSet &) override { UpdateButtons(); }

    TDataSet *FDataSet = nullptr;
    std::array<QToolButton *, kNavigateBtnCount> FButtons{};
};
