#include "engine/widgets/kvlpreview.h"

#include "engine/preview/kvlpagelist.h"
#include "engine/widgets/guardedhandler.h"
#include "engine/widgets/kvlcombobox.h"
#include "engine/widgets/kvlpreviewtabstrip.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/services.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreviewpages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

namespace {

int scrollBarWidth(const QWidget *W) { return W->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, W); }

constexpr int kPageRole = Qt::UserRole;    // the node's 1-based page
constexpr int kTopRole = Qt::UserRole + 1; // its top on the page

} // namespace

// ---- the splitter ------------------------------------------------------------------------------

TkvlPreviewSplitter::TkvlPreviewSplitter(QWidget *Parent) : QWidget(Parent) { setCursor(Qt::SplitHCursor); }

void TkvlPreviewSplitter::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton)
        return;
    FDown = true;
    FLastX = int(Event->globalPosition().x());
}

void TkvlPreviewSplitter::mouseMoveEvent(QMouseEvent *Event)
{
    if (!FDown)
        return;
    const int x = int(Event->globalPosition().x());
    if (OnMove && x != FLastX)
        OnMove(x - FLastX);
    FLastX = x;
}

void TkvlPreviewSplitter::mouseReleaseEvent(QMouseEvent *)
{
    if (!FDown)
        return;
    FDown = false;
    if (OnMoved)
        guarded([&] { OnMoved(); });
}

// ---- construction ------------------------------------------------------------------------------

TkvlPreviewDesignFunc kvlPreviewDesigner = nullptr;

TkvlPreview::TkvlPreview(QWidget *Parent) : QWidget(Parent)
{
    if (kvlPreviewDesigner)
        OnDesign = kvlPreviewDesigner;
    // 1. The outline popup.
    FOutlinePopup = new QMenu(this);
    TImageList &images = kvlResources().GetPreviewButtonImages();
    const auto icon = [&](int Index) {
        return Index < images.Count() ? QIcon(QPixmap::fromImage(images.Image(Index))) : QIcon();
    };
    QAction *collapse = FOutlinePopup->addAction(icon(13), kvlResourceText(QStringLiteral("601")));
    connect(collapse, &QAction::triggered, this, [this] {
        FOutline->collapseAll();
        FWorkspace->setFocus();
    });
    QAction *expand = FOutlinePopup->addAction(icon(14), kvlResourceText(QStringLiteral("600")));
    connect(expand, &QAction::triggered, this, [this] {
        FOutline->expandAll();
        if (FOutline->topLevelItemCount())
            FOutline->scrollToItem(FOutline->topLevelItem(0));
        FWorkspace->setFocus();
    });

    // 2. The tab strip, the view of the tab list (the first tab is made by Init).
    FTabs = new TkvlPreviewTabStrip(this);
    FTabs->OnSelect = [this](int Index) { guarded([&] { SetCurrentTab(Index); }); };
    FTabs->OnClose = [this](int Index) { guarded([&] { RemoveTab(Index); }); };

    // 3. The outline tree.
    FOutline = new QTreeWidget(this);
    FOutline->setHeaderHidden(true);
    FOutline->setFrameStyle(QFrame::NoFrame);
    FOutline->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FOutline, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *Item) { guarded([&] { onOutlineClick(Item); }); });
    connect(FOutline, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &At) { FOutlinePopup->popup(FOutline->viewport()->mapToGlobal(At)); });

    // 4. The thumbnail strip.
    FThumbnail = new TkvlPreviewWorkspace(this, this);
    FThumbnail->hide();
    FThumbnail->SetZoom(0.1);
    FThumbnail->SetIsThumbnail(true);
    FThumbnail->SetSearch(&FSearch);

    // 5. The splitter: the pages are laid out again after each move.
    FSplitter = new TkvlPreviewSplitter(this);
    FSplitter->OnMove = [this](int Dx) {
        SetOutlineWidth(std::max(0, FOutlineWidth + (layoutDirection() == Qt::RightToLeft ? -Dx : Dx)));
    };
    FSplitter->OnMoved = [this] { UpdatePages(); };

    // 6. The page workspace.
    FWorkspace = new TkvlPreviewWorkspace(this, this);
    FWorkspace->SetSearch(&FSearch);

    // 7. The message panel.
    FMessagePanel = new QFrame(this);
    FMessagePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    FMessagePanel->setAutoFillBackground(true);
    FMessagePanel->hide();
    FMessageLabel = new QLabel(FMessagePanel);
    FMessageLabel->setAlignment(Qt::AlignCenter);
    FMessageLabel->setGeometry(4, 20, 255, 20);

    SetBorderStyle(bsSingle);
    SetOutlineColor(clWindow);
    UseReportHints = true;
    resize(100, 100);
    FOutline->hide();
    FSplitter->hide();
    layoutChildren();
}

TkvlPreview::~TkvlPreview()
{
    guardClose(false);
    ClearAllTabs();
    if (Report && Report->Preview() == this)
        Report->SetPreview(nullptr);
}

// ---- attachment --------------------------------------------------------------------------------

void TkvlPreview::attachPages()
{
    FWorkspace->SetPreviewPages(PreviewPages);
    FThumbnail->SetPreviewPages(PreviewPages);
    FSearch.Clear();
    FAllowF3 = false;
}

void TkvlPreview::Init(TkvlReport *AReport, TkvlCustomPreviewPages *APreviewPages)
{
    if (FCalledFromPreview)
        return;
    Report = AReport;
    PreviewPages = APreviewPages;
    if (FInitialized && FEachReportInTab) {
        AddPreviewTabOrSwitch(AReport, QString(), QString(), false, QString());
        return;
    }
    attachPages();
    if (FInitialized) {
        const int shown = FTabList.IndexOfReport(AReport);
        if (shown >= 0 && shown == FTabList.CurTab()) {
            // The current tab's report attached again (a detail page was prepared meanwhile):
            // the tab stays as it is.
            UpdatePages();
            UpdateOutline();
            SetPageNo(FPageNo);
            return;
        }
        // The first tab takes the new report and pages.
        if (FTabList.CurTab() != 0)
            SetCurrentTab(0);
        TkvlPreviewTabItem &first = FTabList.Items(0);
        first.Report = AReport;
        first.PreviewPages = APreviewPages;
        Report = AReport;
        PreviewPages = APreviewPages;
        attachPages();
        syncTabs();
        UpdatePages();
        UpdateOutline();
        First();
        return;
    }
    if (!AReport)
        return;
    const TkvlPreviewOptions *options = AReport->PreviewOptions();
    if (options->ZoomMode != zmDefault)
        FZoomMode = options->ZoomMode;
    else
        FZoom = std::max(0.25, options->Zoom);
    const QString name = AReport->FileName.isEmpty() ? AReport->ReportOptions()->Name
                                                     : QFileInfo(AReport->FileName).fileName();
    // The first tab never frees its report: the report belongs to whoever made it.
    FTabList.AddTab(AReport, QString(), name, false);
    FTabList.Items(0).PreviewPages = APreviewPages;
    FTabList.SetCurTab(0);
    syncTabs();
    FInitialized = true;
    FOutlineWidth = options->OutlineWidth;
    FWorkspace->SetRTLLanguage(options->RTLPreview);
    FThumbnail->SetRTLLanguage(options->RTLPreview);
    if (options->RTLPreview && !Host)
        setLayoutDirection(Qt::RightToLeft);
    FOutline->setVisible(false);
    FThumbnail->setVisible(false);
    SetOutlineVisible(options->OutlineVisible);
    SetThumbnailVisible(options->ThumbnailVisible);
    UpdatePages();
    UpdateOutline();
    First();
}

void TkvlPreview::UnInit(TkvlCustomPreviewPages *APreviewPages)
{
    // The pages' report is going away: its tabs go with it (and, when it was the first tab's,
    // every other tab), the pages its detail-page tabs own are freed.
    TkvlReport *going = nullptr;
    for (int i = 0; i < FTabList.Count(); ++i)
        if (FTabList.Items(i).PreviewPages == APreviewPages)
            going = FTabList.Items(i).Report;
    if (going)
        forgetReport(going);
}

void TkvlPreview::forgetReport(TkvlReport *AReport)
{
    // A report already let go of (Report nullptr) was the one shown.
    const bool shown = !Report || Report == AReport;
    if (shown) {
        // Nothing shows the pages that are freed below.
        Report = nullptr;
        PreviewPages = nullptr;
        attachPages();
    }
    FTabList.ForgetReport(AReport);
    if (FTabList.Count() == 0)
        FInitialized = false;
    else if (shown)
        SetCurrentTab(FTabList.CurTab());
    syncTabs();
}

void TkvlPreview::ReportDestroyed(TkvlReport *AReport)
{
    const bool shown = !Report || Report == AReport;
    forgetReport(AReport);
    if (!shown)
        return; // another report's pages are shown
    // A run of that report is over; with no tab left only the view is cleared (the pages went
    // with the report).
    FRunning = false;
    FCloseAfterRun = false;
    guardClose(false);
    if (FTabList.Count() == 0)
        Clear();
}

void TkvlPreview::Lock()
{
    FLocked = true;
    FWorkspace->SetLocked(true);
    FThumbnail->SetLocked(true);
}

void TkvlPreview::Unlock()
{
    HideMessage();
    FLocked = false;
    FWorkspace->SetLocked(false);
    FThumbnail->SetLocked(false);
    UpdatePages();
    FWorkspace->viewport()->update();
    FThumbnail->viewport()->update();
}

// ---- progress while preparing ----------------------------------------------------------------------

void TkvlPreview::guardClose(bool On)
{
    if (FGuardedWindow) {
        FGuardedWindow->removeEventFilter(this);
        FGuardedWindow = nullptr;
    }
    if (On && window() != this) {
        FGuardedWindow = window();
        FGuardedWindow->installEventFilter(this);
    }
}

bool TkvlPreview::eventFilter(QObject *Watched, QEvent *Event)
{
    // The engine runs inside this window's event processing: it may not close under it. Closing
    // asks the run to stop instead, and the window closes once it has.
    if (Watched == FGuardedWindow && Event->type() == QEvent::Close && FRunning) {
        Event->ignore();
        FCloseAfterRun = true;
        Cancel();
        return true;
    }
    return QWidget::eventFilter(Watched, Event);
}

void TkvlPreview::InternalOnProgressStart(TkvlReport *AReport, TkvlProgressType, int)
{
    if (FRefreshing)
        return;
    Clear();
    if (AReport)
        AReport->DrillState().Clear();
    FRunning = true;
    FRefreshStep = 0;
    guardClose(true);
    if (Host)
        Host->UpdateControls();
}

void TkvlPreview::InternalOnProgress(TkvlReport *AReport, TkvlProgressType, int Progress)
{
    if (FRefreshing) {
        pageChanged();
        return;
    }
    if (!PreviewPages)
        return;
    TkvlCustomEngine *engine = AReport ? AReport->Engine() : nullptr;
    const bool finalPass = !engine || engine->FinalPass;
    const int layoutW = layoutWidth(FWorkspace);
    if (finalPass && Progress >= 0 && Progress < 50 && Progress < PreviewPages->GetCount()) {
        const QPoint size = PreviewPages->GetPageSize(Progress);
        FWorkspace->AddPage(size.x(), size.y());
        FWorkspace->CalcPageBounds(layoutW);
        // So that the pages laid out so far can be scrolled to at once.
        FWorkspace->UpdateScrollBars();
    }
    if (Progress == 0) {
        FPageNo = 1;
        if (finalPass)
            UpdatePages();
        if (Host)
            Host->SetCloseCaption(kvlResourceText(QStringLiteral("clCancel")));
        FTickStart = ui::clock().TickCount();
    } else if (Progress == 1) {
        FRefreshStep = kvlPreviewRefreshStep(ui::clock().TickCount() - FTickStart);
        FPageNo = 1;
        if (finalPass)
            UpdatePages();
    } else if (FRefreshStep > 0 && Progress % FRefreshStep == 0) {
        pageChanged();
        if (finalPass)
            FWorkspace->UpdateScrollBars();
    }
}

void TkvlPreview::InternalOnProgressStop(TkvlReport *, TkvlProgressType, int)
{
    if (FRefreshing)
        return;
    FRunning = false;
    QPointer<QWidget> closing = FCloseAfterRun ? FGuardedWindow : nullptr;
    FCloseAfterRun = false;
    guardClose(false);
    if (closing)
        QTimer::singleShot(0, closing, [closing] { closing->close(); });
    pageChanged();
    FWorkspace->UpdateScrollBars();
    FThumbnail->UpdateScrollBars();
    UpdatePages();
    UpdateOutline();
    if (Host) {
        Host->SetCloseCaption(kvlResourceText(QStringLiteral("clClose")));
        Host->ClearStatus();
        Host->UpdateControls();
    }
}

// ---- navigation ----------------------------------------------------------------------------------

int TkvlPreview::PageCount() { return PreviewPages ? PreviewPages->GetCount() : 0; }

void TkvlPreview::pageChanged()
{
    if (OnPageChanged)
        OnPageChanged(this, FPageNo);
}

void TkvlPreview::SetPageNo(int Value)
{
    Value = std::min(std::max(Value, 1), PageCount());
    SetActivePage(Value);
    FWorkspace->SetToPageNo(Value);
    FThumbnail->SetToPageNo(Value);
    pageChanged();
}

void TkvlPreview::SetActivePage(int Value)
{
    const int old = FPageNo;
    FPageNo = Value;
    FWorkspace->SetPageNo(Value);
    FThumbnail->SetPageNo(Value);
    if (old != Value) {
        FWorkspace->DrawPages(true);
        FThumbnail->DrawPages(true);
    }
}

void TkvlPreview::First() { SetPageNo(1); }
void TkvlPreview::Prior() { SetPageNo(FPageNo - 1); }
void TkvlPreview::Next() { SetPageNo(FPageNo + 1); }
void TkvlPreview::Last() { SetPageNo(PageCount()); }

void TkvlPreview::SetPosition(int PageN, int Top)
{
    PageN = std::max(1, std::min(PageN, PageCount()));
    FWorkspace->SetPosition(PageN, Top);
}

int TkvlPreview::GetTopPosition() { return FWorkspace->GetTopPosition(); }

// ---- zoom and layout -----------------------------------------------------------------------------

int TkvlPreview::layoutWidth(const QWidget *Control) const { return Control->width() - scrollBarWidth(this) - 26; }

void TkvlPreview::SetZoom(double Value)
{
    FZoom = std::max(0.25, Value);
    FZoomMode = zmDefault;
    UpdatePages();
}

void TkvlPreview::SetZoomMode(TkvlZoomMode Value)
{
    FZoomMode = Value;
    UpdatePages();
}

void TkvlPreview::UpdatePages()
{
    if (FLocked || PageCount() == 0)
        return;
    FAllowF3 = false;
    FSearch.DropCache();
    const QPoint size = PreviewPages->GetPageSize(FPageNo - 1);
    if (size.y() == 0)
        return;
    const int sb = scrollBarWidth(this);
    switch (FZoomMode) {
    case zmWholePage:
        if (double(size.y()) / height() >= double(size.x()) / width())
            FZoom = (FWorkspace->height() - 26) / double(size.y());
        else
            FZoom = (FWorkspace->width() - sb - 26) / double(size.x());
        SetPosition(FPageNo, 0);
        break;
    case zmPageWidth: FZoom = (FWorkspace->width() - sb - 26) / double(size.x()); break;
    case zmDefault:
    case zmManyPages: break;
    }

    FWorkspace->SetZoom(FZoom);
    FThumbnail->SetZoom(0.1);
    // A hidden strip is filled when it is shown (SetThumbnailVisible lays the pages out).
    const bool thumbnails = !FRunning && ThumbnailVisible();
    const int count = PageCount();
    // Each page is placed as it is read: one pass over the page items, however many.
    FWorkspace->BeginPageLayout(layoutWidth(FWorkspace), count);
    if (thumbnails)
        FThumbnail->BeginPageLayout(layoutWidth(FThumbnail), count);
    else
        FThumbnail->ClearPageList();
    for (int i = 0; i < count; ++i) {
        const QPoint s = PreviewPages->GetPageSize(i);
        FWorkspace->AddPage(s.x(), s.y());
        if (thumbnails)
            FThumbnail->AddPage(s.x(), s.y());
    }
    FWorkspace->EndPageLayout();
    FThumbnail->EndPageLayout();
    FWorkspace->UpdateScrollBars();
    FThumbnail->UpdateScrollBars();
    FWorkspace->SetHorzPosition(FWorkspace->HorzPosition());
    FWorkspace->SetVertPosition(FWorkspace->VertPosition());
    if (!FRefreshing) {
        FWorkspace->viewport()->update();
        FThumbnail->viewport()->update();
    }
    if (Host)
        Host->ShowZoom(FZoom);
}

void TkvlPreview::MouseWheelScroll(int Delta, bool Horizontal, bool Zoom)
{
    if (Delta == 0)
        return;
    if (Zoom) {
        const double z = std::max(0.3, FZoom + (Delta > 0 ? 0.1 : -0.1));
        SetZoom(z);
        return;
    }
    if (Horizontal)
        FWorkspace->SetHorzPosition(FWorkspace->HorzPosition() + (Delta > 0 ? -20 : 20));
    else
        FWorkspace->SetVertPosition(FWorkspace->VertPosition() + (Delta > 0 ? -20 : 20));
}

bool TkvlPreview::KeyDown(QKeyEvent *Event)
{
    const bool ctrl = Event->modifiers().testFlag(Qt::ControlModifier);
    const TkvlPreviewButtons buttons = Report ? Report->PreviewOptions()->Buttons : kvlDefaultPreviewButtons;
    const auto has = [&](TkvlPreviewButton b) { return (buttons & kvlBit(b)) != 0; };
    bool used = true;
    guarded([&] {
        switch (Event->key()) {
        case Qt::Key_Up: FWorkspace->SetVertPosition(FWorkspace->VertPosition() - 8); break;
        case Qt::Key_Down: FWorkspace->SetVertPosition(FWorkspace->VertPosition() + 8); break;
        case Qt::Key_Left: FWorkspace->SetHorzPosition(FWorkspace->HorzPosition() - 8); break;
        case Qt::Key_Right: FWorkspace->SetHorzPosition(FWorkspace->HorzPosition() + 8); break;
        case Qt::Key_PageUp:
            if (ctrl)
                Prior();
            else
                FWorkspace->SetVertPosition(FWorkspace->VertPosition() - 300);
            break;
        case Qt::Key_PageDown:
            if (ctrl)
                Next();
            else
                FWorkspace->SetVertPosition(FWorkspace->VertPosition() + 300);
            break;
        case Qt::Key_Home: First(); break;
        case Qt::Key_End: Last(); break;
        case Qt::Key_F3:
            if (has(pbFind))
                FindNext();
            break;
        case Qt::Key_P:
            if (ctrl && has(pbPrint))
                Print();
            else
                used = false;
            break;
        case Qt::Key_S:
            if (ctrl && has(pbSave))
                SaveToFile();
            else
                used = false;
            break;
        case Qt::Key_F:
            if (ctrl && has(pbFind))
                Find();
            else
                used = false;
            break;
        case Qt::Key_O:
            if (ctrl && has(pbLoad))
                LoadFromFile();
            else
                used = false;
            break;
        default: used = false;
        }
    });
    return used;
}

void TkvlPreview::keyPressEvent(QKeyEvent *Event)
{
    if (!KeyDown(Event))
        QWidget::keyPressEvent(Event);
}

void TkvlPreview::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    layoutChildren();
    if (PageCount() > 0)
        guarded([&] { UpdatePages(); });
}

void TkvlPreview::layoutChildren()
{
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    int top = 0;
    if (!FTabs->isHidden()) {
        FTabs->setGeometry(0, 0, width(), 22);
        top = 22;
    }
    const int h = std::max(0, height() - top);
    QWidget *left = !FOutline->isHidden() ? static_cast<QWidget *>(FOutline)
                    : !FThumbnail->isHidden() ? static_cast<QWidget *>(FThumbnail)
                                              : nullptr;
    int used = 0;
    if (left) {
        const int w = std::min(FOutlineWidth, width());
        left->setGeometry(rtl ? width() - w : 0, top, w, h);
        used = w;
        if (!FSplitter->isHidden()) {
            FSplitter->setGeometry(rtl ? width() - w - 4 : w, top, 4, h);
            used += 4;
        }
    }
    FWorkspace->setGeometry(rtl ? 0 : used, top, std::max(0, width() - used), h);
}

// ---- outline ------------------------------------------------------------------------------------

void TkvlPreview::UpdateOutline()
{
    FOutline->setUpdatesEnabled(false);
    FOutline->clear();
    TkvlCustomOutline *outline = PreviewPages ? PreviewPages->Outline.get() : nullptr;
    if (outline) {
        const std::function<void(QTreeWidgetItem *, int)> addLevel = [&](QTreeWidgetItem *Parent, int Depth) {
            const int n = outline->GetCount();
            for (int i = 0; i < n; ++i) {
                QString text;
                int page = 0, top = 0;
                outline->GetItem(i, text, page, top);
                auto *node = Parent ? new QTreeWidgetItem(Parent) : new QTreeWidgetItem(FOutline);
                node->setText(0, text);
                node->setData(0, kPageRole, page + 1);
                node->setData(0, kTopRole, top);
                if (Depth < 64) { // a damaged outline cannot recurse without end
                    outline->LevelDown(i);
                    addLevel(node, Depth + 1);
                    outline->LevelUp();
                }
            }
        };
        outline->LevelRoot();
        addLevel(nullptr, 0);
        if (Report && Report->PreviewOptions()->OutlineExpand)
            FOutline->expandAll();
        if (FOutline->topLevelItemCount())
            FOutline->scrollToItem(FOutline->topLevelItem(0), QAbstractItemView::PositionAtTop);
    }
    FOutline->setUpdatesEnabled(true);
}

void TkvlPreview::onOutlineClick(QTreeWidgetItem *Item)
{
    if (!Item)
        return;
    const int page = Item->data(0, kPageRole).toInt();
    SetPosition(page, Item->data(0, kTopRole).toInt());
    SetActivePage(std::max(1, std::min(page, PageCount())));
    FWorkspace->setFocus();
}

bool TkvlPreview::OutlineVisible() const { return !FOutline->isHidden(); }
bool TkvlPreview::ThumbnailVisible() const { return !FThumbnail->isHidden(); }

void TkvlPreview::SetOutlineVisible(bool Value)
{
    const bool changed = OutlineVisible() != Value;
    FSplitter->setVisible(Value || ThumbnailVisible());
    FOutline->setVisible(Value);
    if (Value)
        FThumbnail->setVisible(false);
    FSplitter->setVisible(Value || ThumbnailVisible());
    if (Host)
        Host->SetOutlineButton(Value);
    layoutChildren();
    if (changed)
        UpdatePages();
}

void TkvlPreview::SetThumbnailVisible(bool Value)
{
    const bool changed = ThumbnailVisible() != Value;
    FThumbnail->setVisible(Value);
    if (Value) {
        FOutline->setVisible(false);
        FThumbnail->SetHorzPosition(FThumbnail->HorzPosition());
        FThumbnail->SetVertPosition(FThumbnail->VertPosition());
    }
    FSplitter->setVisible(Value || OutlineVisible());
    if (Host)
        Host->SetThumbnailButton(Value);
    layoutChildren();
    if (changed)
        UpdatePages();
}

void TkvlPreview::SetOutlineWidth(int Value)
{
    FOutlineWidth = Value;
    layoutChildren();
}

void TkvlPreview::SetOutlineColor(TColor Value)
{
    FOutlineColor = Value;
    QPalette pal = FOutline->palette();
    pal.setColor(QPalette::Base, kvlQColor(Value));
    FOutline->setPalette(pal);
}

// ---- published -----------------------------------------------------------------------------------

TColor TkvlPreview::ActiveFrameColor() const { return FWorkspace->ActiveFrameColor(); }
void TkvlPreview::SetActiveFrameColor(TColor Value) { FWorkspace->SetActiveFrameColor(Value); }
TColor TkvlPreview::BackColor() const { return FWorkspace->BackColor(); }
void TkvlPreview::SetBackColor(TColor Value) { FWorkspace->SetBackColor(Value); }
TColor TkvlPreview::FrameColor() const { return FWorkspace->FrameColor(); }
void TkvlPreview::SetFrameColor(TColor Value) { FWorkspace->SetFrameColor(Value); }

void TkvlPreview::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    FWorkspace->SetBorderStyle(Value == bsSingle ? TkvlScrollWin::bsSingle : TkvlScrollWin::bsNone);
}

void TkvlPreview::SetOnMouseDown(std::function<void(QMouseEvent *)> Handler)
{
    FWorkspace->OnMouseDown = std::move(Handler);
}

void TkvlPreview::DoClick()
{
    if (OnClick)
        guarded([&] { OnClick(this); });
}

void TkvlPreview::DoDblClick()
{
    if (OnDblClick)
        guarded([&] { OnDblClick(this); });
}

// ---- message panel -------------------------------------------------------------------------------

void TkvlPreview::ShowMessage(const QString &Text)
{
    FMessagePanel->setGeometry((width() - 260) / 2, (height() - 75) / 3, 260, 75);
    FMessageLabel->setText(Text);
    FMessagePanel->show();
    FMessagePanel->raise();
    FMessagePanel->repaint();
}

void TkvlPreview::HideMessage() { FMessagePanel->hide(); }
