// Memo text and fonts, read back by poppler: the words and where they land, the fonts as
// embedded subsets with their text maps. Memos sit at (100, 100) pixels on an A4 page with
// margins of 10 mm, so a position of px pixels lands on 0.75 px + 0.5 points.
#include "tests/pdf/pdffixture.h"

#include "platform/gfx/tfont.h"
#include "report/views/kvlview.h"

#include <QRegularExpression>
#include <cmath>

namespace {

struct Word {
    double xMin, yMin, xMax, yMax;
    QString text;
};

std::vector<Word> words(const QString &file)
{
    const QString html = QString::fromUtf8(
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}));
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4).toDouble(), m.captured(5)});
    }
    return out;
}

QString text(const QString &file)
{
    return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}));
}

// pdffonts rows: name, then the columns after the type and encoding.
QStringList fontRows(const QString &file)
{
    const QList<QByteArray> lines = RunTool(QStringLiteral("pdffonts"), {file}).split('\n');
    QStringList out;
    for (int i = 2; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty())
            out << QString::fromUtf8(lines[i]).simplified();
    return out;
}

void setStyle(TkvlMemoView *m, TFontStyles style)
{
    TFont f;
    f.Assign(m->Font());
    f.SetStyle(style);
    m->SetFont(&f);
}

} // namespace

TEST_F(PdfFixture, EachFontIsAnEmbeddedSubsetWithATextMap)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *regular = NewMemo(QStringLiteral("Regolare"), 100, 100, 300, 30);
    TkvlMemoView *bold = NewMemo(QStringLiteral("Grassetto"), 100, 140, 300, 30);
    setStyle(bold, FontStyleBit(fsBold));
    TkvlMemoView *black = NewMemo(QStringLiteral("Nero"), 100, 180, 300, 30, 10, QStringLiteral("Arial Black"));
    TkvlMemoView *blackBold = NewMemo(QStringLiteral("Nerissimo"), 100, 220, 300, 30, 10, QStringLiteral("Arial Black"));
    setStyle(blackBold, FontStyleBit(fsBold));
    filter->Compressed = false;
    const QByteArray pdf = Export({{page, {regular, bold, black, blackBold}}});
    EXPECT_TRUE(pdf.contains("/Font << /F0 ")) << "fonts in order of first use";
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/BaseFont /[A-Z]{6}\\+Arial\r")).match(QString::fromLatin1(pdf)).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/BaseFont /[A-Z]{6}\\+Arial,Bold\r")).match(QString::fromLatin1(pdf)).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/BaseFont /[A-Z]{6}\\+Arial#20Black\r")).match(QString::fromLatin1(pdf)).hasMatch());
    EXPECT_FALSE(pdf.contains("/F3 "));
    EXPECT_EQ(pdf.count("/Ordering (UCS)"), 3);
    EXPECT_FALSE(pdf.contains("/MxWidth"));

    const QString file = Save(pdf);
    EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}).exitCode, 0);
    const QStringList rows = fontRows(file);
    ASSERT_EQ(rows.size(), 3) << rows.join(QLatin1Char('\n')).toStdString();
    for (const QString &row : rows)
        EXPECT_TRUE(row.contains(QStringLiteral("CID TrueType Identity-H yes yes yes"))) << row.toStdString();
    const QString t = text(file);
    for (const char *w : {"Regolare", "Grassetto", "Nero", "Nerissimo"})
        EXPECT_TRUE(t.contains(QLatin1String(w))) << w << "\n" << t.toStdString();
}

TEST_F(PdfFixture, LigaturesMarksAndCharactersBeyondTheBasicPlaneCopyBackWhole)
{
    // The face ligates "fi", has U+1D538 and a combining acute of no advance.
    const QString line = QStringLiteral("fiore x\u0301 ") + QString::fromUcs4(U"\U0001D538") +
                         QStringLiteral(" fine");
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(line, 100, 100, 400, 30, 12, QStringLiteral("DejaVu Sans"));
    filter->Compressed = false;
    const QByteArray pdf = Export({{page, {memo}}});
    const QString file = Save(pdf);
    EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}).exitCode, 0);
    EXPECT_EQ(text(file).trimmed(), line);
    // The ligature maps to both letters, the astral character to its surrogate pair, and the
    // mark is listed among the widths with its width of 0.
    EXPECT_TRUE(pdf.contains("> <00660069>\r\n"));
    EXPECT_TRUE(pdf.contains("> <D835DD38>\r\n"));
    EXPECT_TRUE(pdf.contains(" [0] "));
    // The line is as wide as its glyph widths say: "fine" ends where the widths put it.
    const std::vector<Word> ws = words(file);
    ASSERT_FALSE(ws.empty());
    EXPECT_NEAR(ws.front().xMin, 0.75 * 102 + 0.5, 0.6);
}

TEST_F(PdfFixture, HebrewComesOutInVisualOrderAndReadsBack)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("שלום עולם"), 100, 100, 300, 30);
    memo->RTLReading = true;
    memo->HAlign = haRight;
    const QString file = Save(Export({{page, {memo}}}));
    const QString t = text(file);
    auto has = [&](const QString &w) {
        QString r = w;
        std::reverse(r.begin(), r.end());
        return t.contains(w) || t.contains(r);
    };
    EXPECT_TRUE(has(QStringLiteral("שלום")) && has(QStringLiteral("עולם"))) << t.toStdString();
    // Right-aligned: the last glyph on the right ends at the text edge.
    double right = 0;
    for (const Word &w : words(file))
        right = std::max(right, w.xMax);
    EXPECT_NEAR(right, 0.75 * 398 + 0.5, 0.6);
}

TEST_F(PdfFixture, FontNamesAreEscapedFromUtf8)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *a = NewMemo(QStringLiteral("uno"), 100, 100, 300, 30, 10, QStringLiteral("A#B (x)"));
    TkvlMemoView *b = NewMemo(QStringLiteral("due"), 100, 140, 300, 30, 10, QStringLiteral("Ünï"));
    filter->Compressed = false;
    const QByteArray pdf = Export({{page, {a, b}}});
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/BaseFont /[A-Z]{6}\\+A#23B#20#28x#29\r")).match(QString::fromLatin1(pdf)).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/BaseFont /[A-Z]{6}\\+#C3#9Cn#C3#AF\r")).match(QString::fromLatin1(pdf)).hasMatch());
    const QString file = Save(pdf);
    EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}).exitCode, 0);
    EXPECT_EQ(fontRows(file).size(), 2);
}

TEST_F(PdfFixture, EachAlignmentPlacesTheLineAtItsEdge)
{
    struct Case {
        TkvlHAlign align;
        const char *name;
    };
    const double left = 0.75 * 102 + 0.5, right = 0.75 * 398 + 0.5;
    for (const Case &c : {Case{haLeft, "left"}, Case{haRight, "right"}, Case{haCenter, "centre"}}) {
        SCOPED_TRACE(c.name);
        TkvlReportPage *page = NewPage();
        TkvlMemoView *memo = NewMemo(QStringLiteral("Città più già"), 100, 100, 300, 40);
        memo->HAlign = c.align;
        const QString file = Save(Export({{page, {memo}}}), QStringLiteral("%1.pdf").arg(c.name));
        const std::vector<Word> ws = words(file);
        ASSERT_EQ(ws.size(), 3u);
        EXPECT_EQ(ws[0].text + ws[1].text + ws[2].text, QStringLiteral("Cittàpiùgià"));
        const double xMin = ws.front().xMin, xMax = ws.back().xMax;
        if (c.align == haLeft)
            EXPECT_NEAR(xMin, left, 0.6);
        else if (c.align == haRight)
            EXPECT_NEAR(xMax, right, 0.6);
        else
            EXPECT_NEAR((xMin + xMax) / 2, (left + right) / 2, 0.6);
    }
}

TEST_F(PdfFixture, AJustifiedParagraphFillsEveryLineButItsLast)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(
        QStringLiteral("Il calendario degli eventi mostra ogni riunione della settimana con la sede, "
                       "il titolo e l'ora di inizio e di fine, in ordine di data."),
        100, 100, 300, 200);
    memo->HAlign = haBlock;
    const QByteArray content = Content(page, {memo});
    const qsizetype tj = content.count("] TJ\r\n"), plain = content.count("> Tj\r\n");
    EXPECT_GE(tj, 2);
    EXPECT_EQ(plain, 1);

    const QString file = Save(Export({{page, {memo}}}));
    std::map<int, double> lineEnds;   // by baseline, the right end of the line
    for (const Word &w : words(file)) {
        double &e = lineEnds[int(std::lround(w.yMax))];
        e = std::max(e, w.xMax);
    }
    ASSERT_EQ(qsizetype(lineEnds.size()), tj + 1);
    int filled = 0;
    for (const auto &[y, end] : lineEnds)
        if (std::fabs(end - (0.75 * 398 + 0.5)) < 0.6)
            ++filled;
    EXPECT_EQ(filled, tj);
}

TEST_F(PdfFixture, CharacterSpacingMovesARightAlignedLineLeft)
{
    auto tdOf = [](const QByteArray &content) {
        const qsizetype bt = content.indexOf("BT\r\n");
        return content.mid(bt + 4, content.indexOf(" Td", bt) - bt - 4).split(' ').front().toDouble();
    };
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("Spaziato"), 100, 100, 300, 40);
    memo->HAlign = haRight;
    const double x0 = tdOf(Content(page, {memo}));
    memo->CharSpacing = 2;
    const QByteArray spaced = Content(page, {memo});
    EXPECT_TRUE(spaced.contains("1.50 Tc\r\n"));
    EXPECT_NEAR(x0 - tdOf(spaced), 1.5 * 7, 0.011);
}

TEST_F(PdfFixture, RotatedMemosTurnAroundTheirCentre)
{
    struct Case {
        int rotation;
        const char *cm;
    };
    for (const Case &c : {Case{90, "0.00 1.00 -1.00 0.00 153.50 748.00 cm\r\n"},
                          Case{180, "-1.00 0.00 0.00 -1.00 153.50 750.25 cm\r\n"},
                          Case{270, "0.00 -1.00 1.00 0.00 147.50 748.00 cm\r\n"},
                          Case{45, "0.71 0.71 -0.71 0.71 150.50 748.00 cm\r\n"}}) {
        SCOPED_TRACE(c.rotation);
        TkvlReportPage *page = NewPage();
        TkvlMemoView *memo = NewMemo(QStringLiteral("Ruotato"), 100, 100, 200, 50);
        memo->SetRotation(c.rotation);
        const QByteArray content = Content(page, {memo});
        EXPECT_TRUE(content.contains(c.cm)) << content.constData();
        if (c.rotation % 90 != 0)
            continue;   // poppler reads diagonal text a few letters at a time
        const QString file = Save(Export({{page, {memo}}}));
        const QString t = text(file);
        EXPECT_TRUE(t.contains(QStringLiteral("Ruotato"))) << t.toStdString();
    }
}

TEST_F(PdfFixture, StylesWithoutFacesAreSimulatedAndLinesDrawn)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *sim = NewMemo(QStringLiteral("Simulato"), 100, 100, 300, 30, 10, QStringLiteral("Arial Black"));
    setStyle(sim, FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    const QByteArray simulated = Content(page, {sim});
    EXPECT_TRUE(simulated.contains("1 0 0.3333 1 ")) << simulated.constData();
    EXPECT_TRUE(simulated.contains("2 Tr 0.29 w 0.00 0.00 0.00 RG\r\n"));
    EXPECT_TRUE(simulated.contains("ET\r\n0 Tr\r\n"));

    TkvlMemoView *real = NewMemo(QStringLiteral("Vero"), 100, 100, 300, 30);
    setStyle(real, FontStyleBit(fsBold) | FontStyleBit(fsUnderline) | FontStyleBit(fsStrikeOut));
    const QByteArray lined = Content(page, {real});
    EXPECT_FALSE(lined.contains("Tr"));
    EXPECT_EQ(lined.count("0.80 w\r\n"), 2) << lined.constData();   // underline and strike-out
}

TEST_F(PdfFixture, AShadowNarrowsTheBoxAndIsDrawnBesideIt)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("Ombra"), 100, 100, 200, 50);
    memo->Frame()->SetDropShadow(true);
    memo->SetColor(0xFFFFFF);
    const QByteArray content = Content(page, {memo});
    EXPECT_TRUE(content.contains("222.50 729.25 3.00 34.50 re\r\nB\r\n78.50 729.25 147.00 3.00 re\r\nB\r\n"))
        << content.constData();
    EXPECT_TRUE(content.contains("1 1 1 rg\r\n75.50 732.25 147.00 34.50 re\r\nf\r\n"));
}

TEST_F(PdfFixture, RuledLinesSpanTheBox)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("Righe"), 100, 100, 200, 50);
    memo->Underlines = true;
    const QByteArray content = Content(page, {memo});
    EXPECT_TRUE(content.contains(" m\r\n225.50 ")) << content.constData();
}

TEST_F(PdfFixture, AFaceWithoutTrueTypeOutlinesGivesWayToTheDefaultFaceWithOneWarning)
{
    // Installed only with PostScript outlines.
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("Corsivo"), 100, 100, 300, 30, 12, QStringLiteral("Z003"));
    TkvlMemoView *again = NewMemo(QStringLiteral("ancora"), 100, 140, 300, 30, 12, QStringLiteral("Z003"));
    filter->Compressed = false;
    const QByteArray pdf = Export({{page, {memo, again}}});
    EXPECT_EQ(report->Errors().Count(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/BaseFont /[A-Z]{6}\\+Arial\r")).match(QString::fromLatin1(pdf)).hasMatch());
    const QString file = Save(pdf);
    const QStringList rows = fontRows(file);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].contains(QStringLiteral("CID TrueType Identity-H yes yes yes"))) << rows[0].toStdString();
    EXPECT_TRUE(text(file).contains(QStringLiteral("Corsivo")));
}
