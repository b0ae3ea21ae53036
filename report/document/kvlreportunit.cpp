// The report unit's process-wide state, made once at start-up.
#include "report/document/kvlreportunit.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/appearance/frame.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"
#include "report/views/kvlhighlight.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "report/views/kvlviews.h"

#include <Qt>

TkvlVariables &kvlGlobalVariables()
{
    static TkvlVariables v;
    return v;
}

TkvlKV2Events &kvlKV2Events()
{
    static TkvlKV2Events e;
    return e;
}

int kvlCursorShape(int Cursor)
{
    switch (Cursor) {
    case crKvlHand:
        return Qt::PointingHandCursor;
    case crKvlZoom:
        return Qt::CrossCursor;
    case crKvlFormat:
        return Qt::UpArrowCursor;
    default:
        return -1;
    }
}

void kvlInitReportUnit()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    kvlGlobalVariables();
    kvlKV2Events();
    kvlRegisterObjectTreeClasses();
    kvlRegisterViewClasses();
    kvlRegisterMemoClasses();
    kvlRegisterBandClasses();
    kvlRegisterPageClasses();
    kvlRegisterDataSetClasses();
    kvlRegisterVariableClasses();
    kvlRegisterStyleClasses();
    // The classes a template names, in the order they were always registered.
    rtl::RegisterClasses({TkvlChild::StaticClass(),         TkvlColumnFooter::StaticClass(),
                          TkvlColumnHeader::StaticClass(),  TkvlCustomMemoView::StaticClass(),
                          TkvlMasterData::StaticClass(),    TkvlDetailData::StaticClass(),
                          TkvlSubdetailData::StaticClass(), TkvlDataBand4::StaticClass(),
                          TkvlDataBand5::StaticClass(),     TkvlDataBand6::StaticClass(),
                          TkvlDialogPage::StaticClass(),    TkvlFooter::StaticClass(),
                          TkvlFrame::StaticClass(),         TkvlGroupFooter::StaticClass(),
                          TkvlGroupHeader::StaticClass(),   TkvlHeader::StaticClass(),
                          TkvlHighlight::StaticClass(),     TkvlLineView::StaticClass(),
                          TkvlMemoView::StaticClass(),      TkvlOverlay::StaticClass(),
                          TkvlPageFooter::StaticClass(),    TkvlPageHeader::StaticClass(),
                          TkvlPictureView::StaticClass(),   TkvlReport::StaticClass(),
                          TkvlReportPage::StaticClass(),    TkvlReportSummary::StaticClass(),
                          TkvlReportTitle::StaticClass(),   TkvlShapeView::StaticClass(),
                          TkvlSysMemoView::StaticClass(),   TkvlStyleItem::StaticClass(),
                          TkvlNullBand::StaticClass(),      TkvlCustomLineView::StaticClass(),
                          TkvlDataPage::StaticClass()});
    kvlResources().UpdateFSResources();
}
