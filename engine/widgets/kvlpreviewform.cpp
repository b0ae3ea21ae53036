#include "engine/widgets/kvlpreviewform.h"

#include "engine/preview/kvlexportmenu.h"
#include "engine/widgets/guardedhandler.h"
#include "engine/widgets/kvlcombobox.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/gfx/picturehelpers.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/ui/services.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreport.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlexportfilter.h"
#include "report/utils/numbers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString res(int Number) { return kvlResourceText(QString::number(Number)); }
QString res(const char *Key) { return kvlResourceText(QLatin1String(Key)); }

QIcon previewImage(int Index)
{
    TImageList &images = kvlResources().GetPreviewButtonImages();
    return Index >= 0 && Index < images.Count() ? QIcon(QPixmap::fromImage(images.Image(Index))) : QIcon();
}

// The zoom box posts this to bring its text up to date after the layout.
constexpr QEvent::Type kZoomUpdate = QEvent::Type(QEvent::User + 1);

bool has(TkvlPreviewButtons Buttons, TkvlPreviewButton B) { return (Buttons & kvlBit(B)) != 0; }

} // namespace

// ---- creation ----------------------------------------------------------------------------------

TkvlPreviewForm::TkvlPreviewForm(QWidget *Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("kvlPreviewForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(res(100));
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);
    resize(803, 584);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setContentsMargins(2, 2, 2, 2);
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    column->addWidget(ToolBar);

    ExportPopup = new QMenu(this);
    ExportPopup->setObjectName(QStringLiteral("ExportPopup"));

    PrintB = addButton("PrintB", 2, res(101), res(102));
    OpenB = addButton("OpenB", 0, res(103), res(104));
    SaveB = addButton("SaveB", 1, res(105), res(106));
    SaveB->setMenu(ExportPopup);
    SaveB->setPopupMode(QToolButton::InstantPopup);
    PdfB = addButton("PdfB", 24, QString(), res(151));
    EmailB = addButton("EmailB", 23, QString(), res(152));
    FindB = addButton("FindB", 4, res(109), res(110));
    Sep1 = addSeparator("Sep1");
    ZoomPlusB = addButton("ZoomPlusB", 15, res(124), res(125));

    auto *zoomPanel = new QWidget(ToolBar);
    zoomPanel->setObjectName(QStringLiteral("Sep3"));
    auto *zoomRow = new QHBoxLayout(zoomPanel);
    zoomRow->setContentsMargins(2, 0, 2, 0);
    ZoomCB = new TkvlCustomComboBox(zoomPanel);
    ZoomCB->setObjectName(QStringLiteral("ZoomCB"));
    ZoomCB->setEditable(true);
    ZoomCB->setInsertPolicy(QComboBox::NoInsert);
    ZoomCB->setFixedWidth(49);
    ZoomCB->SetListWidth(100);
    ZoomCB->setToolTip(res(119));
    ZoomCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%"), res("zmPageWidth"), res("zmWholePage")});
    zoomRow->addWidget(ZoomCB);
    Sep3 = ToolBar->addWidget(zoomPanel);
    FTools.push_back({nullptr, Sep3, nullptr});
    FTools.back().Button = nullptr;

    ZoomMinusB = addButton("ZoomMinusB", 16, res(126), res(127));
    FullScreenBtn = addButton("FullScreenBtn", 22, QString(), res(150));
    Sep2 = addSeparator("Sep2");
    OutlineB = addButton("OutlineB", 12, res(128), res(129));
    OutlineB->setCheckable(true);
    ThumbB = addButton("ThumbB", 5, res(130), res(131));
    ThumbB->setCheckable(true);
    PageSettingsB = addButton("PageSettingsB", 7, res(120), res(121));
    DesignerB = addButton("DesignerB", 21, res(132), res(133));
    Sep5 = addSeparator("Sep5");
    FirstB = addButton("FirstB", 8, res(134), res(135));
    PriorB = addButton("PriorB", 9, res(136), res(137));

    auto *pagePanel = new QWidget(ToolBar);
    pagePanel->setObjectName(QStringLiteral("Sep4"));
    auto *pageRow = new QHBoxLayout(pagePanel);
    pageRow->setContentsMargins(2, 0, 2, 0);
    pageRow->setSpacing(3);
    PageE = new QLineEdit(pagePanel);
    PageE->setObjectName(QStringLiteral("PageE"));
    PageE->setFixedWidth(40);
    PageE->setToolTip(res(142));
    PageE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), PageE));
    OfNL = new QLabel(pagePanel);
    OfNL->setObjectName(QStringLiteral("OfNL"));
    pageRow->addWidget(PageE);
    pageRow->addWidget(OfNL);
    Sep4 = ToolBar->addWidget(pagePanel);
    FTools.push_back({nullptr, Sep4, nullptr});

    NextB = addButton("NextB", 10, res(138), res(139));
    LastB = addButton("LastB", 11, res(140), res(141));
    auto *spacer = new QWidget(ToolBar);
    spacer->setObjectName(QStringLiteral("frTBPanel1"));
    spacer->setFixedWidth(35);
    ToolBar->addWidget(spacer);
    CancelB = new QToolButton(ToolBar);
    CancelB->setObjectName(QStringLiteral("CancelB"));
    CancelB->setText(res("clClose"));
    CancelB->setFixedWidth(68);
    CancelB->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *cancelAction = ToolBar->addWidget(CancelB);
    FTools.push_back({CancelB, cancelAction, nullptr});

    FPreview = new TkvlPreview(this);
    FPreview->setObjectName(QStringLiteral("Preview"));
    FPreview->Host = this;
    FPreview->PreviewForm = this;
    FPreview->SetBorderStyle(TkvlPreview::bsNone);
    column->addWidget(FPreview, 1);
    FPreview->OnPageChanged = [this](TkvlPreview *, int PageNo) { PageChanged(PageNo); };
    FPreview->OnDblClick = [this](TkvlPreview *) {
        if (FFullScreen)
            SetFullScreen(false);
    };

    StatusBar = new QWidget(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(logicalDpiY() > 96 ? 24 : 19);
    for (QLabel *&panel : FStatusPanels) {
        panel = new QLabel(StatusBar);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    column->addWidget(StatusBar);

    HiddenMenu = new QMenu(this);
    HiddenMenu->setObjectName(QStringLiteral("HiddenMenu"));
    QAction *showTemplate = HiddenMenu->addAction(QStringLiteral("Show template"));
    showTemplate->setObjectName(QStringLiteral("Showtemplate1"));
    connect(showTemplate, &QAction::triggered, this, [this] { guarded([&] { FPreview->EditTemplate(); }); });

    RightMenu = new QMenu(this);
    RightMenu->setObjectName(QStringLiteral("RightMenu"));
    CollapseMI = RightMenu->addAction(previewImage(13), res(601));
    CollapseMI->setObjectName(QStringLiteral("CollapseMI"));
    ExpandMI = RightMenu->addAction(previewImage(14), res(600));
    ExpandMI->setObjectName(QStringLiteral("ExpandMI"));
    N1 = RightMenu->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    connect(CollapseMI, &QAction::triggered, this, [this] { guarded([&] { CollapseAll(); }); });
    connect(ExpandMI, &QAction::triggered, this, [this] { guarded([&] { ExpandAll(); }); });

    // The commands.
    const auto on = [this](QToolButton *B, auto Body) {
        connect(B, &QToolButton::clicked, this, [Body] { guarded([&] { Body(); }); });
    };
    on(PrintB, [this] {
        FPreview->Print();
        setEnabled(true);
    });
    on(OpenB, [this] { openPrepared(); });
    on(PdfB, [this] {
        if (FPDFExport)
            exportThrough(FPDFExport);
    });
    on(EmailB, [this] {
        if (FEmailExport)
            exportThrough(FEmailExport);
    });
    on(FindB, [this] { FPreview->Find(); });
    on(ZoomPlusB, [this] {
        FPreview->SetZoom(FPreview->Zoom() + 0.25);
        UpdateZoom();
        ZoomChosen();
    });
    on(ZoomMinusB, [this] {
        FPreview->SetZoom(FPreview->Zoom() - 0.25);
        UpdateZoom();
        ZoomChosen();
    });
    on(FullScreenBtn, [this] { SetFullScreen(!FFullScreen); });
    on(OutlineB, [this] {
        if (OutlineB->isChecked())
            ThumbB->setChecked(false);
        FPreview->SetOutlineVisible(OutlineB->isChecked());
    });
    on(ThumbB, [this] {
        if (ThumbB->isChecked())
            OutlineB->setChecked(false);
        FPreview->SetThumbnailVisible(ThumbB->isChecked());
    });
    on(PageSettingsB, [this] { FPreview->PageSetupDlg(); });
    on(DesignerB, [this] { FPreview->Edit(); });
    on(FirstB, [this] { FPreview->First(); });
    on(PriorB, [this] { FPreview->Prior(); });
    on(NextB, [this] { FPreview->Next(); });
    on(LastB, [this] { FPreview->Last(); });
    on(CancelB, [this] { cancelOrClose(); });
    connect(ZoomCB, &QComboBox::activated, this, [this] { guarded([&] { ZoomChosen(); }); });

    // Keys the window sees first, Enter in the two boxes, the hidden menu on the designer button.
    for (QObject *o : std::initializer_list<QObject *>{ZoomCB->lineEdit(), PageE, DesignerB})
        o->installEventFilter(this);
    FPreview->installEventFilter(this);
    for (QWidget *w : FPreview->findChildren<QWidget *>())
        w->installEventFilter(this);
    FPreview->setFocus();
    layoutStatus();
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState State) {
        if (State == Qt::ApplicationActive && FProgramMinimized)
            restoreProgram();
    });
}

TkvlPreviewForm::~TkvlPreviewForm()
{
    // The tabs' reports let go of the preview while the window is whole; the preview, which
    // goes later with the window's children, calls into the window no more.
    FPreview->ClearAllTabs();
    FPreview->Host = nullptr;
    FPreview->OnPageChanged = nullptr;
    FPreview->OnDblClick = nullptr;
}

QToolButton *TkvlPreviewForm::addButton(const char *Name, int Image, const QString &Caption, const QString &Hint)
{
    auto *b = new QToolButton(ToolBar);
    b->setObjectName(QLatin1String(Name));
    b->setIcon(previewImage(Image));
    b->setText(Caption);
    b->setToolTip(Hint);
    b->setAutoRaise(true);
    b->setFixedHeight(23);
    QAction *a = ToolBar->addWidget(b);
    FTools.push_back({b, a, nullptr});
    return b;
}

QAction *TkvlPreviewForm::addSeparator(const char *Name)
{
    QAction *a = ToolBar->addSeparator();
    a->setObjectName(QLatin1String(Name));
    FTools.push_back({nullptr, a, nullptr});
    return a;
}

void TkvlPreviewForm::setShown(QToolButton *Button, bool Visible)
{
    for (ToolEntry &t : FTools)
        if (t.Button == Button)
            t.Action->setVisible(Visible);
}

bool TkvlPreviewForm::shown(QToolButton *Button) const
{
    for (const ToolEntry &t : FTools)
        if (t.Button == Button)
            return t.Action->isVisible();
    return false;
}

void TkvlPreviewForm::enableButton(QToolButton *Button, bool Enabled)
{
    Button->setEnabled(Enabled);
    if (Button->isCheckable() && !Enabled)
        Button->setDown(false);
    for (ToolEntry &t : FTools)
        if (t.Button == Button && t.MenuItem)
            t.MenuItem->setEnabled(Enabled);
}

// ---- Init --------------------------------------------------------------------------------------

void TkvlPreviewForm::Init()
{
    TkvlReport *report = FPreview->Report;
    if (!report)
        return;
    const TkvlPreviewOptions *options = report->PreviewOptions();
    if (options->Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    // MDIChild has no counterpart here.
    if (options->ZoomMode != zmDefault)
        FPreview->SetZoomMode(options->ZoomMode);
    else
        FPreview->SetZoom(options->Zoom);
    DesignerB->setEnabled(options->AllowEdit);
    FPreview->Workspace()->SetRTLLanguage(options->RTLPreview);

    const TkvlPreviewButtons b = options->Buttons;
    setShown(PrintB, has(b, pbPrint));
    setShown(OpenB, has(b, pbLoad));
    setShown(SaveB, has(b, pbSave) || has(b, pbExport));
    setShown(FindB, has(b, pbFind));
    setShown(ZoomPlusB, has(b, pbZoom));
    setShown(ZoomMinusB, has(b, pbZoom));
    Sep3->setVisible(has(b, pbZoom));
    setShown(FullScreenBtn, has(b, pbZoom) && !has(b, pbNoFullScreen));
    Sep1->setVisible(has(b, pbZoom));
    setShown(OutlineB, has(b, pbOutline));
    setShown(ThumbB, has(b, pbOutline));
    setShown(PageSettingsB, has(b, pbPageSetup));
    setShown(DesignerB, has(b, pbEdit));
    Sep2->setVisible(shown(PageSettingsB) || shown(DesignerB));
    for (QToolButton *n : {FirstB, PriorB, NextB, LastB})
        setShown(n, has(b, pbNavigator));
    Sep4->setVisible(has(b, pbNavigator));
    Sep5->setVisible(has(b, pbNavigator));
    setShown(PdfB, false);
    setShown(EmailB, false);
    setShown(CancelB, !has(b, pbNoClose));
    ToolBar->setToolButtonStyle(options->ShowCaptions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);

    buildExportMenu();
    if (!report->ReportOptions()->Name.isEmpty())
        setWindowTitle(report->ReportOptions()->Name);
    buildRightMenu();
    if (options->RTLPreview)
        setLayoutDirection(Qt::RightToLeft);
    UpdateControls();
    OutlineB->setChecked(FPreview->OutlineVisible());
    ThumbB->setChecked(FPreview->ThumbnailVisible());
    UpdateZoom();
    PageChanged(FPreview->PageNo());
}

void TkvlPreviewForm::buildExportMenu()
{
    ExportPopup->clear();
    FPDFExport = FEmailExport = nullptr;
    const TkvlReport *report = FPreview->Report;
    const TkvlExportMenu menu =
        kvlBuildExportMenu(report->PreviewOptions()->Buttons, kvlExportFilters(), res("clKP3files"));
    for (const TkvlExportMenuEntry &e : menu.Entries) {
        switch (e.Kind) {
        case TkvlExportMenuEntry::ekSeparator:
            ExportPopup->addSeparator();
            break;
        case TkvlExportMenuEntry::ekSavePrepared: {
            QAction *a = ExportPopup->addAction(e.Caption);
            a->setData(-1);
            connect(a, &QAction::triggered, this, [this] { guarded([&] { savePrepared(); }); });
            break;
        }
        case TkvlExportMenuEntry::ekExport: {
            QAction *a = ExportPopup->addAction(e.Caption);
            a->setData(e.FilterIndex);
            TkvlCustomExportFilter *filter = e.Filter;
            connect(a, &QAction::triggered, this, [this, filter] { guarded([&] { exportThrough(filter); }); });
            break;
        }
        }
    }
    FPDFExport = menu.PdfFilter;
    FEmailExport = menu.EmailFilter;
    setShown(PdfB, menu.ShowPdfButton);
    setShown(EmailB, menu.ShowEmailButton);
}

void TkvlPreviewForm::buildRightMenu()
{
    // The items Init added before go; the drill-down items and N1 stay.
    const QList<QAction *> actions = RightMenu->actions();
    for (QAction *a : actions)
        if (a != CollapseMI && a != ExpandMI && a != N1) {
            RightMenu->removeAction(a);
            a->deleteLater();
        }
    for (ToolEntry &t : FTools)
        t.MenuItem = nullptr;
    int separators = 0;
    for (ToolEntry &t : FTools) {
        if (!t.Button) {
            if (!t.Action->isSeparator())
                continue;  // a panel
            if (++separators == 2)
                break;
            if (t.Action->isVisible())
                RightMenu->addSeparator();
            continue;
        }
        QToolButton *b = t.Button;
        if (b->isCheckable() || !t.Action->isVisible() || b->toolTip().isEmpty())
            continue;
        if (b->menu()) {
            QMenu *sub = RightMenu->addMenu(b->icon(), b->toolTip());
            for (QAction *src : b->menu()->actions()) {
                if (src->isSeparator()) {
                    sub->addSeparator();
                    continue;
                }
                QAction *copy = sub->addAction(src->text());
                copy->setData(src->data());
                connect(copy, &QAction::triggered, src, &QAction::trigger);
            }
            t.MenuItem = sub->menuAction();
        } else {
            QAction *item = RightMenu->addAction(b->icon(), b->toolTip());
            connect(item, &QAction::triggered, b, &QToolButton::click);
            t.MenuItem = item;
        }
    }
}

// ---- state -------------------------------------------------------------------------------------

bool TkvlPreviewForm::hasDrillDown() const
{
    const TkvlReport *report = FPreview->Report;
    if (!report)
        return false;
    for (TkvlComponent *c : report->AllObjects())
        if (auto *g = dynamic_cast<TkvlGroupHeader *>(c); g && g->DrillDown)
            return true;
    return false;
}

void TkvlPreviewForm::UpdateControls()
{
    const bool running = FPreview->Running();
    const bool pages = !running && FPreview->PageCount() > 0;
    for (QToolButton *b : {PrintB, SaveB, PdfB, EmailB, FindB, PageSettingsB})
        enableButton(b, pages);
    enableButton(OpenB, !running);
    const TkvlReport *report = FPreview->Report;
    enableButton(DesignerB, !running && report && report->PreviewOptions()->AllowEdit);
    const bool drill = !running && hasDrillDown();
    ExpandMI->setVisible(drill);
    CollapseMI->setVisible(drill);
    N1->setVisible(drill);
}

void TkvlPreviewForm::SetCloseCaption(const QString &Caption) { CancelB->setText(Caption); }
void TkvlPreviewForm::ShowZoom(double) { UpdateZoom(); }

void TkvlPreviewForm::SetOutlineButton(bool Down)
{
    const QSignalBlocker block(OutlineB);
    OutlineB->setChecked(Down);
}

void TkvlPreviewForm::SetThumbnailButton(bool Down)
{
    const QSignalBlocker block(ThumbB);
    ThumbB->setChecked(Down);
}

void TkvlPreviewForm::ClearStatus()
{
    FStatusPanels[1]->clear();
    FStatusPanels[2]->clear();
}

void TkvlPreviewForm::ShowStatus(const QString &Text, bool IsHint)
{
    SetMessageText(Text, IsHint);
}

void TkvlPreviewForm::SetMessageText(const QString &Value, bool IsHint)
{
    if (!IsHint)
        FStatusPanels[1]->setText(Value);
    else if (!Value.isEmpty() || !FStatusPanels[2]->text().isEmpty())
        FStatusPanels[2]->setText(Value);
    QCoreApplication::processEvents();
}

QString TkvlPreviewForm::StatusText(int Panel) const
{
    return Panel >= 0 && Panel < 3 ? FStatusPanels[Panel]->text() : QString();
}

void TkvlPreviewForm::UpdateZoom()
{
    const QSignalBlocker block(ZoomCB);
    ZoomCB->setEditText(QString::number(int(std::nearbyint(FPreview->Zoom() * 100))) + QLatin1Char('%'));
}

void TkvlPreviewForm::PageChanged(int PageNo)
{
    const int count = FPreview->PageCount();
    const TkvlReport *report = FPreview->Report;
    const bool firstPass = FPreview->Running() && report && report->Engine() && !report->Engine()->FinalPass;
    if (firstPass) {
        FStatusPanels[0]->setText(res("clFirstPass") + QLatin1Char(' ') + QString::number(count));
    } else {
        FStatusPanels[0]->setText(rtl::Format(res("clPageOf"), {PageNo, count}));
        OfNL->setText(rtl::Format(res("clOf"), {count}));
        OfNL->adjustSize();
    }
    PageE->setText(QString::number(PageNo));
}

void TkvlPreviewForm::PageEntered()
{
    const int page = rtl::StrToInt(PageE->text());
    FPreview->SetPageNo(page);
    FPreview->setFocus();
}

void TkvlPreviewForm::ZoomChosen()
{
    FPreview->setFocus();
    FPreview->SetSavedPageNo(FPreview->PageNo());
    const QString text = ZoomCB->currentText();
    const auto restore = [this] {
        QCoreApplication::postEvent(this, new QEvent(kZoomUpdate));
        if (FPreview->SavedPageNo() > 0)
            FPreview->SetPageNo(FPreview->SavedPageNo());
        FPreview->SetSavedPageNo(-1);
    };
    try {
        if (text == ZoomCB->itemText(6)) {
            FPreview->SetZoomMode(zmPageWidth);
        } else if (text == ZoomCB->itemText(7)) {
            FPreview->SetZoomMode(zmWholePage);
        } else {
            QString number = text;
            const int percent = number.indexOf(QLatin1Char('%'));
            if (percent >= 0)
                number[percent] = QLatin1Char(' ');
            number.remove(QLatin1Char(' '));
            if (!number.isEmpty())
                FPreview->SetZoom(kvlStrToFloat(number) / 100);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TkvlPreviewForm::customEvent(QEvent *Event)
{
    if (Event->type() == kZoomUpdate)
        UpdateZoom();
}

// ---- commands ----------------------------------------------------------------------------------

void TkvlPreviewForm::exportThrough(TkvlCustomExportFilter *Filter)
{
    FPreview->Export(Filter);
    setEnabled(true);
}

void TkvlPreviewForm::savePrepared()
{
    FPreview->SaveToFile();
}

void TkvlPreviewForm::openPrepared()
{
    FPreview->LoadFromFile();
    const TkvlReport *report = FPreview->Report;
    const QString name = report ? report->ReportOptions()->Name : QString();
    setWindowTitle(name.isEmpty() ? res(100) : name);
}

void TkvlPreviewForm::setDrillDown(bool Expand)
{
    TkvlReport *report = FPreview->Report;
    if (!report)
        return;
    FPreview->Lock();
    for (TkvlComponent *c : report->AllObjects())
        if (auto *g = dynamic_cast<TkvlGroupHeader *>(c); g && g->DrillDown)
            g->ExpandDrillDown = Expand;
    report->DrillState().Clear();
    FPreview->RefreshReport();
    if (!Expand)
        FPreview->SetPosition(1, 0);
}

void TkvlPreviewForm::CollapseAll() { setDrillDown(false); }
void TkvlPreviewForm::ExpandAll() { setDrillDown(true); }

void TkvlPreviewForm::cancelOrClose()
{
    if (FPreview->Running())
        FPreview->Cancel();
    else
        close();
}

void TkvlPreviewForm::Close() { close(); }

void TkvlPreviewForm::Execute()
{
    const TkvlReport *report = FPreview->Report;
    const bool modal = !report || report->PreviewOptions()->Modal;
    if (modal)
        exec();
    else
        show();
}

void TkvlPreviewForm::SetFullScreen(bool Value)
{
    if (Value == FFullScreen)
        return;
    FFullScreen = Value;
    if (Value) {
        StatusBar->hide();
        ToolBar->hide();
        FOldFlags = windowFlags();
        FOldState = windowState();
        setWindowFlag(Qt::FramelessWindowHint, true);
        setWindowState(Qt::WindowMaximized);
        show();
    } else {
        setWindowFlags(FOldFlags);
        setWindowState(FOldState);
        show();
        ToolBar->show();
        StatusBar->show();
    }
}

// ---- events ------------------------------------------------------------------------------------

bool TkvlPreviewForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(Event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && Watched == ZoomCB->lineEdit()) {
            guarded([&] { ZoomChosen(); });
            return true;
        }
        if (enter && Watched == PageE) {
            guarded([&] { PageEntered(); });
            return true;
        }
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_F11 || key->key() == Qt::Key_F1) {
            keyPressEvent(key);
            return true;
        }
    }
    if (Watched == DesignerB && Event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(Event)->button() == Qt::RightButton) {
        HiddenMenu->popup(DesignerB->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    return QDialog::eventFilter(Watched, Event);
}

void TkvlPreviewForm::keyPressEvent(QKeyEvent *Event)
{
    switch (Event->key()) {
    case Qt::Key_Escape:
        guarded([&] { cancelOrClose(); });
        return;
    case Qt::Key_F11:
        SetFullScreen(!FFullScreen);
        return;
    case Qt::Key_F1:
        kvlResources().Help(this);
        return;
    default:
        break;
    }
    // Everything else is the preview's (its key table).
    bool used = false;
    guarded([&] { used = FPreview->KeyDown(Event); });
    if (!used)
        QDialog::keyPressEvent(Event);
}

void TkvlPreviewForm::closeEvent(QCloseEvent *Event)
{
    if (FPreview->Running()) {
        Event->ignore();
        return;
    }
    Event->accept();
    const bool shown = isVisible();
    QDialog::closeEvent(Event);
    // Whatever closed it (the button, Escape, the window's frame, the program): the report hears.
    TkvlReport *report = FPreview->Report;
    if (shown && report && report->OnClosePreview)
        guarded([&] { report->OnClosePreview(this); });
}

void TkvlPreviewForm::changeEvent(QEvent *Event)
{
    QDialog::changeEvent(Event);
    if (Event->type() != QEvent::WindowStateChange)
        return;
    const auto *change = static_cast<QWindowStateChangeEvent *>(Event);
    const bool minimized = windowState().testFlag(Qt::WindowMinimized);
    // Looked at once the window system's notices are in: a state it reports late (the echo of
    // an earlier change) is undone again by the next one, and a window restored meanwhile stays.
    if (minimized && !change->oldState().testFlag(Qt::WindowMinimized))
        QTimer::singleShot(0, this, [this] {
            if (isMinimized() && isModal() && !FProgramMinimized)
                minimizeProgram();
        });
}

void TkvlPreviewForm::minimizeProgram()
{
    // A modal window cannot be left behind alone: the program's other windows go down with it.
    FProgramMinimized = true;
    FMinimizedWindows.clear();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w == this || !w->isVisible() || (type != Qt::Window && type != Qt::Dialog) ||
            w->windowState().testFlag(Qt::WindowMinimized))
            continue;
        FMinimizedWindows.emplace_back(w, w->windowState());
        w->setWindowState(w->windowState() | Qt::WindowMinimized);
    }
}

void TkvlPreviewForm::restoreProgram()
{
    FProgramMinimized = false;
    for (const auto &[window, state] : FMinimizedWindows)
        if (window)
            window->setWindowState(state);
    FMinimizedWindows.clear();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TkvlPreviewForm::resizeEvent(QResizeEvent *Event)
{
    QDialog::resizeEvent(Event);
    layoutStatus();
}

void TkvlPreviewForm::layoutStatus()
{
    const int w = StatusBar->width();
    const int half = int(std::nearbyint((w - 200) / 2.0));
    FStatusPanels[0]->setGeometry(0, 0, 200, StatusBar->height());
    FStatusPanels[1]->setGeometry(200, 0, std::max(0, half), StatusBar->height());
    FStatusPanels[2]->setGeometry(200 + half, 0, std::max(0, half), StatusBar->height());
}

void TkvlPreviewForm::wheelEvent(QWheelEvent *Event)
{
    const int delta = Event->angleDelta().y();
    guarded([&] { FPreview->MouseWheelScroll(delta, false, Event->modifiers() & Qt::ControlModifier); });
    Event->accept();
}

void TkvlPreviewForm::contextMenuEvent(QContextMenuEvent *Event)
{
    RightMenu->popup(Event->globalPos());
}

// ---- start-up ----------------------------------------------------------------------------------

namespace {
std::unique_ptr<TkvlCustomPreviewForm> makePreviewForm(TkvlReport *)
{
    return std::make_unique<TkvlPreviewForm>();
}
} // namespace

void kvlRegisterPreviewForm() { kvlPreviewFormFactory = &makePreviewForm; }
