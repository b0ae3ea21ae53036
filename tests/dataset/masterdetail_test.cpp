// Detail queries that follow a master through a data source, and blobs, on a real database.
#include "platform/data/datasource.h"
#include "tempdb.h"

#include <memory>

namespace {

class MasterDetail : public TempDbTest
{
protected:
    void SetUp() override
    {
        TempDbTest::SetUp();
        exec({"CREATE TABLE MASTERS (CODE VARCHAR(30) NOT NULL PRIMARY KEY, NAME VARCHAR(30))",
              "CREATE TABLE DETAILS (ID INTEGER NOT NULL PRIMARY KEY, CODE VARCHAR(30))"});
        // The quoted codes must be matched as values, never read as SQL.
        const std::pair<const char *, std::vector<int>> rows[] = {
            {"A", {1, 2}}, {"B", {}}, {"O'Brien", {3}}, {"x' OR '1'='1", {4, 5}}};
        for (const auto &[code, ids] : rows) {
            TQuery q(&conn);
            q.SetSQL(QStringLiteral("INSERT INTO MASTERS (CODE) VALUES (:CODE)"));
            q.ParamByName(QStringLiteral("CODE")).SetAsString(QString::fromUtf8(code));
            conn.RunInTransaction([&] { q.ExecSQL(); });
            for (int id : ids) {
                q.SetSQL(QStringLiteral("INSERT INTO DETAILS (ID, CODE) VALUES (:ID, :CODE)"));
                q.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
                q.ParamByName(QStringLiteral("CODE")).SetAsString(QString::fromUtf8(code));
                conn.RunInTransaction([&] { q.ExecSQL(); });
            }
        }
        master.SetSQL(QStringLiteral("SELECT CODE, NAME FROM MASTERS ORDER BY CODE"));
        source.SetDataSet(&master);
        detail.SetSQL(QStringLiteral("SELECT ID, CODE FROM DETAILS WHERE CODE = :CODE ORDER BY ID"));
    }

    QString detailIds()
    {
        QStringList ids;
        for (int row = 0; row < detail.RecordCount(); ++row)
            ids << detail.DisplayTextAt(row, 0);
        return ids.join(QLatin1Char(','));
    }

    TQuery master{&conn};
    TDataSource source;
    TQuery detail{&conn};
};

TEST_F(MasterDetail, DetailRowsFollowTheMastersCurrentRecord)
{
    detail.SetDataSource(&source);
    EXPECT_EQ(detail.MasterSource(), &source);
    master.Open();
    detail.Open();

    QStringList seen;
    for (master.First(); !master.Eof(); master.Next())
        seen << master.FieldByName(QStringLiteral("CODE"))->AsString() + QLatin1Char('=') + detailIds();
    EXPECT_EQ(seen.join(QLatin1Char(' ')), QStringLiteral("A=1,2 B= O'Brien=3 x' OR '1'='1=4,5"));

    // Locate, a bookmark and a filter on the master move the detail as well.
    ASSERT_TRUE(master.Locate(QStringLiteral("CODE"), Variant(QStringLiteral("O'Brien"))));
    EXPECT_EQ(detailIds(), QStringLiteral("3"));
    master.SetFilter(QStringLiteral("CODE = 'A'"));
    master.SetFiltered(true);
    EXPECT_EQ(detailIds(), QStringLiteral("1,2"));
    master.SetFiltered(false);

    // A filter of the detail's own stays in force when it opens again for another record.
    detail.SetFilter(QStringLiteral("ID > 4"));
    detail.SetFiltered(true);
    ASSERT_TRUE(master.Locate(QStringLiteral("CODE"), Variant(QStringLiteral("x' OR '1'='1"))));
    EXPECT_EQ(detailIds(), QStringLiteral("5"));
}

TEST_F(MasterDetail, ADestroyedSourceIsForgotten)
{
    auto own = std::make_unique<TDataSource>();
    own->SetDataSet(&master);
    detail.SetDataSource(own.get());
    master.Open();
    detail.Open();
    EXPECT_EQ(detailIds(), QStringLiteral("1,2"));

    own.reset();
    EXPECT_EQ(detail.DataSource(), nullptr);
    EXPECT_EQ(detail.MasterSource(), nullptr);
    master.Last();
    EXPECT_EQ(detailIds(), QStringLiteral("1,2"));  // no longer follows
}

TEST_F(MasterDetail, ASourceForgetsItsDestroyedDataSet)
{
    auto other = std::make_unique<TQuery>(&conn);
    TDataSource s;
    s.SetDataSet(other.get());
    other.reset();
    EXPECT_EQ(s.DataSet(), nullptr);
}

class Blobs : public TempDbTest
{
protected:
    void SetUp() override
    {
        TempDbTest::SetUp();
        exec({"CREATE TABLE BLOBS (ID INTEGER NOT NULL PRIMARY KEY, DATA BLOB SUB_TYPE 0, NOTE BLOB SUB_TYPE 1)"});
    }
};

TEST_F(Blobs, BinaryAsBytesTextAsText)
{
    const QByteArray bytes("\x00\x01\xff\x80\xe8\x00z", 7);
    const QString text = QStringLiteral("città ✓\r\nseconda riga");
    TQuery ins(&conn);
    ins.SetSQL(QStringLiteral("INSERT INTO BLOBS (ID, DATA, NOTE) VALUES (1, :DATA, :NOTE)"));
    ins.ParamByName(QStringLiteral("DATA")).SetAsBytes(bytes);
    ins.ParamByName(QStringLiteral("NOTE")).SetAsString(text);
    conn.RunInTransaction([&] { ins.ExecSQL(); });

    TQuery q(&conn);
    q.KeyFields = QStringLiteral("ID");
    q.Open(QStringLiteral("SELECT ID, DATA, NOTE FROM BLOBS"));
    TField *data = q.FieldByName(QStringLiteral("DATA"));
    TField *note = q.FieldByName(QStringLiteral("NOTE"));
    EXPECT_EQ(data->DataType(), TFieldType::ftBlob);
    EXPECT_EQ(note->DataType(), TFieldType::ftMemo);
    EXPECT_TRUE(data->IsBlob() && note->IsBlob());
    EXPECT_EQ(data->AsBytes(), bytes);
    EXPECT_EQ(note->AsString(), text);
    EXPECT_EQ(note->AsBytes(), text.toUtf8());

    // Written back through the dataset, the bytes stay bytes.
    const QByteArray other("\xff\x00\xfe", 3);
    q.Edit();
    data->SetAsBytes(other);
    q.Post();
    TQuery check(&conn);
    check.Open(QStringLiteral("SELECT DATA FROM BLOBS WHERE ID = 1"));
    EXPECT_EQ(check.Fields(0)->AsBytes(), other);
}

} // namespace
