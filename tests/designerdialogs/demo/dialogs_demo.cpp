// The designer's dialogs on a small report, one at a time: dialogs_demo <name>.
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/pageeditorform.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/pages/kvlreportpage.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    kvlAddDesignerStrings();
    TFormatSettings fs = rtl::FormatSettings();
    fs.DecimalSeparator = u',';
    rtl::ScopedFormatSettings numbers(fs);
    TkvlReport report(nullptr);
    auto *page = new TkvlReportPage(&report);
    page->SetSizeAndDimensions(9, 210, 297);
    page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 10;
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("page");
    if (which == QLatin1String("page"))
        return kvlEditPage(page, ruCM, nullptr) ? 0 : 1;
    QTextStream(stderr) << "unknown dialog " << which << '\n';
    return 2;
}
