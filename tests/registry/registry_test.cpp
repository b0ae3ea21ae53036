// The five process-wide registries: what each keeps and which entry a lookup chooses.
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/registry/kvlregistries.h"
#include "report/seams/kvlexportfilter.h"
#include "report/seams/kvlwizard.h"

#include <gtest/gtest.h>

// A class tree for the lookups: Base > Middle > Leaf, and Other beside them.
class TRegBase : public TkvlView {
    LIRRA_CLASS(TRegBase, TkvlView)
public:
    using TkvlView::TkvlView;
    void Draw(TCanvas *, double, double, double, double) override {}
};
class TRegMiddle : public TRegBase {
    LIRRA_CLASS(TRegMiddle, TRegBase)
public:
    using TRegBase::TRegBase;
};
class TRegLeaf : public TRegMiddle {
    LIRRA_CLASS(TRegLeaf, TRegMiddle)
public:
    using TRegMiddle::TRegMiddle;
};
class TRegOther : public TkvlView {
    LIRRA_CLASS(TRegOther, TkvlView)
public:
    using TkvlView::TkvlView;
    void Draw(TCanvas *, double, double, double, double) override {}
};
class TRegFilter : public TkvlCustomExportFilter {
    LIRRA_CLASS(TRegFilter, TkvlCustomExportFilter)
public:
    using TkvlCustomExportFilter::TkvlCustomExportFilter;
};
class TRegWizard : public TkvlCustomWizard {
    LIRRA_CLASS(TRegWizard, TkvlCustomWizard)
public:
    using TkvlCustomWizard::TkvlCustomWizard;
    bool Execute() override { return true; }
};

LIRRA_DEFINE_CLASS(TRegBase)
LIRRA_DEFINE_CLASS(TRegMiddle)
LIRRA_DEFINE_CLASS(TRegLeaf)
LIRRA_DEFINE_CLASS(TRegOther)
LIRRA_DEFINE_CLASS(TRegFilter)
LIRRA_DEFINE_CLASS(TRegWizard)
void TRegBase::DeclareClass(rtl::ClassBuilder<TRegBase> &) {}
void TRegMiddle::DeclareClass(rtl::ClassBuilder<TRegMiddle> &) {}
void TRegLeaf::DeclareClass(rtl::ClassBuilder<TRegLeaf> &) {}
void TRegOther::DeclareClass(rtl::ClassBuilder<TRegOther> &) {}
void TRegFilter::DeclareClass(rtl::ClassBuilder<TRegFilter> &) {}
void TRegWizard::DeclareClass(rtl::ClassBuilder<TRegWizard> &b)
{
    b.description([] { return QStringLiteral("Probe wizard"); });
}

// The designer's property-editor base, as far as the registry needs one.
class TkvlPropertyEditor {
public:
    explicit TkvlPropertyEditor(TkvlCustomDesigner *) {}
};

namespace {

// Editors that say which one they are.
template <int N> class TNumberedEditor : public TkvlComponentEditor {
public:
    using TkvlComponentEditor::TkvlComponentEditor;
    bool Execute(int, bool) override { return N != 0; }
    static constexpr int Number = N;
};
template <int N> class TNumberedPropertyEditor : public TkvlPropertyEditor {
public:
    using TkvlPropertyEditor::TkvlPropertyEditor;
};
template <int N> TkvlComponentEditorClass editor() { return kvlComponentEditorClass<TNumberedEditor<N>>(); }
template <int N> TkvlPropertyEditorClass propEditor() { return kvlPropertyEditorClass<TNumberedPropertyEditor<N>>(); }

class Registries : public ::testing::Test {
protected:
    void SetUp() override { kvlFreeRegistries(); }
    void TearDown() override { kvlFreeRegistries(); }
};

TEST_F(Registries, EachIsMadeOnFirstUseAndFreedTogether)
{
    EXPECT_EQ(kvlExportFiltersIfCreated(), nullptr);
    TkvlObjectCollection *objects = &kvlObjects();
    EXPECT_EQ(objects, &kvlObjects());
    kvlExportFilters();
    EXPECT_NE(kvlExportFiltersIfCreated(), nullptr);
    kvlFreeRegistries();
    EXPECT_EQ(kvlExportFiltersIfCreated(), nullptr);
    EXPECT_EQ(kvlObjects().Count(), 0);
}

TEST_F(Registries, ObjectsKeepOneEntryPerClassAndFlags)
{
    TkvlObjectCollection &o = kvlObjects();
    rtl::UnregisterClass(TRegLeaf::StaticClass());
    o.RegisterObject(TRegLeaf::StaticClass(), nullptr);
    o.RegisterObject(TRegLeaf::StaticClass(), nullptr, QStringLiteral("again"));
    EXPECT_EQ(o.Count(), 1);
    EXPECT_EQ(rtl::FindClass(u"TRegLeaf"), TRegLeaf::StaticClass());  // templates can make it now
    o.RegisterObject1(TRegLeaf::StaticClass(), nullptr, QStringLiteral("hint"), QString(), 2);
    EXPECT_EQ(o.Count(), 2);
    // Categories are always appended.
    o.RegisterCategory(QStringLiteral("Shapes"), nullptr, QStringLiteral("h"), 4);
    o.RegisterCategory(QStringLiteral("Shapes"), nullptr, QStringLiteral("h"), 4);
    EXPECT_EQ(o.Count(), 4);
    EXPECT_EQ(o.Items(3).ClassRef, nullptr);
    EXPECT_EQ(o.Items(3).ButtonImageIndex, 4);

    TBitmap bmp(QImage(16, 16, QImage::Format_RGB32));
    o.RegisterObject(TRegOther::StaticClass(), &bmp, QStringLiteral("cat"));
    const TkvlObjectItem *other = o.Find(TRegOther::StaticClass());
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->CategoryName, QLatin1String("cat"));
    EXPECT_EQ(other->ButtonImageIndex, -1);
    ASSERT_NE(other->ButtonBmp, nullptr);
    EXPECT_EQ(other->ButtonBmp->width(), 16);

    o.Unregister(TRegLeaf::StaticClass());
    EXPECT_EQ(o.Count(), 3);
    EXPECT_EQ(o.Find(TRegLeaf::StaticClass()), nullptr);
}

TEST_F(Registries, ObjectCategoryFollowsTheClassUnlessGiven)
{
    struct Case {
        const rtl::ClassInfo *cls;
        TkvlObjectCategories given;
        TkvlObjectCategories expected;
    };
    const Case cases[] = {
        {TkvlUserDataSet::StaticClass(), 0, kvlBit(ctData)},
        {TkvlDialogComponent::StaticClass(), 0, kvlBit(ctDialog)},
        {TRegBase::StaticClass(), 0, kvlBit(ctReport)},
        {TRegMiddle::StaticClass(), kvlBit(ctDMP), kvlBit(ctDMP)},
    };
    for (const Case &c : cases) {
        kvlObjects().RegisterObject1(c.cls, nullptr, QString(), QString(), 0, -1, c.given);
        const TkvlObjectItem *item = kvlObjects().Find(c.cls);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Category, c.expected) << c.cls->name().toStdString();
    }
}

TEST_F(Registries, ComponentEditorExactClassThenNearestLaterAncestor)
{
    struct Case {
        std::vector<std::pair<const rtl::ClassInfo *, TkvlComponentEditorClass>> registrations;
        const rtl::ClassInfo *component;
        int expected;  // index of the serving entry
    };
    const auto *base = TRegBase::StaticClass();
    const auto *middle = TRegMiddle::StaticClass();
    const auto *leaf = TRegLeaf::StaticClass();
    const Case cases[] = {
        // An ancestor registered first, a nearer one later: the later one serves.
        {{{base, editor<1>()}, {middle, editor<2>()}}, leaf, 1},
        // The later registration wins even when it is the farther ancestor.
        {{{middle, editor<2>()}, {base, editor<1>()}}, leaf, 1},
        // An exact registration anywhere beats both.
        {{{leaf, editor<3>()}, {base, editor<1>()}, {middle, editor<2>()}}, leaf, 0},
        {{{base, editor<1>()}, {leaf, editor<3>()}, {middle, editor<2>()}}, leaf, 1},
        // The first of two exact registrations.
        {{{leaf, editor<3>()}, {leaf, editor<4>()}}, leaf, 0},
        {{{middle, editor<2>()}}, base, -1},
        {{{base, editor<1>()}}, TRegOther::StaticClass(), -1},
    };
    int n = 0;
    for (const Case &c : cases) {
        TkvlComponentEditorCollection reg;
        for (const auto &[cls, ed] : c.registrations)
            reg.Register(cls, ed);
        EXPECT_EQ(reg.IndexOfEditorFor(c.component), c.expected) << "case " << n;
        ++n;
    }
}

TEST_F(Registries, ComponentEditorIsANewObjectOfTheServingClassEachTime)
{
    TkvlComponentEditorCollection &reg = kvlComponentEditors();
    reg.Register(TRegBase::StaticClass(), editor<1>());
    reg.Register(TRegMiddle::StaticClass(), editor<2>());
    TRegLeaf leaf(nullptr);
    auto a = reg.GetComponentEditor(&leaf, nullptr, nullptr);
    auto b = reg.GetComponentEditor(&leaf, nullptr, nullptr);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_NE(dynamic_cast<TNumberedEditor<2> *>(a.get()), nullptr);
    EXPECT_EQ(a->Component, &leaf);

    reg.Register(TRegOther::StaticClass(), editor<2>());
    reg.UnRegister(editor<2>());  // every entry of that editor goes
    EXPECT_EQ(reg.Count(), 1);
    EXPECT_NE(dynamic_cast<TNumberedEditor<1> *>(reg.GetComponentEditor(&leaf, nullptr, nullptr).get()), nullptr);
    TRegOther other(nullptr);
    EXPECT_EQ(reg.GetComponentEditor(&other, nullptr, nullptr), nullptr);
    EXPECT_EQ(reg.GetComponentEditor(nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Registries, PropertyEditorRules)
{
    const rtl::TypeInfo *color = rtl::types::TColor();
    const rtl::TypeInfo *str = rtl::types::String();
    const auto *base = TRegBase::StaticClass();
    const auto *leaf = TRegLeaf::StaticClass();
    struct Reg {
        const rtl::TypeInfo *type;
        const rtl::ClassInfo *cls;
        const char *name;
    };
    struct Case {
        const char *what;
        std::vector<Reg> regs;
        const rtl::TypeInfo *type;
        const char *name;
        int expected;
    };
    const Case cases[] = {
        {"oldest type-only rule wins", {{color, nullptr, ""}, {color, nullptr, ""}}, color, "Color", 0},
        {"class and name beat a later type-only rule of another type",
         {{str, base, "Color"}, {color, nullptr, ""}},
         color,
         "color",
         0},
        {"newest name rule wins", {{color, nullptr, "Color"}, {color, base, "Color"}}, color, "Color", 1},
        {"name rule without class needs the type", {{color, nullptr, ""}, {str, nullptr, "Color"}}, color, "Color", 0},
        {"class rule of an unrelated class is skipped",
         {{color, nullptr, ""}, {color, TRegOther::StaticClass(), "Color"}},
         color,
         "Color",
         0},
        {"class rule of an exact class", {{color, leaf, "Color"}}, str, "Color", 0},
        {"nothing fits", {{str, nullptr, ""}, {color, base, "Other"}}, color, "Color", -1},
    };
    TRegLeaf component(nullptr);
    for (const Case &c : cases) {
        TkvlPropertyEditorCollection reg;
        for (const Reg &r : c.regs)
            reg.Register(r.type, r.cls, QString::fromLatin1(r.name), propEditor<1>());
        EXPECT_EQ(reg.GetPropertyEditor(c.type, &component, QString::fromLatin1(c.name)), c.expected) << c.what;
    }
}

TEST_F(Registries, EventTypesGetTheEventEditorWhereverItIs)
{
    TkvlPropertyEditorCollection reg;
    const rtl::TypeInfo *event = rtl::NamedType(rtl::TypeKind::String, QStringLiteral("TkvlNotifyEvent"));
    const rtl::TypeInfo *notEvent = rtl::NamedType(rtl::TypeKind::String, QStringLiteral("TkvlEventName"));
    TRegLeaf component(nullptr);
    reg.Register(event, nullptr, QString(), propEditor<1>());
    EXPECT_EQ(reg.GetPropertyEditor(event, &component, QStringLiteral("OnBeforePrint")), -1);

    reg.Register(rtl::types::String(), nullptr, QString(), propEditor<2>());
    reg.RegisterEventEditor(propEditor<3>());
    EXPECT_EQ(reg.GetPropertyEditor(event, &component, QStringLiteral("OnBeforePrint")), 2);
    EXPECT_EQ(reg.GetPropertyEditor(notEvent, &component, QStringLiteral("X")), -1);

    // Removing an entry before it moves the event editor's position with it.
    reg.UnRegister(propEditor<2>());
    EXPECT_EQ(reg.GetPropertyEditor(event, &component, QStringLiteral("OnBeforePrint")), 1);
    reg.UnRegister(propEditor<3>());
    EXPECT_EQ(reg.EventEditorIndex(), -1);
}

TEST_F(Registries, ExportFiltersEnterWhenMadeAndLeaveWhenDestroyed)
{
    TkvlExportFilterCollection &reg = kvlExportFilters();
    {
        TRegFilter filter(nullptr);
        ASSERT_EQ(reg.Count(), 1);
        EXPECT_EQ(reg.Items(0).Filter, &filter);
        reg.Register(&filter);
        reg.Register(nullptr);
        EXPECT_EQ(reg.Count(), 1);

        auto hidden = TkvlCustomExportFilter::CreateNoRegister<TRegFilter>();
        EXPECT_TRUE(hidden->NoRegister());
        EXPECT_EQ(hidden->Owner(), nullptr);
        EXPECT_EQ(reg.Count(), 1);
        hidden.reset();
        EXPECT_EQ(reg.Count(), 1);

        // The next filter registers again.
        TRegFilter second(nullptr);
        EXPECT_EQ(reg.Count(), 2);
    }
    EXPECT_EQ(reg.Count(), 0);
}

TEST_F(Registries, WizardsAreListedOnce)
{
    TkvlWizardCollection &reg = kvlWizards();
    TBitmap big(QImage(32, 32, QImage::Format_RGB32));
    reg.Register(TRegWizard::StaticClass(), nullptr, true, &big);
    reg.Register(TRegWizard::StaticClass(), nullptr);
    reg.Register1(TRegWizard::StaticClass(), 5);
    ASSERT_EQ(reg.Count(), 1);
    const TkvlWizardItem &w = reg.Items(0);
    EXPECT_TRUE(w.IsToolbarWizard);
    ASSERT_NE(w.WizardButtonBmp, nullptr);
    EXPECT_EQ(w.WizardButtonBmp->width(), 32);
    EXPECT_EQ(w.ButtonImageIndex, -1);
    EXPECT_EQ(w.ToolBarButtonImageIndex, -1);

    reg.Unregister(TRegWizard::StaticClass());
    reg.Register1(TRegWizard::StaticClass(), 5);
    EXPECT_EQ(reg.Items(0).ButtonImageIndex, 5);
    EXPECT_EQ(reg.Items(0).WizardButtonBmp, nullptr);
}

} // namespace
