#pragma once
// What the preview window offers for saving and exporting: the entries of its save menu and the
// targets of its two quick-export buttons, worked out from the preview buttons and the
// export-filter registry (in registry order) without any widget.
#include "report/options/kvloptions.h"

#include <QString>
#include <vector>

class TkvlCustomExportFilter;
class TkvlExportFilterCollection;

struct TkvlExportMenuEntry {
    enum TKind { ekSavePrepared, ekSeparator, ekExport };
    TKind Kind = ekExport;
    QString Caption;
    int FilterIndex = -1;  // the filter's place in the registry (ekExport only)
    TkvlCustomExportFilter *Filter = nullptr;
};

struct TkvlExportMenu {
    std::vector<TkvlExportMenuEntry> Entries;
    TkvlCustomExportFilter *PdfFilter = nullptr;    // the quick PDF button's target
    TkvlCustomExportFilter *EmailFilter = nullptr;  // the quick e-mail button's target
    bool ShowPdfButton = false;
    bool ShowEmailButton = false;
};

// The class names the quick buttons look for.
inline constexpr const char *kvlPdfExportClassName = "TkvlPDFExport";
inline constexpr const char *kvlMailExportClassName = "TkvlMailExport";

// SaveCaption is the prepared-report entry's caption without the "..." (the window passes its
// string-table text).
TkvlExportMenu kvlBuildExportMenu(TkvlPreviewButtons Buttons, const TkvlExportFilterCollection &Filters,
                                  const QString &SaveCaption);
