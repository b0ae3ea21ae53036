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
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlcheckbox.h"

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

// Without blanks and without the direction marks the reader puts around right-to-left words.
QString WithoutSpaces(QString S)
{
    S.remove(QRegularExpression(QStringLiteral("[\\s\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]")));
    return S;
}

constexpr int kDpi = 300;
// Outside the check box, pages differ only by antialiased edges and glyph hinting.
constexpr double kWorstBlock = 0.15;
constexpr double kSummedDifference = 0.16;

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

// The blocks the page's check box touches.
QRect CheckBoxBlocks(TkvlPreviewPages &Store, int Index, int Size)
{
    auto *page = rtl_cast<TkvlReportPage>(Store.GetPage(Index));
    if (!page)
        return {};
    for (TkvlComponent *c : page->AllObjects())
        if (auto *check = rtl_cast<TkvlCheckBoxView>(c)) {
            // Objects stand inside the margins; at 300 dpi from the paper's corner.
            const double k = kDpi / 96.0;
            const double left = page->LeftMargin * kvlPixelsPerMm + check->GetAbsLeft();
            const double top = page->TopMargin * kvlPixelsPerMm + check->GetAbsTop();
            return QRect(QPoint(int(left * k) / Size, int(top * k) / Size),
                         QPoint(int((left + check->Width()) * k) / Size, int((top + check->Height()) * k) / Size));
        }
    return {};
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

    // Every memo's text on its page; the Hebrew line in either order, or its words in either order. Read in the order the
    // page writes it: rebuilding the reading order from positions cuts a diagonal line into
    // pieces ordered by whatever else stands on the page.
    for (int n = 1; n <= TwentyPageReport::kPages; ++n) {
        const Tool text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-f"), QString::number(n), QStringLiteral("-l"),
                                                            QString::number(n), pdf, QStringLiteral("-")});
        const QString got = WithoutSpaces(text.out);
        for (const QString &t : TwentyPageReport::PageTexts(n)) {
            const QString want = WithoutSpaces(t);
            QString reversed = want;
            std::reverse(reversed.begin(), reversed.end());
            QStringList words = t.split(u' ');
            std::reverse(words.begin(), words.end());
            const QString wordsReversed = WithoutSpaces(words.join(u' '));
            const bool rtl = t == TwentyPageReport::HebrewText();
            EXPECT_TRUE(got.contains(want) || (rtl && (got.contains(reversed) || got.contains(wordsReversed))))
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
            // The file draws the check box's cross as a thick stroked X, the preview as the
            // symbol font's thinner glyph: those blocks are compared by whether they carry ink.
            const QRect box = CheckBoxBlocks(*store, n - 1, kBlock);
            ASSERT_FALSE(box.isEmpty()) << "page " << n;
            double worst = 0, sum = 0, ink = 0, boxGot = 0, boxWant = 0;
            for (int by = 0; by < got.h; ++by)
                for (int bx = 0; bx < got.w; ++bx) {
                    const size_t i = size_t(by) * size_t(got.w) + size_t(bx);
                    if (box.contains(bx, by)) {
                        boxGot += got.dark[i];
                        boxWant += want.dark[i];
                        continue;
                    }
                    worst = std::max(worst, std::abs(got.dark[i] - want.dark[i]));
                    sum += std::abs(got.dark[i] - want.dark[i]);
                    ink += want.dark[i];
                }
            EXPECT_GT(ink, 10) << what << " page " << n;  // the preview drew the page
            EXPECT_LT(worst, kWorstBlock) << what << " page " << n;
            EXPECT_LT(sum, kSummedDifference * ink) << what << " page " << n;
            // Checked on odd pages, empty (no frame either) on even ones.
            const bool checked = n % 2 == 1;
            EXPECT_EQ(boxGot > 0.05, checked) << what << " page " << n << ": " << boxGot;
            EXPECT_EQ(boxWant > 0.05, checked) << what << " page " << n << ": " << boxWant;
        }
    }
}

// One filter exporting twice with compression, and once without: qpdf decompresses every
// stream, and the three files then say the same, the dates and the identifier aside. The compressor is kept from page to page and reset for each stream: a stream left
// half-finished or carried over would not decompress, or would decompress to other content.
TEST(PdfThroughTheDriver, CompressedStreamsDecompressToWhatAnUncompressedExportWrites)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    ThreePageSheetReport r;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlPDFExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    const auto normalised = [&](const QString &Name, bool Compressed) {
        f->Compressed = Compressed;
        f->FileName = dir.filePath(Name + QStringLiteral(".pdf"));
        EXPECT_TRUE(r.report->Export(f.get())) << r.report->Errors().Text().toStdString();
        QFile written(f->FileName);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        EXPECT_EQ(bytes.contains("/FlateDecode"), Compressed) << Name.toStdString();
        const QString qdf = dir.filePath(Name + QStringLiteral(".qdf"));
        const Tool q = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"),
                                                        QStringLiteral("--stream-data=uncompress"),
                                                        QStringLiteral("--static-id"), f->FileName, qdf});
        EXPECT_EQ(q.exitCode, 0) << Name.toStdString() << q.err.toStdString();
        EXPECT_TRUE(q.err.isEmpty()) << Name.toStdString() << q.err.toStdString();
        QFile out(qdf);
        EXPECT_TRUE(out.open(QIODevice::ReadOnly));
        QByteArrayList lines = out.readAll().split('\n');
        // The dates and the document identifier are of each export.
        lines.removeIf([](const QByteArray &l) {
            return l.contains("/CreationDate") || l.contains("/ModDate") || l.contains("/ID [");
        });
        return lines;
    };
    const QByteArrayList plain = normalised(QStringLiteral("plain"), false);
    ASSERT_GT(plain.size(), 100);
    for (const char *name : {"first", "second"}) {
        const QByteArrayList packed = normalised(QString::fromLatin1(name), true);
        EXPECT_EQ(packed.size(), plain.size()) << name;
        for (qsizetype i = 0; i < std::min(packed.size(), plain.size()); ++i)
            if (packed[i] != plain[i]) {
                ADD_FAILURE() << name << " line " << i << ": " << packed[i].left(200).toStdString() << "\nnot "
                              << plain[i].left(200).toStdString();
                break;
            }
    }
}

} // namespace
