// A record source over a dataset held in memory: aliases, values, display texts, blobs,
// ranges that start or end at the host's record, and the dataset's own life.
#include "platform/rtl/stream.h"
#include "report/base/widestrings.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "tests/dataset/memdataset.h"

#include <gtest/gtest.h>

namespace {

class DBSource : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Name = QStringLiteral("EVENTS");
        data.columns = {{QStringLiteral("ID"), TFieldType::ftInteger},
                        {QStringLiteral("TITLE"), TFieldType::ftString},
                        {QStringLiteral("START_EVENT"), TFieldType::ftDateTime},
                        {QStringLiteral("PRICE"), TFieldType::ftFMTBcd},
                        {QStringLiteral("NOTE"), TFieldType::ftMemo},
                        {QStringLiteral("DONE"), TFieldType::ftBoolean}};
        data.rows = {
            {1, "Riunione", Variant::fromDate(dayOf(2026, 9, 10, 9)), 12.5, "prima\r\nseconda", true},
            {2, "Cena", Variant::fromDate(dayOf(2026, 9, 11)), Variant::null(), Variant::null(), false},
            {3, "Assemblea", Variant::fromDate(dayOf(2026, 9, 9)), 3.25, "x", false},
            {4, "Zeta", Variant::fromDate(dayOf(2026, 9, 12)), 1.0, "", true},
        };
        src = new TkvlDBDataset(&report);
        src->SetName(QStringLiteral("fEVENTS"));
        src->SetUserName(QStringLiteral("EVENTS"));
        src->SetDataSet(&data);
        report.CurObject = QStringLiteral("Memo1");
    }

    void alias(std::initializer_list<const char *> lines)
    {
        for (const char *l : lines)
            src->FieldAliases().Add(QString::fromLatin1(l));
    }
    // Runs the source as a report does and lists one field's values in the order given.
    QStringList run(const char *field)
    {
        report.DataSets()->Clear();
        report.DataSets()->Add(src);
        report.DataSets()->Initialize();
        QStringList out;
        for (src->First(); !src->Eof(); src->Next())
            out << src->GetValue(QString::fromLatin1(field)).toString();
        report.DataSets()->Finalize();
        return out;
    }
    int hostId() { return data.FieldByName(QStringLiteral("ID"))->AsInteger(); }

    TkvlReport report{nullptr};
    MemDataSet data;
    TkvlDBDataset *src = nullptr;
};

TEST_F(DBSource, AliasesNameAndHideFields)
{
    QStringList names;
    auto fields = [this] {
        TStringList l;
        src->GetFieldList(l);
        return l.toQStringList();
    };
    EXPECT_TRUE(fields().isEmpty());  // nothing known before the dataset opens
    data.Open();
    EXPECT_EQ(fields().join(QLatin1Char(',')), QLatin1String("ID,TITLE,START_EVENT,PRICE,NOTE,DONE"));
    alias({"ID=ID", "-NOTE=NOTE", "TITLE=Titolo"});
    EXPECT_EQ(fields().join(QLatin1Char(',')), QLatin1String("ID,Titolo"));
    EXPECT_EQ(src->FieldsCount(), 2);
    EXPECT_EQ(src->GetAlias(QStringLiteral("title")), QLatin1String("Titolo"));
    EXPECT_EQ(src->ConvertAlias(QStringLiteral("TITOLO")), QLatin1String("TITLE"));
    EXPECT_EQ(src->ConvertAlias(QStringLiteral("Other")), QLatin1String("Other"));
    EXPECT_EQ(run("titolo"), (QStringList{"Riunione", "Cena", "Assemblea", "Zeta"}));
}

TEST_F(DBSource, MissingAndHiddenFieldsReadAsNullAndAreListed)
{
    // An alias naming a field the dataset lacks behaves as a missing field.
    alias({"ID=ID", "-NOTE=NOTE", "GHOST=GHOST"});
    report.DataSets()->Add(src);
    report.DataSets()->Initialize();
    src->First();
    EXPECT_EQ(src->GetValue(QStringLiteral("id")).toInt(), 1);
    EXPECT_TRUE(src->GetValue(QStringLiteral("GHOST")).isNull());
    EXPECT_TRUE(src->GetValue(QStringLiteral("NOTE")).isNull());
    const QString text = QString::fromUtf8("Campo non trovato: EVENTS.\"GHOST\"");
    EXPECT_EQ(src->GetDisplayText(QStringLiteral("GHOST")), text);
    // The report lists each problem once, sorted.
    EXPECT_EQ(report.Errors().toQStringList(),
              (QStringList{QStringLiteral("Memo1: ") + text,
                           QString::fromUtf8("Memo1: Campo non trovato: EVENTS.\"NOTE\"")}));
    EXPECT_FALSE(src->IsBlobField(QStringLiteral("GHOST")));
    EXPECT_EQ(src->GetFieldType(QStringLiteral("GHOST")), fftNumeric);
    EXPECT_EQ(src->GetDisplayWidth(QStringLiteral("GHOST")), 10);
    report.DataSets()->Finalize();
}

TEST_F(DBSource, ValuesTypesAndDisplayTexts)
{
    // An inactive source shows where its values will come from, and lists nothing.
    EXPECT_EQ(src->GetDisplayText(QStringLiteral("TITLE")), QLatin1String("EVENTS.\"TITLE\""));
    EXPECT_EQ(report.Errors().Count(), 0);

    src->First();
    struct Case {
        const char *field;
        TkvlFieldType type;
        uint16_t varType;
        const char *text;
    };
    const Case cases[] = {
        {"ID", fftNumeric, varInteger, "1"},     {"TITLE", fftString, varUString, "Riunione"},
        {"START_EVENT", fftDateTime, varDate, nullptr}, {"PRICE", fftNumeric, varDouble, "12.5"},
        {"NOTE", fftString, varUString, nullptr},  {"DONE", fftBoolean, varBoolean, nullptr},
    };
    for (const Case &c : cases) {
        const QString f = QString::fromLatin1(c.field);
        EXPECT_EQ(src->GetFieldType(f), c.type) << c.field;
        EXPECT_EQ(src->GetValue(f).varType(), c.varType) << c.field;
        if (c.text) {
            EXPECT_EQ(src->GetDisplayText(f), QLatin1String(c.text)) << c.field;
        }
    }
    EXPECT_EQ(src->GetDisplayWidth(QStringLiteral("TITLE")), 50);
    EXPECT_EQ(src->GetDisplayWidth(QStringLiteral("START_EVENT")), 20);
    EXPECT_TRUE(src->IsBlobField(QStringLiteral("note")));
    EXPECT_FALSE(src->IsBlobField(QStringLiteral("TITLE")));

    src->BCDToCurrency = true;
    EXPECT_EQ(src->GetValue(QStringLiteral("PRICE")).varType(), varCurrency);
    EXPECT_EQ(src->GetValue(QStringLiteral("PRICE")).toDouble(), 12.5);
    src->Next();
    EXPECT_TRUE(src->GetValue(QStringLiteral("PRICE")).isNull());
    EXPECT_TRUE(src->GetValue(QStringLiteral("NOTE")).isNull());
    EXPECT_EQ(src->RecordCount(), 4);
}

TEST_F(DBSource, BlobsGoIntoLinesAndStreams)
{
    alias({"ID=ID", "NOTE=Nota"});
    src->First();
    TkvlWideStrings lines;
    src->AssignBlobTo(QStringLiteral("Nota"), lines);
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(1), QLatin1String("seconda"));

    TMemoryStream stream;
    stream.WriteBytes("..");
    src->AssignBlobTo(QStringLiteral("NOTA"), stream);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Bytes(), QByteArray("..prima\r\nseconda"));

    // A field that is not a blob leaves the target alone; a name that is not a field fails.
    src->AssignBlobTo(QStringLiteral("ID"), lines);
    EXPECT_EQ(lines.Count(), 2);
    try {
        src->AssignBlobTo(QStringLiteral("NOTE"), stream);
        ADD_FAILURE() << "unmapped field accepted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("Campo non trovato: EVENTS.\"NOTE\""));
    }
    EXPECT_THROW(src->AssignBlobTo(QStringLiteral("missing"), lines), Exception);
}

TEST_F(DBSource, RangesAtTheHostRecordAndTheHostPutBack)
{
    data.Open();
    data.SetIndexFieldNames(QStringLiteral("TITLE"));  // Assemblea 3, Cena 2, Riunione 1, Zeta 4
    data.SetFilter(QStringLiteral("ID <> 4"));
    data.SetFiltered(true);
    ASSERT_TRUE(data.Locate(QStringLiteral("ID"), Variant(2)));

    struct Case {
        TkvlRangeBegin begin;
        TkvlRangeEnd end;
        QStringList ids;
        int hostAfter;  // where the host stands after the run
    };
    const Case cases[] = {
        {rbCurrent, reCurrent, {"2"}, 2},
        {rbFirst, reCurrent, {"3", "2"}, 2},
        {rbCurrent, reLast, {"2", "1"}, 2},
        {rbFirst, reLast, {"3", "2", "1"}, 1},  // no bookmark: the host stays where the run left it
    };
    for (const Case &c : cases) {
        src->RangeBegin = c.begin;
        src->RangeEnd = c.end;
        ASSERT_TRUE(data.Locate(QStringLiteral("ID"), Variant(2)));
        EXPECT_EQ(run("ID"), c.ids) << int(c.begin) << " " << int(c.end);
        EXPECT_EQ(hostId(), c.hostAfter) << int(c.begin) << " " << int(c.end);
    }
}

TEST_F(DBSource, WithoutADatasetTheRunCannotStart)
{
    src->SetDataSet(nullptr);
    try {
        report.DataSets()->Add(src);
        report.DataSets()->Initialize();
        ADD_FAILURE() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("Il DataSet fEVENTS non è connesso ai dati"));
    }
    EXPECT_EQ(src->GetDisplayText(QStringLiteral("ID")), QLatin1String("EVENTS.\"ID\""));
    EXPECT_TRUE(src->GetValue(QStringLiteral("ID")).isNull());
    EXPECT_TRUE(src->Eof());
}

TEST_F(DBSource, FollowsTheDatasetClosingReopeningAndDying)
{
    alias({"ID=ID", "TITLE=TITLE"});
    report.DataSets()->Add(src);
    report.DataSets()->Initialize();
    src->First();
    EXPECT_EQ(src->GetValue(QStringLiteral("TITLE")).toString(), QLatin1String("Riunione"));

    // Closed behind the source's back: the next access opens it again.
    data.Close();
    data.rows.erase(data.rows.begin());
    EXPECT_EQ(src->GetValue(QStringLiteral("TITLE")).toString(), QLatin1String("Cena"));
    EXPECT_TRUE(data.Active());

    // A refresh that drops a column leaves no stale field behind.
    data.columns.erase(data.columns.begin() + 1);
    for (auto &r : data.rows)
        r.erase(r.begin() + 1);
    data.Refresh();
    EXPECT_TRUE(src->GetValue(QStringLiteral("TITLE")).isNull());
    report.DataSets()->Finalize();

    // CloseDataSource closes the dataset at the end of the run.
    src->CloseDataSource = true;
    report.DataSets()->Initialize();
    src->First();
    report.DataSets()->Finalize();
    EXPECT_FALSE(data.Active());

    auto doomed = std::make_unique<MemDataSet>();
    doomed->columns = data.columns;
    src->SetDataSet(doomed.get());
    doomed.reset();
    EXPECT_EQ(src->DataSet(), nullptr);
    EXPECT_THROW(report.DataSets()->Initialize(), Exception);
}

TEST_F(DBSource, DestroyedSourceStopsWatchingItsDataset)
{
    delete src;
    src = nullptr;
    data.Open();
    data.Close();  // would reach the source if it were still watching
    EXPECT_EQ(kvlFindDataSet(nullptr, QStringLiteral("EVENTS"), &report), nullptr);
}

} // namespace
