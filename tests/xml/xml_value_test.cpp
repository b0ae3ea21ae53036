#include "tests/base/qt_print.h"
#include "report/xml/xmltext.h"

#include <gtest/gtest.h>

#include "platform/rtl/formatsettings.h"
#include "platform/rtl/variant.h"

TEST(XmlText, ValueToXML)
{
    rtl::ScopedFormatSettings pin(TFormatSettings::italian());
    struct Case { Variant v; QString text; } cases[] = {
        {Variant(42), u"42"_qs},
        {Variant::fromInt(-7, varSmallint), u"-7"_qs},
        {Variant::fromInt(4000000000LL, varLongWord), u"4000000000"_qs},
        {Variant(int64_t(-9000000000LL)), u"-9000000000"_qs},
        {Variant(2.5), u"2,5"_qs},
        {Variant::fromCurrency(12.25), u"12,25"_qs},
        {Variant::fromDate(46000.75), u"09/12/2025"_qs},  // the date only
        {Variant(true), u"1"_qs},
        {Variant(false), u"0"_qs},
        {Variant(u"a\"b<c"_qs), u"a&#34;b&#60;c"_qs},
        {Variant(), QString()},
        {Variant::null(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlValueToXML(c.v), c.text) << c.text.toStdString();
}
