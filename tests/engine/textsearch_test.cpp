// Searching the text of prepared pages.
#include "engine/preview/kvltextsearch.h"
#include "tests/engine/previewfixture.h"

#include <gtest/gtest.h>

namespace {

using previewtest::FixtureStore;

// Page 0 draws "alpha beta alpha" in two records; page 1 "ALPHA" once; page 2 nothing.
struct SearchFixture {
    SearchFixture()
    {
        store.addPages(3);
        store.Pages[0].Texts = {{100, 50, QStringLiteral("alpha beta")}, {300, 200, QStringLiteral(" alpha")}};
        store.Pages[1].Texts = {{40, 400, QStringLiteral("ALPHA")}};
    }
    FixtureStore store;
    TkvlTextSearch search;
};

TEST(TextSearch, FindsEachRecordInTurnThenTheNextPage)
{
    SearchFixture f;
    f.search.Start(QStringLiteral("alpha"), false);
    struct Step {
        int page;
        QPoint topLeft;
    } steps[] = {{0, {100, 50}}, {0, {300, 200}}, {1, {40, 400}}};
    for (const Step &s : steps) {
        ASSERT_TRUE(f.search.FindNext(&f.store, 3));
        EXPECT_TRUE(f.search.Found());
        EXPECT_EQ(f.search.LastFoundPage(), s.page);
        EXPECT_EQ(f.search.FoundRect().topLeft(), s.topLeft);
        EXPECT_GT(f.search.FoundRect().width(), 0);
    }
    EXPECT_FALSE(f.search.FindNext(&f.store, 3));
    EXPECT_FALSE(f.search.Found());
    EXPECT_EQ(f.search.LastFoundPage(), 3);
    // Exhausted: the next search for the next match fails at once, rendering nothing.
    const size_t drawn = f.store.Drawn.size();
    EXPECT_FALSE(f.search.FindNext(&f.store, 3));
    EXPECT_EQ(f.store.Drawn.size(), drawn);
    // Every page was recorded exactly once.
    EXPECT_EQ(f.store.Drawn, (std::vector<int>{0, 1, 2}));
}

TEST(TextSearch, CaseSensitivityDecidesWhatMatches)
{
    struct Case {
        const char *text;
        bool caseSensitive;
        int firstPage; // -1: not found
    } cases[] = {
        {"ALPHA", true, 1},
        {"ALPHA", false, 0},
        {"Alpha", true, -1},
        {"beta alpha", false, -1}, // split across two records
        {"a b", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        SearchFixture f;
        f.search.Start(QString::fromLatin1(c.text), c.caseSensitive);
        EXPECT_EQ(f.search.FindNext(&f.store, 3), c.firstPage >= 0);
        if (c.firstPage >= 0) {
            EXPECT_EQ(f.search.LastFoundPage(), c.firstPage);
        }
    }
}

TEST(TextSearch, KeepsTheLastRenderingUntilDropped)
{
    SearchFixture f;
    f.search.Start(QStringLiteral("alpha"), false);
    ASSERT_TRUE(f.search.FindNext(&f.store, 3));
    f.search.Start(QStringLiteral("beta"), false); // a new search on the cached page
    ASSERT_TRUE(f.search.FindNext(&f.store, 3));
    EXPECT_EQ(f.store.Drawn.size(), 1u);
    f.search.DropCache();
    f.search.Start(QStringLiteral("beta"), false);
    ASSERT_TRUE(f.search.FindNext(&f.store, 3));
    EXPECT_EQ(f.store.Drawn.size(), 2u);
}

} // namespace
