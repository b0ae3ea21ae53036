#include "platform/rtl/textcase.h"

#include <gtest/gtest.h>

using namespace rtl;

// Simple case mapping, one code unit for one: letters whose full mapping has more
// characters (ß, ŉ, the ligature ﬁ) keep their form, and no text changes its length.
TEST(TextCase, EachCodeUnitMapsToOne)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    struct Case
    {
        const char16_t *text, *upper, *lower, *name;
        const QLocale &locale;
    } cases[] = {
        {u"straße", u"STRAßE", u"straße", u"Straße", italian},
        {u"\u0130stanbul", u"\u0130STANBUL", u"istanbul", u"\u0130stanbul", italian},
        {u"\uFB01no \u0149", u"\uFB01NO \u0149", u"\uFB01no \u0149", u"\uFB01no \u0149", italian},
        {u"città è ÀÉ", u"CITTÀ È ÀÉ", u"città è àé", u"Città È Àé", italian},
        {u"a\U0001D400b", u"A\U0001D400B", u"a\U0001D400b", u"A\U0001D400b", italian}, // surrogates kept
        {u"iı Iİ", u"\u0130I I\u0130", u"iı ıi", u"\u0130ı Ii", turkish},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(UpperCase(text, c.locale), QString::fromUtf16(c.upper)) << text.toStdString();
        EXPECT_EQ(LowerCase(text, c.locale), QString::fromUtf16(c.lower)) << text.toStdString();
        EXPECT_EQ(NameCase(text, c.locale), QString::fromUtf16(c.name)) << text.toStdString();
        EXPECT_EQ(UpperCase(text, c.locale).size(), text.size());
        EXPECT_EQ(LowerCase(text, c.locale).size(), text.size());
    }
}
