// The file as a whole: objects, cross-reference table, page tree and the checks of qpdf.
#include "tests/pdf/pdffixture.h"

#include "report/views/kvlshape.h"

#include <QRegularExpression>

namespace {

// Offsets of the cross-reference table, object 1 first.
std::vector<long long> xrefOffsets(const QByteArray &pdf)
{
    std::vector<long long> out;
    const qsizetype start = pdf.lastIndexOf("\r\nxref\r\n");
    if (start < 0)
        return out;
    const QList<QByteArray> lines = pdf.mid(start + 8).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        if (!lines[i].endsWith(" 00000 n\r"))
            break;
        out.push_back(lines[i].left(10).toLongLong());
    }
    return out;
}

} // namespace

TEST_F(PdfFixture, AnEmptyPageMakesAValidFileWhoseTableFindsEveryObject)
{
    filter->Compressed = false;
    TkvlReportPage *page = NewPage();
    const QByteArray pdf = Export({{page, {}}});
    ASSERT_TRUE(pdf.startsWith("%PDF-1.5\r\n%\xE2\xE3\xCF\xD3\r\n"));
    EXPECT_TRUE(pdf.contains("/Font << >>\r\n"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595.50 842.25 ]"));   // 794 x 1123 pixels
    EXPECT_TRUE(pdf.contains("/Kids [3 0 R ]\r\n/Count 1"));
    EXPECT_FALSE(pdf.contains("/MarkInfo"));
    EXPECT_FALSE(pdf.contains("/DisplayDocTitle"));
    EXPECT_TRUE(pdf.contains("/Title <FEFF>\r\n"));
    EXPECT_TRUE(pdf.contains("/Author <FEFF004B006F007200760065006C006C0065>"));
    EXPECT_TRUE(pdf.contains("/PrintScaling false"));
    EXPECT_TRUE(pdf.endsWith("%%EOF\r\n"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/ID \\[<([0-9a-f]{32})><\\1>\\]")).match(QString::fromLatin1(pdf)).hasMatch());

    const std::vector<long long> offsets = xrefOffsets(pdf);
    ASSERT_EQ(offsets.size(), 5u);   // page tree, content, page, information, catalogue
    for (size_t k = 0; k < offsets.size(); ++k)
        EXPECT_TRUE(pdf.mid(offsets[k]).startsWith(QByteArray(QByteArray::number(qsizetype(k + 1)) + " 0 obj\r\n"))) << k + 1;

    const QString file = Save(pdf);
    const exporttest::RunResult q = exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
    EXPECT_EQ(q.exitCode, 0) << q.out.constData() << q.err.constData();
}

TEST_F(PdfFixture, AFontFirstUsedOnPageTwoIsAResourceOfThatPageAndTheLaterOnes)
{
    filter->Compressed = false;
    TkvlReportPage *p1 = NewPage(), *p2 = NewPage(), *p3 = NewPage();
    auto *shape = new TkvlShapeView(report.get());
    shape->SetBounds(10, 10, 50, 50);
    TkvlMemoView *memo = NewMemo(QStringLiteral("Pagina due"), 10, 10, 300, 40);
    const QByteArray pdf = Export({{p1, {shape}}, {p2, {memo}}, {p3, {}}});
    const QList<QByteArray> fontLines = [&] {
        QList<QByteArray> out;
        for (const QByteArray &l : pdf.split('\n'))
            if (l.startsWith("/Font << "))
                out << l.trimmed();
        return out;
    }();
    ASSERT_EQ(fontLines.size(), 3);
    EXPECT_EQ(fontLines[0], "/Font << >>");
    EXPECT_TRUE(fontLines[1].startsWith("/Font << /F0 ")) << fontLines[1].constData();
    EXPECT_EQ(fontLines[1], fontLines[2]);

    const QString file = Save(pdf);
    EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}).exitCode, 0);
    const QByteArray text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("2"),
                                                                   QStringLiteral("-l"), QStringLiteral("2"), file,
                                                                   QStringLiteral("-")});
    EXPECT_TRUE(text.contains("Pagina due")) << text.constData();
}

TEST_F(PdfFixture, WithoutAFileOrAStreamNothingStarts)
{
    filter->FileName.clear();
    filter->Stream = nullptr;
    EXPECT_FALSE(filter->Start());
    filter->Finish();   // the driver's Finish after a failed start does no harm
}

TEST_F(PdfFixture, AFileIsWrittenThroughTheSharedOutput)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("Su file"), 10, 10, 300, 40);
    filter->FileName = dir + QStringLiteral("/out.pdf");
    ASSERT_TRUE(filter->Start());
    filter->StartPage(page, 0);
    filter->ExportObject(memo);
    filter->FinishPage(page, 0);
    filter->Finish();
    EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), filter->FileName}).exitCode, 0);
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {filter->FileName, QStringLiteral("-")}).contains("Su file"));
}
