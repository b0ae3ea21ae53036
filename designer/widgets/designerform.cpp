#include "designer/widgets/designerform.h"
#include "designer/widgets/designertools.h"

#include "designer/widgets/designerworkspace.h"
#include "designer/widgets/dockbar.h"
#include "designer/widgets/dockform.h"
#include "designer/widgets/docksite.h"
#include "designer/widgets/dockstore.h"
#include "designer/widgets/marginspanel.h"
#include "designer/widgets/ruler.h"
#include "designer/widgets/scrollbox.h"
#include "designer/widgets/syntaxmemo.h"
#include "engine/widgets/kvlcombobox.h"
#include "engine/widgets/kvlpreview.h"
#include "platform/rtl/inifile.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/dmp/kvldmppage.h"
#include "report/pages/kvlreportpage.h"
#include "report/utils/messages.h"
#include "script/core/qslanguages.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

namespace {

// Handlers raise nothing into the event loop: the error goes to the report library's box.
template <class F> bool safely(F &&Body)
{
    try {
        Body();
        return true;
    } catch (const Exception &e) {
        kvlErrorMsg(e.message());
    } catch (const std::exception &e) {
        kvlErrorMsg(QString::fromUtf8(e.what()));
    } catch (...) {
        kvlErrorMsg(QStringLiteral("Exception"));
    }
    return false;
}

QWidget *panel(QWidget *Parent, const char *Name)
{
    auto *w = new QWidget(Parent);
    w->setObjectName(QLatin1String(Name));
    return w;
}

} // namespace

TkvlDesignerForm::TkvlDesignerForm(TkvlDesignerCore *Core) : QWidget(nullptr, Qt::Window), FCore(Core)
{
    setObjectName(QStringLiteral("kvlDesignerForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    build();
    resize(1000, 700);
}

TkvlDesignerForm::~TkvlDesignerForm()
{
    DetachDialogForm();
    if (FLoop)
        FLoop->quit();
}

void TkvlDesignerForm::build()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    FDockTop = new TkvlControlBar(this);
    FDockTop->setObjectName(QStringLiteral("DockTop"));
    FDockTop->SetRowSize(27);
    outer->addWidget(FDockTop);

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    outer->addLayout(middle, 1);

    // The object palette stands at the left (its tool bar comes from the tool-bar code).
    FPaletteHost = panel(this, "DockLeft");
    auto *paletteLayout = new QVBoxLayout(FPaletteHost);
    paletteLayout->setContentsMargins(0, 0, 0, 0);
    middle->addWidget(FPaletteHost);

    const auto site = [this](const char *Name, TkvlDockSide Side) {
        auto *s = new TkvlDockSite(this, Side);
        s->setObjectName(QLatin1String(Name));
        s->SetTopParentWin(this);
        return s;
    };
    FLeftDockSite1 = site("LeftDockSite1", TkvlDockSide::Left);
    FLeftDockSite2 = site("LeftDockSite2", TkvlDockSide::Left);
    FRightDockSite = site("RightDockSite", TkvlDockSide::Right);
    FLeftDockSite1->PlaceIn(middle);
    FLeftDockSite2->PlaceIn(middle);

    // BackPanel: the tabs on top, then the page with its rulers or the code.
    QWidget *back = panel(this, "BackPanel");
    auto *backLayout = new QVBoxLayout(back);
    backLayout->setContentsMargins(0, 0, 0, 0);
    backLayout->setSpacing(0);
    middle->addWidget(back, 1);
    FRightDockSite->PlaceIn(middle);

    QWidget *tabPanel = panel(back, "TabPanel");
    auto *tabLayout = new QHBoxLayout(tabPanel);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    FTabs = new QTabBar(tabPanel);
    FTabs->setObjectName(QStringLiteral("Tabs"));
    FTabs->setDocumentMode(true);
    FTabs->setExpanding(false);
    FTabs->setUsesScrollButtons(true);
    FTabs->setElideMode(Qt::ElideRight);
    FTabs->setFixedHeight(22);
    tabLayout->addWidget(FTabs, 1);
    backLayout->addWidget(tabPanel);
    connect(FTabs, &QTabBar::currentChanged, this, [this](int Index) { safely([&] { tabChanged(Index); }); });

    FScrollBoxPanel = panel(back, "ScrollBoxPanel");
    auto *grid = new QGridLayout(FScrollBoxPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    FTopRuler = new TkvlRuler(FScrollBoxPanel);
    FTopRuler->setObjectName(QStringLiteral("TopRuler"));
    FTopRuler->setFixedHeight(20);
    FLeftRuler = new TkvlRuler(FScrollBoxPanel);
    FLeftRuler->setObjectName(QStringLiteral("LeftRuler"));
    FLeftRuler->SetVertical(true);
    FLeftRuler->setFixedWidth(20);
    FScrollBox = new TkvlScrollBox(FScrollBoxPanel);
    FScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    grid->addWidget(FTopRuler, 0, 1);
    grid->addWidget(FLeftRuler, 1, 0);
    grid->addWidget(FScrollBox, 1, 1);
    backLayout->addWidget(FScrollBoxPanel, 1);
    FWorkspace = new TkvlDesignerWorkspace(FScrollBox->Content());
    FWorkspace->setObjectName(QStringLiteral("Workspace"));
    for (QScrollBar *bar : {FScrollBox->horizontalScrollBar(), FScrollBox->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { placeRulers(); });

    FCodePanel = panel(back, "CodePanel");
    auto *codeLayout = new QVBoxLayout(FCodePanel);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->setSpacing(0);
    auto *codeTB = new QToolBar(FCodePanel);
    codeTB->setObjectName(QStringLiteral("CodeTB"));
    auto *langL = new QLabel(kvlResourceText(QStringLiteral("2306")) + QLatin1Char(' '), codeTB);
    langL->setObjectName(QStringLiteral("LangL"));
    FLangCB = new TkvlCustomComboBox(codeTB);
    FLangCB->setObjectName(QStringLiteral("LangCB"));
    codeTB->addWidget(langL);
    codeTB->addWidget(FLangCB);
    codeLayout->addWidget(codeTB);
    FCodeWindow = new TkvlSyntaxMemo(FCodePanel);
    FCodeWindow->setObjectName(QStringLiteral("CodeWindow"));
    codeLayout->addWidget(FCodeWindow, 1);
    auto *codeDock = new QVBoxLayout;
    codeLayout->addLayout(codeDock);
    FCodeDockSite = site("CodeDockSite", TkvlDockSide::Bottom);
    FCodeDockSite->PlaceIn(codeDock);
    backLayout->addWidget(FCodePanel, 1);
    FCodePanel->hide();
    connect(FLangCB, &QComboBox::activated, this, [this](int) {
        safely([&] {
            const QString language = FLangCB->currentText();
            if (TkvlReport *r = FCore->Report())
                r->ScriptLanguage = language;
            FCodeWindow->SetSyntax(language);
            FCore->OnModify(TkvlChangeSource::Window);
        });
    });
    FCodeWindow->OnChangeText = [this](TkvlSyntaxMemo *) {
        safely([&] {
            if (TkvlReport *r = FCore->Report())
                r->Modified = true;
            FCore->TkvlCustomDesigner::SetModified(true);
            SetSaveEnabled(true);
        });
    };

    FDockBottom = new TkvlControlBar(this);
    FDockBottom->setObjectName(QStringLiteral("DockBottom"));
    FDockBottom->SetRowSize(27);
    outer->addWidget(FDockBottom);

    FStatusBar = new QStatusBar(this);
    FStatusBar->setObjectName(QStringLiteral("StatusBar"));
    FStatusBar->setSizeGripEnabled(true);
    const int widths[3] = {75, 230, 50};
    for (int i = 0; i < 3; ++i) {
        FStatus[i] = new QLabel(FStatusBar);
        FStatus[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        FStatus[i]->setFixedWidth(widths[i]);
        FStatusBar->addWidget(FStatus[i]);
    }
    outer->addWidget(FStatusBar);
}

// ---- hosting points ------------------------------------------------------------------------------

TkvlControlBar *TkvlDesignerForm::ControlBar(const QString &Name) const
{
    if (Name == QLatin1String("DockTop"))
        return FDockTop;
    if (Name == QLatin1String("DockBottom"))
        return FDockBottom;
    return nullptr;
}

TkvlDockSite *TkvlDesignerForm::DockSite(const QString &Name) const
{
    for (TkvlDockSite *s : {FLeftDockSite1, FLeftDockSite2, FRightDockSite, FCodeDockSite})
        if (s->objectName() == Name)
            return s;
    return nullptr;
}

void TkvlDesignerForm::AddToolWindow(TkvlDockForm *Form, TkvlDockSite *Site)
{
    if (!Form)
        return;
    FToolWindows.emplace_back(Form);
    if (Site)
        Site->Dock(Form);
}

QLabel *TkvlDesignerForm::StatusPanel(int Index) const { return Index >= 0 && Index < 3 ? FStatus[Index] : nullptr; }

// ---- the view ------------------------------------------------------------------------------------

TkvlWorkspace &TkvlDesignerForm::Workspace() { return FWorkspace->Core(); }

void TkvlDesignerForm::SetTabs(const QStringList &Captions)
{
    FUpdatingTabs = true;
    while (FTabs->count() > Captions.size())
        FTabs->removeTab(FTabs->count() - 1);
    for (int i = 0; i < Captions.size(); ++i) {
        if (i < FTabs->count())
            FTabs->setTabText(i, Captions[i]);
        else
            FTabs->addTab(Captions[i]);
    }
    FUpdatingTabs = false;
}

void TkvlDesignerForm::SetTabIndex(int Index)
{
    FUpdatingTabs = true;
    FTabs->setCurrentIndex(Index);
    FUpdatingTabs = false;
}

void TkvlDesignerForm::tabChanged(int Index)
{
    if (FUpdatingTabs || Index < 0 || Index == FCore->TabIndex())
        return;
    TkvlReport *r = FCore->Report();
    TkvlPage *page = nullptr;
    if (Index > 0 && r && Index - 1 < r->ObjectCount())
        page = rtl_cast<TkvlPage>(r->Object(Index - 1));
    FCore->SetPage(page);
}

void TkvlDesignerForm::ShowCodePanel(bool Code)
{
    FCodePanel->setVisible(Code);
    FScrollBoxPanel->setVisible(!Code);
}

QStringList TkvlDesignerForm::CodeLines() const { return FCodeWindow->Lines(); }

void TkvlDesignerForm::SetCodeLines(const QStringList &Lines) { FCodeWindow->SetLines(Lines); }

void TkvlDesignerForm::SetLanguage(const QString &Language)
{
    const int i = FLangCB->findText(Language, Qt::MatchFixedString);
    if (i >= 0)
        FLangCB->setCurrentIndex(i);
    else
        FLangCB->setCurrentText(Language);
    FCodeWindow->SetSyntax(Language);
}

QPoint TkvlDesignerForm::ScrollPosition() const
{
    return QPoint(FScrollBox->horizontalScrollBar()->value(), FScrollBox->verticalScrollBar()->value());
}

void TkvlDesignerForm::SetScrollPosition(QPoint Value)
{
    FScrollBox->UpdateRange();
    FScrollBox->horizontalScrollBar()->setValue(Value.x());
    FScrollBox->verticalScrollBar()->setValue(Value.y());
}

void TkvlDesignerForm::PlaceWorkspace(TkvlDialogPage *Dialog)
{
    auto *form = Dialog ? dynamic_cast<QWidget *>(Dialog->Form()) : nullptr;
    if (!form) {
        FWorkspace->SetParent(FScrollBox->Content());
        FWorkspace->show();
        FScrollBox->UpdateRange();
        return;
    }
    // The page's own window becomes a child of the scroll box while it is edited; the
    // workspace covers it and takes the mouse.
    FDialogForm = form;
    FDialogFlags = form->windowFlags();
    form->setParent(FScrollBox->Content(), Qt::Widget);
    form->move(10, 10);
    FWorkspace->SetParent(form);
    FWorkspace->SetOrigin(QPoint(0, 0));
    FWorkspace->setGeometry(form->rect());
    form->show();
    FWorkspace->show();
    FWorkspace->raise();
    FScrollBox->UpdateRange();
}

void TkvlDesignerForm::DetachDialogForm()
{
    if (!FDialogForm)
        return;
    QWidget *form = FDialogForm;
    FDialogForm = nullptr;
    if (FWorkspace && FWorkspace->parentWidget() == form)
        FWorkspace->SetParent(FScrollBox->Content());
    form->hide();
    form->setParent(nullptr, FDialogFlags);
}

void TkvlDesignerForm::SetWorkspaceOrigin(QPoint Value)
{
    if (!FDialogForm)
        FWorkspace->SetOrigin(Value);
    FScrollBox->UpdateRange();
    placeRulers();
}

void TkvlDesignerForm::PageDimensionsChanged()
{
    FScrollBox->UpdateRange();
    placeRulers();
}

void TkvlDesignerForm::SetWorkspaceColor(TColor Value) { FWorkspace->SetColor(Value); }

void TkvlDesignerForm::FocusCode()
{
    if (isVisible())
        FCodeWindow->setFocus();
}

void TkvlDesignerForm::FocusPage()
{
    if (isVisible())
        FScrollBox->setFocus();
}

void TkvlDesignerForm::placeRulers()
{
    const QPoint origin = FWorkspace->Origin();
    const QPoint scroll = ScrollPosition();
    const TkvlMargins &m = FWorkspace->Core().Margins();
    const double scale = FWorkspace->Core().Scale();
    const QSize sheet = FWorkspace->Core().PanelSize();
    FTopRuler->SetOffset(origin.x() - scroll.x());
    FTopRuler->SetStart(-int(m.Left * scale));
    FTopRuler->SetSize(sheet.width());
    FLeftRuler->SetOffset(origin.y() - scroll.y());
    FLeftRuler->SetStart(-int(m.Top * scale));
    FLeftRuler->SetSize(sheet.height());
}

void TkvlDesignerForm::ShowUnits(TkvlDesignerUnits Units)
{
    FStatus[0]->setText(kvlResourceText(TkvlDesignerCore::UnitsKey(Units)));
    FTopRuler->SetUnits(TkvlRulerUnits(Units));
    FLeftRuler->SetUnits(TkvlRulerUnits(Units));
}

void TkvlDesignerForm::ShowScale(double Scale)
{
    FTopRuler->SetScale(Scale);
    FLeftRuler->SetScale(Scale);
    FScaleText = TkvlDesignerCore::ScaleText(Scale);
    placeRulers();
    Q_EMIT scaleChanged(FScaleText);
}

void TkvlDesignerForm::SetCaption(const QString &Caption) { setWindowTitle(Caption); }

void TkvlDesignerForm::SetSaveEnabled(bool Value) { Q_EMIT saveEnabledChanged(Value); }

void TkvlDesignerForm::UpdateControls() { Q_EMIT controlsUpdate(); }

namespace {
void call(const std::function<void()> &f)
{
    if (f)
        f();
}
} // namespace

void TkvlDesignerForm::UpdateInspector() { call(ToolWindows.UpdateInspector); }
void TkvlDesignerForm::InspectorSelectionChanged() { call(ToolWindows.InspectorSelectionChanged); }
void TkvlDesignerForm::CommitInspector() { call(ToolWindows.CommitInspector); }
void TkvlDesignerForm::UpdateDataTree() { call(ToolWindows.UpdateDataTree); }
void TkvlDesignerForm::DataTreeSelectionChanged() { call(ToolWindows.DataTreeSelectionChanged); }
void TkvlDesignerForm::UpdateReportTree() { call(ToolWindows.UpdateReportTree); }
void TkvlDesignerForm::ReportTreeSelectionChanged() { call(ToolWindows.ReportTreeSelectionChanged); }

void TkvlDesignerForm::DisableInspectorUpdate()
{
    if (ToolWindows.InspectorUpdating)
        ToolWindows.InspectorUpdating(false);
}

void TkvlDesignerForm::EnableInspectorUpdate()
{
    if (ToolWindows.InspectorUpdating)
        ToolWindows.InspectorUpdating(true);
}

int TkvlDesignerForm::AskSave(const QString &Text) { return kvlConfirmMsg(Text, MB_YESNOCANCEL); }

// ---- showing and closing -------------------------------------------------------------------------

void TkvlDesignerForm::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    show();
    if (FClosed)
        return;
    QEventLoop loop;
    FLoop = &loop;
    loop.exec();
    FLoop = nullptr;
}

void TkvlDesignerForm::ShowModeless()
{
    setWindowModality(Qt::NonModal);
    show();
}

void TkvlDesignerForm::SetMDIChild(bool Value) { (void)Value; }

void TkvlDesignerForm::SetPanel(QWidget *Panel)
{
    FPanel = Panel;
    if (Panel)
        FCore->ParentForm = Panel->window();
}

void TkvlDesignerForm::DoShow()
{
    if (!FShown) {
        FShown = true;
        safely([&] { firstShow(); });
    }
}

void TkvlDesignerForm::MoveControlsIntoPanel()
{
    if (!FPanel)
        return;
    setParent(FPanel, Qt::Widget);
    if (!FPanel->layout()) {
        auto *l = new QVBoxLayout(FPanel);
        l->setContentsMargins(0, 0, 0, 0);
    }
    FPanel->layout()->addWidget(this);
    show();
}

void TkvlDesignerForm::showEvent(QShowEvent *Event)
{
    QWidget::showEvent(Event);
    DoShow();
}

void TkvlDesignerForm::firstShow()
{
    FCore->Init();
    FScaleText = TkvlDesignerCore::ScaleText(1);
    QStringList languages;
    qsGetLanguageList(languages);
    FLangCB->clear();
    FLangCB->addItems(languages);
    restoreSettings();
    FCore->ReloadReport();
    if (TkvlDesigner *comp = kvlDesignerComp())
        FCore->TemplatePath = comp->TemplateDir;
    kvlDesignerShow(this);
    if (FCore->TemplatePath.isEmpty() && FCore->Report())
        FCore->TemplatePath = FCore->Report()->GetApplicationFolder();
}

void TkvlDesignerForm::restoreSettings() { storeSettings(false); }

void TkvlDesignerForm::saveSettings() { storeSettings(true); }

// Window, dock sites, tool bars and the user's unit, written or read back.
void TkvlDesignerForm::storeSettings(bool Save)
{
    TkvlReport *r = FCore->Report();
    std::unique_ptr<TCustomIniFile> ini = r ? r->GetIniFile() : nullptr;
    if (!ini)
        return;
    const QString section = QStringLiteral("Form5.TkvlDesignerForm"), units = QStringLiteral("Units");
    if (Save)
        kvlSaveFormPosition(*ini, this);
    else
        kvlRestoreFormPosition(*ini, this);
    for (TkvlDockSite *s : {FLeftDockSite1, FLeftDockSite2, FRightDockSite, FCodeDockSite})
        Save ? kvlSaveDock(*ini, s) : kvlRestoreDock(*ini, s);
    for (TkvlControlBar *bar : {FDockTop, FDockBottom})
        for (QToolBar *tb : bar->findChildren<QToolBar *>())
            Save ? kvlSaveToolbarPosition(*ini, tb) : kvlRestoreToolbarPosition(*ini, tb);
    if (Save) {
        ini->WriteInteger(section, units, int(FCore->UserUnits()));
        ini->UpdateFile();
        return;
    }
    const int unit = ini->ReadInteger(section, units, 0);
    if (unit >= duCM && unit <= duPixels)
        FCore->SetUnits(TkvlDesignerUnits(unit));
}

void TkvlDesignerForm::closeEvent(QCloseEvent *Event)
{
    if (FClosed) {
        Event->accept();
        return;
    }
    bool allowed = false;
    if (!safely([&] { allowed = FCore->CloseQuery(); }) || !allowed) {
        Event->ignore();
        return;
    }
    Event->accept();
    FClosed = true;
    safely([&] { saveSettings(); });
    safely([&] { FCore->FormClose(); });
    for (const QPointer<TkvlDockForm> &f : FToolWindows)
        if (f && f->Floating())
            f->hide();
    if (FLoop) {
        FLoop->quit();
    } else if (!FPanel) {
        // A window shown on its own frees its designer once the close has run.
        rtl::ComponentRef<TkvlDesignerCore> core(FCore);
        QTimer::singleShot(0, qApp, [core] { delete core.get(); });
    }
}

// ---- start-up ------------------------------------------------------------------------------------

TkvlCustomDesigner *kvlCreateDesignerForm(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner)
{
    auto *core = new TkvlDesignerCore(AOwner, AReport, APreviewDesigner);
    auto *form = new TkvlDesignerForm(core);
    kvlAttachToolWindows(form);
    core->SetView(form, true);
    return core;
}

bool kvlDesignPreview(TkvlReport &Report, const std::vector<TkvlPage *> &LentPages)
{
    std::vector<rtl::ComponentRef<TkvlPage>> copies;
    for (TkvlPage *lent : LentPages) {
        TkvlPage *copy = rtl_cast<TkvlDMPPage>(lent) ? static_cast<TkvlPage *>(new TkvlDMPPage(&Report))
                                                     : new TkvlReportPage(&Report);
        copy->AssignAll(lent);
        copies.emplace_back(copy);
    }
    const bool changed = Report.DesignPreviewPage();
    if (changed)
        for (size_t i = 0; i < copies.size(); ++i)
            if (TkvlPage *copy = copies[i].get())
                LentPages[i]->AssignAll(copy);
    return changed;
}

void kvlRegisterDesignerForm()
{
    kvlDesignerClass = &kvlCreateDesignerForm;
    kvlPreviewDesigner = &kvlDesignPreview;
}
