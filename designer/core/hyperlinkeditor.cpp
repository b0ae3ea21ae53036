#include "designer/core/hyperlinkeditor.h"

#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/vars/kvlvariables.h"

#include <memory>

QStringList kvlVariableNames(const TkvlVariables &Variables)
{
    QStringList names;
    for (int i = 0; i < Variables.Count(); ++i) {
        const QString &n = Variables.Items(i)->Name();
        if (!n.isEmpty() && n[0] != QLatin1Char(' '))
            names.append(n);
    }
    return names;
}

QStringList kvlFileVariableNames(const QString &FileName)
{
    if (FileName.isEmpty())
        return {};
    try {
        auto report = std::make_unique<TkvlReport>(nullptr);
        if (!report->LoadFromFile(FileName))
            return {};
        return kvlVariableNames(report->Variables());
    } catch (...) {
        return {};
    }
}

QStringList kvlOtherPageNames(TkvlReport *Report, const TkvlPage *Except)
{
    QStringList names;
    if (!Report)
        return names;
    for (TkvlComponent *c : Report->Objects())
        if (c != Except && dynamic_cast<TkvlReportPage *>(c))
            names.append(c->Name());
    return names;
}

void kvlApplyHyperlink(TkvlView *View, TkvlReport *Report, const TkvlHyperlinkChoice &c)
{
    if (!View)
        return;
    TkvlHyperlink *h = View->Hyperlink();
    h->FKind = c.Kind;
    h->FValue = c.Value;
    h->FExpression = c.Expression;
    if (c.Kind == hkDetailReport) {
        h->FDetailReport = c.DetailReport;
        h->FReportVariable = c.ReportVariable;
    } else if (c.Kind == hkDetailPage) {
        h->FDetailPage = c.DetailPage;
        h->FReportVariable = c.ReportVariable;
        if (Report && !c.DetailPage.isEmpty())
            for (TkvlComponent *p : Report->Objects())
                if (dynamic_cast<TkvlReportPage *>(p) && p->Name().compare(c.DetailPage, Qt::CaseInsensitive) == 0)
                    p->SetVisible(false);
    }
    if (c.ModifyAppearance) {
        View->Cursor = kvlHandCursor;
        if (auto *m = dynamic_cast<TkvlCustomMemoView *>(View)) {
            m->Font()->SetColor(clNavy);
            m->Font()->SetStyle(m->Font()->Style() | FontStyleBit(fsUnderline));
        }
    }
}
