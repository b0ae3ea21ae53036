#include "fixtures.h"

#include <gtest/gtest.h>

// The report classes publish only what each kind shows; the rest stays declared for kinds
// further down to publish.
TEST(ReportRegistry, KindsPublishTheirOwnSelection)
{
    struct Row {
        const rtl::ClassInfo *cls;
        const char *props;
    } rows[] = {
        {TkvlComponent::StaticClass(), "Name Tag"},
        {TkvlReportComponent::StaticClass(), "Name Tag Description"},
        {TkvlView::StaticClass(),
         "Name Tag Description Align Printable ShiftMode Left Top Width Height GroupIndex Restrictions Visible "
         "OnAfterData OnAfterPrint OnBeforePrint OnMouseEnter OnMouseLeave OnMouseDown OnMouseMove OnMouseUp "
         "OnPreviewClick OnPreviewDblClick Hyperlink Hint ShowHint Visibility"},
        {TkvlPage::StaticClass(), "Name Tag Font Visible"},
    };
    for (const Row &r : rows) {
        QStringList got;
        for (const rtl::PropInfo *p : r.cls->props())
            got << p->name();
        EXPECT_EQ(got.join(QLatin1Char(' ')), QLatin1String(r.props)) << r.cls->name().toStdString();
    }

    ReportTree t;
    const rtl::PropInfo *font = TkvlPage::StaticClass()->findProp(u"Font");
    EXPECT_EQ(font->kind(), rtl::TypeKind::Class);
    EXPECT_EQ(font->typeName(), QLatin1String("TFont"));
    EXPECT_FALSE(font->isStored(t.page));  // follows the report's font
    t.page->Font()->SetSize(14);
    EXPECT_TRUE(font->isStored(t.page));

    const rtl::PropInfo *visible = TkvlPage::StaticClass()->findProp(u"visible");
    EXPECT_TRUE(visible->hasDefault());
    EXPECT_EQ(visible->defaultOrd(), 1);

    // Declared but hidden properties keep their types for the kinds that publish them.
    const rtl::PropInfo *ev = TkvlReportComponent::StaticClass()->findDeclared(u"OnPreviewClick");
    ASSERT_NE(ev, nullptr);
    EXPECT_EQ(ev->kind(), rtl::TypeKind::String);
    EXPECT_EQ(ev->typeName(), QLatin1String("TkvlPreviewClickEvent"));
    const rtl::PropInfo *r = TkvlComponent::StaticClass()->findDeclared(u"Restrictions");
    EXPECT_EQ(r->type()->elementType()->enumName(4), QLatin1String("rfDontEdit"));

    // Dotted names reach the font through the run-time class.
    TPersistent *target = nullptr;
    const rtl::PropInfo *p = nullptr;
    ASSERT_TRUE(rtl::ResolvePropPath(t.page, u"Font.Name", target, p));
    p->setStr(target, QStringLiteral("Tahoma"));
    EXPECT_EQ(t.page->Font()->Name(), QLatin1String("Tahoma"));
}
