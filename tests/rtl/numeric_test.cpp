#include "platform/rtl/numeric.h"

#include <gtest/gtest.h>

TEST(Numeric, RoundTiesToEven)
{
    struct Case { double in; int64_t out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rtl::Round(c.in), c.out) << c.in;
}

TEST(Numeric, MulDivRoundsHalfAwayFromZero)
{
    struct Case { int32_t a, b, c, out; } cases[] = {
        {-11, 72, 96, -8},   // -8.25
        {-10, 72, 96, -8},   // -7.5 -> -8
        {10, 72, 96, 8},     // 7.5 -> 8
        {-13, 72, 96, -10},  // -9.75
        {5, 3, 0, -1},
        {0x7fffffff, 2, 2, 0x7fffffff},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rtl::MulDiv(c.a, c.b, c.c), c.out) << c.a << "*" << c.b << "/" << c.c;
}
