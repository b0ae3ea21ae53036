// The grid model follows the dataset: rows of the view, display text, alignment, current row.
#include "memdataset.h"
#include "platform/data/tablemodel.h"

#include <gtest/gtest.h>

namespace {

TEST(TableModel, FollowsFilterSortEditsAndClose)
{
    MemDataSet ds;
    ds.KeyFields = QStringLiteral("ID");
    ds.columns = {{QStringLiteral("ID"), TFieldType::ftInteger}, {QStringLiteral("TITLE"), TFieldType::ftString}};
    ds.rows = {{1, "b"}, {2, "a"}, {3, "c"}};
    TDataSetTableModel model(&ds);
    EXPECT_EQ(model.rowCount(), 0);

    ds.Open();
    ds.FieldByName(QStringLiteral("ID"))->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    ds.FieldByName(QStringLiteral("TITLE"))->SetDisplayLabel(QStringLiteral("Titolo"));
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Titolo"));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);

    int resets = 0, lastCurrent = -2;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&model, &TDataSetTableModel::CurrentRowChanged, [&](int row) { lastCurrent = row; });
    ds.SetIndexFieldNames(QStringLiteral("TITLE:D"));
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("c"));
    ds.SetFilter(QStringLiteral("ID <> 3"));
    ds.SetFiltered(true);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("2"));

    // The grid moves the dataset, the dataset tells the grid.
    model.SetCurrentRow(1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
    EXPECT_EQ(lastCurrent, 1);

    ds.Edit();
    ds.FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("z"));
    ds.Post();
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("z")); // re-sorted to the top
    EXPECT_EQ(model.rowCount(), 2);

    ds.Close();
    EXPECT_EQ(model.rowCount(), 0);
    {
        MemDataSet other;
        other.columns = ds.columns;
        other.rows = ds.rows;
        other.Open();
        model.SetDataSet(&other);
        EXPECT_EQ(model.rowCount(), 3);
    }
    // The dataset is gone: the model is empty, not dangling.
    EXPECT_EQ(model.DataSet(), nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
