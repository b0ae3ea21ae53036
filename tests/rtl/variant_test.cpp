#include "platform/rtl/formatsettings.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/variant.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

// Readable failures for Variant comparisons.
void PrintTo(const Variant &v, std::ostream *os)
{
    *os << Variant::typeName(v.varType()).toStdString();
    if (!v.isArray() && !v.isDispatch())
        *os << " " << v.toString().toStdString();
}

namespace {

class VariantTest : public ::testing::Test
{
protected:
    rtl::ScopedFormatSettings pin{TFormatSettings::english()};
};

TEST_F(VariantTest, ScalarsStaySmallAndKeepTheirKind)
{
    static_assert(sizeof(Variant) == 16);
    EXPECT_EQ(Variant().varType(), varEmpty);
    EXPECT_EQ(Variant::null().varType(), varNull);
    EXPECT_EQ(Variant(true).varType(), varBoolean);
    EXPECT_EQ(Variant(5).varType(), varInteger);
    EXPECT_EQ(Variant(5LL).varType(), varInt64);
    EXPECT_EQ(Variant(2.5).varType(), varDouble);
    EXPECT_EQ(Variant(u"x").varType(), varUString);
    EXPECT_EQ(Variant::fromDate(1.5).varType(), varDate);
    EXPECT_EQ(Variant::fromCurrency(1.23456).toCurrency().raw, 12346);
    EXPECT_EQ(Variant::fromInt(65535, varWord).varType(), varWord);
    EXPECT_EQ(Variant(4000000000u).varType(), varLongWord);
    EXPECT_EQ((Variant(4000000000u) + Variant(1)).toInt64(), 4000000001LL);
    EXPECT_THROW(Variant::fromInt(65536, varWord), EVariantOverflowError);
}

TEST_F(VariantTest, IntegerOverflowPromotesToInt64)
{
    const Variant r = Variant(2147483647) + Variant(1);
    EXPECT_EQ(r.varType(), varInt64);
    EXPECT_EQ(r.toInt64(), 2147483648LL);
    EXPECT_EQ((Variant(3) + Variant(4)).varType(), varInteger);
    EXPECT_THROW(Variant(9223372036854775807LL) + Variant(1), EIntOverflow);
}

TEST_F(VariantTest, StringsShareAndCopyIndependently)
{
    Variant a(QStringLiteral("abc"));
    Variant b = a;
    b = Variant::concat(b, Variant(u"d"));
    EXPECT_EQ(a.toString(), QStringLiteral("abc"));
    EXPECT_EQ(b.toString(), QStringLiteral("abcd"));
    Variant c = std::move(b);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(c.toString(), QStringLiteral("abcd"));
}

TEST_F(VariantTest, ArraysHaveValueSemantics)
{
    Variant a = Variant::createArray({{1, 3}, {0, 1}}, varInteger);
    EXPECT_EQ(a.varType(), varArray | varInteger);
    const int at[] = {2, 1};
    a.arrayPut(at, Variant(u"42"));
    Variant b = a;
    b.arrayPut(at, Variant(7));
    EXPECT_EQ(a.arrayGet(at).varType(), varInteger);
    EXPECT_EQ(a.arrayGet(at).toInt(), 42);
    EXPECT_EQ(b.arrayGet(at).toInt(), 7);
    const int out[] = {4, 0};
    EXPECT_THROW(a.arrayGet(out), EVariantBadIndexError);
    EXPECT_THROW(a.arrayPut(at, Variant(u"x")), EVariantTypeCastError);
    EXPECT_EQ(a.arrayGet(at).toInt(), 42); // failed store leaves the element
    EXPECT_THROW(Variant::createArray({{0, 1 << 30}}), EVariantArrayCreateError);
    EXPECT_THROW(Variant(1).arrayGet(0), EVariantNotArrayError);
}

TEST_F(VariantTest, RedimKeepsElements)
{
    Variant a = Variant::arrayOf({Variant(1), Variant(u"two"), Variant(3.0)});
    a.arrayRedim(4);
    EXPECT_EQ(a.arrayHighBound(), 4);
    EXPECT_EQ(a.arrayGet(1).toString(), QStringLiteral("two"));
    EXPECT_TRUE(a.arrayGet(4).isEmpty());
    a.arrayRedim(0);
    EXPECT_EQ(a.arrayGet(0).toInt(), 1);
    EXPECT_THROW(a.arrayGet(1), EVariantBadIndexError);

    // Two dimensions: each row keeps its own elements.
    Variant grid = Variant::createArray({{1, 2}, {0, 2}}, varInteger);
    for (int i = 1; i <= 2; ++i)
        for (int j = 0; j <= 2; ++j) {
            const int at[] = {i, j};
            grid.arrayPut(at, Variant(i * 10 + j));
        }
    const Variant before = grid;
    grid.arrayRedim(4);
    const int kept[] = {2, 2}, added[] = {2, 4}, first[] = {1, 0};
    EXPECT_EQ(grid.arrayGet(kept).toInt(), 22);
    EXPECT_EQ(grid.arrayGet(added).varType(), varInteger);
    EXPECT_EQ(grid.arrayGet(added).toInt(), 0);
    grid.arrayRedim(0);
    EXPECT_EQ(grid.arrayGet(first).toInt(), 10);
    EXPECT_THROW(grid.arrayGet(kept), EVariantBadIndexError);
    EXPECT_EQ(before.arrayGet(kept).toInt(), 22); // the copy taken before is untouched
}

TEST(VariantText, FollowsTheProcessWideSettings)
{
    const Variant half(2.5), text(u"1,5"), date = Variant::fromDate(45356.0);
    {
        rtl::ScopedFormatSettings it(TFormatSettings::italian());
        EXPECT_EQ(half.toString(), QStringLiteral("2,5"));
        EXPECT_EQ(text.toDouble(), 1.5);
        EXPECT_EQ(date.toString(), QStringLiteral("05/03/2024"));
        {
            rtl::ScopedFormatSettings en(TFormatSettings::english());
            EXPECT_EQ(half.toString(), QStringLiteral("2.5"));
            EXPECT_THROW(text.toDouble(), EVariantTypeCastError);
        }
        EXPECT_EQ(date.toString(), QStringLiteral("05/03/2024")); // restored
    }
}

TEST_F(VariantTest, InfiniteOperandsCarryThroughWithoutRaising)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ((Variant(inf) + Variant(1.0)).toDouble(), inf);
    EXPECT_EQ((Variant(inf) * Variant(2)).toDouble(), inf);
    EXPECT_THROW(Variant(1e308) + Variant(1e308), EOverflow);
}

struct FakeDispatch : rtl::DispatchObject
{
    explicit FakeDispatch(int *alive) : alive(alive) { ++*alive; }
    ~FakeDispatch() override { --*alive; }
    QString className() const override { return QStringLiteral("Fake"); }
    Variant invoke(const QString &name, int, std::span<const Variant> args) override
    {
        return Variant(name + QString::number(args.size()));
    }
    int *alive;
};

TEST_F(VariantTest, DispatchObjectsAreCountedAndCompareByIdentity)
{
    int alive = 0;
    {
        const Variant a = Variant::fromDispatch(new FakeDispatch(&alive));
        Variant b = a;
        const Variant other = Variant::fromDispatch(new FakeDispatch(&alive));
        EXPECT_EQ(alive, 2);
        EXPECT_TRUE(a == b);
        EXPECT_FALSE(a == other);
        EXPECT_EQ(b.toDispatch()->invoke(QStringLiteral("Run"), rtl::DispatchObject::Method, {}).toString(),
                  QStringLiteral("Run0"));
        EXPECT_THROW(a + Variant(1), EVariantInvalidOpError);
        EXPECT_THROW(a.toString(), EVariantTypeCastError);
        EXPECT_THROW(a < Variant(1), EVariantInvalidOpError);
    }
    EXPECT_EQ(alive, 0);
}

// ---- object handles

struct Tracked : rtl::HandleTracked
{
    int value = 7;
};

struct Other : rtl::HandleTracked
{
};

TEST(ObjectHandles, SameObjectSameHandleAndNilIsZero)
{
    auto t = std::make_unique<Tracked>();
    const Variant v = rtl::objectToVariant(t.get());
    EXPECT_EQ(v.varType(), varInteger);
    EXPECT_EQ(v.toInt(), rtl::objectToVariant(t.get()).toInt());
    EXPECT_EQ(rtl::variantToObject<Tracked>(v), t.get());
    EXPECT_EQ(rtl::objectToVariant<Tracked>(nullptr).toInt(), 0);
    EXPECT_EQ(rtl::variantToObject<Tracked>(Variant(0)), nullptr);
    EXPECT_EQ(rtl::variantToObject<Tracked>(Variant::null()), nullptr);
}

TEST(ObjectHandles, StaleForgedAndForeignHandlesGiveNil)
{
    auto t = std::make_unique<Tracked>();
    const int h = t->handle();
    t.reset();
    EXPECT_EQ(rtl::ObjectHandles::tracked(h), nullptr);
    // A new object, even at the same address, never gets the old handle back.
    auto again = std::make_unique<Tracked>();
    EXPECT_NE(again->handle(), h);
    EXPECT_EQ(rtl::variantToObject<Tracked>(Variant(h)), nullptr);

    for (int64_t forged : {int64_t(1), int64_t(-5), int64_t(again->handle()) + 1000, int64_t(1) << 40})
        EXPECT_EQ(rtl::ObjectHandles::tracked(forged), nullptr) << forged;
    EXPECT_EQ(rtl::variantToObject<Other>(Variant(again->handle())), nullptr); // wrong class
    EXPECT_THROW(rtl::variantToObject<Tracked>(Variant(u"abc")), EVariantTypeCastError);
}

TEST(ObjectHandles, CopiesHaveTheirOwnHandleAndEveryHandleDiesWithItsObject)
{
    const int live = rtl::ObjectHandles::liveCount();
    auto original = std::make_unique<Tracked>();
    const int h = original->handle();
    {
        Tracked copy(*original);
        Tracked assigned;
        assigned = *original;
        EXPECT_EQ(rtl::ObjectHandles::liveCount(), live + 1);
        const int hc = copy.handle();
        EXPECT_NE(hc, h);
        EXPECT_EQ(rtl::ObjectHandles::tracked(hc), &copy);
    }
    // The copies died: the original's handle still leads to it, theirs to nothing.
    EXPECT_EQ(rtl::ObjectHandles::tracked(h), original.get());
    EXPECT_EQ(rtl::ObjectHandles::liveCount(), live + 1);
    original.reset();
    EXPECT_EQ(rtl::ObjectHandles::liveCount(), live);
}

TEST(ObjectHandles, QObjectsReleaseOnDestroy)
{
    auto *o = new QObject;
    const int h = rtl::ObjectHandles::handleOf(o);
    EXPECT_EQ(rtl::ObjectHandles::qobject(h), o);
    EXPECT_EQ(rtl::ObjectHandles::tracked(h), nullptr);
    delete o;
    EXPECT_EQ(rtl::ObjectHandles::qobject(h), nullptr);
}

} // namespace
