// The view base: drawing geometry, fill kinds, links, and what printing expands and undoes.
#include "report/seams/kvldesigner.h"
#include "report/views/kvlview.h"
#include "tests/views/viewfixture.h"

#include <gtest/gtest.h>

using gfx::DrawRecord;
using gfx::RecordingCanvas;

namespace {

struct Geometry {
    double left, scale, offX, offY, shadow;
    int x, y, x1, y1, frameWidth;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override { registerViewClassesOnce(); }
    TkvlView *newView(double l = 10, double t = 20, double w = 100, double h = 40)
    {
        auto *v = new TkvlView(&report);
        v->SetBounds(l, t, w, h);
        return v;
    }
    ViewReport report;
};

} // namespace

TEST_F(ViewTest, BeginDrawRoundsTheBoundsAndKeepsTheShadowInside)
{
    // Bounds 100 x 40 at (left, 20); rnd ties go to the even pixel.
    const Geometry cases[] = {
        {10, 1, 0, 0, 0, 10, 20, 110, 60, 1},
        {10, 1, 0, 0, 4, 10, 20, 106, 56, 1},
        {10, 2, 5, 7, 0, 25, 47, 225, 127, 2},
        {10, 2, 0, 0, 4, 20, 40, 212, 112, 2},
        {10.25, 2, 0, 0, 0, 20, 40, 220, 120, 2},  // 20.5 -> 20, 220.5 -> 220
        {10.75, 2, 0, 0, 0, 22, 40, 222, 120, 2},  // 21.5 -> 22, 221.5 -> 222
    };
    for (const Geometry &c : cases) {
        SCOPED_TRACE(testing::Message() << "left " << c.left << " scale " << c.scale << " shadow " << c.shadow);
        TkvlView *v = newView(c.left);
        v->Frame()->SetDropShadow(c.shadow > 0);
        if (c.shadow > 0)
            v->Frame()->SetShadowWidth(c.shadow);
        RecordingCanvas rec;
        v->BeginDraw(&rec, c.scale, c.scale, c.offX, c.offY);
        EXPECT_EQ(QRect(QPoint(v->X, v->Y), QPoint(v->X1, v->Y1)), QRect(QPoint(c.x, c.y), QPoint(c.x1, c.y1)));
        EXPECT_EQ(v->DX, c.x1 - c.x);
        EXPECT_EQ(v->DY, c.y1 - c.y);
        EXPECT_EQ(v->FrameWidth, c.frameWidth);
        EXPECT_EQ(v->Canvas, &rec);
        delete v;
    }
}

TEST_F(ViewTest, BackgroundReachesUnderTheOuterHalfOfEachDrawnFrameLine)
{
    struct Case {
        TkvlFrameTyp typ;
        double scale;
        QRect fill;
    } cases[] = {
        // Width 3: half rnd(1.5) = 2 outside, plus rnd(3) mod 2 = 1 to the right and bottom.
        {kvlFrameAll, 1, QRect(QPoint(8, 18), QPoint(112, 62))},
        {kvlFrameBit(ftLeft) | kvlFrameBit(ftTop), 1, QRect(QPoint(8, 18), QPoint(109, 59))},
        {0, 1, QRect(QPoint(10, 20), QPoint(109, 59))},
        // Scale 2: half 3, rnd(6) mod 2 = 0.
        {kvlFrameAll, 2, QRect(QPoint(17, 37), QPoint(222, 122))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "typ " << c.typ << " scale " << c.scale);
        TkvlView *v = newView();
        v->SetColor(0x00FF00);
        v->Frame()->SetWidth(3);
        v->Frame()->SetTyp(c.typ);
        RecordingCanvas rec;
        v->BeginDraw(&rec, c.scale, c.scale, 0, 0);
        v->DrawBackground();
        const auto fills = recordsOf(rec, DrawRecord::FillRect);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].rect, c.fill);
        EXPECT_EQ(fills[0].state.brush.color, 0x00FF00);
        delete v;
    }
}

TEST_F(ViewTest, SetURLChoosesTheLinkKindByItsFirstCharacter)
{
    struct Case {
        QString url;
        TkvlHyperlinkKind kind;
        QString value;
    } cases[] = {
        {QStringLiteral("@12"), hkPageNumber, QStringLiteral("12")},
        {QStringLiteral("#Top"), hkAnchor, QStringLiteral("Top")},
        {QStringLiteral("http://example.org/a#b"), hkURL, QStringLiteral("http://example.org/a#b")},
        {QStringLiteral("@") + QString(300, QLatin1Char('9')), hkPageNumber, QString(255, QLatin1Char('9'))},
    };
    for (const Case &c : cases) {
        TkvlView *v = newView();
        v->SetURL(c.url);
        EXPECT_EQ(v->Hyperlink()->FKind, c.kind) << c.url.toStdString();
        EXPECT_EQ(v->Hyperlink()->FValue, c.value) << c.url.toStdString();
        // Empty changes nothing.
        v->SetURL(QString());
        EXPECT_EQ(v->Hyperlink()->FValue, c.value);
        delete v;
    }
}

namespace {
class CountingDesigner : public TkvlCustomDesigner {
public:
    explicit CountingDesigner(TkvlReport *r) : TkvlCustomDesigner(nullptr, r, false) {}
    int inspectorUpdates = 0;
    QString GetCode() override { return {}; }
    QString InsertExpression(const QString &) override { return {}; }
    void Lock() override {}
    void ReloadPages(int) override {}
    void ReloadReport() override {}
    void UpdateDataTree() override {}
    void UpdatePage() override {}
    void UpdateInspector() override { ++inspectorUpdates; }
    void DisableInspectorUpdate() override {}
    void EnableInspectorUpdate() override {}
};
} // namespace

TEST_F(ViewTest, FillKindsDecideColourAndBrushStyle)
{
    CountingDesigner designer(&report);
    report.Designer = &designer;
    TkvlView *v = newView();
    EXPECT_EQ(v->FillType(), ftBrush);
    EXPECT_EQ(v->Color(), clNone);
    EXPECT_EQ(v->BrushStyle(), bsSolid);
    v->SetColor(0xFF);
    EXPECT_EQ(v->Color(), 0xFF);

    v->SetFillType(ftGlass);
    EXPECT_EQ(designer.inspectorUpdates, 1);
    EXPECT_EQ(v->Color(), clNone);
    EXPECT_EQ(v->BrushStyle(), bsClear);
    v->SetColor(0xFF);  // ignored by a glass fill
    EXPECT_EQ(v->Color(), clNone);
    v->SetFillType(ftGlass);  // same kind: the fill and the inspector stay
    EXPECT_EQ(designer.inspectorUpdates, 1);

    // A gradient reports its middle colour: 255 + MulDiv(127, -255, 255) = 128 per channel.
    TkvlGradientFill g;
    v->SetFill(&g);
    EXPECT_EQ(v->FillType(), ftGradient);
    EXPECT_EQ(v->Color(), 0x808080);
    EXPECT_NE(v->Fill(), &g);
    EXPECT_EQ(designer.inspectorUpdates, 2);

    v->SetFillType(ftBrush);
    EXPECT_EQ(v->Color(), clNone);  // a new brush fill has its defaults
    EXPECT_FALSE(v->Printable() == false);
    v->SetPrintable(false);
    EXPECT_EQ(v->Visibility, kvlBit(vsPreview) | kvlBit(vsExport));
    report.Designer = nullptr;
    delete v;
}

TEST_F(ViewTest, TagExpressionsAreExpandedWhilePrintingAndRestoredAfterwards)
{
    report.Values[QStringLiteral("1+1")] = Variant(2);
    report.Values[QStringLiteral("'a]b'")] = Variant(QStringLiteral("a]b"));
    struct Case {
        QString tag, printed;
    } cases[] = {
        {QStringLiteral("[1+1] apples"), QStringLiteral("2 apples")},
        {QStringLiteral("[1+1][1+1]"), QStringLiteral("22")},
        // A quoted closing bracket stays inside the expression.
        {QStringLiteral("x ['a]b'] y"), QStringLiteral("x a]b y")},
        // From an unclosed bracket on, the text stays as written.
        {QStringLiteral("[1+1] and [1+1"), QStringLiteral("2 and [1+1")},
    };
    for (const Case &c : cases) {
        TkvlView *v = newView();
        v->TagStr = c.tag;
        v->Hyperlink()->FValue = QStringLiteral("[1+1];x");
        v->BeforePrint();
        EXPECT_EQ(report.SelfValue(), v);
        v->SetLeft(500);  // a script moves it while printing
        v->GetData();
        EXPECT_EQ(v->TagStr, c.printed);
        EXPECT_EQ(v->Hyperlink()->FValue, QStringLiteral("2;x"));
        v->AfterPrint();
        EXPECT_EQ(v->TagStr, c.tag);
        EXPECT_EQ(v->Hyperlink()->FValue, QStringLiteral("[1+1];x"));
        EXPECT_EQ(v->Left(), 10);
        delete v;
    }
}

TEST_F(ViewTest, RecordAfterRecordTheTagAndLinkOfThatRecordAreRestored)
{
    // The saved texts are kept from record to record: a tag or link set, changed or cleared
    // between records must come back as it was for that record, never as an older one.
    report.Values[QStringLiteral("1+1")] = Variant(2);
    const struct {
        QString tag, link, printedTag, printedLink;
    } records[] = {
        {QString(), QString(), QString(), QString()},
        {QStringLiteral("[1+1]"), QString(), QStringLiteral("2"), QString()},
        {QString(), QStringLiteral("u[1+1]"), QString(), QStringLiteral("u2")},
        {QStringLiteral("plain"), QStringLiteral("[1+1]"), QStringLiteral("plain"), QStringLiteral("2")},
        {QString(), QString(), QString(), QString()},
    };
    TkvlView *v = newView();
    for (const auto &r : records) {
        v->TagStr = r.tag;
        v->Hyperlink()->FValue = r.link;
        v->BeforePrint();
        v->GetData();
        EXPECT_EQ(v->TagStr, r.printedTag);
        EXPECT_EQ(v->Hyperlink()->FValue, r.printedLink);
        v->AfterPrint();
        EXPECT_EQ(v->TagStr, r.tag);
        EXPECT_EQ(v->Hyperlink()->FValue, r.link);
    }
    delete v;
}

TEST_F(ViewTest, LinkExpressionsBecomeLiteralsOfTheReportsLanguage)
{
    const QString texts[] = {QStringLiteral("O'Hara"), QStringLiteral("a\"b"), QStringLiteral("a\\b"),
                             QStringLiteral("x\r\ny"), QString()};
    struct Case {
        const char *language;
        QStringList literals;
    } cases[] = {
        {"DozovoZozedi", {"'O''Hara'", "'a\"b'", "'a\\b'", "'x'#13#10'y'", "''"}},
        {"DevavAraroz", {"\"O'Hara\"", "\"a\"\"b\"", "\"a\\b\"", "\"x\"#13#10\"y\"", "\"\""}},
        {"D++Iraved", {"\"O'Hara\"", "\"a\\\"b\"", "\"a\\\\b\"", "\"x\"#13#10\"y\"", "\"\""}},
        {"JScript", {"\"O'Hara\"", "\"a\\\"b\"", "\"a\\\\b\"", "\"x\"#13#10\"y\"", "\"\""}},
    };
    for (const Case &c : cases) {
        report.ScriptLanguage = QString::fromLatin1(c.language);
        for (int i = 0; i < 5; ++i) {
            report.Values[QStringLiteral("E")] = Variant(texts[i]);
            TkvlView *v = newView();
            v->Hyperlink()->FKind = hkCustom;
            v->Hyperlink()->FExpression = QStringLiteral("E");
            v->GetData();
            EXPECT_EQ(v->Hyperlink()->FValue, c.literals[i]) << c.language << " " << texts[i].toStdString();
            // A URL takes the text as it is.
            v->Hyperlink()->FKind = hkURL;
            v->GetData();
            EXPECT_EQ(v->Hyperlink()->FValue, texts[i]);
            delete v;
        }
    }
    // Text only of line breaks.
    EXPECT_EQ(kvlScriptStringLiteral(QStringLiteral("DozovoZozedi"), QStringLiteral("\r\n")), QStringLiteral("#13#10"));
}

TEST_F(ViewTest, LinkExpressionPartsAreComputedOneByOneUnlessTheSeparatorIsEmpty)
{
    report.ScriptLanguage = QStringLiteral("DozovoZozedi");
    report.Values[QStringLiteral("A")] = Variant(QStringLiteral("x"));
    report.Values[QStringLiteral("B")] = Variant(7);
    report.Values[QStringLiteral("A;B")] = Variant(QStringLiteral("whole"));
    TkvlView *v = newView();
    v->Hyperlink()->FKind = hkDetailReport;
    v->Hyperlink()->FExpression = QStringLiteral("A;B");
    v->GetData();
    EXPECT_EQ(v->Hyperlink()->FValue, QStringLiteral("'x';7"));
    v->Hyperlink()->FValuesSeparator.clear();
    v->GetData();
    EXPECT_EQ(v->Hyperlink()->FValue, QStringLiteral("'whole'"));
    delete v;
}
