// The designer's settings component: its published properties, the process-wide reference
// and the answers without a component.
#include "app/dm/dm.h"
#include "designer/core/settings.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classinfo.h"

#include <gtest/gtest.h>

namespace {

// The value of a property of a new component as text, whatever its kind.
QString valueText(TkvlDesigner &d, const rtl::PropInfo *p)
{
    switch (p->kind()) {
    case rtl::TypeKind::Float:
        return QString::number(p->getFloat(&d));
    case rtl::TypeKind::String:
        return p->getStr(&d);
    case rtl::TypeKind::Class: {
        auto *f = static_cast<TFont *>(p->getObject(&d));
        return f->Name() + u' ' + QString::number(f->Size());
    }
    case rtl::TypeKind::Method:
        return QStringLiteral("-");
    case rtl::TypeKind::Set:
        return p->type()->setToString(uint64_t(p->getOrd(&d)));
    default:
        return p->type()->ordToText(p->getOrd(&d));
    }
}

} // namespace

TEST(DesignerSettings, PublishedPropertiesInOrderWithTheirDefaults)
{
    struct Row {
        const char *name, *type, *value;
    };
    // clWindow is system colour 5: 0xFF000005.
    const Row rows[] = {
        {"CloseQuery", "Boolean", "True"},
        {"DefaultScriptLanguage", "String", "DozovoZozedi"},
        {"DefaultFont", "TFont", "Arial 10"},
        {"DefaultLeftMargin", "Extended", "10"},
        {"DefaultRightMargin", "Extended", "10"},
        {"DefaultTopMargin", "Extended", "10"},
        {"DefaultBottomMargin", "Extended", "10"},
        {"DefaultPaperSize", "Integer", "9"},
        {"DefaultOrientation", "TPrinterOrientation", "poPortrait"},
        {"Gradient", "Boolean", "False"},
        {"GradientEnd", "TColor", "11982554"},
        {"GradientStart", "TColor", "-16777211"},
        {"OpenDir", "String", ""},
        {"SaveDir", "String", ""},
        {"TemplatesExt", "String", "kv3"},
        {"TemplateDir", "String", ""},
        {"Standalone", "Boolean", "False"},
        {"Restrictions", "TkvlDesignerRestrictions", "[]"},
        {"RTLLanguage", "Boolean", "False"},
        {"MemoParentFont", "Boolean", "False"},
        {"OnLoadReport", "TkvlLoadReportEvent", "-"},
        {"OnLoadRecentReport", "TkvlLoadRecentReportEvent", "-"},
        {"OnSaveReport", "TkvlSaveReportEvent", "-"},
        {"OnShow", "TNotifyEvent", "-"},
        {"OnInsertObject", "TNotifyEvent", "-"},
        {"OnShowStartupScreen", "TNotifyEvent", "-"},
        {"OnGetTemplateList", "TkvlGetTemplateListEvent", "-"},
    };
    const rtl::ClassInfo *ci = TkvlDesigner::StaticClass();
    const int inherited = TComponent::StaticClass()->propCount();
    ASSERT_EQ(ci->propCount() - inherited, int(std::size(rows)));
    TkvlDesigner d(nullptr);
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const rtl::PropInfo *p = ci->prop(inherited + i);
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(p->name(), QLatin1String(rows[i].name));
        EXPECT_EQ(p->typeName(), QLatin1String(rows[i].type));
        EXPECT_EQ(valueText(d, p), QString::fromUtf8(rows[i].value));
        // The declared defaults are the values of a new component, so these are not written.
        if (p->type()->isOrdinal()) {
            EXPECT_TRUE(p->hasDefault());
            EXPECT_EQ(p->getOrd(&d), p->defaultOrd());
        } else if (p->kind() == rtl::TypeKind::Float) {
            EXPECT_TRUE(p->hasDefault());
            EXPECT_EQ(p->getFloat(&d), p->defaultFloat());
        } else if (p->kind() == rtl::TypeKind::Method) {
            EXPECT_EQ(p->storedMode(), rtl::StoredMode::Never);
        }
    }
    // Texts with a default other than empty are written only when changed.
    for (const char *name : {"DefaultScriptLanguage", "TemplatesExt"}) {
        const rtl::PropInfo *p = ci->findProp(QString::fromLatin1(name));
        EXPECT_FALSE(p->isStored(&d)) << name;
        p->setStr(&d, QStringLiteral("JScript"));
        EXPECT_TRUE(p->isStored(&d)) << name;
    }
    // The restrictions are written bit 0 first.
    const rtl::TypeInfo *set = ci->findProp(u"Restrictions")->type();
    EXPECT_EQ(set->setToString(kvlBit(drDontInsertObject) | kvlBit(drDontEditInternalDatasets)),
              QStringLiteral("[drDontInsertObject,drDontEditInternalDatasets]"));
    EXPECT_EQ(set->elementType()->enumCount(), 14);
}

TEST(DesignerSettings, DefaultFontIsOwnedAndTakesACopy)
{
    TkvlDesigner d(nullptr);
    TFont other;
    other.SetName(QStringLiteral("Courier New"));
    other.SetSize(14);
    d.SetDefaultFont(&other);
    other.SetName(QStringLiteral("Tahoma"));
    EXPECT_NE(d.DefaultFont(), &other);
    EXPECT_EQ(d.DefaultFont()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(d.DefaultFont()->Size(), 14);
}

TEST(DesignerSettings, TheLastComponentCreatedIsUsedAndDestroyingAnyLeavesNone)
{
    ASSERT_EQ(kvlDesignerComp(), nullptr);
    for (const bool destroyFirst : {true, false}) {
        auto first = std::make_unique<TkvlDesigner>(nullptr);
        auto second = std::make_unique<TkvlDesigner>(nullptr);
        second->Restrictions = kvlBit(drDontSaveReport);
        EXPECT_EQ(kvlDesignerComp(), second.get());
        EXPECT_FALSE(kvlDesignerAllows(drDontSaveReport));
        (destroyFirst ? first : second).reset();
        EXPECT_EQ(kvlDesignerComp(), nullptr);
        EXPECT_TRUE(kvlDesignerAllows(drDontSaveReport));
    }
}

TEST(DesignerSettings, OwnerFreesTheComponentAndTheReferenceWithIt)
{
    {
        TComponent owner(nullptr);
        new TkvlDesigner(&owner);
        EXPECT_NE(kvlDesignerComp(), nullptr);
    }
    EXPECT_EQ(kvlDesignerComp(), nullptr);
}

TEST(DesignerSettings, WithoutAComponentTheFixedAnswersHold)
{
    ASSERT_EQ(kvlDesignerComp(), nullptr);
    for (int op = drDontInsertObject; op <= drDontEditInternalDatasets; ++op)
        EXPECT_TRUE(kvlDesignerAllows(TkvlDesignerRestriction(op)));
    EXPECT_EQ(kvlDesignerDefaultLanguage(), QStringLiteral("DozovoZozedi"));
    EXPECT_EQ(kvlDesignerTemplateExt(), QStringLiteral("kv3"));
    EXPECT_FALSE(kvlDesignerGradient());
    EXPECT_FALSE(kvlDesignerLoadReport(nullptr).has_value());
    EXPECT_FALSE(kvlDesignerSaveReport(nullptr, true).has_value());
    QStringList list{QStringLiteral("stale")};
    EXPECT_FALSE(kvlDesignerGetTemplateList(list));
    EXPECT_TRUE(list.isEmpty());
}

TEST(DesignerSettings, ReadingsFollowTheComponent)
{
    TkvlDesigner d(nullptr);
    int shown = 0;
    d.OnShow = [&](QObject *) { ++shown; };
    d.OnSaveReport = [](TkvlReport *, bool SaveAs) { return SaveAs; };
    d.OnGetTemplateList = [](QStringList &l) { l << QStringLiteral("a.kv3"); };
    d.Gradient = true;
    d.DefaultScriptLanguage = QStringLiteral("JScript");
    kvlDesignerShow(nullptr);
    kvlDesignerShowStartupScreen(nullptr);  // not assigned: nothing happens
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(kvlDesignerSaveReport(nullptr, true), std::optional<bool>(true));
    EXPECT_FALSE(kvlDesignerLoadRecentReport(nullptr, QString()).has_value());
    QStringList list;
    EXPECT_TRUE(kvlDesignerGetTemplateList(list));
    EXPECT_EQ(list, QStringList{QStringLiteral("a.kv3")});
    EXPECT_TRUE(kvlDesignerGradient());
    EXPECT_EQ(kvlDesignerDefaultLanguage(), QStringLiteral("JScript"));
}

TEST(DesignerSettings, TemplateExtensionLosesItsLeadingDot)
{
    struct Case {
        const char *set, *read;
    } cases[] = {{".kv3", "kv3"}, {"kv3", "kv3"}, {".", "."}, {".x", "x"}, {"", ""}};
    TkvlDesigner d(nullptr);
    for (const Case &c : cases) {
        d.TemplatesExt = QString::fromLatin1(c.set);
        EXPECT_EQ(kvlDesignerTemplateExt(), QLatin1String(c.read)) << c.set;
        // Taken off the component's own value, so every later window sees it too.
        EXPECT_EQ(d.TemplatesExt, QLatin1String(c.read)) << c.set;
    }
}

TEST(DesignerSettings, PreviewDesignerAddsRestrictionsAndGivesTheOldComponentBack)
{
    TkvlDesigner host(nullptr);
    host.Restrictions = kvlBit(drDontEditReportScript);
    {
        TkvlPreviewDesignerSettings preview;
        ASSERT_EQ(kvlDesignerComp(), preview.Settings());
        EXPECT_EQ(preview.Settings()->Restrictions,
                  kvlBit(drDontEditReportScript) | TkvlPreviewDesignerSettings::kAdded);
        EXPECT_FALSE(kvlDesignerAllows(drDontPreviewReport));
        EXPECT_TRUE(kvlDesignerAllows(drDontSaveReport));
    }
    EXPECT_EQ(kvlDesignerComp(), &host);
}

TEST(DesignerSettings, PreviewDesignerDoesNotRestoreAComponentThatDiedMeanwhile)
{
    auto host = std::make_unique<TkvlDesigner>(nullptr);
    {
        TkvlPreviewDesignerSettings preview;
        host.reset();
        EXPECT_EQ(kvlDesignerComp(), nullptr);
    }
    EXPECT_EQ(kvlDesignerComp(), nullptr);
    {
        TkvlPreviewDesignerSettings alone;
        EXPECT_EQ(alone.Settings()->Restrictions, TkvlPreviewDesignerSettings::kAdded);
    }
    EXPECT_EQ(kvlDesignerComp(), nullptr);
}

TEST(DesignerSettings, DataModuleHoldsTheCalendarsSettings)
{
    Tdm dm;
    TkvlDesigner *d = dm.kvlDesigner1;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(kvlDesignerComp(), d);
    EXPECT_EQ(d->Name(), QStringLiteral("kvlDesigner1"));
    EXPECT_EQ(d->DefaultScriptLanguage, QStringLiteral("DozovoZozedi"));
    EXPECT_EQ(d->DefaultFont()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(d->DefaultFont()->Height(), -13);
    EXPECT_EQ(d->DefaultFont()->Color(), clWindowText);
    for (double m : {d->DefaultLeftMargin, d->DefaultRightMargin, d->DefaultTopMargin, d->DefaultBottomMargin})
        EXPECT_EQ(m, 10);
    EXPECT_EQ(d->DefaultPaperSize, 9);
    EXPECT_EQ(d->DefaultOrientation, poPortrait);
    EXPECT_EQ(d->GradientStart, clWindow);
    EXPECT_EQ(d->GradientEnd, 0xB6D6DA);
    EXPECT_EQ(d->TemplatesExt, QStringLiteral("kv3"));
    EXPECT_EQ(d->Restrictions, 0u);
    EXPECT_FALSE(d->RTLLanguage);
    EXPECT_FALSE(d->MemoParentFont);
}
