// A twenty-page prepared report exported through the export driver into the PDF filter:
// checked by qpdf, read back by poppler (text, fonts) and its pages rendered by poppler at
// 300 dots per inch against the preview's drawing of the same pages, also where the fonts
// the report uses are not installed.
#include "tests/exportdriver/driverreports.h"

#include "engine/store/previewpages.h"
#include "export/pdf/pdfexport.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Tool {
    int exitCode = -1;
    QString out, err;
};

Tool RunTool(const QString &Program, const QStringList &Args, const QProcessEnvironment &Env = {})
{
    QProcess p;
    if (!Env.isEmpty())
        p.setProcessEnvironment(Env);
    p.start(Program, Args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString WithoutSpaces(QString S)
{
    S.remove(QRegularExpression(QStringLiteral("\\s")));
    return S;
}

constexpr int kDpi = 300;

// Mean darkness of square blocks of a grey page; the page's own size in blocks.
struct Blocks {
    int w = 0, h = 0;
    std::vector<double> dark;
};

Blocks BlocksOf(const QImage &Image, int Size)
{
    const QImage g = Image.convertToFormat(QImage::Format_Grayscale8);
    Blocks b;
    b.w = g.width() / Size;
    b.h = g.height() / Size;
    b.dark.assign(size_t(b.w) * size_t(b.h), 0);
    for (int y = 0; y < b.h * Size; ++y) {
        const uchar *line = g.constScanLine(y);
        for (int x = 0; x < b.w * Size; ++x)
            b.dark[size_t(y / Size) * size_t(b.w) + size_t(x / Size)] += (255 - line[x]) / 255.0;
    }
    for (double &d : b.dark)
        d /= double(Size) * Size;
    return b;
}

// The preview's drawing of a page at 300 dots per inch, on white.
QImage PreviewRender(TkvlPreviewPages &Store, int Index, QSize Size)
{
    QImage image(Size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        gfx::PainterCanvas canvas(&painter, 96, 96);
        Store.DrawPage(Index, &canvas, kDpi / 96.0, kDpi / 96.0, 0, 0);
    }
    return image;
}

TEST(PdfThroughTheDriver, TwentyPagesCheckReadAndRenderAsThePreview)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    TwentyPageReport r;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlPDFExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->FileName = dir.filePath(QStringLiteral("venti.pdf"));
    ASSERT_TRUE(r.report->Export(f.get())) << r.report->Errors().Text().toStdString();
    const QString pdf = f->FileName;

    const Tool check = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
    EXPECT_TRUE(check.err.isEmpty()) << check.err.toStdString();

    // Every memo's text on its page; the Hebrew line in either order.
    for (int n = 1; n <= TwentyPageReport::kPages; ++n) {
        const Tool text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(n), QStringLiteral("-l"),
                                                            QString::number(n), pdf, QStringLiteral("-")});
        const QString got = WithoutSpaces(text.out);
        for (const QString &t : TwentyPageReport::PageTexts(n)) {
            const QString want = WithoutSpaces(t);
            QString reversed = want;
            std::reverse(reversed.begin(), reversed.end());
            const bool rtl = t == TwentyPageReport::HebrewText();
            EXPECT_TRUE(got.contains(want) || (rtl && got.contains(reversed)))
                << "page " << n << ": " << t.toStdString() << "\nin: " << text.out.toStdString();
        }
    }

    // Each font embedded, as a subset, with a map back to the text.
    const Tool fonts = RunTool(QStringLiteral("pdffonts"), {pdf});
    const QStringList lines = fonts.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 2) << fonts.out.toStdString();
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList cols = lines[i].split(u' ', Qt::SkipEmptyParts);
        ASSERT_GE(cols.size(), 7) << lines[i].toStdString();
        // name type [type words] encoding emb sub uni object-id generation
        EXPECT_TRUE(cols[0].contains(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+")))) << lines[i].toStdString();
        EXPECT_EQ(cols.mid(cols.size() - 5, 3), QStringList({QStringLiteral("yes"), QStringLiteral("yes"),
                                                             QStringLiteral("yes")}))
            << lines[i].toStdString();
    }

    // Rendered at 300 dpi, under this machine's fonts and under a configuration with no fonts
    // at all (the file must carry its own), against the preview, compared in 4 mm blocks.
    QFile empty(dir.filePath(QStringLiteral("nofonts.conf")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                "<fontconfig><cachedir>" + dir.filePath(QStringLiteral("fccache")).toUtf8() + "</cachedir></fontconfig>\n");
    empty.close();
    QProcessEnvironment noFonts = QProcessEnvironment::systemEnvironment();
    noFonts.insert(QStringLiteral("FONTCONFIG_FILE"), empty.fileName());
    auto *store = static_cast<TkvlPreviewPages *>(r.report->PreviewPages());
    constexpr int kBlock = 48;  // 4 mm at 300 dpi
    for (const auto &[what, env] : {std::pair{"installed fonts", QProcessEnvironment::systemEnvironment()},
                                    std::pair{"no fonts", noFonts}}) {
        for (int n = 1; n <= TwentyPageReport::kPages; ++n) {
            const QString prefix = dir.filePath(QStringLiteral("p%1").arg(n));
            const Tool ppm = RunTool(QStringLiteral("pdftoppm"),
                                 {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-f"),
                                  QString::number(n), QStringLiteral("-l"), QString::number(n),
                                  QStringLiteral("-singlefile"), pdf, prefix},
                                 env);
            ASSERT_EQ(ppm.exitCode, 0) << ppm.err.toStdString();
            const QImage page(prefix + QStringLiteral(".pgm"));
            ASSERT_FALSE(page.isNull());
            const Blocks got = BlocksOf(page, kBlock);
            const QImage preview = PreviewRender(*store, n - 1, page.size());
            const Blocks want = BlocksOf(preview, kBlock);
            ASSERT_EQ(got.dark.size(), want.dark.size());
            double worst = 0, sum = 0, ink = 0;
            for (size_t i = 0; i < got.dark.size(); ++i) {
                worst = std::max(worst, std::abs(got.dark[i] - want.dark[i]));
                sum += std::abs(got.dark[i] - want.dark[i]);
                ink += want.dark[i];
            }
            EXPECT_GT(ink, 10) << what << " page " << n;  // the preview drew the page
            // The check box's cross is drawn heavier in the file than in the preview (a block
            // 0.34 darker); everything else differs only by antialiased edges.
            EXPECT_LT(worst, 0.4) << what << " page " << n;
            EXPECT_LT(sum, 0.2 * ink) << what << " page " << n;
        }
    }
}

} // namespace
