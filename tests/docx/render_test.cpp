// The exported document as LibreOffice lays it out: one PDF page per report page, and every
// memo's text in the document's text.
#include "tests/docx/docxfixture.h"
#include "tests/export/exporttestutil.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace exporttest;

TEST(DocxRendering, LibreOfficeKeepsThePagesAndTheTexts)
{
    if (!HaveProgram(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice is not installed";
    HandMadePages pages;
    const QStringList texts = FourPageReport(pages);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.docx"));
    auto f = NewDocxFilter(file);
    ASSERT_TRUE(RunExport(*f, pages));

    for (const char *format : {"pdf", "txt:Text (encoded):UTF8"}) {
        const RunResult r = RunProgram(
            QStringLiteral("soffice"),
            {QStringLiteral("-env:UserInstallation=file://") + dir.path() + QStringLiteral("/profile"),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"), QLatin1String(format),
             QStringLiteral("--outdir"), dir.path() + QStringLiteral("/out"), file},
            QByteArray(), 240000);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    }
    const QString pdf = dir.filePath(QStringLiteral("out/report.pdf"));
    const RunResult info = RunProgram(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    const QRegularExpressionMatch count = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.out));
    ASSERT_TRUE(count.hasMatch()) << info.out.constData();
    EXPECT_EQ(count.captured(1).toInt(), 4);

    const RunResult pdfText = RunProgram(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_EQ(pdfText.exitCode, 0);
    const QString fromPdf = QString::fromUtf8(pdfText.out).simplified();
    const QString fromText = QString::fromUtf8(ReadFile(dir.filePath(QStringLiteral("out/report.txt")))).simplified();
    for (const QString &t : texts) {
        EXPECT_TRUE(fromText.contains(t)) << t.toStdString() << " not in the text: " << fromText.toStdString();
        // Text turned on its side comes out of the PDF one letter per line, if at all.
        if (t != QStringLiteral("Su") && t != QStringLiteral("Giu")) {
            EXPECT_TRUE(fromPdf.contains(t)) << t.toStdString() << " not in the PDF: " << fromPdf.toStdString();
        }
    }
}
