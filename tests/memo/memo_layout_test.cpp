// Sizes, drawing and splitting of memos on the hand-computable layout (24 pixels a
// character, lines 96 pixels high, no gaps).
#include "tests/memo/memofixture.h"

#include "platform/gfx/recordingcanvas.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreportunit.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"

namespace {

using MemoLayout = MemoFixture;

QString lines(TkvlCustomMemoView *m)
{
    QString t = m->Text();
    t.chop(2);
    return t;
}

std::vector<gfx::DrawRecord> recordsOf(const gfx::RecordingCanvas &rec, gfx::DrawRecord::Kind kind)
{
    std::vector<gfx::DrawRecord> out;
    for (const gfx::DrawRecord &r : rec.records())
        if (r.kind == kind)
            out.push_back(r);
    return out;
}

TEST_F(MemoLayout, HeightAndWidthFollowTheText)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("aaaa bbbb cccc"));
    m->SetWidth(4 * 24);
    EXPECT_EQ(m->CalcHeight(), 3 * 96);
    EXPECT_EQ(m->CalcWidth(), 14 * 24);
    m->GapX = 3;
    m->GapY = 2;
    m->Frame()->SetTyp(kvlFrameAll);
    m->Frame()->SetWidth(3);
    m->SetWidth(4 * 24 + 6 + 3);
    // Gaps on both sides, (3 - 1) / 2 above and 3 / 2 below the text.
    EXPECT_EQ(m->CalcHeight(), std::nearbyint(3 * 96 + 4 + 1 + 1.5));
    EXPECT_EQ(m->CalcWidth(), std::nearbyint(14 * 24 + 6 + 1 + 1.5));
}

TEST_F(MemoLayout, AutoWidthKeepsTheRightEdgeOrTheCentre)
{
    const struct {
        TkvlHAlign align;
        double left;
    } cases[] = {{haLeft, 100}, {haRight, 100 + 500 - 96}, {haCenter, 100 + (500 - 96) / 2.0}};
    for (const auto &c : cases) {
        TkvlMemoView *m = NewMemo(QStringLiteral("abcd"));
        m->SetBounds(100, 10, 500, 100);
        m->AutoWidth = true;
        m->HAlign = c.align;
        gfx::RecordingCanvas canvas;
        canvas.setMeasurer(&measurer);
        m->Draw(&canvas, 1, 1, 0, 0);
        EXPECT_EQ(m->Width(), 96) << int(c.align);
        EXPECT_EQ(m->Left(), c.left) << int(c.align);
    }
}

TEST_F(MemoLayout, ASplitCarriesTheParagraphFlagsOverThreeParts)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("aaaa bbbb cccc dddd eeee"));
    m->SetBounds(0, 0, 4 * 24, 2 * 96 + 8);
    m->InitPart();
    QStringList parts;
    std::vector<bool> breaks;
    for (int i = 0; i < 3; ++i) {
        const double left = m->DrawPart();
        EXPECT_GT(left, 0);
        parts << lines(m);
        breaks.push_back(m->LastParaBreak);
        m->FirstParaBreak = m->LastParaBreak;
    }
    EXPECT_EQ(parts, (QStringList{"aaaa bbbb", "cccc dddd", "eeee"}));
    EXPECT_EQ(breaks, (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(m->PartMemo().trimmed().isEmpty());
}

TEST_F(MemoLayout, NoLineFitsUnlessTheSpaceBelowIsEmpty)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("aaaa bbbb"));
    m->SetBounds(0, 0, 4 * 24, 50);
    m->InitPart();
    EXPECT_EQ(m->DrawPart(), 50);  // the whole height: nothing placed
    EXPECT_TRUE(lines(m).isEmpty());
    EXPECT_TRUE(m->PartMemo().startsWith(QStringLiteral("aaaa bbbb")));

    // An empty page: the first line goes in, cut at the bottom, so the run moves on.
    m->SetSpaceEmpty(true);
    m->InitPart();
    m->SetText(QStringLiteral("aaaa bbbb"));
    m->InitPart();
    EXPECT_LT(m->DrawPart(), 1);
    EXPECT_EQ(lines(m), QStringLiteral("aaaa"));
    EXPECT_EQ(m->Height(), 50);
    EXPECT_TRUE(m->PartMemo().startsWith(QStringLiteral("bbbb")));
}

TEST_F(MemoLayout, UnderlinesRuleEveryLine)
{
    TkvlMemoView *m = NewMemo(QStringLiteral("a\nb\nc"));
    m->SetBounds(0, 0, 100, 3 * 96 + 10);
    m->Underlines = true;
    gfx::RecordingCanvas canvas;
    canvas.setMeasurer(&measurer);
    m->Draw(&canvas, 1, 1, 0, 0);
    std::vector<int> ys;
    for (const gfx::DrawRecord &r : recordsOf(canvas, gfx::DrawRecord::Line))
        if (r.points.size() == 2 && r.points[0].y() == r.points[1].y())
            ys.push_back(r.points[0].y());
    // y = Y + (GapY - LineSpacing + 1) + k * 96, while above the bottom edge.
    EXPECT_EQ(ys, (std::vector<int>{97, 193, 289}));
    EXPECT_EQ(recordsOf(canvas, gfx::DrawRecord::Text).size(), 3u);
}

TEST_F(MemoLayout, TheDesignerShowsTheBoundFieldAndPreparedMemosTheirLateMacros)
{
    TkvlDataSet ds(&report);
    ds.SetUserName(QStringLiteral("Eventi"));
    TkvlMemoView *m = NewMemo(QStringLiteral("text"));
    m->SetBounds(0, 0, 2000, 100);
    m->SetDataSet(&ds);
    m->DataField = QStringLiteral("Titolo");
    m->IsDesigning = true;
    gfx::RecordingCanvas canvas;
    canvas.setMeasurer(&measurer);
    m->Draw(&canvas, 1, 1, 0, 0);
    const auto texts = recordsOf(canvas, gfx::DrawRecord::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("[Eventi.\"Titolo\"]"));
    EXPECT_EQ(lines(m), QStringLiteral("text"));

    TkvlMemoView *p = NewMemo(QStringLiteral("Pagine [TotalPages#] [totalpages#][CopyName#]."));
    p->TotalPages = 12;
    p->ExtractMacros();
    EXPECT_EQ(lines(p), QStringLiteral("Pagine 12 12."));

    // With the process-wide "CopyName" the marker gives its text and the copy's number.
    TkvlVariables &globals = kvlGlobalVariables();
    TkvlVariable *copyName = globals.Add();
    copyName->SetName(QStringLiteral("CopyName"));
    copyName->SetValue(Variant(QStringLiteral("Copia ")));
    TkvlMemoView *n = NewMemo(QStringLiteral("[copyname#]/[CopyName#]"));
    n->CopyNo = 2;
    n->ExtractMacros();
    globals.Clear();
    EXPECT_EQ(lines(n), QStringLiteral("Copia 2/Copia 2"));
    TkvlMemoView *c = NewMemo(QStringLiteral("[TOTALPAGES] [TOTALPAGES]"));
    c->TotalPages = 3;
    EXPECT_EQ(c->GetComponentText(), QStringLiteral("3 [TOTALPAGES]\r\n"));
}

TEST_F(MemoLayout, AStyleNameTakesTheReportsStyleOfThatName)
{
    TkvlStyleItem *bold = report.Styles().Add();
    bold->SetName(QStringLiteral("Titolo"));
    bold->Font()->SetStyle(FontStyleBit(fsBold));
    bold->Font()->SetSize(14);
    bold->ApplyFill = false;
    bold->ApplyFrame = false;

    TkvlMemoView *m = NewMemo(QStringLiteral("x"));
    m->SetStyle(QStringLiteral("titolo"));
    EXPECT_EQ(m->Font()->Size(), 14);
    EXPECT_EQ(m->Font()->Style() & FontStyleBit(fsBold), FontStyleBit(fsBold));

    TkvlMemoView *other = NewMemo(QStringLiteral("y"));
    const int size = other->Font()->Size();
    other->SetStyle(QStringLiteral("Nessuno"));
    EXPECT_EQ(other->Style(), QStringLiteral("Nessuno"));
    EXPECT_EQ(other->Font()->Size(), size);
}

} // namespace
