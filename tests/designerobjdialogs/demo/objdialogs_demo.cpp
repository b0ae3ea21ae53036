// Shows one object dialog of the designer on a small report, for screenshots under a window
// manager: objdialogs_demo memo|format|frame|fill|highlight|sysmemo|aggregate|hyperlink|expr
#include "tests/nulldesigner.h"
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/expreditorform.h"
#include "designer/widgets/filleditorform.h"
#include "designer/widgets/formateditorform.h"
#include "designer/widgets/frameeditorform.h"
#include "designer/widgets/highlighteditorform.h"
#include "designer/widgets/hyperlinkeditorform.h"
#include "designer/widgets/memoeditorform.h"
#include "designer/widgets/sysmemoform.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/vars/kvlvariables.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

namespace {

class DemoDesigner : public TNullDesigner {
public:
    using TNullDesigner::TNullDesigner;
    QString InsertExpression(const QString &Expr) override { return kvlEditExpression(nullptr, Report(), Expr); }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kvlInitReportUnit();
    kvlAddDesignerStrings();
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("memo");

    TkvlReport report(nullptr);
    report.IniFile = QDir::temp().filePath(QStringLiteral("objdialogs_demo.ini"));
    auto *page = new TkvlReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    (new TkvlReportPage(&report))->SetName(QStringLiteral("Page2"));
    auto *band = new TkvlDataBand(page);
    band->SetName(QStringLiteral("MasterData1"));
    auto *memo = new TkvlMemoView(band);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetText(QStringLiteral("Evento: [EVENTS.\"TITOLO\"]\r\nTotale: [SUM(<EVENTS.\"PREZZO\">,MasterData1)]"));
    memo->Highlight()->Condition = QStringLiteral("<EVENTS.\"PREZZO\"> > 100");
    report.Variables().SetVariables(QStringLiteral("Cliente"), Variant(1));
    DemoDesigner designer(nullptr, &report, false);
    designer.SetPage(page);
    designer.Objects = page->GetAllObjects();

    if (which.startsWith(QLatin1String("memo"))) {
        // "memo2", "memo3": the editor on its Format or Highlight page.
        TkvlMemoEditorForm f(nullptr, &designer);
        f.MemoView = memo;
        if (which.size() > 4)
            f.PageControl1->setCurrentIndex(which.mid(4).toInt() - 1);
        f.exec();
    }
    else if (which == QLatin1String("format"))
        kvlEditDisplayFormats(nullptr, memo);
    else if (which == QLatin1String("frame")) {
        TkvlFrame f;
        f.SetTyp(kvlFrameAll);
        f.SetDropShadow(true);
        kvlEditFrame(nullptr, &f);
    } else if (which == QLatin1String("fill")) {
        TkvlGradientFill g;
        delete kvlEditFill(nullptr, &g);
    } else if (which == QLatin1String("highlight"))
        kvlEditHighlights(nullptr, &designer, memo);
    else if (which == QLatin1String("sysmemo")) {
        QString t = QStringLiteral("[PAGE#]\r\n");
        kvlEditSysMemo(nullptr, &designer, t);
    } else if (which == QLatin1String("aggregate"))
        kvlInsertAggregate(nullptr, &designer);
    else if (which == QLatin1String("hyperlink"))
        kvlEditHyperlink(nullptr, &designer, memo);
    else if (which == QLatin1String("expr"))
        kvlEditExpression(nullptr, &report, QStringLiteral("<EVENTS.\"PREZZO\"> * 2"));
    return 0;
}
