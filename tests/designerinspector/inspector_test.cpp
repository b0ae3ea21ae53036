// The object inspector driven with the mouse and the keyboard.
#include "inspectorfixture.h"

#include "designer/widgets/inspector.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/ui/fakes.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/views/kvlpicture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A view whose Tag setter refuses one object, as a duplicate name would.
class TFailingView : public TkvlView {
    LIRRA_CLASS(TFailingView, TkvlView)
public:
    using TkvlView::TkvlView;
    void Draw(TCanvas *, double, double, double, double) override {}
    bool refuse = false;
    int32_t Level = 0;
    void SetLevel(int32_t v)
    {
        if (refuse)
            throw EComponentError(QStringLiteral("A component named X already exists"));
        Level = v;
    }
};
LIRRA_DEFINE_CLASS(TFailingView)
void TFailingView::DeclareClass(rtl::ClassBuilder<TFailingView> &b)
{
    b.prop<[](const TFailingView &v) { return v.Level; }, &TFailingView::SetLevel>("Level");
}

class Inspector : public ::testing::Test {
protected:
    Inspector() : designer((registerDesignerOnce(), r.report.get()))
    {
        designer.Objects = {r.band, r.memo1, r.memo2, r.picture};
        insp = std::make_unique<TkvlObjectInspector>(&designer, nullptr);
        insp->OnModify = [this] { ++modified; };
        insp->OnSelectionChanged = [this] { ++selectionChanged; };
        insp->resize(260, 600);
        insp->show();
        insp->SetObjects(designer.Objects);
    }
    void select(std::initializer_list<TkvlComponent *> objects)
    {
        designer.SelectedObjects = objects;
        insp->SetSelectedObjects(&designer.SelectedObjects);
    }
    int rowOf(const QString &name) const
    {
        for (int i = 0; i < insp->Count(); ++i)
            if (insp->GetName(i) == name)
                return i;
        return -1;
    }
    // The row's middle as the grid is scrolled to show it.
    QPoint at(int row, int x)
    {
        insp->Box->ensureVisible(0, row * insp->RowHeight() + insp->RowHeight() / 2, 0, insp->RowHeight());
        return QPoint(x, row * insp->RowHeight() + insp->RowHeight() / 2);
    }
    void clickRow(const QString &name)
    {
        const int row = rowOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        QTest::mouseClick(insp->PB, Qt::LeftButton, {}, at(row, insp->SplitterPos() + 40));
        ASSERT_EQ(insp->ItemIndex(), row);
    }
    void type(const QString &text)
    {
        insp->Edit1->selectAll();
        QTest::keyClicks(insp->Edit1, text);
        QTest::keyClick(insp->Edit1, Qt::Key_Return);
    }

    ui::FakeServices services;
    SmallReport r;
    FakeDesigner designer;
    std::unique_ptr<TkvlObjectInspector> insp;
    int modified = 0;
    int selectionChanged = 0;
};

TEST_F(Inspector, CursorStaysOnThePropertyAcrossSelections)
{
    select({r.memo1});
    clickRow(QStringLiteral("DataField"));
    select({r.picture});
    EXPECT_EQ(insp->GetName(insp->ItemIndex()), QStringLiteral("DataField"));
    select({r.band});
    EXPECT_EQ(insp->ItemIndex(), 0);
    select({r.memo2});
    EXPECT_EQ(insp->GetName(insp->ItemIndex()), QStringLiteral("DataField"));
    EXPECT_EQ(insp->PropL->text(), QStringLiteral("DataField"));
    EXPECT_EQ(insp->DescrL->text(), QStringLiteral("Campo dell'origine dati collegato all'oggetto"));
}

TEST_F(Inspector, ObjectsBoxFollowsTheSelectionAndPicksOne)
{
    select({r.memo1, r.memo2});
    EXPECT_EQ(insp->ObjectsCB->currentIndex(), -1);
    EXPECT_EQ(rowOf(QStringLiteral("Name")), -1);
    insp->ObjectsCB->setFocus();
    QTest::keyClick(insp->ObjectsCB, Qt::Key_Down);
    ASSERT_EQ(designer.SelectedObjects.size(), 1u);
    EXPECT_EQ(selectionChanged, 1);
    EXPECT_EQ(insp->ObjectsCB->currentText(), designer.SelectedObjects[0]->Name() + QStringLiteral(": ")
                                                  + designer.SelectedObjects[0]->ClassName());
    EXPECT_GE(rowOf(QStringLiteral("Name")), 0);
}

TEST_F(Inspector, RenameShowsAtOnce)
{
    select({r.memo1});
    EXPECT_EQ(insp->ObjectsCB->currentText(), QStringLiteral("Memo1: TkvlMemoView"));
    clickRow(QStringLiteral("Name"));
    type(QStringLiteral("Titolo"));
    EXPECT_EQ(r.memo1->Name(), QStringLiteral("Titolo"));
    EXPECT_EQ(insp->ObjectsCB->currentText(), QStringLiteral("Titolo: TkvlMemoView"));
    EXPECT_EQ(modified, 1);
}

TEST_F(Inspector, InvalidValueShowsTheErrorAndTheStoredValueAgain)
{
    select({r.memo1});
    clickRow(QStringLiteral("HAlign"));
    const QString old = insp->Edit1->text();
    type(QStringLiteral("haNowhere"));
    ASSERT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(services.messages.shown[0].text, QStringLiteral("Valore non valido"));
    EXPECT_EQ(services.messages.shown[0].caption, QStringLiteral("Errore"));
    EXPECT_EQ(insp->Edit1->text(), old);
    EXPECT_EQ(insp->GetName(insp->ItemIndex()), QStringLiteral("HAlign"));
    EXPECT_EQ(modified, 0);

    // Typed numbers go through the same editor: 12,5 resizes the memo.
    clickRow(QStringLiteral("Width"));
    type(QStringLiteral("12,5"));
    EXPECT_DOUBLE_EQ(r.memo1->Width(), 12.5);
    EXPECT_EQ(modified, 1);
}

TEST_F(Inspector, ASetterFailingAfterOneObjectStillReportsTheChange)
{
    auto *a = new TFailingView(r.band);
    auto *b = new TFailingView(r.band);
    b->refuse = true;
    select({a, b});
    clickRow(QStringLiteral("Level"));
    type(QStringLiteral("5"));
    EXPECT_EQ(a->Level, 5);
    EXPECT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(modified, 1);  // the first object changed: undo and the save question must know
}

TEST_F(Inspector, BooleanToggledBesideTheSplitterSelectedFurtherRight)
{
    select({r.memo1});
    const int row = rowOf(QStringLiteral("Visible"));
    ASSERT_GE(row, 0);
    const int current = insp->ItemIndex();
    ASSERT_NE(current, row);
    const bool before = r.memo1->Visible();
    QTest::mouseClick(insp->PB, Qt::LeftButton, {}, at(row, insp->SplitterPos() + 5));
    EXPECT_EQ(r.memo1->Visible(), !before);
    EXPECT_EQ(insp->ItemIndex(), current);
    EXPECT_EQ(modified, 1);
    QTest::mouseClick(insp->PB, Qt::LeftButton, {}, at(row, insp->SplitterPos() + 40));
    EXPECT_EQ(r.memo1->Visible(), !before);
    EXPECT_EQ(insp->ItemIndex(), row);
}

TEST_F(Inspector, DropDownShowsEightRowsAndTheClosingPressDoesNotReopenIt)
{
    select({r.memo1});
    clickRow(QStringLiteral("Color"));
    ASSERT_TRUE(insp->ComboBtn->isVisible());
    QTest::mouseClick(insp->ComboBtn, Qt::LeftButton);
    QListWidget *list = insp->PopupList();
    ASSERT_TRUE(list);
    EXPECT_GT(list->count(), 8);
    EXPECT_EQ(list->window()->height(), 8 * insp->RowHeight() + 2);
    EXPECT_TRUE(list->verticalScrollBar()->maximum() > 0);

    // The list closes as the press on the button takes the activation from it.
    ASSERT_TRUE(QTest::qWaitForWindowActive(list->window()));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_TRUE(QTest::qWaitFor([&] { return insp->PopupList() == nullptr; }));
    services.clock.advance(50);
    QTest::mouseClick(insp->ComboBtn, Qt::LeftButton);
    EXPECT_EQ(insp->PopupList(), nullptr);
    services.clock.advance(200);
    QTest::mouseClick(insp->ComboBtn, Qt::LeftButton);
    list = insp->PopupList();
    ASSERT_TRUE(list);

    // Choosing an entry stores it.
    const int red = list->findItems(QStringLiteral("clRed"), Qt::MatchExactly).value(0)
                        ? list->row(list->findItems(QStringLiteral("clRed"), Qt::MatchExactly)[0])
                        : -1;
    ASSERT_GE(red, 0);
    list->scrollToItem(list->item(red));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(red)).center());
    EXPECT_EQ(r.memo1->Color(), clRed);
    EXPECT_EQ(insp->Edit1->text(), QStringLiteral("clRed"));
    EXPECT_EQ(modified, 1);
}

TEST_F(Inspector, DoubleClickOnThePlusBoxExpandsOnce)
{
    select({r.memo1});
    const int row = rowOf(QStringLiteral("Font"));
    const int rows = insp->Count();
    // A double click: press, release, then the double-click event in place of the second press.
    QTest::mouseClick(insp->PB, Qt::LeftButton, {}, at(row, 5));
    QTest::mouseDClick(insp->PB, Qt::LeftButton, {}, at(row, 5));
    EXPECT_TRUE(insp->GetItem(row)->Expanded);
    EXPECT_GT(insp->Count(), rows);
    EXPECT_EQ(insp->GetOffset(row + 1), 1);
    // A double click on the value toggles from the row itself.
    QTest::mouseClick(insp->PB, Qt::LeftButton, {}, at(row, insp->SplitterPos() / 2 + 20));
    QTest::mouseDClick(insp->PB, Qt::LeftButton, {}, at(row, insp->SplitterPos() / 2 + 20));
    EXPECT_FALSE(insp->GetItem(row)->Expanded);
}

TEST_F(Inspector, EventsTabListsScriptEventsExceptInAPreviewDesigner)
{
    select({r.memo1});
    EXPECT_EQ(rowOf(QStringLiteral("OnBeforePrint")), -1);
    QTest::mouseClick(insp->Tabs, Qt::LeftButton, {}, insp->Tabs->tabRect(1).center());
    EXPECT_EQ(insp->Tabs->currentIndex(), 1);
    EXPECT_GE(rowOf(QStringLiteral("OnBeforePrint")), 0);
    for (int i = 0; i < insp->Count(); ++i)
        EXPECT_TRUE(insp->GetName(i).startsWith(QLatin1String("On"))) << insp->GetName(i).toStdString();

    FakeDesigner preview(r.report.get(), true);
    TkvlObjectInspector other(&preview, nullptr);
    other.show();
    preview.SelectedObjects = {r.memo1};
    other.SetSelectedObjects(&preview.SelectedObjects);
    QTest::mouseClick(other.Tabs, Qt::LeftButton, {}, other.Tabs->tabRect(1).center());
    EXPECT_EQ(other.Tabs->currentIndex(), 0);
}

TEST_F(Inspector, KeysMoveTheCursorAndEscUndoesTyping)
{
    select({r.memo1});
    clickRow(QStringLiteral("Align"));
    const int start = insp->ItemIndex();
    QTest::keyClick(insp->Edit1, Qt::Key_Down);
    EXPECT_EQ(insp->ItemIndex(), start + 1);
    QTest::keyClick(insp->Edit1, Qt::Key_Up);
    EXPECT_EQ(insp->ItemIndex(), start);
    QTest::keyClick(insp->Edit1, Qt::Key_Up);
    QTest::keyClick(insp->Edit1, Qt::Key_Up);
    EXPECT_EQ(insp->ItemIndex(), std::max(0, start - 2));
    const int page = insp->Box->viewport()->height() / insp->RowHeight();
    QTest::keyClick(insp->Edit1, Qt::Key_Home);
    QTest::keyClick(insp->Edit1, Qt::Key_PageDown);
    EXPECT_EQ(insp->ItemIndex(), std::min(insp->Count() - 1, std::max(0, start - 2) + page));
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(insp->Edit1, Qt::Key_PageDown);
    EXPECT_EQ(insp->ItemIndex(), insp->Count() - 1);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(insp->Edit1, Qt::Key_PageUp);
    EXPECT_EQ(insp->ItemIndex(), 0);

    clickRow(QStringLiteral("TagStr"));
    QTest::keyClicks(insp->Edit1, QStringLiteral("abc"));
    QTest::keyClick(insp->Edit1, Qt::Key_Escape);
    EXPECT_FALSE(insp->Edit1->isModified());
    QTest::keyClick(insp->Edit1, Qt::Key_Down);
    EXPECT_EQ(r.memo1->TagStr, QString());
    EXPECT_EQ(modified, 0);
}

TEST_F(Inspector, ARefreshDuringAStoreWaitsForTheEditor)
{
    // A fill kind change makes the designer refresh the inspector from inside the setter,
    // which frees the rows while the row's editor is still at work.
    select({r.memo1});
    r.report->Designer = &designer;
    designer.onUpdateInspector = [this] { insp->UpdateProperties(); };
    clickRow(QStringLiteral("FillType"));
    type(QStringLiteral("ftGradient"));
    EXPECT_EQ(insp->GetName(insp->ItemIndex()), QStringLiteral("FillType"));
    EXPECT_EQ(insp->Edit1->text(), QStringLiteral("ftGradient"));
    EXPECT_TRUE(designer.log.contains(QStringLiteral("refresh")));
    r.report->Designer = nullptr;
}

} // namespace
