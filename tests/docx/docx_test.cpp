#include "export/docx/docxrules.h"
#include "tests/docx/docxfixture.h"

#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/views/kvlpicture.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Docx : ::testing::Test {
    HandMadePages pages;
    QTemporaryDir dir;
    QString Path(const char *Name) const { return dir.filePath(QLatin1String(Name)); }

    QJsonObject Export(const char *Name, TkvlReport *Report = nullptr, TkvlPictureType Type = gpPNG)
    {
        auto f = NewDocxFilter(Path(Name));
        f->Report = Report;
        f->PictureType = Type;
        EXPECT_TRUE(RunExport(*f, pages));
        return ReadDocx(f->FileName);
    }
};

QJsonArray Rows(const QJsonObject &Doc, int Table)
{
    return Doc[QStringLiteral("tables")].toArray()[Table].toObject()[QStringLiteral("rows")].toArray();
}

QJsonArray Cells(const QJsonObject &Doc, int Table, int Row)
{
    return Rows(Doc, Table)[Row].toObject()[QStringLiteral("cells")].toArray();
}

// The cell whose runs, or one of them, hold Text, over all tables.
QJsonObject CellWith(const QJsonObject &Doc, const QString &Text)
{
    for (const auto &t : Doc[QStringLiteral("tables")].toArray())
        for (const auto &r : t.toObject()[QStringLiteral("rows")].toArray())
            for (const auto &c : r.toObject()[QStringLiteral("cells")].toArray()) {
                QString all;
                for (const auto &run : c.toObject()[QStringLiteral("runs")].toArray())
                    all += run.toObject()[QStringLiteral("text")].toString();
                if (all == Text)
                    return c.toObject();
                for (const auto &run : c.toObject()[QStringLiteral("runs")].toArray())
                    if (run.toObject()[QStringLiteral("text")].toString() == Text)
                        return c.toObject();
            }
    ADD_FAILURE() << "no cell holds " << Text.toStdString();
    return {};
}

QString Json(const QJsonValue &V)
{
    return QString::fromUtf8(V.isArray() ? QJsonDocument(V.toArray()).toJson(QJsonDocument::Compact)
                                         : QJsonDocument(V.toObject()).toJson(QJsonDocument::Compact));
}

} // namespace

TEST(DocxRules, UnitsColoursAndSections)
{
    EXPECT_EQ(docx::MillimetresToTwips(210), 11926);   // 11925.9
    EXPECT_EQ(docx::ColumnTwips(100), 1550);
    EXPECT_EQ(docx::RowTwips(20), 290);
    EXPECT_EQ(docx::UnitsToEmu(96), 914399);           // 914399.4: an inch, near enough
    EXPECT_EQ(docx::ColorText(clRed), QByteArray("ff0000"));
    EXPECT_EQ(docx::ColorText(clNone), QByteArray("ffffff"));
    EXPECT_EQ(docx::ColorHex(TColor(0x563412)), QByteArray("123456"));
    // 10 points with LineSpacing 2: (10 + 0.95 * 0.75) * 20 = 214.25.
    EXPECT_EQ(docx::LineValue(10, 2), 214);
    EXPECT_TRUE(docx::SecPr({16867, 11926, 0, 0, 0, 0}).contains("w:orient=\"landscape\""));
    EXPECT_FALSE(docx::SecPr({11926, 16867, 0, 0, 0, 0}).contains("w:orient"));
}

TEST(DocxRules, TextsDropForbiddenCharactersAndTurnTabsIntoElements)
{
    struct Case {
        QString text;
        bool spaced;
        const char *want;
    };
    const Case cases[] = {
        {QStringLiteral("a & <b>"), false, "<w:t>a &amp; &lt;b&gt;</w:t>"},
        {QStringLiteral("x\x01y\x1Fz"), false, "<w:t>xyz</w:t>"},
        {QStringLiteral("a\tb"), false, "<w:t>a</w:t><w:tab/><w:t>b</w:t>"},
        {QStringLiteral("\t"), true, "<w:tab/>"},
        {QStringLiteral(" a "), true, "<w:t xml:space=\"preserve\"> a </w:t>"},
        {QString(), false, ""},
    };
    for (const Case &c : cases) {
        QByteArray out;
        docx::AppendText(out, c.text, c.spaced);
        EXPECT_EQ(out, QByteArray(c.want)) << c.text.toStdString();
    }
}

TEST_F(Docx, EveryPageIsATableInASectionOfItsOwn)
{
    for (int i = 0; i < 4; ++i) {
        TkvlBand *b = pages.AddPage();
        if (i == 1)
            pages.Pages.back()->SetOrientation(poLandscape);
        if (i != 2)  // the third page is empty
            NewMemo(b, 0, 0, 200, 20, QStringLiteral("pagina %1").arg(i + 1));
    }
    pages.Pages[0]->LeftMargin = 10;
    pages.Pages[0]->TopMargin = 15;
    const QJsonObject doc = Export("pages.docx");
    // Each section paragraph follows its page's table; an empty page has its section alone.
    EXPECT_EQ(doc[QStringLiteral("body")].toArray(),
              QJsonArray({"tbl", "sect", "tbl", "sect", "sect", "tbl", "p", "final"}))
        << Json(doc[QStringLiteral("body")]).toStdString();
    const QJsonArray sections = doc[QStringLiteral("sections")].toArray();
    ASSERT_EQ(sections.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QJsonObject s = sections[i].toObject();
        const bool landscape = i == 1;
        const int w = int(std::lround((landscape ? 297 : 210) * 56.79));
        const int h = int(std::lround((landscape ? 210 : 297) * 56.79));
        EXPECT_EQ(s[QStringLiteral("w")].toInt(), w) << i;
        EXPECT_EQ(s[QStringLiteral("h")].toInt(), h) << i;
        EXPECT_EQ(s[QStringLiteral("landscape")].toBool(), landscape) << i;
    }
    EXPECT_EQ(sections[0].toObject()[QStringLiteral("top")].toInt(), int(std::lround(15 * 56.79)));
    EXPECT_EQ(sections[1].toObject()[QStringLiteral("top")].toInt(), 0);
    EXPECT_EQ(doc[QStringLiteral("tables")].toArray().size(), 3);
}

TEST_F(Docx, CellsSpanColumnsAndMergeRows)
{
    TkvlBand *b = pages.AddPage();
    NewMemo(b, 0, 0, 100, 20, QStringLiteral("a"));
    NewMemo(b, 100, 0, 100, 20, QStringLiteral("b"));
    NewMemo(b, 200, 0, 100, 20, QStringLiteral("c"));
    NewMemo(b, 300, 0, 100, 20, QStringLiteral("d"));
    NewMemo(b, 0, 20, 300, 40, QStringLiteral("spanning"));
    NewMemo(b, 300, 20, 100, 20, QStringLiteral("e"));
    NewMemo(b, 300, 40, 100, 20, QStringLiteral("f"));
    NewMemo(b, 0, 60, 100, 20, QStringLiteral("left"));
    NewMemo(b, 300, 60, 100, 20, QStringLiteral("right"));
    const QJsonObject doc = Export("spans.docx");
    const QJsonObject table = doc[QStringLiteral("tables")].toArray()[0].toObject();
    EXPECT_EQ(table[QStringLiteral("grid")].toArray(), QJsonArray({1550, 1550, 1550, 1550}));
    const QJsonArray rows = Rows(doc, 0);
    ASSERT_EQ(rows.size(), 4);
    for (const auto &r : rows) {
        EXPECT_EQ(r.toObject()[QStringLiteral("height")].toInt(), 290);
        EXPECT_EQ(r.toObject()[QStringLiteral("rule")].toString(), QStringLiteral("exact"));
    }
    struct Want {
        int row, cell, col, span;
        const char *vmerge;  // nullptr: none
        int runs;
    };
    const Want wants[] = {
        {1, 0, 0, 3, "restart", 1}, {1, 1, 3, 1, nullptr, 1},  // the memo's first row
        {2, 0, 0, 3, "continue", 0}, {2, 1, 3, 1, nullptr, 1}, // its second row: no text again
        {3, 0, 0, 1, nullptr, 1},   {3, 1, 1, 2, nullptr, 0},  // two empty columns, one cell
        {3, 2, 3, 1, nullptr, 1},
    };
    for (const Want &w : wants) {
        const QJsonArray cells = Cells(doc, 0, w.row);
        ASSERT_GT(cells.size(), w.cell) << Json(cells).toStdString();
        const QJsonObject c = cells[w.cell].toObject();
        const std::string at = std::to_string(w.row) + "/" + std::to_string(w.cell);
        EXPECT_EQ(c[QStringLiteral("col")].toInt(), w.col) << at;
        EXPECT_EQ(c[QStringLiteral("span")].toInt(), w.span) << at;
        EXPECT_EQ(c[QStringLiteral("vmerge")].toString(), QLatin1String(w.vmerge)) << at;
        EXPECT_EQ(c[QStringLiteral("runs")].toArray().size(), w.runs) << at;
    }
    EXPECT_EQ(Cells(doc, 0, 3).size(), 3);
    EXPECT_EQ(Cells(doc, 0, 1)[0].toObject()[QStringLiteral("runs")].toArray()[0].toObject()[QStringLiteral("text")],
              QStringLiteral("spanning"));
}

TEST_F(Docx, ARowHoldsAtMost63Cells)
{
    TkvlBand *b = pages.AddPage();
    for (int i = 0; i < 70; ++i)
        NewMemo(b, 5 * i, 0, 5, 20, QString::number(i));
    const QJsonObject doc = Export("wide.docx");
    EXPECT_EQ(doc[QStringLiteral("tables")].toArray()[0].toObject()[QStringLiteral("grid")].toArray().size(), 70);
    const QJsonArray cells = Cells(doc, 0, 0);
    ASSERT_EQ(cells.size(), 63);
    for (int i = 0; i < 63; ++i)
        EXPECT_EQ(cells[i].toObject()[QStringLiteral("col")].toInt(), i);
}

TEST_F(Docx, RunsFillsBordersAndDirections)
{
    TkvlBand *b = pages.AddPage();
    NewMemo(b, 0, 0, 200, 40, QStringLiteral("one\r\ntwo"));
    TkvlMemoView *tagged = NewMemo(b, 0, 40, 200, 20, QStringLiteral("a <b>bold</b> c"));
    tagged->AllowHTMLTags = true;
    NewMemo(b, 0, 60, 200, 20, QStringLiteral("later"));  // the same style as the tagged memo
    // Tags start from the memo's own font, as the memo is drawn.
    TkvlMemoView *redTagged = NewMemo(b, 200, 40, 200, 20, QStringLiteral("r <i>i</i>"));
    redTagged->AllowHTMLTags = true;
    redTagged->Font()->SetColor(clRed);
    NewMemo(b, 0, 80, 200, 20, QStringLiteral("x\x01y\tz"));
    NewMemo(b, 0, 100, 200, 20, QStringLiteral("clear"))->SetColor(clNone);
    NewMemo(b, 0, 120, 200, 20, QStringLiteral("black"))->SetColor(clBlack);
    TkvlMemoView *framed = NewMemo(b, 0, 140, 200, 20, QStringLiteral("framed"));
    framed->SetColor(clRed);
    framed->Frame()->SetTyp(kvlFrameBit(ftTop) | kvlFrameBit(ftLeft));
    framed->Frame()->TopLine()->SetStyle(fsDash);
    framed->Frame()->TopLine()->SetColor(clBlue);
    framed->Frame()->LeftLine()->SetColor(clRed);
    NewMemo(b, 0, 160, 20, 100, QStringLiteral("up"))->SetRotation(90);
    NewMemo(b, 40, 160, 20, 100, QStringLiteral("down"))->SetRotation(270);
    TkvlMemoView *bold = NewMemo(b, 100, 160, 100, 20, QStringLiteral("heavy"));
    bold->Font()->SetStyle(FontStyleBit(fsBold));
    bold->Font()->SetName(QStringLiteral("Lettera & Co"));
    TkvlReport report(nullptr);
    report.ReportOptions()->Author = QStringLiteral("Niccolò & Figli <srl>");
    const QJsonObject doc = Export("cells.docx", &report);

    EXPECT_EQ(doc[QStringLiteral("creator")].toString(), QStringLiteral("Niccolò & Figli <srl>"));
    EXPECT_EQ(doc[QStringLiteral("badColors")].toArray(), QJsonArray());

    // Runs of a cell: text, break before it, bold.
    struct RunWant {
        const char *text;
        bool br, bold;
    };
    auto runsOf = [&](const QJsonObject &Cell) {
        std::vector<std::tuple<QString, bool, bool>> runs;
        for (const auto &r : Cell[QStringLiteral("runs")].toArray()) {
            const QJsonObject o = r.toObject();
            runs.emplace_back(o[QStringLiteral("text")].toString(), o[QStringLiteral("br")].toBool(),
                              o[QStringLiteral("bold")].toBool());
        }
        return runs;
    };
    using Runs = std::vector<std::tuple<QString, bool, bool>>;
    EXPECT_EQ(runsOf(CellWith(doc, QStringLiteral("onetwo"))),
              Runs({{QStringLiteral("one"), false, false}, {QStringLiteral("two"), true, false}}));
    EXPECT_EQ(runsOf(CellWith(doc, QStringLiteral("a bold c"))),
              Runs({{QStringLiteral("a "), false, false},
                    {QStringLiteral("bold"), false, true},
                    {QStringLiteral(" c"), false, false},
                    {QString(), true, true}}));
    EXPECT_EQ(runsOf(CellWith(doc, QStringLiteral("later"))), Runs({{QStringLiteral("later"), false, false}}));
    const QJsonArray redRuns = CellWith(doc, QStringLiteral("r i"))[QStringLiteral("runs")].toArray();
    ASSERT_GE(redRuns.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(redRuns[i].toObject()[QStringLiteral("color")].toString(), QStringLiteral("FF0000")) << i;
        EXPECT_EQ(redRuns[i].toObject()[QStringLiteral("italic")].toBool(), i == 1) << i;
    }
    EXPECT_EQ(runsOf(CellWith(doc, QStringLiteral("xy\tz"))), Runs({{QStringLiteral("xy\tz"), false, false}}));

    const QJsonObject heavy = CellWith(doc, QStringLiteral("heavy"));
    const QJsonObject heavyRun = heavy[QStringLiteral("runs")].toArray()[0].toObject();
    EXPECT_TRUE(heavyRun[QStringLiteral("boldCs")].toBool());
    EXPECT_EQ(heavyRun[QStringLiteral("font")].toString(), QStringLiteral("Lettera & Co"));
    EXPECT_FALSE(CellWith(doc, QStringLiteral("later"))[QStringLiteral("runs")].toArray()[0].toObject()
                     [QStringLiteral("boldCs")].toBool());

    struct CellWant {
        const char *text, *fill, *dir;
    };
    const CellWant cells[] = {
        {"clear", "FFFFFF", nullptr}, {"black", "auto", nullptr}, {"framed", "FF0000", nullptr},
        {"up", nullptr, "btLr"},      {"down", nullptr, "tbRlV"},
    };
    for (const CellWant &w : cells) {
        const QJsonObject c = CellWith(doc, QLatin1String(w.text));
        if (w.fill) {
            EXPECT_EQ(c[QStringLiteral("fill")].toString(), QLatin1String(w.fill)) << w.text;
        }
        EXPECT_EQ(c[QStringLiteral("dir")].toString(), QLatin1String(w.dir)) << w.text;
        // Cell properties in the schema's order.
        const QStringList order = c[QStringLiteral("order")].toVariant().toStringList();
        EXPECT_LT(order.indexOf(QStringLiteral("shd")), order.indexOf(QStringLiteral("vAlign"))) << w.text;
        if (w.dir) {
            EXPECT_LT(order.indexOf(QStringLiteral("textDirection")), order.indexOf(QStringLiteral("vAlign")));
        }
    }
    const QJsonObject borders = CellWith(doc, QStringLiteral("framed"))[QStringLiteral("borders")].toObject();
    EXPECT_EQ(borders[QStringLiteral("top")].toString(), QStringLiteral("dashed"));
    EXPECT_EQ(borders[QStringLiteral("left")].toString(), QStringLiteral("single"));
    EXPECT_EQ(borders[QStringLiteral("bottom")].toString(), QStringLiteral("nil"));
    EXPECT_EQ(borders[QStringLiteral("right")].toString(), QStringLiteral("nil"));
}

TEST_F(Docx, PicturesGetTheirOwnIdsAndMediaTypes)
{
    TkvlBand *b = pages.AddPage();
    for (int i = 0; i < 2; ++i) {
        auto *p = new TkvlPictureView(b);
        p->SetBounds(0, 60 * i, 100, 40);
        p->SetColor(clBlue);
    }
    // A picture partly under a later memo is cut into pieces and left out.
    auto *covered = new TkvlPictureView(b);
    covered->SetBounds(200, 0, 100, 100);
    covered->SetColor(clGreen);
    NewMemo(b, 250, 20, 100, 20, QStringLiteral("over"));

    const std::pair<TkvlPictureType, const char *> types[] = {{gpPNG, "png"}, {gpJPG, "jpeg"}, {gpEMF, "emf"}};
    for (const auto &[type, ext] : types) {
        const QJsonObject doc = Export("pictures.docx", nullptr, type);
        EXPECT_EQ(doc[QStringLiteral("pictures")].toInt(), 2) << ext;
        EXPECT_EQ(doc[QStringLiteral("docPr")].toArray(), QJsonArray({1, 2})) << ext;
        EXPECT_EQ(doc[QStringLiteral("media")].toArray(), QJsonArray({ext, ext}));
        EXPECT_TRUE(doc[QStringLiteral("defaults")].toArray().contains(QLatin1String(ext))) << ext;
    }
}

TEST_F(Docx, FailuresLeaveNoFile)
{
    NewMemo(pages.AddPage(), 0, 0, 100, 20, QStringLiteral("x"));
    auto missing = NewDocxFilter(Path("missing/sub/out.docx"));
    EXPECT_FALSE(RunExport(*missing, pages));
    EXPECT_FALSE(missing->StartError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("missing/sub/out.docx")));

    auto failed = NewDocxFilter(Path("failed.docx"));
    EXPECT_TRUE(RunExport(*failed, pages, true));
    EXPECT_FALSE(QFileInfo::exists(Path("failed.docx")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());

    auto none = NewDocxFilter(QString());
    EXPECT_FALSE(none->Start());
}

TEST_F(Docx, TheFourPageReportReadsBackWhole)
{
    const QStringList texts = FourPageReport(pages);
    const QJsonObject doc = Export("four.docx");
    EXPECT_EQ(doc[QStringLiteral("tables")].toArray().size(), 3);
    EXPECT_EQ(doc[QStringLiteral("sections")].toArray().size(), 4);
    EXPECT_TRUE(doc[QStringLiteral("sections")].toArray()[1].toObject()[QStringLiteral("landscape")].toBool());
    EXPECT_EQ(doc[QStringLiteral("pictures")].toInt(), 1);
    EXPECT_EQ(doc[QStringLiteral("badColors")].toArray(), QJsonArray());
    for (const QString &t : texts)
        CellWith(doc, t);
    EXPECT_EQ(CellWith(doc, QStringLiteral("Riunione annuale"))[QStringLiteral("fill")].toString(),
              QStringLiteral("FFFF00"));
    EXPECT_EQ(CellWith(doc, QStringLiteral("Riunione annuale"))[QStringLiteral("span")].toInt(), 3);
}
