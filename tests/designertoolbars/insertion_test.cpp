// New objects from the workspace's insertion, component editors, the format sample and
// resetting inherited objects.
#include "tbfixture.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/dmp/kvldmppage.h"

#include "designer/core/insertion.h"
#include "designer/core/sampleformat.h"
#include "designer/core/workspace.h"
#include "report/bands/kvlband.h"
#include "report/bands/kvlsubreport.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/views/kvlline.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tbtest;

// A panel-like object that takes what is drawn inside it.
class TTestContainer : public TkvlView {
    LIRRA_CLASS(TTestContainer, TkvlView)
public:
    explicit TTestContainer(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr) : TkvlView(AOwner, Design)
    {
        SetkvComponentStyle(kvComponentStyle() | kvlBit(csContainer));
    }
    bool ContainerAdd(TkvlComponent *Obj) override
    {
        Obj->SetLeft(Obj->Left() - Left());
        Obj->SetTop(Obj->Top() - Top());
        Obj->SetParent(this);
        return true;
    }
};
class TTestButton : public TkvlDialogControl {
    LIRRA_CLASS(TTestButton, TkvlDialogControl)
public:
    using TkvlDialogControl::TkvlDialogControl;
};
LIRRA_DEFINE_CLASS(TTestContainer)
LIRRA_DEFINE_CLASS(TTestButton)
void TTestContainer::DeclareClass(rtl::ClassBuilder<TTestContainer> &) {}
void TTestButton::DeclareClass(rtl::ClassBuilder<TTestButton> &) {}

namespace {

int editorRuns = 0;
class CountingEditor : public TkvlComponentEditor {
public:
    using TkvlComponentEditor::TkvlComponentEditor;
    bool HasEditor() override { return true; }
    bool Edit() override
    {
        ++editorRuns;
        return true;
    }
};

struct Insert : Report, ::testing::Test {
    TkvlInsertion insertion;
    TSampleFormat sample;
    TkvlInsertContext ctx;
    int selectPressed = 0, broughtToFront = 0;

    Insert()
    {
        kvlRegisterDialogControlClasses();
        ctx.Designer = designer.get();
        ctx.Insertion = &insertion;
        ctx.Sample = &sample;
        ctx.PressSelectTool = [this] { ++selectPressed; };
        ctx.BringWorkspaceToFront = [this] { ++broughtToFront; };
        load();
        editorRuns = 0;
    }
    ~Insert() override { kvlComponentEditors().UnRegister(kvlComponentEditorClass<CountingEditor>()); }
    void arm(const rtl::ClassInfo *cls, double l, double t, double w, double h, uint16_t flags = 0)
    {
        insertion.ComponentClass = cls;
        insertion.Left = l;
        insertion.Top = t;
        insertion.Width = w;
        insertion.Height = h;
        insertion.Flags = flags;
    }
    // What the workspace does after a drag: the outline moves, the armed class stays.
    TkvlComponent *draw(double l, double t, double w, double h)
    {
        insertion.Left = l;
        insertion.Top = t;
        insertion.Width = w;
        insertion.Height = h;
        return OnInsertObject(ctx);
    }
};

} // namespace

TEST_F(Insert, NothingIsMadeForAnEmptyOrCancelledInsertion)
{
    arm(TkvlMemoView::StaticClass(), 10, 10, 0, 0);
    EXPECT_EQ(OnInsertObject(ctx), nullptr);
    EXPECT_EQ(insertion.ComponentClass, TkvlMemoView::StaticClass());  // still armed
    EXPECT_EQ(selectPressed, 0);

    arm(TkvlMemoView::StaticClass(), 10, -1, 50, 20);
    EXPECT_EQ(OnInsertObject(ctx), nullptr);
    EXPECT_EQ(insertion.ComponentClass, nullptr);
    EXPECT_EQ(selectPressed, 1);

    TkvlDesigner settings(nullptr);
    settings.Restrictions = kvlBit(drDontInsertObject);
    arm(TkvlMemoView::StaticClass(), 10, 10, 50, 20);
    EXPECT_EQ(OnInsertObject(ctx), nullptr);
    EXPECT_EQ(insertion.ComponentClass, nullptr);
    EXPECT_EQ(page->ObjectCount(), 0);
    EXPECT_EQ(designer->modifiedCalls, 0);
}

TEST_F(Insert, AMemoIsNamedPlacedSelectedAndAnnouncedOnce)
{
    TkvlDesigner settings(nullptr);
    std::vector<TComponent *> announced;
    settings.OnInsertObject = [&](TComponent *o) { announced.push_back(o); };
    add<TkvlMemoView>(page, "Memo1");
    arm(TkvlMemoView::StaticClass(), 20, 30, 100, 18);
    TkvlComponent *m = OnInsertObject(ctx);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Name(), QStringLiteral("Memo2"));
    EXPECT_EQ(m->Parent(), page);
    EXPECT_EQ((TkvlRect{m->Left(), m->Top(), m->Width(), m->Height()}), (TkvlRect{20, 30, 100, 18}));
    EXPECT_EQ(designer->SelectedObjects, std::vector<TkvlComponent *>{m});
    EXPECT_EQ(designer->Objects.back(), m);
    EXPECT_EQ(announced, std::vector<TComponent *>{m});
    EXPECT_EQ(designer->modifiedCalls, 1);
    EXPECT_EQ(insertion.ComponentClass, nullptr);
    EXPECT_EQ(selectPressed, 1);
    EXPECT_EQ(broughtToFront, 1);
}

TEST_F(Insert, TheTextToolStaysPressed)
{
    ctx.TextToolDown = true;
    arm(TkvlMemoView::StaticClass(), 0, 0, 50, 20);
    ASSERT_NE(OnInsertObject(ctx), nullptr);
    EXPECT_EQ(selectPressed, 0);
}

TEST_F(Insert, ThreeLinesAfterOneClickOnTheTool)
{
    arm(TkvlLineView::StaticClass(), 0, 0, 100, 0, 1);
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(draw(10, 10 + i * 20, 100, 0), nullptr) << i;
    EXPECT_EQ(page->ObjectCount(), 3);
    EXPECT_EQ(page->Object(2)->Name(), QStringLiteral("Line3"));
    EXPECT_EQ(insertion.ComponentClass, TkvlLineView::StaticClass());
    EXPECT_EQ(insertion.Flags, 1);
    EXPECT_EQ(selectPressed, 0);
}

TEST_F(Insert, AContainerTakesWhatIsDrawnInsideIt)
{
    auto *box = add<TTestContainer>(page, "Box", 100, 100, 200, 100);
    load();
    const size_t before = designer->Objects.size();
    arm(TkvlMemoView::StaticClass(), 110, 120, 50, 20);
    TkvlComponent *inside = OnInsertObject(ctx);
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->Parent(), box);
    EXPECT_EQ(designer->Objects.size(), before);

    // Sticking out on the right: the page keeps it.
    arm(TkvlMemoView::StaticClass(), 260, 120, 50, 20);
    TkvlComponent *across = OnInsertObject(ctx);
    EXPECT_EQ(across->Parent(), page);
    EXPECT_EQ(designer->Objects.back(), across);
}

TEST_F(Insert, ASubreportGetsAPageLikeTheOneItWasDrawnOn)
{
    page->SetOrientation(poLandscape);
    page->LeftMargin = 15;
    page->TopMargin = 12;
    page->SetColumns(2);
    page->Bin = 7;
    page->MirrorMargins = true;
    page->Duplex = dmVertical;
    arm(TkvlSubreport::StaticClass(), 10, 10, 200, 50);
    auto *sub = dynamic_cast<TkvlSubreport *>(OnInsertObject(ctx));
    ASSERT_NE(sub, nullptr);
    TkvlReportPage *p = sub->Page();
    ASSERT_NE(p, nullptr);
    EXPECT_NE(p, page);
    EXPECT_EQ(p->Name(), QStringLiteral("Page2"));
    EXPECT_EQ(p->Orientation(), poLandscape);
    EXPECT_EQ(p->PaperWidth(), page->PaperWidth());
    EXPECT_EQ(p->PaperHeight(), page->PaperHeight());
    EXPECT_EQ(p->LeftMargin, 15);
    EXPECT_EQ(p->TopMargin, 12);
    EXPECT_EQ(p->Columns(), 2);
    EXPECT_EQ(p->ColumnWidth, page->ColumnWidth);
    EXPECT_EQ(p->ColumnPositions().Text(), page->ColumnPositions().Text());
    EXPECT_EQ(p->Bin, 7);
    EXPECT_TRUE(p->MirrorMargins);
    EXPECT_EQ(p->Duplex, dmVertical);
    EXPECT_TRUE(p->IsSubReport());
    // Shown: the data page, Page1, Page2.
    EXPECT_EQ(designer->reloaded, std::vector<int>{2});
    EXPECT_EQ(designer->modifiedCalls, 1);
}

TEST_F(Insert, EditAfterInsertOpensTheEditorOfAMemoButNotOfADialogControl)
{
    kvlComponentEditors().Register(TkvlReportComponent::StaticClass(), kvlComponentEditorClass<CountingEditor>());
    ctx.EditAfterInsert = true;
    arm(TTestButton::StaticClass(), 10, 10, 75, 25);
    ASSERT_NE(OnInsertObject(ctx), nullptr);
    EXPECT_EQ(editorRuns, 0);
    arm(TkvlMemoView::StaticClass(), 10, 50, 75, 25);
    ASSERT_NE(OnInsertObject(ctx), nullptr);
    EXPECT_EQ(editorRuns, 1);
    EXPECT_EQ(designer->modifiedCalls, 3);  // two insertions and one edit
}

TEST_F(Insert, AnObjectRestrictedAgainstEditingKeepsItsEditorClosed)
{
    kvlComponentEditors().Register(TkvlMemoView::StaticClass(), kvlComponentEditorClass<CountingEditor>());
    auto *m = add<TkvlMemoView>(page, "Memo1");
    designer->SelectedObjects = {m};
    EXPECT_TRUE(OnEditObject(ctx));
    m->SetRestrictions(kvlBit(rfDontEdit));
    EXPECT_FALSE(OnEditObject(ctx));
    EXPECT_EQ(editorRuns, 1);

    int pageEdits = 0;
    ctx.PageDimensionsChanged = [&] { ++pageEdits; };
    kvlComponentEditors().Register(TkvlReportPage::StaticClass(), kvlComponentEditorClass<CountingEditor>());
    designer->SelectedObjects = {page};
    EXPECT_TRUE(OnEditObject(ctx));
    EXPECT_EQ(pageEdits, 1);
}

TEST_F(Insert, NewMemosTakeTheSampleAndTheSourceStaysAsItWas)
{
    auto *source = add<TkvlMemoView>(page, "Source");
    TFont f;
    f.SetName(QStringLiteral("Courier New"));
    f.SetSize(15);
    source->SetFont(&f);
    source->HAlign = haCenter;
    source->Frame()->SetTyp(kvlFrameAll);
    source->SetColor(0x00FF00);
    source->RTLReading = true;
    source->SetParentFont(false);

    sample.Memo()->SetParentFont(true);
    sample.SetAsSample(source);
    EXPECT_FALSE(source->ParentFont());
    EXPECT_EQ(source->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_FALSE(sample.Memo()->ParentFont());

    arm(TkvlMemoView::StaticClass(), 0, 100, 80, 20);
    auto *m = dynamic_cast<TkvlMemoView *>(OnInsertObject(ctx));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(m->Font()->Size(), 15);
    EXPECT_EQ(m->HAlign, haCenter);
    EXPECT_EQ(m->Frame()->Typ(), kvlFrameAll);
    EXPECT_EQ(m->Color(), TColor(0x00FF00));
    EXPECT_TRUE(m->RTLReading);
    EXPECT_TRUE(m->Wysiwyg);

    // On the data page memos are not laid out as printed.
    designer->SetPage(data);
    arm(TkvlMemoView::StaticClass(), 0, 0, 80, 20);
    auto *onData = dynamic_cast<TkvlMemoView *>(OnInsertObject(ctx));
    ASSERT_NE(onData, nullptr);
    EXPECT_FALSE(onData->Wysiwyg);
}

TEST_F(Insert, TheSampleStartsFromTheSettings)
{
    TkvlDesigner settings(nullptr);
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    settings.SetDefaultFont(&f);
    settings.RTLLanguage = true;
    settings.MemoParentFont = true;
    TSampleFormat s;
    EXPECT_EQ(s.Memo()->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(s.Memo()->RTLReading);
    EXPECT_TRUE(s.Memo()->ParentFont());
}

TEST_F(Insert, NewPageCommandAddsAShownPage)
{
    TkvlReportPage *p = kvlNewPage(designer.get());
    EXPECT_EQ(p->Name(), QStringLiteral("Page2"));
    EXPECT_EQ(p->LeftMargin, 10);
    EXPECT_EQ(designer->locks, 1);
    EXPECT_EQ(designer->reloaded, std::vector<int>{2});
    report->DotMatrixReport = true;
    EXPECT_TRUE(kvlCreateReportPage(report.get())->Is<TkvlDMPPage>());
}

namespace {

// A parent template "base.kv3" with Page1 holding a memo and a band, and a child report
// that inherits it.
struct Inherited {
    QTemporaryDir dir;
    TkvlReport child{nullptr};
    Inherited()
    {
        initOnce();
        {
            TkvlReport base(nullptr);
            auto *p = new TkvlReportPage(&base);
            p->SetName(QStringLiteral("Page1"));
            auto *m = new TkvlMemoView(p);
            m->SetName(QStringLiteral("Memo1"));
            m->SetText(QStringLiteral("from parent"));
            m->SetBounds(10, 10, 100, 20);
            auto *b = new TkvlMasterData(p);
            b->SetName(QStringLiteral("MasterData1"));
            b->SetBounds(0, 40, 700, 40);
            base.SaveToFile(dir.filePath(QStringLiteral("base.kv3")));
        }
        child.FileName = dir.filePath(QStringLiteral("child.kv3"));
        child.SetParentReport(QStringLiteral("base.kv3"));
    }
};

} // namespace

TEST(RevertInherited, AChangedInheritedMemoGoesBackToItsParentState)
{
    Inherited t;
    TkvlReport &child = t.child;
    auto *memo = dynamic_cast<TkvlMemoView *>(child.FindObject(u"Memo1"));
    ASSERT_NE(memo, nullptr);
    memo->SetText(QStringLiteral("changed"));
    memo->SetLeft(300);
    auto *own = new TkvlMemoView(memo->Parent());
    own->SetName(QStringLiteral("Own"));
    own->SetText(QStringLiteral("mine"));

    FakeDesigner d(nullptr, &child, false);
    d.SelectedObjects = {own};
    EXPECT_FALSE(RevertInherited(&d, false));
    EXPECT_EQ(d.modifiedCalls, 0);

    d.SelectedObjects = {memo, own};
    EXPECT_TRUE(RevertInherited(&d, false));
    EXPECT_EQ(memo->Text().trimmed(), QStringLiteral("from parent"));
    EXPECT_EQ(memo->Left(), 10);
    EXPECT_FALSE(memo->AncestorOnlyStream);
    EXPECT_EQ(own->Text().trimmed(), QStringLiteral("mine"));
    EXPECT_EQ(d.inspectorUpdates, 1);
    EXPECT_EQ(d.modifiedCalls, 1);
}

TEST(RevertInherited, ABandKeepsItsOwnChildren)
{
    Inherited t;
    TkvlReport &child = t.child;
    auto *band = child.FindObject(u"MasterData1");
    ASSERT_NE(band, nullptr);
    band->SetHeight(90);
    auto *own = new TkvlMemoView(band);
    own->SetName(QStringLiteral("Own"));

    FakeDesigner d(nullptr, &child, false);
    d.SelectedObjects = {band};
    ASSERT_TRUE(RevertInherited(&d, false));
    EXPECT_EQ(band->Height(), 40);
    EXPECT_EQ(child.FindObject(u"Own"), own);
    EXPECT_EQ(own->Parent(), band);
}
