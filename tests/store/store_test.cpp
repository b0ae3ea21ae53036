// Writing prepared pages, building them back, memory limits, the page cache and drawing.
#include "tests/store/storefixture.h"

#include "report/xml/xmldocument.h"
#include "report/xml/xmlitem.h"

#include <gtest/gtest.h>

#include <random>

using namespace storetest;

namespace {

// What the fixture wrote on page P, in drawing order.
QStringList writtenTexts(int P)
{
    QStringList out;
    for (int r = 0; r < Fixture::kRows; ++r)
        for (int m = 0; m < Fixture::kMemos; ++m)
            out.append(cellText(P, r, m));
    return out;
}

} // namespace

TEST(StoreTest, PagesStoreOnlyDifferencesUnderAliases)
{
    Fixture f;
    f.addPages(1);
    TkvlXMLItem *page = f.store->CurXMLPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Name(), QStringLiteral("page0"));
    ASSERT_EQ(page->Count(), Fixture::kRows);
    TkvlXMLItem *row = page->Items(1);
    EXPECT_EQ(row->Name(), QStringLiteral("b1"));
    EXPECT_EQ(row->Text(), QStringLiteral("t=\"50\""));
    ASSERT_EQ(row->Count(), Fixture::kMemos);
    EXPECT_EQ(row->Items(2)->Name(), QStringLiteral("m3"));
    EXPECT_EQ(row->Items(2)->Text(), QStringLiteral("u=\"p0 r1 m2\""));
    EXPECT_EQ(f.store->Dictionary().GetSourceName(QStringLiteral("m3")), QStringLiteral("Page0.Memo3"));
    EXPECT_EQ(f.store->GetLastY(0), 20 + 8 * Fixture::kRowHeight);
}

TEST(StoreTest, PageWithoutSourcePageGetsOne)
{
    Fixture f;
    auto *other = new TkvlReportPage(f.report.get());
    other->SetName(QStringLiteral("Page2"));
    f.store->AddPage(other);
    EXPECT_EQ(f.store->CurXMLPage()->Name(), QStringLiteral("page1"));
    EXPECT_EQ(f.store->SourcePageCount(), 2);
}

// 1,000 pages under a 1 MB limit: few page elements stay loaded, and any page comes back.
TEST(StoreTest, SwappedPagesComeBack)
{
    Fixture f(true, 1, 50);
    f.addPages(1000);
    EXPECT_LT(f.store->LoadedPageCount(), 200);
    EXPECT_FALSE(f.store->XMLDoc().TempFileName().isEmpty());
    for (int p : {0, 1, 2, 417, 998, 999})
        EXPECT_EQ(textsOf(drawnTexts(*f.store, p)), writtenTexts(p)) << "page " << p;
}

// Paging over 60 pages with room for 50 builds again only the pages that left the cache.
TEST(StoreTest, CacheRebuildsOnlyPagesThatLeftIt)
{
    Fixture f(true, 10, 50);
    f.addPages(60);
    for (int p = 0; p < 60; ++p)
        f.store->GetPage(p);
    EXPECT_EQ(f.store->PagesBuilt(), 60);
    for (int p = 59; p >= 10; --p)
        f.store->GetPage(p);
    EXPECT_EQ(f.store->PagesBuilt(), 60) << "pages 10 to 59 are cached";
    for (int p = 9; p >= 0; --p)
        f.store->GetPage(p);
    EXPECT_EQ(f.store->PagesBuilt(), 70) << "pages 0 to 9 had left the cache";
    f.store->GetPage(45);
    EXPECT_EQ(f.store->PagesBuilt(), 70);
}

// A page held while many others are built is not freed by the cache.
TEST(StoreTest, HeldPageOutlivesTheCache)
{
    Fixture f(true, 10, 5);
    f.addPages(60);
    std::shared_ptr<TkvlPage> held = f.store->GetPageShared(3);
    for (int p = 10; p < 60; ++p)
        f.store->GetPage(p);
    gfx::RecordingCanvas canvas;
    for (TkvlComponent *c : held->GetAllObjects())
        if (auto *v = rtl_cast<TkvlView>(c))
            v->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(textsOf(canvas.textRecords()), writtenTexts(3));
}

// Output going onto an earlier page that was swapped out keeps what the page had.
TEST(StoreTest, WritingOverASwappedPageKeepsItsObjects)
{
    Fixture f(true, 0, 50);
    f.addPages(6);
    TkvlXMLItem *third = f.store->XMLDoc().Root()->FindItem(QStringLiteral("previewpages"))->Items(2);
    ASSERT_FALSE(third->Loaded());
    f.store->CurPage = 1;  // the engine goes back and writes over page 2 (index 2)
    f.store->AddPageAction = apWriteOver;
    f.store->AddPage(f.page);
    ASSERT_EQ(f.store->CurPage, 2);
    f.band->SetTop(400);
    f.memos[0]->SetText(QStringLiteral("added"));
    f.store->AddObject(f.band);
    QStringList expected = writtenTexts(2);
    expected.append(QStringLiteral("added"));
    for (int m = 1; m < Fixture::kMemos; ++m)
        expected.append(cellText(5, 7, m));
    EXPECT_EQ(textsOf(drawnTexts(*f.store, 2)), expected);
}

TEST(StoreTest, PasteTakesAnAbsentPositionFromTheSource)
{
    Fixture f;
    f.store->AddPage(f.page);
    f.band->SetLeft(20);
    f.store->Dictionary().GetObject(QStringLiteral("b1"))->SetLeft(20);  // the source is at Left 20 too
    f.band->SetTop(100);
    f.store->AddObject(f.band);
    f.band->SetTop(130);
    f.store->AddObject(f.band);
    f.store->CutObjects(0);
    f.store->PasteObjects(25, 10);
    TkvlXMLItem *page = f.store->CurXMLPage();
    ASSERT_EQ(page->Count(), 2);
    EXPECT_EQ(page->Items(0)->Prop(QStringLiteral("l")), QStringLiteral("25"));
    EXPECT_EQ(page->Items(0)->Prop(QStringLiteral("t")), QStringLiteral("10"));
    EXPECT_EQ(page->Items(1)->Prop(QStringLiteral("l")), QStringLiteral("25"));
    EXPECT_EQ(page->Items(1)->Prop(QStringLiteral("t")), QStringLiteral("40"));
    EXPECT_EQ(f.store->XMLDoc().Root()->Find(QStringLiteral("cutted")), -1);
}

TEST(StoreTest, MirroredMarginsSwapOnEverySecondPage)
{
    Fixture f;
    f.page->LeftMargin = 30;
    f.page->RightMargin = 10;
    f.page->MirrorMargins = true;
    f.store->ClearSourcePages();
    f.store->Dictionary().Clear();
    f.store->AddSourcePage(f.page);
    f.addPages(2);
    const auto first = drawnTexts(*f.store, 0), second = drawnTexts(*f.store, 1);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    // 20 mm less on the left at 3.77953 pixels a millimetre.
    EXPECT_NEAR(first[0].bounds.left() - second[0].bounds.left(), 75.59, 1);
    EXPECT_EQ(first[0].bounds.top(), second[0].bounds.top());
}

TEST(StoreTest, PageEditsAndSizes)
{
    Fixture f;
    f.addPages(3);
    const QPoint size = f.store->GetPageSize(0);
    EXPECT_EQ(size, QPoint(794, 1123)) << "A4 at 96 pixels per inch";
    EXPECT_EQ(f.store->GetPageSize(3), QPoint());
    f.store->DeletePage(1);
    EXPECT_EQ(f.store->GetCount(), 2);
    EXPECT_EQ(textsOf(drawnTexts(*f.store, 1)), writtenTexts(2));
    f.store->AddEmptyPage(0);
    EXPECT_EQ(f.store->GetCount(), 3);
    EXPECT_TRUE(textsOf(drawnTexts(*f.store, 0)).isEmpty());
    EXPECT_EQ(f.store->GetPageSize(0), size);
    // An edited page is kept whole, with the objects of the page given.
    std::shared_ptr<TkvlPage> edited = f.store->GetPageShared(2);
    static_cast<TkvlMemoView *>(edited->FindObject(QStringLiteral("Memo1")))->SetText(QStringLiteral("edited"));
    f.store->ModifyPage(2, edited.get());
    EXPECT_EQ(f.store->XMLDoc().Root()->FindItem(QStringLiteral("previewpages"))->Items(2)->Name(),
              QStringLiteral("TkvlReportPage"));
    QStringList expected = writtenTexts(2);
    expected[0] = QStringLiteral("edited");
    EXPECT_EQ(textsOf(drawnTexts(*f.store, 2)), expected);
    while (f.store->GetCount() > 1)
        f.store->DeletePage(0);
    f.store->DeletePage(0);
    EXPECT_EQ(f.store->GetCount(), 1) << "the only page stays";
}
