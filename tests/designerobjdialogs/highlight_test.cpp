// The conditional highlight dialog: the single empty highlight, add, delete, move, the style
// of the sample, and the window writing the list only on OK.
#include "designer/widgets/highlighteditorform.h"
#include "platform/gfx/recordingcanvas.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace objtest;

namespace {

struct Highlights : Fixture {
    void store(QStringList Conditions)
    {
        memo->Highlights()->Clear();
        for (const QString &c : Conditions)
            static_cast<TkvlHighlight *>(memo->Highlights()->Add())->Condition = c;
    }
    QStringList stored() const
    {
        QStringList list;
        for (int i = 0; i < memo->Highlights()->Count(); ++i)
            list.append(memo->Highlights()->Items(i)->Condition);
        return list;
    }
};

TEST_F(Highlights, DeletingSelectsTheSameIndexOrTheNewLast)
{
    store({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    TkvlHighlightEditor e;
    e.Load(memo);
    e.Current = 2;
    e.Delete();
    EXPECT_EQ(e.Current, 1);
    e.Current = 0;
    e.Delete();
    EXPECT_EQ(e.Current, 0);
    EXPECT_EQ(e.CurrentItem()->Condition, QStringLiteral("b"));
    e.Delete();
    EXPECT_EQ(e.Current, -1);
    EXPECT_EQ(e.CurrentItem(), nullptr);
    e.Delete();  // nothing selected: nothing happens
    EXPECT_EQ(e.Count(), 0);
}

TEST_F(Highlights, SampleIsDrawnWithTheHighlightsFont)
{
    TkvlHighlight h(nullptr);
    h.Font()->SetName(QStringLiteral("Courier New"));
    h.Font()->SetSize(14);
    gfx::RecordingCanvas canvas;
    kvlDrawHighlightSample(&canvas, QRect(0, 0, 200, 60), &h);
    const auto texts = canvas.textRecords();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().text, QStringLiteral("Sample"));
    const gfx::DrawRecord &r = canvas.records()[size_t(texts.front().index)];
    EXPECT_EQ(r.font.name, QStringLiteral("Courier New"));
    EXPECT_EQ(r.font.color, 255) << "red by default";
    // Centred: as much room left as right.
    EXPECT_NEAR(texts.front().bounds.left() - 0, 200 - texts.front().bounds.right(), 8);
}

struct HighlightWindow : Highlights {
    bool run(std::function<void(TkvlHighlightEditorForm *)> Steps, bool Ok = true)
    {
        whenModal([Steps, Ok](QDialog *d) {
            auto *f = static_cast<TkvlHighlightEditorForm *>(d);
            Steps(f);
            click(child<QWidget>(f, Ok ? "OKB" : "CancelB"));
        });
        return kvlEditHighlights(nullptr, designer.get(), memo);
    }
};

TEST_F(HighlightWindow, OneEmptyHighlightOpensEmptyAndOkStoresOneAgain)
{
    store({QString()});
    ASSERT_TRUE(run([](TkvlHighlightEditorForm *f) {
        EXPECT_EQ(f->HighlightsLB->count(), 0);
        EXPECT_FALSE(f->DeleteB->isEnabled());
        EXPECT_FALSE(f->FontCB->isEnabled());
    }));
    EXPECT_EQ(stored(), QStringList{QString()});
}

TEST_F(HighlightWindow, AddCancelledAddsNothingAndDeletingTheOnlyEntryDisablesTheControls)
{
    store({QStringLiteral("Value > 1")});
    designer->answers = {QString()};  // the expression editor cancelled
    ASSERT_TRUE(run([](TkvlHighlightEditorForm *f) {
        click(f->AddB);
        EXPECT_EQ(f->HighlightsLB->count(), 1);
        click(f->DeleteB);
        EXPECT_EQ(f->HighlightsLB->count(), 0);
        for (QWidget *w : std::initializer_list<QWidget *>{f->DeleteB, f->EditB, f->UpB, f->DownB, f->FrameCB, f->FontB})
            EXPECT_FALSE(w->isEnabled());
    }));
    EXPECT_EQ(designer->asked, QStringList{QStringLiteral("Value = 0")});
    EXPECT_EQ(stored(), QStringList{QString()}) << "an empty list stores one empty highlight";
}

TEST_F(HighlightWindow, AddedAndMovedUpIsStoredInTheNewOrderOnlyOnOk)
{
    store({QStringLiteral("a"), QStringLiteral("b")});
    for (bool ok : {false, true}) {
        designer->answers = {QStringLiteral("c")};
        const bool accepted = run(
            [](TkvlHighlightEditorForm *f) {
                click(f->AddB);
                ASSERT_EQ(f->HighlightsLB->currentRow(), 2);
                EXPECT_FALSE(f->DownB->isEnabled());
                click(f->UpB);
                EXPECT_EQ(f->HighlightsLB->currentRow(), 1);
                EXPECT_EQ(f->HighlightsLB->item(1)->text(), QStringLiteral("c"));
                // Untick the font of the selected one.
                click(f->FontCB);
                EXPECT_FALSE(f->FontB->isEnabled());
            },
            ok);
        EXPECT_EQ(accepted, ok);
    }
    EXPECT_EQ(stored(), (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("b")}));
    EXPECT_FALSE(memo->Highlights()->Items(1)->ApplyFont);
    EXPECT_TRUE(memo->Highlights()->Items(0)->ApplyFont);
}

TEST_F(HighlightWindow, FillChosenInTheNestedDialogChangesTheFillKind)
{
    store({QStringLiteral("a")});
    ASSERT_TRUE(run([](TkvlHighlightEditorForm *f) {
        whenModal([](QDialog *fill) {
            auto *tabs = child<QTabWidget>(fill, "PageControl");
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(ftGlass).center());
            click(child<QWidget>(fill, "OKB"));
        });
        click(f->FillB);
    }));
    EXPECT_EQ(memo->Highlights()->Items(0)->FillType(), ftGlass);
}

} // namespace
