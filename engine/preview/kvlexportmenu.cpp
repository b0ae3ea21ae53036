#include "engine/preview/kvlexportmenu.h"

#include "report/registry/kvlregistries.h"
#include "report/seams/kvlexportfilter.h"

TkvlExportMenu kvlBuildExportMenu(TkvlPreviewButtons Buttons, const TkvlExportFilterCollection &Filters,
                                  const QString &SaveCaption)
{
    const auto has = [Buttons](TkvlPreviewButton b) { return (Buttons & kvlBit(b)) != 0; };
    const QString dots = QStringLiteral("...");
    TkvlExportMenu menu;
    if (has(pbSave)) {
        menu.Entries.push_back({TkvlExportMenuEntry::ekSavePrepared, SaveCaption + dots, -1, nullptr});
        if (has(pbExport))
            menu.Entries.push_back({TkvlExportMenuEntry::ekSeparator, QString(), -1, nullptr});
    }
    for (int i = 0; i < Filters.Count(); ++i) {
        TkvlCustomExportFilter *filter = Filters.Items(i).Filter;
        if (!filter)
            continue;
        const QString className = filter->ClassName();
        const bool isMail = className == QLatin1String(kvlMailExportClassName);
        if (has(pbExport) && !isMail)
            menu.Entries.push_back({TkvlExportMenuEntry::ekExport, filter->GetDescription() + dots, i, filter});
        if (className == QLatin1String(kvlPdfExportClassName)) {
            menu.PdfFilter = filter;
            menu.ShowPdfButton = has(pbExportQuick);
        }
        if (!has(pbNoEmail) && isMail) {
            menu.EmailFilter = filter;
            menu.ShowEmailButton = has(pbExportQuick);
        }
    }
    return menu;
}
