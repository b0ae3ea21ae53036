#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classinfo.h"

#include <gtest/gtest.h>

TEST(Font, PublishesItsPropertiesInStoredOrder)
{
    struct Row {
        const char *name;
        const char *type;
        bool hasDefault;
        bool stored;
    } rows[] = {
        {"Charset", "TFontCharset", false, true}, {"Color", "TColor", false, true},
        {"Height", "Integer", false, true},       {"Name", "TFontName", false, true},
        {"Orientation", "Integer", true, true},   {"Pitch", "TFontPitch", true, true},
        {"Size", "Integer", false, false},        {"Style", "TFontStyles", false, true},
        {"Quality", "TFontQuality", true, true},
    };
    TFont f;
    const rtl::ClassInfo *ci = TFont::StaticClass();
    ASSERT_EQ(ci->propCount(), int(std::size(rows)));
    for (int i = 0; i < ci->propCount(); ++i) {
        EXPECT_EQ(ci->prop(i)->name(), QLatin1String(rows[i].name));
        EXPECT_EQ(ci->prop(i)->typeName(), QLatin1String(rows[i].type));
        EXPECT_EQ(ci->prop(i)->hasDefault(), rows[i].hasDefault) << rows[i].name;
        EXPECT_EQ(ci->prop(i)->isStored(&f), rows[i].stored) << rows[i].name;
    }
}

TEST(Font, SizeFollowsHeightWithHalfAwayRounding)
{
    struct Case {
        int height, size;
    } cases[] = {{-13, 10}, {-11, 8}, {-16, 12}, {-10, 8}, {-20, 15}, {13, -10}};
    TFont f;
    for (const Case &c : cases) {
        f.SetHeight(c.height);
        EXPECT_EQ(f.Size(), c.size) << c.height;
    }
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetPixelsPerInch(600);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -83);
}

TEST(Font, ChangeNotificationCanBeSuspended)
{
    TFont f;
    int calls = 0;
    f.OnChange = [&](TFont *) { ++calls; };
    f.SetName(QStringLiteral("Arial"));
    f.SetName(QStringLiteral("Arial"));  // no change, no call
    f.SetName(QString());                // ignored
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.Name(), QLatin1String("Arial"));

    f.BeginUpdate();
    f.SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    f.SetColor(255);
    f.BeginUpdate();
    f.EndUpdate();
    EXPECT_EQ(calls, 1);
    f.EndUpdate();
    EXPECT_EQ(calls, 2);  // once for both changes

    TFont g;
    g.Assign(&f);
    EXPECT_TRUE(g.SameAs(f));
    f.Assign(&g);
    EXPECT_EQ(calls, 3);  // Assign always tells
    TFont::StaticClass()->findProp(u"Style")->setOrd(&g, 0x1F);  // masked to the four styles
    EXPECT_EQ(g.Style(), 0x0F);
}
