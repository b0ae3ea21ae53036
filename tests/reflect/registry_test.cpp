#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"

#include <gtest/gtest.h>

namespace {

enum TShade { shLight, shDark, shNone };

const rtl::TypeInfo *shadeType() { return rtl::EnumType(QStringLiteral("TShade"), {"shLight", "shDark", "shNone"}); }
const rtl::TypeInfo *shadesType() { return rtl::SetType(QStringLiteral("TShades"), shadeType()); }

class TPen : public TPersistent {
    LIRRA_CLASS(TPen, TPersistent)
public:
    int32_t FWidth = 1;
    int32_t Color() const { return FColor; }
    void SetColor(int32_t c) { FColor = c; }

private:
    int32_t FColor = 0;
};

class TWidget : public TComponent {
    LIRRA_CLASS(TWidget, TComponent)
public:
    explicit TWidget(TComponent *AOwner) : TComponent(AOwner) {}
    ~TWidget() override { delete FPen; }
    double FLeft = 0, FTop = 0;
    bool FVisible = true;
    TShade FShade = shLight;
    uint32_t FShades = 0;
    QString FCaption;
    QStringList FLines;
    TPen *FPen = new TPen;
    rtl::ComponentRef<TWidget> FBuddy;
    QString FOnClick;
    TStringList FItems;
    bool captionStored() const { return FCaption != QLatin1String("x"); }
};

// Character properties, over a field and over accessors.
class TSeparator : public TPersistent {
    LIRRA_CLASS(TSeparator, TPersistent)
public:
    QChar FDecimal = QLatin1Char('.');
    QChar List() const { return FList; }
    void SetList(QChar c) { FList = c; }

private:
    QChar FList = QLatin1Char(';');
};

class TNarrow : public TWidget {
    LIRRA_CLASS(TNarrow, TWidget)
public:
    explicit TNarrow(TComponent *AOwner) : TWidget(AOwner) {}
};

} // namespace

LIRRA_DEFINE_CLASS(TPen)
LIRRA_DEFINE_CLASS(TWidget)
LIRRA_DEFINE_CLASS(TNarrow)
LIRRA_DEFINE_CLASS(TSeparator)

void TPen::DeclareClass(rtl::ClassBuilder<TPen> &b)
{
    b.prop<&TPen::Color, &TPen::SetColor>("Color", rtl::types::TColor()).def(0);
    b.prop<&TPen::FWidth>("Width").def(1);
    b.prop<[](const TPen &p) { return p.FWidth * 2; }, [](TPen &p, int32_t v) { p.FWidth = v / 2; }>("Doubled")
        .stored(false);
    b.prop<[](const TPen &p) { return p.Color() != 0; }>("Colored");
}

void TWidget::DeclareClass(rtl::ClassBuilder<TWidget> &b)
{
    using T = TWidget;
    b.declare<&T::FLeft>("Left");
    b.declare<&T::FTop>("Top");
    b.prop<&T::FVisible>("Visible").def(true);
    b.prop<&T::FShade>("Shade", shadeType()).def(shLight);
    b.prop<&T::FShades>("Shades", shadesType()).def(0);
    b.prop<&T::FCaption>("Caption").stored<&T::captionStored>();
    b.prop<&T::FLines>("Lines");
    b.prop<&T::FPen>("Pen");
    b.prop<&T::FBuddy>("Buddy", b.selfType());
    b.prop<&T::FOnClick>("OnClick", rtl::NamedType(rtl::TypeKind::String, QStringLiteral("TkvlNotifyEvent")));
    b.prop<&T::FItems>("Items", rtl::types::TStrings());
}

void TSeparator::DeclareClass(rtl::ClassBuilder<TSeparator> &b)
{
    b.prop<&TSeparator::FDecimal>("Decimal").def(u'.');
    b.prop<&TSeparator::List, &TSeparator::SetList>("List");
}

void TNarrow::DeclareClass(rtl::ClassBuilder<TNarrow> &b)
{
    b.publish("Top");
    b.publish("Visible").def(false);
}

TEST(Registry, ListsPropertiesInStoredOrder)
{
    struct Row {
        const char *name;
        rtl::TypeKind kind;
        const char *type;
        bool hasDefault;
        int64_t def;
    };
    using K = rtl::TypeKind;
    const Row widget[] = {
        {"Name", K::String, "String", false, 0},     {"Tag", K::Integer, "Integer", true, 0},
        {"Visible", K::Enumeration, "Boolean", true, 1}, {"Shade", K::Enumeration, "TShade", true, 0},
        {"Shades", K::Set, "TShades", true, 0},      {"Caption", K::String, "String", false, 0},
        {"Lines", K::StringList, "TStrings", false, 0}, {"Pen", K::Class, "TPen", false, 0},
        {"Buddy", K::Component, "TWidget", false, 0}, {"OnClick", K::String, "TkvlNotifyEvent", false, 0},
        {"Items", K::StringList, "TStrings", false, 0},
    };
    const rtl::ClassInfo *ci = TWidget::StaticClass();
    ASSERT_EQ(ci->propCount(), int(std::size(widget)));
    for (int i = 0; i < ci->propCount(); ++i) {
        const rtl::PropInfo *p = ci->prop(i);
        const Row &r = widget[i];
        EXPECT_EQ(p->name(), QLatin1String(r.name));
        EXPECT_EQ(p->kind(), r.kind) << r.name;
        EXPECT_EQ(p->typeName(), QLatin1String(r.type)) << r.name;
        EXPECT_EQ(p->hasDefault(), r.hasDefault) << r.name;
        if (r.hasDefault) {
            EXPECT_EQ(p->defaultOrd(), r.def) << r.name;
        }
    }
    EXPECT_EQ(ci->findProp(u"Name")->storedMode(), rtl::StoredMode::Never);
    EXPECT_EQ(ci->findProp(u"caption")->storedMode(), rtl::StoredMode::Predicate);
    EXPECT_EQ(ci->findProp(u"Left"), nullptr);  // declared, not published

    // The derived class publishes Top (appended) and re-publishes Visible in place with its own default.
    const rtl::ClassInfo *n = TNarrow::StaticClass();
    ASSERT_EQ(n->propCount(), ci->propCount() + 1);
    EXPECT_EQ(n->prop(2)->name(), QLatin1String("Visible"));
    EXPECT_EQ(n->prop(2)->defaultOrd(), 0);
    EXPECT_EQ(n->prop(n->propCount() - 1)->name(), QLatin1String("Top"));
    EXPECT_EQ(n->findProp(u"LEFT"), nullptr);
    EXPECT_TRUE(n->inheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(ci->inheritsFrom(n));
}

TEST(Registry, TypedAccessRoundTrips)
{
    TWidget w(nullptr);
    const rtl::ClassInfo *ci = w.ClassType();
    const rtl::PropKey shadeKey(QStringLiteral("SHADE"));
    const rtl::PropInfo *shade = ci->findProp(shadeKey);
    ASSERT_NE(shade, nullptr);

    shade->setOrd(&w, shDark);
    EXPECT_EQ(w.FShade, shDark);
    EXPECT_THROW(shade->setOrd(&w, 3), EPropertyError);  // out of range never reaches the object
    EXPECT_EQ(w.FShade, shDark);

    ci->findProp(u"Shades")->setOrd(&w, 0xFF);  // masked to the three members
    EXPECT_EQ(w.FShades, 7u);

    ci->findProp(u"Tag")->setOrd(&w, int64_t(0xFFFFFFFFll));  // Integer wraps to 32 bits
    EXPECT_EQ(w.Tag(), -1);

    ci->findProp(u"Caption")->setStr(&w, QStringLiteral("abc"));
    EXPECT_EQ(w.FCaption, QLatin1String("abc"));

    const rtl::PropInfo *lines = ci->findProp(u"Lines");
    lines->setStr(&w, QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(w.FLines, QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(lines->getStr(&w), QLatin1String("a\r\nb\r\n"));
    EXPECT_EQ(lines->getListObject(&w), &w.FLines);
    const rtl::PropInfo *items = ci->findProp(u"Items");
    items->setStr(&w, QStringLiteral("x\ny"));
    EXPECT_EQ(w.FItems.Count(), 2);
    EXPECT_EQ(items->getStr(&w), QLatin1String("x\r\ny\r\n"));

    EXPECT_EQ(ci->findProp(u"Pen")->getObject(&w), w.FPen);
    const rtl::PropInfo *doubled = TPen::StaticClass()->findProp(u"Doubled");
    doubled->setOrd(w.FPen, 10);
    EXPECT_EQ(w.FPen->FWidth, 5);
    EXPECT_EQ(doubled->getOrd(w.FPen), 10);
    const rtl::PropInfo *colored = TPen::StaticClass()->findProp(u"Colored");
    EXPECT_TRUE(colored->type()->isBoolean());
    EXPECT_FALSE(colored->isWritable());
    EXPECT_THROW(colored->setOrd(w.FPen, 1), EPropertyError);
    EXPECT_THROW(ci->findProp(u"Caption")->getOrd(&w), EPropertyError);

    // Stored predicate sees the object.
    w.FCaption = QStringLiteral("x");
    EXPECT_FALSE(ci->findProp(u"Caption")->isStored(&w));
    w.FCaption = QStringLiteral("y");
    EXPECT_TRUE(ci->findProp(u"Caption")->isStored(&w));
}

TEST(Registry, OrdinalsFromText)
{
    TWidget w(nullptr);
    struct Case {
        const char16_t *prop;
        const char16_t *text;
        bool ok;
        int64_t value;
    } cases[] = {
        {u"Shade", u"shdark", true, shDark}, {u"Shade", u"2", true, shNone},  {u"Shade", u"3", false, 0},
        {u"Shade", u"shPurple", false, 0},   {u"Visible", u"0", true, 0},     {u"Visible", u"1", true, 1},
        {u"Visible", u"true", true, 1},      {u"Visible", u"False", true, 0}, {u"Visible", u"yes", false, 0},
        {u"Shades", u"13", true, 5},         {u"Tag", u"-7", true, -7},       {u"Tag", u"7.5", false, 0},
    };
    for (const Case &c : cases) {
        const rtl::PropInfo *p = w.ClassType()->findProp(QStringView(c.prop));
        ASSERT_NE(p, nullptr);
        p->setOrd(&w, 1);
        if (c.ok) {
            p->setOrdText(&w, QStringView(c.text));
            EXPECT_EQ(p->getOrd(&w), c.value) << QString::fromUtf16(c.text).toStdString();
        } else {
            EXPECT_THROW(p->setOrdText(&w, QStringView(c.text)), EPropertyError)
                << QString::fromUtf16(c.text).toStdString();
            EXPECT_EQ(p->getOrd(&w), 1);
        }
    }
}

TEST(Registry, DottedNamesWalkOwnedObjectsOnly)
{
    TWidget a(nullptr), b(nullptr);
    a.FBuddy = &b;
    TPersistent *target = nullptr;
    const rtl::PropInfo *prop = nullptr;
    ASSERT_TRUE(rtl::ResolvePropPath(&a, u"pen.color", target, prop));
    EXPECT_EQ(target, a.FPen);
    EXPECT_EQ(prop->name(), QLatin1String("Color"));
    EXPECT_FALSE(rtl::ResolvePropPath(&a, u"Buddy.Tag", target, prop));  // a reference, not owned
    EXPECT_FALSE(rtl::ResolvePropPath(&a, u"Pen.Style", target, prop));
    EXPECT_FALSE(rtl::ResolvePropPath(&a, u"Caption.Length", target, prop));
}

TEST(Registry, ObjectPropertiesCheckTheirClass)
{
    TWidget a(nullptr);
    TComponent plain(nullptr);
    TNarrow n(nullptr);
    const rtl::PropInfo *buddy = a.ClassType()->findProp(u"Buddy");
    EXPECT_THROW(buddy->setObject(&a, &plain), EPropertyError);
    EXPECT_EQ(a.FBuddy.get(), nullptr);
    buddy->setObject(&a, &n);
    EXPECT_EQ(buddy->getObject(&a), &n);
}

TEST(Registry, FindsRegisteredClassesAndCreatesThem)
{
    rtl::RegisterClasses({TWidget::StaticClass(), TNarrow::StaticClass()});
    EXPECT_EQ(rtl::FindClass(u"twidget"), TWidget::StaticClass());
    EXPECT_EQ(rtl::FindClass(u"TPen"), nullptr);  // never registered
    EXPECT_THROW(rtl::GetClass(u"TPen"), EClassNotFound);

    TComponent owner(nullptr);
    TPersistent *p = rtl::FindClass(u"TNarrow")->create(&owner);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ClassType(), TNarrow::StaticClass());
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(static_cast<TComponent *>(p)->Owner(), &owner);
    TPen pen;
    EXPECT_THROW(TWidget::StaticClass()->create(&pen), EComponentError);  // owner must be a component
    rtl::UnregisterClass(TNarrow::StaticClass());
    EXPECT_EQ(rtl::FindClass(u"TNarrow"), nullptr);
}

TEST(Registry, TypesAreSharedByName)
{
    EXPECT_EQ(rtl::EnumType(QStringLiteral("tshade"), {"shLight", "shDark", "shNone"}), shadeType());
    EXPECT_THROW(rtl::EnumType(QStringLiteral("TShade"), {"a"}), std::logic_error);
    EXPECT_EQ(rtl::FindType(u"tcolor"), rtl::types::TColor());
    EXPECT_TRUE(rtl::types::Boolean()->isBoolean());
    EXPECT_EQ(shadesType()->setToString(5), QLatin1String("[shLight,shNone]"));
    using rtl::TypeKind;
    EXPECT_TRUE(rtl::NamedType(TypeKind::String, QStringLiteral("TkvlMouseEvent"))->isScriptEvent());
    EXPECT_FALSE(rtl::NamedType(TypeKind::String, QStringLiteral("TkvlEventList"))->isScriptEvent());
    EXPECT_FALSE(rtl::types::TNotifyEvent()->isScriptEvent());  // a host callback
}

TEST(Registry, ValuesThroughVariants)
{
    auto *w = new TWidget(nullptr);
    TWidget other(nullptr);
    const rtl::ClassInfo *ci = w->ClassType();
    auto P = [&](const char16_t *n) { return ci->findProp(QStringView(n)); };

    P(u"Tag")->setValue(w, Variant(42));
    EXPECT_TRUE(P(u"Tag")->getValue(w).identical(Variant(42)));
    P(u"Visible")->setValue(w, Variant(false));
    EXPECT_TRUE(P(u"Visible")->getValue(w).identical(Variant(false)));
    P(u"Shade")->setValue(w, Variant(QStringLiteral("shNone")));
    EXPECT_TRUE(P(u"Shade")->getValue(w).identical(Variant(int(shNone))));
    P(u"Caption")->setValue(w, Variant(12));
    EXPECT_EQ(w->FCaption, QLatin1String("12"));

    // Objects travel as handles; a stale handle is refused, 0 clears.
    const Variant h = rtl::objectToVariant(&other);
    P(u"Buddy")->setValue(w, h);
    EXPECT_EQ(w->FBuddy.get(), &other);
    EXPECT_TRUE(P(u"Buddy")->getValue(w).identical(h));
    const Variant pen = P(u"Pen")->getValue(w);
    EXPECT_EQ(rtl::variantToObject<TPen>(pen), w->FPen);
    delete w;
    auto *w2 = new TWidget(nullptr);
    EXPECT_THROW(ci->findProp(u"Buddy")->setValue(w2, Variant(pen.toInt())), EPropertyError);  // pen died with w
    ci->findProp(u"Buddy")->setValue(w2, Variant(0));
    EXPECT_EQ(w2->FBuddy.get(), nullptr);
    delete w2;
}

TEST(Registry, CharPropertiesRoundTrip)
{
    TSeparator s;
    const rtl::ClassInfo *ci = s.ClassType();
    for (const char *name : {"Decimal", "List"}) {
        const rtl::PropInfo *p = ci->findProp(QString::fromLatin1(name));
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->kind(), rtl::TypeKind::Char) << name;
        EXPECT_EQ(p->typeName(), QLatin1String("Char")) << name;

        // Through the Variant accessors, then through the ordinal ones with a code beyond Latin-1.
        const Variant before = p->getValue(&s);
        p->setValue(&s, Variant(int(u'x')));
        EXPECT_EQ(p->getValue(&s).toInt64(), int64_t(u'x')) << name;
        p->setValue(&s, before);
        EXPECT_EQ(p->getValue(&s).toInt64(), before.toInt64()) << name;
        p->setOrd(&s, 0x20AC);
        EXPECT_EQ(p->getOrd(&s), 0x20AC) << name;
    }
    EXPECT_EQ(ci->findProp(u"Decimal")->defaultOrd(), int64_t(u'.'));
    EXPECT_EQ(s.FDecimal, QChar(0x20AC));
    EXPECT_EQ(s.List(), QChar(0x20AC));
}
