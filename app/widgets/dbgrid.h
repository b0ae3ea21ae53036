#pragma once
// Read-only grid over a dataset: columns of its own (field, title, width, visibility), whole-row
// selection that stays visible without focus, optional multi-row selection kept as bookmarks
// (so it survives refreshes and filters), alternate rows in the 3-D light colour, clickable
// titles with a bold title and an arrow for the sorted column, and a hook through which a
// window colours single cells.
#include "platform/data/dataset.h"

#include <QColor>
#include <QList>
#include <QSet>
#include <QTableView>
#include <functional>

class QDialog;
class TDBGridModel;
class TDataSetTableModel;

struct TGridColumn
{
    QString FieldName;
    QString Title;                                           // empty: the field name
    Qt::Alignment TitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment Alignment = {};                            // empty: the field's own
    int Width = 64;
    bool Visible = true;
    bool TitleBold = false;

    QString Caption() const { return Title.isEmpty() ? FieldName : Title; }
};

// Colours of one cell; a window's hook may change them.
struct TGridCellStyle
{
    QColor Background;
    QColor Text;
    bool Selected = false;
};

class TDBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TDBGrid(QWidget *parent = nullptr);
    ~TDBGrid() override;

    void SetDataSet(TDataSet *ds);
    TDataSet *DataSet() const;

    // --- columns
    TGridColumn &AddColumn(const QString &fieldName, const QString &title = QString());
    int ColumnCount() const { return int(FColumns.size()); }
    const TGridColumn &Column(int i) const { return FColumns[i]; }
    void SetColumnWidth(int i, int width);
    void SetColumnVisible(int i, bool visible);
    void SetTitleBold(int i, bool bold);
    // Grid column of a field, -1 when none.
    int ColumnOfField(const QString &fieldName) const;
    // Width the view gives the column now (0 when hidden).
    int ShownColumnWidth(int i) const;

    // --- rows
    // Rows shown (the dataset's view), and the dataset's current row (-1 when none).
    int RowCount() const;
    int CurrentRow() const;
    // Display text of a cell as shown.
    QString CellText(int row, int column) const;

    // --- multi-row selection (bookmarks of the dataset)
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool on);
    QList<TBookmark> SelectedRows() const; // in the order of the view
    int SelectedCount() const;
    bool RowSelected(int row) const;
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool on);
    void SelectAllRows();
    void ClearSelection();

    // --- sorting: the title-click rule of every grid of the program. Only when the dataset has
    // rows: every title loses bold; a column sorted descending ("FIELD:D") becomes ascending,
    // anything else descending; the clicked title becomes bold.
    void SortByTitle(int column);

    // Called for every cell before it is drawn; row is the row of the dataset's view.
    std::function<void(TGridCellStyle &style, int row, int column)> OnCellStyle;
    // The column chooser: one check box per column; at least one must stay ticked.
    QDialog *CreateColumnChooser();

    static constexpr int kRowHeight = 20;

Q_SIGNALS:
    void TitleClick(int column);
    void GridDblClick();
    void GridKeyUp();
    void GridMouseUp();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;

private:
    friend class TDBGridDelegate;
    void ApplyColumns();
    void UpdateSortIndicator();
    void FollowDataSetRow(int row);
    void ViewCurrentChanged(const QModelIndex &current);
    TGridCellStyle StyleOf(int row, int column, bool highlighted) const;

    QList<TGridColumn> FColumns;
    TDataSetTableModel *FSource = nullptr;
    TDBGridModel *FModel = nullptr;
    bool FMultiSelect = false;
    QSet<qint64> FSelected;
    int FAnchorRow = -1;
    bool FSyncing = false;
};
