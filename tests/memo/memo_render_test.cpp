// Memos drawn offscreen against the pictures in tests/data/memo. Those pictures are painted by
// the reference painter below straight from the placement rules, never by the memo or layout
// code; LIRRA_UPDATE_REFERENCES=1 paints them anew.
//
// The fixtures use "Courier New" at 10 points (the fixed-pitch face of the project's font set):
// every character is 1229/2048 em wide, so 50 units at 600 dpi and 8 pixels at 96 dpi, with the
// glyphs drawn at 13 pixels (-rnd(10 * 96 / 72)) and the baseline 11 pixels below the top of the
// cell (rnd(1705 * 13 / 2048)). A line is 94/6.25 + 2 = 17.04 pixels high, so n lines take
// rnd(17.04 n) = 17 n pixels for n up to 5: line i is drawn 17 i below the first. A memo at
// (10, 10, 200 x h) has the text rectangle (12, 11) - (209, 10 + h): 197 pixels wide, which
// wraps at 24 characters (rnd(197 * 6.25) = 1231 units).
#include "tests/memo/memofixture.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/tfont.h"
#include "tests/referencepicture.h"

#include <QDir>
#include <QFileInfo>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>

#include <functional>

namespace {

constexpr int kAdvance = 8, kPitch = 17, kAscent = 11, kEm = 13;
constexpr int kLeft = 12, kTop = 11, kWidth = 197;  // the text rectangle of a memo at (10, 10)
const QSize kPicture(220, 130);

const char *faceFile(bool bold)
{
    return bold ? "/usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf"
                : "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";
}

QRawFont face(bool bold)
{
    return QRawFont(QString::fromLatin1(faceFile(bold)), kEm, QFont::PreferNoHinting);
}

// ---- the reference painter ----------------------------------------------------------------

// One run of characters from (x, y), the top of its cell, turned by Rotation degrees
// counter-clockwise; Extra[i] pixels are added after character i.
struct TextRun {
    TextRun(QString Text, int X, int Y, bool Bold = false, QColor Color = Qt::black, int Rotation = 0)
        : text(std::move(Text)), x(X), y(Y), bold(Bold), color(Color), rotation(Rotation)
    {
    }
    QString text;
    int x, y;
    std::vector<int> extra;
    bool bold;
    QColor color;
    int rotation;
};

void paint(QPainter &p, const TextRun &r)
{
    const QRawFont raw = face(r.bold);
    const QList<quint32> glyphs = raw.glyphIndexesForString(r.text);
    QList<QPointF> pos;
    int px = 0;
    for (qsizetype i = 0; i < r.text.size(); ++i) {
        pos.append(QPointF(px, kAscent));
        px += kAdvance + (size_t(i) < r.extra.size() ? r.extra[size_t(i)] : 0);
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(pos);
    p.save();
    p.translate(r.x, r.y);
    p.rotate(-r.rotation);
    p.setPen(r.color);
    p.drawGlyphRun(QPointF(0, 0), run);
    p.restore();
}

QImage paintReference(const std::vector<TextRun> &runs, const std::function<void(QPainter &)> &before = {})
{
    QImage img(kPicture, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    if (before)
        before(p);
    for (const TextRun &r : runs)
        paint(p, r);
    return img;
}

// A justified line: the room left over goes to the blanks, the first ones one pixel more.
TextRun justified(const QString &text, int x, int y, int room)
{
    TextRun r(text, x, y);
    const int blanks = int(text.count(u' '));
    const int diff = room - kAdvance * int(text.size());
    r.extra.assign(size_t(text.size()), 0);
    for (int i = 0, k = 0; i < text.size(); ++i)
        if (text[i] == u' ')
            r.extra[size_t(i)] = diff / blanks + (k++ < diff % blanks ? 1 : 0);
    return r;
}

// The paragraph of the justified fixtures wraps, with a first-line indent of 16 pixels (22
// characters on the first line, 24 on the others), into these four lines.
const QString kParagraph =
    QStringLiteral("Il calendario mostra le riunioni della settimana con gli orari e le sale prenotate.");
const QString kWrapped[] = {QStringLiteral("Il calendario mostra"), QStringLiteral("le riunioni della"),
                            QStringLiteral("settimana con gli orari"), QStringLiteral("e le sale prenotate.")};

// ---- the fixtures ---------------------------------------------------------------------------

struct Fixture {
    const char *name;
    std::function<void(TkvlMemoView *)> setup;
    std::vector<TextRun> expected;
    std::function<void(QPainter &)> before = {};
};

int centred(int chars)
{
    // rnd((197 - 8n) / 2): halves go to the even number
    return kLeft + int(std::nearbyint((kWidth - kAdvance * chars) / 2.0));
}

std::vector<Fixture> fixtures()
{
    const QString r1 = QStringLiteral("Riunione"), r2 = QStringLiteral("Sala grande"), r3 = QStringLiteral("ore 9");
    auto text = [](const QString &t) { return [t](TkvlMemoView *m) { m->SetText(t); }; };
    auto aligned = [=](TkvlHAlign a) {
        return [a, t = QString(r1 + u'\n' + r2 + u'\n' + r3)](TkvlMemoView *m) {
            m->SetText(t);
            m->HAlign = a;
        };
    };
    auto right = [](int chars) { return kLeft + kWidth - kAdvance * chars; };
    return {
        {"left", aligned(haLeft),
         {{r1, kLeft, kTop}, {r2, kLeft, kTop + kPitch}, {r3, kLeft, kTop + 2 * kPitch}}},
        {"right", aligned(haRight),
         {{r1, right(8), kTop}, {r2, right(11), kTop + kPitch}, {r3, right(5), kTop + 2 * kPitch}}},
        {"center", aligned(haCenter),
         {{r1, centred(8), kTop}, {r2, centred(11), kTop + kPitch}, {r3, centred(5), kTop + 2 * kPitch}}},
        // Turned a quarter: the first line starts at the bottom left corner of the text
        // rectangle and runs upwards; the next line lies to its right.
        {"rotation90",
         [](TkvlMemoView *m) {
             m->SetText(QStringLiteral("Ruotato\nverso l'alto"));
             m->SetRotation(90);
         },
         {{QStringLiteral("Ruotato"), kLeft, 10 + 110, false, Qt::black, 90},
          {QStringLiteral("verso l'alto"), kLeft + kPitch, 10 + 110, false, Qt::black, 90}}},
        {"justified",
         [](TkvlMemoView *m) {
             m->SetText(kParagraph + QStringLiteral("\nFine."));
             m->HAlign = haBlock;
             m->ParagraphGap = 16;
         },
         {justified(kWrapped[0], kLeft + 16, kTop, kWidth - 16), justified(kWrapped[1], kLeft, kTop + kPitch, kWidth),
          justified(kWrapped[2], kLeft, kTop + 2 * kPitch, kWidth), {kWrapped[3], kLeft, kTop + 3 * kPitch},
          {QStringLiteral("Fine."), kLeft + 16, kTop + 4 * kPitch}}},
        // Rules one pixel high in the frame colour from X to X1 (its end excluded), at
        // rnd(10 + k * 17.04) while above the bottom 10 + 110.
        {"underlines",
         [=](TkvlMemoView *m) {
             text(r1 + u'\n' + r2)(m);
             m->Underlines = true;
             m->Frame()->SetColor(0x00FF00);  // green
         },
         {{r1, kLeft, kTop}, {r2, kLeft, kTop + kPitch}},
         [](QPainter &p) {
             for (int k = 1; k <= 6; ++k)
                 p.fillRect(QRect(10, int(std::nearbyint(10 + k * 17.04)), 200, 1), QColor(0, 255, 0));
         }},
        {"tags",
         [](TkvlMemoView *m) {
             m->SetText(QStringLiteral("<b>Grassetto</b> e <font color=red>rosso</font>"));
             m->AllowHTMLTags = true;
         },
         {{QStringLiteral("Grassetto"), kLeft, kTop, true},
          {QStringLiteral(" e "), kLeft + 9 * kAdvance, kTop},
          {QStringLiteral("rosso"), kLeft + 12 * kAdvance, kTop, false, QColor(255, 0, 0)}}},
    };
}

// ---- the memo side --------------------------------------------------------------------------

struct MemoRender : MemoFixture {
    TkvlMemoView *Memo(double Height)
    {
        auto *m = new TkvlMemoView(&report);
        TFont f;
        f.SetName(QStringLiteral("Courier New"));
        f.SetSize(10);
        f.SetColor(0);
        m->SetFont(&f);
        m->SetBounds(10, 10, 200, Height);
        return m;
    }

    static QImage Draw(TkvlMemoView *m)
    {
        QImage img(kPicture, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            gfx::PainterCanvas canvas(&img, 96, 96);
            m->Draw(&canvas, 1, 1, 0, 0);
            canvas.flush();
        }
        return img;
    }
};

// Every pixel within a small tolerance of the reference; the picture is written anew first
// when asked to.
void expectMatches(const QImage &actual, const QImage &reference, const QString &name)
{
    testsupport::expectMatchesPicture(actual, QStringLiteral("memo/%1.png").arg(name), reference);
}

// The numbers above hold only for the face they were worked out from.
TEST(MemoRenderFont, TheFixedPitchFaceHasTheMetricsTheReferencesUse)
{
    for (bool bold : {false, true}) {
        const QRawFont raw(QString::fromLatin1(faceFile(bold)), 2048, QFont::PreferNoHinting);
        ASSERT_TRUE(raw.isValid()) << faceFile(bold);
        ASSERT_EQ(raw.unitsPerEm(), 2048);
        const QByteArray os2 = raw.fontTable("OS/2");
        ASSERT_GE(os2.size(), 78);
        EXPECT_EQ(qFromBigEndian<quint16>(os2.constData() + 74), 1705);  // usWinAscent
        EXPECT_EQ(qFromBigEndian<quint16>(os2.constData() + 76), 615);   // usWinDescent
        const QList<quint32> g = raw.glyphIndexesForString(QStringLiteral("Wi"));
        for (const QPointF &a : raw.advancesForGlyphIndexes(g))
            EXPECT_EQ(a.x(), 1229);
    }
}

TEST_F(MemoRender, AlignmentsRotationJustificationUnderlinesAndTagsMatchTheirReferences)
{
    for (const Fixture &f : fixtures()) {
        TkvlMemoView *m = Memo(110);
        f.setup(m);
        expectMatches(Draw(m), paintReference(f.expected, f.before), QString::fromLatin1(f.name));
    }
}

// The justified paragraph split into parts two lines high, each part drawn as the band engine
// leaves it: the last line of a part cut inside the paragraph stays justified, the next part
// begins without the paragraph's indent.
TEST_F(MemoRender, TheSplitMemoDrawsItsPartsLikeTheWholeParagraph)
{
    TkvlMemoView *m = Memo(40);  // trunc(40 / 17.04) = 2 lines
    m->SetText(kParagraph + QStringLiteral("\nFine."));
    m->HAlign = haBlock;
    m->ParagraphGap = 16;
    const std::vector<TextRun> parts[] = {
        {justified(kWrapped[0], kLeft + 16, kTop, kWidth - 16), justified(kWrapped[1], kLeft, kTop + kPitch, kWidth)},
        {justified(kWrapped[2], kLeft, kTop, kWidth), {kWrapped[3], kLeft, kTop + kPitch}},
        {{QStringLiteral("Fine."), kLeft + 16, kTop}},
    };
    m->InitPart();
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_GT(m->DrawPart(), 0);
        expectMatches(Draw(m), paintReference(parts[k]), QStringLiteral("split%1").arg(k + 1));
        // What the prepared copy's attribute text does between two parts.
        m->FirstParaBreak = m->LastParaBreak;
        m->LastParaBreak = false;
    }
    EXPECT_TRUE(m->PartMemo().isEmpty());
}

} // namespace
