#include "report/appearance/hyperlink.h"
#include "platform/rtl/reflect/classbuilder.h"

const rtl::TypeInfo *kvlHyperlinkKindType()
{
    return rtl::EnumType(QStringLiteral("TkvlHyperlinkKind"),
                         {"hkURL", "hkAnchor", "hkPageNumber", "hkDetailReport", "hkDetailPage", "hkCustom"});
}

LIRRA_DEFINE_CLASS(TkvlHyperlink)

void TkvlHyperlink::DeclareClass(rtl::ClassBuilder<TkvlHyperlink> &b)
{
    using T = TkvlHyperlink;
    b.prop<&T::FKind>("Kind", kvlHyperlinkKindType()).def(hkURL);
    b.prop<&T::FDetailReport>("DetailReport");
    b.prop<&T::FDetailPage>("DetailPage");
    b.prop<&T::FExpression>("Expression");
    b.prop<&T::FReportVariable>("ReportVariable");
    b.prop<&T::FTabCaption>("TabCaption");
    b.prop<&T::FValue>("Value");
    b.prop<&T::FValuesSeparator>("ValuesSeparator").stored<&T::IsValuesSeparatorStored>();
}

void TkvlHyperlink::Assign(TPersistent *Source)
{
    if (auto *s = rtl_cast<TkvlHyperlink>(Source)) {
        FKind = s->FKind;
        FDetailReport = s->FDetailReport;
        FDetailPage = s->FDetailPage;
        FExpression = s->FExpression;
        FReportVariable = s->FReportVariable;
        FTabCaption = s->FTabCaption;
        FValue = s->FValue;
        FValuesSeparator = s->FValuesSeparator;
    }
}
