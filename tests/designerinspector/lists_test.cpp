// Property lists: what one object shows, what several share, and where their values go.
#include "inspectorfixture.h"

#include "designer/core/propeditors.h"
#include "report/appearance/fill.h"
#include "report/bands/kvlband.h"
#include "report/memo/kvlmemo.h"
#include "report/views/kvlpicture.h"

#include <gtest/gtest.h>

namespace {

class Lists : public ::testing::Test {
protected:
    Lists() { registerDesignerOnce(); }
    SmallReport r;
    QStringList names(TkvlPropertyList *List)
    {
        QStringList out;
        for (int i = 0; List && i < List->Count(); ++i)
            out << List->Items(i).Editor->GetName();
        return out;
    }
};

TEST_F(Lists, OneObjectSortedByNameWithMembersAndHiddenOnesLeftOut)
{
    auto list = kvlCreatePropertyList({r.memo1}, nullptr);
    const QStringList rows = names(list.get());
    QStringList sorted = rows;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(rows, sorted);
    for (const char *shown : {"Name", "Left", "DataField", "Font", "Frame", "OnBeforePrint"})
        EXPECT_TRUE(rows.contains(QLatin1String(shown))) << shown;
    for (const char *hidden : {"BrushStyle", "DataSetName", "URL", "GroupIndex", "FirstParaBreak"})
        EXPECT_FALSE(rows.contains(QLatin1String(hidden))) << hidden;

    // Height and Pitch of fonts are hidden in every font's members.
    TkvlPropertyItem *font = findRow(list.get(), QStringLiteral("Font"));
    ASSERT_TRUE(font && font->SubProperty);
    const QStringList members = names(font->SubProperty.get());
    EXPECT_TRUE(members.contains(QStringLiteral("Size")));
    EXPECT_FALSE(members.contains(QStringLiteral("Height")));
    EXPECT_FALSE(members.contains(QStringLiteral("Pitch")));
    // A set's elements are members of their own.
    TkvlPropertyItem *style = findRow(list.get(), QStringLiteral("Font.Style"));
    ASSERT_TRUE(style && style->SubProperty);
    EXPECT_EQ(names(style->SubProperty.get()), QStringList({"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}));
    // Properties without members have no sub-list.
    EXPECT_EQ(findRow(list.get(), QStringLiteral("Left"))->SubProperty, nullptr);
}

TEST_F(Lists, TwoMemosShareTheirPropertiesShowTheFirstAndWriteBoth)
{
    r.memo1->SetWidth(90);
    r.memo2->SetWidth(50);
    std::vector<TkvlComponent *> both{r.memo1, r.memo2};
    auto list = kvlCreatePropertyList(both, nullptr);
    const QStringList rows = names(list.get());
    EXPECT_FALSE(rows.contains(QStringLiteral("Name")));
    EXPECT_TRUE(rows.contains(QStringLiteral("Width")));
    TkvlPropertyItem *width = findRow(list.get(), QStringLiteral("Width"));
    EXPECT_EQ(width->Editor->GetValue(), QStringLiteral("90"));
    width->Editor->SetValue(QStringLiteral("120"));
    EXPECT_EQ(r.memo1->Width(), 120);
    EXPECT_EQ(r.memo2->Width(), 120);
    // Members of embedded objects reach both objects too.
    findRow(list.get(), QStringLiteral("Font.Style.fsBold"))->Editor->SetValue(QStringLiteral("True"));
    EXPECT_TRUE(r.memo1->Font()->HasStyle(fsBold));
    EXPECT_TRUE(r.memo2->Font()->HasStyle(fsBold));
    findRow(list.get(), QStringLiteral("Frame.Width"))->Editor->SetValue(QStringLiteral("3"));
    EXPECT_EQ(r.memo2->Frame()->Width(), 3);
}

TEST_F(Lists, MixedKindsKeepSharedMembersAndDropFillsOfAnotherClass)
{
    r.memo1->SetFillType(ftGradient);
    auto list = kvlCreatePropertyList({r.memo1, r.picture}, nullptr);
    const QStringList rows = names(list.get());
    EXPECT_TRUE(rows.contains(QStringLiteral("Frame")));
    EXPECT_FALSE(rows.contains(QStringLiteral("Fill")));
    EXPECT_FALSE(rows.contains(QStringLiteral("Memo")));  // the picture has none
    TkvlPropertyItem *frame = findRow(list.get(), QStringLiteral("Frame"));
    ASSERT_TRUE(frame->SubProperty);
    EXPECT_TRUE(names(frame->SubProperty.get()).contains(QStringLiteral("Color")));

    r.memo1->SetFillType(ftBrush);
    auto same = kvlCreatePropertyList({r.memo1, r.picture}, nullptr);
    EXPECT_TRUE(names(same.get()).contains(QStringLiteral("Fill")));
    // The first object's order and values, whatever the second has.
    EXPECT_EQ(names(same.get()).front(), names(kvlCreatePropertyList({r.memo1}, nullptr).get()).front());
}

TEST_F(Lists, AnEmptySelectionHasNoList)
{
    EXPECT_EQ(kvlCreatePropertyList({}, nullptr), nullptr);
}

} // namespace
