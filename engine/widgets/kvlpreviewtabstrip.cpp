#include "engine/widgets/kvlpreviewtabstrip.h"

#include "engine/widgets/kvlpreview.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/gfx/picturehelpers.h"
#include "platform/rtl/color.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

namespace {

// The close cross: the preview's button image 17 drawn at (0, 1) on a 16 x 16 square whose
// colour ($008080) is the transparent one.
QIcon makeCloseIcon()
{
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    TImageList &images = kvlResources().GetPreviewButtonImages();
    if (images.Count() > 17) {
        QImage glyph = images.Image(17).convertToFormat(QImage::Format_ARGB32);
        const QRgb key = qRgb(0x80, 0x80, 0x00);  // $008080 in the Windows order
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                if ((glyph.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF))
                    glyph.setPixel(x, y, qRgba(0, 0, 0, 0));
        QPainter p(&square);
        p.drawImage(0, 1, glyph);
    }
    return QIcon(QPixmap::fromImage(square));
}

} // namespace

TkvlPreviewTabStrip::TkvlPreviewTabStrip(TkvlPreview *Preview, QWidget *Parent)
    : QTabBar(Parent), FPreview(Preview), FTabs(this), FCloseIcon(makeCloseIcon())
{
    setFixedHeight(22);
    setIconSize(QSize(16, 16));
    setDrawBase(false);
    hide();
    connect(this, &QTabBar::currentChanged, this, [this](int Index) { onCurrentChanged(Index); });
}

TkvlPreviewTabStrip::~TkvlPreviewTabStrip()
{
    ClearAllTabs();
}

// ---- the preview's state as the tab list sees it --------------------------------------------

double TkvlPreviewTabStrip::TabZoom() const { return FPreview->Zoom(); }
TkvlZoomMode TkvlPreviewTabStrip::TabZoomMode() const { return FPreview->ZoomMode(); }
void TkvlPreviewTabStrip::SetTabZoom(double Zoom)
{
    // The mode goes back to zmDefault with the factor.
    FPreview->SetZoom(Zoom);
}
void TkvlPreviewTabStrip::SetTabZoomMode(TkvlZoomMode Mode) { FPreview->SetZoomMode(Mode); }
int TkvlPreviewTabStrip::TabPageNo() const { return FPreview->PageNo(); }
int TkvlPreviewTabStrip::TabLeft() const { return FPreview->Workspace()->HorzPosition(); }
int TkvlPreviewTabStrip::TabTop() const { return FPreview->Workspace()->VertPosition(); }

void TkvlPreviewTabStrip::ShowTabPages(TkvlReport *Report, TkvlCustomPreviewPages *Pages, int PageNo)
{
    if (Report && Report->Preview() != FPreview)
        Report->SetPreview(FPreview);
    FPreview->Report = Report;
    FPreview->PreviewPages = Pages;
    FPreview->Workspace()->SetPreviewPages(Pages);
    FPreview->Thumbnail()->SetPreviewPages(Pages);
    FPreview->UpdatePages();
    if (PageNo > 0)
        FPreview->SetPageNo(PageNo);
}

void TkvlPreviewTabStrip::SetTabScroll(int Left, int Top)
{
    TkvlPreviewWorkspace *ws = FPreview->Workspace();
    ws->UpdateScrollBars();
    ws->SetHorzPosition(Left);
    ws->SetVertPosition(Top);
}

void TkvlPreviewTabStrip::DetachTabReport(TkvlReport *Report)
{
    if (Report->Preview() == FPreview)
        Report->SetPreview(nullptr);
}

void TkvlPreviewTabStrip::UpdateTabOutline() { FPreview->UpdateOutline(); }

// ---- tab operations --------------------------------------------------------------------------

void TkvlPreviewTabStrip::selectSilently(int Index)
{
    const QSignalBlocker block(this);
    setCurrentIndex(Index);
}

void TkvlPreviewTabStrip::SetFirstTab(TkvlReport *Report, const QString &Name)
{
    if (FTabs.Count() == 0) {
        const QSignalBlocker block(this);
        addTab(FCloseIcon, Name);
        setTabData(0, QVariant::fromValue<void *>(Report));
        FTabs.AddTab(Report, QString(), Name, false);
        FTabs.SetCurTab(0);
        return;
    }
    TkvlPreviewTabItem &first = FTabs.Items(0);
    first.Report = Report;
    first.PreviewPages = Report ? Report->PreviewPages() : nullptr;
    setTabData(0, QVariant::fromValue<void *>(Report));
}

void TkvlPreviewTabStrip::AddPreviewTab(TkvlReport *Report, const QString &TabName, const QString &DetailPage,
                                        bool FreeObjects, const QString &TabCaption)
{
    int index = 0;
    {
        const QSignalBlocker block(this);
        index = addTab(FCloseIcon, TabCaption.isEmpty() ? TabName : TabCaption);
        setTabData(index, QVariant::fromValue<void *>(Report));
    }
    FTabs.AddTab(Report, DetailPage, TabName, FreeObjects);
    setVisible(count() > 1);
    selectSilently(index);
    FTabs.SetCurrentTab(index);
}

void TkvlPreviewTabStrip::AddPreviewTabOrSwitch(TkvlReport *Report, const QString &TabName,
                                                const QString &DetailPage, bool FreeObjects,
                                                const QString &TabCaption)
{
    if (HasTab(Report)) {
        SwitchToTab(Report);
        return;
    }
    QString name = TabName;
    if (name.isEmpty() && Report)
        name = !Report->FileName.isEmpty() ? QFileInfo(Report->FileName).fileName() : Report->ReportOptions()->Name;
    AddPreviewTab(Report, name, DetailPage, FreeObjects, TabCaption);
}

void TkvlPreviewTabStrip::SwitchToTab(const TkvlReport *Report)
{
    const int index = FTabs.IndexOfReport(Report);
    if (index < 0)
        return;
    selectSilently(index);
    FTabs.SetCurrentTab(index);
}

void TkvlPreviewTabStrip::SwitchToTab(const QString &Name)
{
    const int index = FTabs.IndexOfName(Name);
    if (index < 0)
        return;
    selectSilently(index);
    FTabs.SetCurrentTab(index);
}

void TkvlPreviewTabStrip::RemoveTab(int Index)
{
    if (Index < 0 || Index >= FTabs.Count() || FTabs.Count() < 2)
        return;
    // Go to the neighbour first so that nothing shows the tab's pages while they are freed.
    const int neighbour = Index > 0 ? Index - 1 : 1;
    selectSilently(neighbour);
    FTabs.SetCurrentTab(neighbour);
    {
        const QSignalBlocker block(this);
        removeTab(Index);
    }
    FTabs.DeleteTab(Index);
    const int current = currentIndex();
    FTabs.SetCurTab(current);
    // The deleted tab may have shared the report: attach it again and show the tab as it was.
    FTabs.SetCurrentTab(current);
    setVisible(count() > 1);
}

void TkvlPreviewTabStrip::ClearAllTabs()
{
    if (FPreview->Report && FPreview->Report->Preview() == FPreview)
        FPreview->Report->SetPreview(nullptr);
    if (FTabs.Count() > 0) {
        TkvlPreviewTabItem &first = FTabs.Items(0);
        if (first.Report) {
            first.Report->SetPreviewPages(first.PreviewPages);
            if (first.Report->Preview() == FPreview)
                first.Report->SetPreview(nullptr);
        }
    }
    const QSignalBlocker block(this);
    while (count() > 1)
        removeTab(count() - 1);
    FTabs.ClearItems();
    FTabs.SetCurTab(0);
    hide();
}

QRect TkvlPreviewTabStrip::CloseCrossRect(int Index) const
{
    const QRect tab = tabRect(Index);
    // x from left + 8 to left + 18, y above 5 and at most 18.
    return QRect(tab.left() + 8, 6, 11, 13);
}

void TkvlPreviewTabStrip::mouseReleaseEvent(QMouseEvent *Event)
{
    QTabBar::mouseReleaseEvent(Event);
    if (Event->button() != Qt::LeftButton)
        return;
    const int selected = currentIndex();
    if (selected <= 0)
        return;
    const QPoint at = Event->position().toPoint();
    const QRect tab = tabRect(selected);
    if (at.x() >= tab.left() + 8 && at.x() <= tab.left() + 18 && at.y() > 5 && at.y() <= 18)
        RemoveTab(selected);
}

void TkvlPreviewTabStrip::onCurrentChanged(int Index)
{
    if (Index >= 0)
        FTabs.SetCurrentTab(Index);
}
