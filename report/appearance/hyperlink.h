#pragma once
// Where a view leads in the preview: a web address, an anchor, a page, a detail report.
#include "platform/rtl/reflect/persistent.h"

#include <QString>
#include <cstdint>

enum TkvlHyperlinkKind : uint8_t { hkURL, hkAnchor, hkPageNumber, hkDetailReport, hkDetailPage, hkCustom };

namespace rtl { class TypeInfo; }
class TkvlVariables;
const rtl::TypeInfo *kvlHyperlinkKindType();

class TkvlHyperlink : public TPersistent {
    LIRRA_CLASS(TkvlHyperlink, TPersistent)
public:
    void Assign(TPersistent *Source) override;
    // Copies Value into the report variables named by ReportVariable: several names and
    // values split at the separator pair up in order (names beyond the last value take the
    // last one). Names that are not variables are skipped; values are stored as text.
    void AssignVariables(TkvlVariables *Variables) const;

    TkvlHyperlinkKind FKind = hkURL;
    QString FDetailReport;
    QString FDetailPage;
    QString FExpression;
    QString FReportVariable;
    QString FTabCaption;
    QString FValue;
    QString FValuesSeparator = QStringLiteral(";");

private:
    bool IsValuesSeparatorStored() const { return FValuesSeparator != QLatin1String(";"); }
};
