#include "platform/rtl/reflect/classbuilder.h"

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
    bool captionStored() const { return FCaption != QLatin1String("x"); }
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

void TPen::DeclareClass(rtl::ClassBuilder<TPen> &b)
{
    b.prop<&TPen::Color, &TPen::SetColor>("Color", rtl::types::TColor()).def(0);
    b.prop<&TPen::FWidth>("Width").def(1);
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
        if (r.hasDefault)
            EXPECT_EQ(p->defaultOrd(), r.def) << r.name;
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
