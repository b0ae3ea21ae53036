// A record source bound through a data source or directly, the master link it reports, and
// blobs read from a real database into lines and streams.
#include "platform/data/datasource.h"
#include "platform/data/query.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/base/widestrings.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldbdataset.h"
#include "tests/dataset/memdataset.h"
#include "tests/dataset/tempdb.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

MemDataSet *oneRow(MemDataSet &ds, int id)
{
    ds.columns = {{QStringLiteral("ID"), TFieldType::ftInteger}};
    ds.rows = {{id}};
    return &ds;
}

TEST(DBSourceLinks, DataSetAndDataSourceExcludeEachOther)
{
    MemDataSet direct, viaSource;
    oneRow(direct, 1);
    oneRow(viaSource, 2);
    TDataSource source;
    source.SetDataSet(&viaSource);
    TkvlDBDataset src(nullptr);
    src.SetUserName(QStringLiteral("S"));
    auto idNow = [&] {
        src.Initialize();
        src.First();
        const int id = src.GetValue(QStringLiteral("ID")).toInt();
        src.Finalize();
        return id;
    };

    src.SetDataSet(&direct);
    EXPECT_EQ(idNow(), 1);
    src.SetDataSource(&source);
    EXPECT_EQ(src.DataSet(), nullptr);
    EXPECT_EQ(src.EffectiveDataSet(), &viaSource);
    EXPECT_EQ(idNow(), 2);
    src.SetDataSet(&direct);
    EXPECT_EQ(src.DataSource(), nullptr);
    EXPECT_EQ(idNow(), 1);

    // The source pointed at another dataset: the record source follows it.
    src.SetDataSource(&source);
    source.SetDataSet(&direct);
    EXPECT_EQ(src.EffectiveDataSet(), &direct);
    source.SetDataSet(nullptr);
    EXPECT_THROW(src.Initialize(), Exception);
}

TEST(DBSourceLinks, ADestroyedDataSourceOrItsDataSetIsForgotten)
{
    TkvlDBDataset src(nullptr);
    auto data = std::make_unique<MemDataSet>();
    oneRow(*data, 1);
    auto source = std::make_unique<TDataSource>();
    source->SetDataSet(data.get());
    src.SetDataSource(source.get());

    data.reset();
    EXPECT_EQ(src.EffectiveDataSet(), nullptr);
    EXPECT_EQ(src.DataSource(), source.get());
    source.reset();
    EXPECT_EQ(src.DataSource(), nullptr);
    EXPECT_THROW(src.Initialize(), Exception);
}

TEST(DBSourceLinks, HasMasterWhenTheDataSetIsADetail)
{
    MemDataSet plain;
    TQuery detail;
    TDataSource masterSource;
    masterSource.SetDataSet(&plain);
    TkvlDBDataset src(nullptr);

    src.SetDataSet(&plain);
    EXPECT_FALSE(src.IsHasMaster());
    src.SetDataSet(&detail);
    EXPECT_FALSE(src.IsHasMaster());
    detail.SetDataSource(&masterSource);
    EXPECT_TRUE(src.IsHasMaster());
    TDataSource detailSource;
    detailSource.SetDataSet(&detail);
    src.SetDataSource(&detailSource);
    EXPECT_TRUE(src.IsHasMaster());
}

TEST(DBSourceLinks, ReferencesAreStoredOnlyOutsideAReport)
{
    const rtl::PropInfo *prop = TkvlDBDataset::StaticClass()->findProp(u"DataSource");
    ASSERT_NE(prop, nullptr);
    TComponent form(nullptr);
    auto *onForm = new TkvlDBDataset(&form);
    TkvlReport report(nullptr);
    auto *inReport = new TkvlDBDataset(&report);
    EXPECT_TRUE(prop->isStored(onForm));
    EXPECT_FALSE(prop->isStored(inReport));
}

class DBSourceBlobs : public TempDbTest
{
protected:
    void SetUp() override
    {
        TempDbTest::SetUp();
        exec({"CREATE TABLE BLOBS (ID INTEGER NOT NULL PRIMARY KEY, DATA BLOB SUB_TYPE 0, NOTE BLOB SUB_TYPE 1)"});
    }
    void insert(int id, const QByteArray &data, const QString &note)
    {
        TQuery q(&conn);
        q.SetSQL(QStringLiteral("INSERT INTO BLOBS (ID, DATA, NOTE) VALUES (:ID, :DATA, :NOTE)"));
        q.ParamByName(QStringLiteral("ID")).SetAsInteger(id);
        q.ParamByName(QStringLiteral("DATA")).SetAsBytes(data);
        q.ParamByName(QStringLiteral("NOTE")).SetAsString(note);
        conn.RunInTransaction([&] { q.ExecSQL(); });
    }
};

TEST_F(DBSourceBlobs, IntoStreamsAndLines)
{
    const QByteArray binary("\x00\xff\x80\x01", 4);
    insert(1, binary, QStringLiteral("prima è\nseconda ✓"));
    insert(2, QByteArray("uno\r\ndue \xc3\xa8"), QString());  // UTF-8 text in a binary blob
    insert(3, QByteArray("caff\xe8"), QString());             // single-byte text
    TQuery q(&conn);
    q.SetSQL(QStringLiteral("SELECT ID, DATA, NOTE FROM BLOBS ORDER BY ID"));
    TkvlDBDataset src(nullptr);
    src.SetUserName(QStringLiteral("B"));
    src.SetDataSet(&q);
    src.Initialize();
    src.First();

    EXPECT_TRUE(src.IsBlobField(QStringLiteral("DATA")));
    EXPECT_TRUE(src.IsBlobField(QStringLiteral("NOTE")));
    EXPECT_FALSE(src.IsBlobField(QStringLiteral("ID")));

    TMemoryStream stream;
    src.AssignBlobTo(QStringLiteral("DATA"), stream);
    EXPECT_EQ(stream.Bytes(), binary);
    EXPECT_EQ(stream.Position(), 0);
    TMemoryStream text;
    src.AssignBlobTo(QStringLiteral("NOTE"), text);
    EXPECT_EQ(text.Bytes(), QStringLiteral("prima è\nseconda ✓").toUtf8());

    TkvlWideStrings lines;
    src.AssignBlobTo(QStringLiteral("NOTE"), lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(1), QStringLiteral("seconda ✓"));
    src.Next();
    src.AssignBlobTo(QStringLiteral("DATA"), lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(1), QStringLiteral("due è"));
    src.Next();
    src.AssignBlobTo(QStringLiteral("DATA"), lines);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Get(0), QStringLiteral("caffè"));
    src.Finalize();
}

} // namespace
