#include "report/appearance/hyperlink.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/utils/textutils.h"
#include "report/vars/kvlvariables.h"

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

void TkvlHyperlink::AssignVariables(TkvlVariables *Variables) const
{
    if (!Variables)
        return;
    auto set = [Variables](const QString &name, const QString &value) {
        const int i = Variables->IndexOf(name);
        if (i >= 0)
            Variables->Items(i)->SetValue(Variant(value));
    };
    if (FValuesSeparator.isEmpty() || !FReportVariable.contains(FValuesSeparator)) {
        set(FReportVariable, FValue);
        return;
    }
    const QChar sep = FValuesSeparator[0];
    QStringList names, values;
    kvlParseDilimitedText(names, FReportVariable, sep);
    kvlParseDilimitedText(values, FValue, sep);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (values.isEmpty())
            set(names[i], FValue);
        else
            set(names[i], values[std::min(i, values.size() - 1)]);
    }
}
