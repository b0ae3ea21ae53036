#pragma once
// The report, page and view classes as the object tree knows them. Each kind adds its own
// content in its own unit; here are only the members the tree relies on.
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"
#include "report/core/kvlcomponent.h"
#include "report/views/kvlview.h"


#include <functional>
#include <memory>

class TkvlEngineOptions;
class TkvlPreviewOptions;
class TkvlPrintOptions;
class TkvlReportOptions;
class TkvlReportDataSets;
class TkvlXMLSerializer;
class TkvlCustomDesigner;

// Bands and their kinds.
#include "report/bands/kvlband.h"

// Base of the pages of a report.
class TkvlPage : public TkvlComponent {
    LIRRA_CLASS(TkvlPage, TkvlComponent)
public:
    explicit TkvlPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // The character cell that objects on the page snap to; false on pages without a grid.
    virtual bool GetCellSize(double &CellWidth, double &CellHeight) const
    {
        (void)CellWidth;
        (void)CellHeight;
        return false;
    }
};

// Dialog pages.
#include "report/pages/kvldialogpage.h"

// The report document.
#include "report/document/kvlreport.h"

// Registers the classes above, and the picture class of their option records, with the
// class registry (start-up).
void kvlRegisterObjectTreeClasses();
