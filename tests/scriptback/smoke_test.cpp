#include "backtest.h"

#include <gtest/gtest.h>

TEST(QsSmoke, Dozovo)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var r, i: Integer;\n"
        "function fib(n: Integer): Integer;\n"
        "begin if n < 2 then Result := n else Result := fib(n - 1) + fib(n - 2) end;\n"
        "begin r := 0; for i := 1 to 10 do r := r + i; r := r + fib(10) end."));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 55 + 55);
}
