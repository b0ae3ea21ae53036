#include "designer/core/designercore.h"

#include "designer/core/codeutils.h"
#include "designer/core/undobuffer.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/bands/kvlsubreport.h"
#include "report/dmp/kvldmppage.h"
#include "report/pages/kvlreportpage.h"
#include "report/utils/messages.h"
#include "report/views/kvlpicture.h"
#include "report/views/picturecache.h"

#include <QFileInfo>
#include <cmath>

LIRRA_DEFINE_CLASS(TkvlDesignerCore)

void TkvlDesignerCore::DeclareClass(rtl::ClassBuilder<TkvlDesignerCore> &) {}

namespace {

constexpr int kTabPositions = 256;
constexpr double kPxPerMm = 3.77953;
constexpr double kCharX = 9.6, kCharY = 17;

// Nearest integer, halves to the even one.
double roundEven(double v) { return std::nearbyint(v); }
int roundInt(double v) { return int(std::nearbyint(v)); }

} // namespace

TkvlDesignerCore::TkvlDesignerCore(TComponent *AOwner, TkvlReport *AReport, bool APreviewDesigner)
    : TkvlCustomDesigner(AOwner, AReport, APreviewDesigner)
{
    TemplateExt = kvlDesignerTemplateExt();
}

TkvlDesignerCore::~TkvlDesignerCore()
{
    Done();
    if (FOwnsView)
        delete FView;
}

void TkvlDesignerCore::SetView(TkvlDesignerView *View, bool Owned)
{
    FView = View;
    FOwnsView = Owned;
}

void TkvlDesignerCore::Init()
{
    if (FInitialized)
        return;
    FInitialized = true;
    FPictureCache = std::make_unique<TkvlPictureCache>();
    FScale = 1;
    FUndoBuffer = std::make_unique<TkvlUndoBuffer>();
    FUndoBuffer->SetPictureCache(FPictureCache.get());
    FPagePositions = QStringList();
    for (int i = 0; i < kTabPositions; ++i)
        FPagePositions << QString();
    FRecentFiles.clear();
    kvlAddCodeRes();
    if (IsPreviewDesigner())
        FPreviewSettings = std::make_unique<TkvlPreviewDesignerSettings>();
    TkvlWorkspace &w = ws();
    w.SetLists(&FLists);
    w.OnModify = [this] { OnModify(TkvlChangeSource::Workspace); };
    w.OnSelectionChanged = [this] { OnSelectionChanged(TkvlChangeSource::Workspace); };
    if (Report())
        Report()->SelectPrinter();
}

void TkvlDesignerCore::Done()
{
    if (!FInitialized)
        return;
    FInitialized = false;
    if (FView) {
        FView->DetachDialogForm();
        TkvlWorkspace &w = ws();
        w.SetPage(nullptr);
        w.OnModify = nullptr;
        w.OnSelectionChanged = nullptr;
    }
    FLists.Objects.clear();
    FLists.Selected.clear();
    Objects.clear();
    SelectedObjects.clear();
    FUndoBuffer.reset();
    FPictureCache.reset();
    FRecentFiles.clear();
    FPagePositions.clear();
    // The remembered settings component becomes the process-wide one again.
    FPreviewSettings.reset();
}

// ---- pages ---------------------------------------------------------------------------------------

std::vector<TkvlPage *> TkvlDesignerCore::pages() const
{
    std::vector<TkvlPage *> out;
    if (Report())
        for (TkvlComponent *c : Report()->Objects())
            if (auto *p = rtl_cast<TkvlPage>(c))
                out.push_back(p);
    return out;
}

int TkvlDesignerCore::pageIndex(const TkvlPage *Page) const
{
    if (!Page || !Report())
        return -1;
    const auto &children = Report()->Objects();
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == Page)
            return int(i);
    return -1;
}

void TkvlDesignerCore::ReloadReport()
{
    TkvlReport *r = Report();
    if (!r)
        return;
    ++FGeneration;
    if (pages().empty()) {
        auto *data = new TkvlDataPage(r);
        data->SetName(QStringLiteral("Data"));
        TkvlPage *page;
        if (r->DotMatrixReport) {
            page = new TkvlDMPPage(r);
        } else {
            auto *rp = new TkvlReportPage(r);
            rp->SetDefaults();
            page = rp;
        }
        page->SetName(QStringLiteral("Page1"));
    }
    if (!IsPreviewDesigner())
        r->CheckDataPage();
    FView->SetLanguage(r->ScriptLanguage);
    FView->SetCodeLines(r->ScriptText().toQStringList());
    ReloadPages(-2);
    if (!r->FileName.isEmpty()) {
        FRecentFiles.removeAll(r->FileName);
        FRecentFiles << r->FileName;
        while (FRecentFiles.size() > 8)
            FRecentFiles.removeFirst();
    }
    UpdateCaption();
    if (FPictureCache) {
        FPictureCache->Clear();
        for (TkvlComponent *c : r->GetAllObjects())
            if (auto *pv = rtl_cast<TkvlPictureView>(c))
                FPictureCache->AddPicture(pv);
    }
    if (FUndoBuffer)
        FUndoBuffer->ClearUndo();
    SetModified(false);
}

void TkvlDesignerCore::ReloadPages(int Index)
{
    ++FGeneration;
    FView->DetachDialogForm();
    const std::vector<TkvlPage *> list = pages();
    QStringList captions{kvlResourceText(QStringLiteral("dsCode"))};
    int position = 0;
    for (TkvlPage *p : list) {
        ++position;
        auto *rp = rtl_cast<TkvlReportPage>(p);
        if (rp && rp->SubReport())
            captions << rp->SubReport()->Name();
        else if (rtl_cast<TkvlDataPage>(p))
            captions << kvlResourceText(QStringLiteral("dsData"));
        else if (p->Name().isEmpty())
            captions << kvlResourceText(QStringLiteral("dsPage")) + QString::number(position);
        else
            captions << p->Name();
        p->IsDesigning = true;
    }
    FView->SetTabs(captions);

    TkvlPage *page = nullptr;
    if (Index == -1) {
        page = nullptr;
    } else if (Index == -2) {
        for (TkvlPage *p : list)
            if (!rtl_cast<TkvlDataPage>(p)) {
                page = p;
                break;
            }
        if (!page && !list.empty())
            page = list.front();
    } else {
        // Indexes count the report's children, which are its pages.
        TkvlComponent *c = Report() && Index >= 0 && Index < Report()->ObjectCount() ? Report()->Object(Index) : nullptr;
        page = rtl_cast<TkvlPage>(c);
        if (!page && !list.empty())
            page = list.front();
    }
    SetPage(page);
}

void TkvlDesignerCore::storeScrollPosition()
{
    if (FTabIndex >= 1 && FTabIndex < kTabPositions - 1 && FTabIndex < FPagePositions.size()) {
        const QPoint p = FView->ScrollPosition();
        FPagePositions[FTabIndex] = QString::number(p.x()) + QLatin1Char(':') + QString::number(p.y());
    }
}

void TkvlDesignerCore::restoreScrollPosition()
{
    if (FTabIndex < 1 || FTabIndex >= kTabPositions - 1 || FTabIndex >= FPagePositions.size())
        return;
    const QString text = FPagePositions[FTabIndex];
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    QPoint p;
    if (colon > 0)
        p = QPoint(text.left(colon).toInt(), text.mid(colon + 1).toInt());
    FView->SetScrollPosition(p);
}

QString TkvlDesignerCore::PagePosition(int Tab) const
{
    return Tab >= 0 && Tab < FPagePositions.size() ? FPagePositions[Tab] : QString();
}

void TkvlDesignerCore::SetPage(TkvlPage *Value)
{
    ++FGeneration;
    storeScrollPosition();
    // The lists of the page left behind go at once, so nothing below works on them.
    FLists.Objects.clear();
    FLists.Selected.clear();
    Objects.clear();
    SelectedObjects.clear();
    ws().SetPage(nullptr);
    TkvlCustomDesigner::SetPage(Value);
    FTabIndex = Value ? pageIndex(Value) + 1 : 0;
    FView->SetTabIndex(FTabIndex);
    FView->DetachDialogForm();
    FView->ShowCodePanel(Value == nullptr);
    FView->UpdateControls();
    if (!Value) {
        FView->FocusCode();
        return;
    }
    TkvlWorkspace &w = ws();
    if (auto *rp = rtl_cast<TkvlReportPage>(Value)) {
        FView->PlaceWorkspace(nullptr);
        FView->SetWorkspaceColor(WorkspaceColor);
        w.SetScale(FScale);
        applyUnits(rtl_cast<TkvlDMPPage>(rp) ? duChars : FOldUnits);
        UpdatePageDimensions();
        FView->FocusPage();
    } else if (auto *dp = rtl_cast<TkvlDialogPage>(Value)) {
        applyUnits(duPixels);
        w.SetGridType(gtDialog);
        w.FGridX = w.FGridY = GridSize4;
        FView->PlaceWorkspace(dp);
        FView->SetWorkspaceColor(dp->Color());
        w.SetScale(1);
        w.SetPageDimensions(0, 0, TkvlMargins{});
    } else if (rtl_cast<TkvlDataPage>(Value)) {
        applyUnits(duPixels);
        FView->PlaceWorkspace(nullptr);
        FView->SetWorkspaceColor(WorkspaceColor);
        w.SetScale(1);
        w.SetGridType(gtNone);
        w.FGridX = w.FGridY = GridSize4;
        UpdatePageDimensions();
        FView->FocusPage();
    } else if (Report()) {
        Report()->Errors().Add(QStringLiteral("Page object is not page"));
    }
    reloadObjects();
    restoreScrollPosition();
}

void TkvlDesignerCore::reloadObjects()
{
    TkvlPage *page = Page();
    FLists.Load(page);
    TkvlWorkspace &w = ws();
    w.SetPage(page);
    w.EnableUpdate();
    w.AdjustBands(true);
    FView->EnableInspectorUpdate();
    syncLists(TkvlChangeSource::Workspace);
    FView->UpdateDataTree();
    FView->UpdateReportTree();
    OnSelectionChanged(TkvlChangeSource::Window);
}

void TkvlDesignerCore::syncLists(TkvlChangeSource Sender)
{
    if (Sender == TkvlChangeSource::Workspace) {
        Objects = FLists.Objects;
        SelectedObjects = FLists.Selected;
    } else {
        FLists.Objects = Objects;
        FLists.Selected = SelectedObjects;
    }
    // An empty selection never stays.
    if (FLists.Selected.empty() && Page()) {
        FLists.Selected.push_back(Page());
        SelectedObjects = FLists.Selected;
    }
}

void TkvlDesignerCore::Lock()
{
    ++FGeneration;
    FLists.Objects.clear();
    FLists.Selected.clear();
    Objects.clear();
    SelectedObjects.clear();
    if (!FView)
        return;
    FView->DetachDialogForm();
    TkvlWorkspace &w = ws();
    w.DisableUpdate();
    w.SetPage(nullptr);
    FView->DisableInspectorUpdate();
    // The tree the page belonged to is about to be replaced.
    TkvlCustomDesigner::SetPage(nullptr);
}

// ---- the modification chain ----------------------------------------------------------------------

void TkvlDesignerCore::SetModified(bool Value)
{
    TkvlCustomDesigner::SetModified(Value);
    TkvlReport *r = Report();
    if (r && FView)
        r->SetScriptText(TStringList(FView->CodeLines()));
    if (FUndoBuffer && r) {
        TkvlComponent *snapshot = r;
        if (IsPreviewDesigner() && Page())
            snapshot = Page();
        FUndoBuffer->AddUndo(snapshot);
        FUndoBuffer->ClearRedo();
    }
    if (!FView)
        return;
    FView->SetSaveEnabled(Modified());
    const TkvlChangeSource by = FModifiedBy;
    if (by != TkvlChangeSource::Window)
        FView->UpdateControls();
    if (by == TkvlChangeSource::Inspector && Page() && !SelectedObjects.empty() && SelectedObjects.front() == Page()) {
        FLockSelectionChanged = true;
        ReloadPages(pageIndex(Page()));
        FLockSelectionChanged = false;
    }
    if (by != TkvlChangeSource::Workspace)
        UpdatePage();
    if (by != TkvlChangeSource::Inspector)
        UpdateInspector();
    FView->UpdateReportTree();
    FModifiedBy = TkvlChangeSource::None;
}

void TkvlDesignerCore::OnModify(TkvlChangeSource Sender)
{
    syncLists(Sender);
    FModifiedBy = Sender;
    SetModified(true);
}

void TkvlDesignerCore::OnSelectionChanged(TkvlChangeSource Sender)
{
    if (FLockSelectionChanged || !FView)
        return;
    syncLists(Sender);
    if (Sender == TkvlChangeSource::ReportTree) {
        TkvlComponent *first = SelectedObjects.empty() ? nullptr : SelectedObjects.front();
        if (first && first != Report() && first->Page() && first->Page() != Page()) {
            SetPage(first->Page());
            SelectedObjects = {first};
            syncLists(TkvlChangeSource::ReportTree);
        }
    } else {
        FView->ReportTreeSelectionChanged();
    }
    if (Sender != TkvlChangeSource::Workspace)
        ws().Repaint();
    if (Sender != TkvlChangeSource::Inspector)
        FView->InspectorSelectionChanged();
    FView->DataTreeSelectionChanged();
    FView->UpdateControls();
}

QString TkvlDesignerCore::GetCode() { return FView ? FView->CodeLines().join(QLatin1Char('\n')) : QString(); }

QString TkvlDesignerCore::InsertExpression(const QString &Expr)
{
    (void)Expr;
    return QString();
}

void TkvlDesignerCore::UpdateDataTree()
{
    if (FView)
        FView->UpdateDataTree();
}

void TkvlDesignerCore::UpdatePage()
{
    if (!FView || !ws().Page())
        return;
    ws().AdjustBands(true);
    ws().Repaint();
}

void TkvlDesignerCore::UpdateInspector()
{
    if (FView && !InspectorLock)
        FView->UpdateInspector();
}

void TkvlDesignerCore::DisableInspectorUpdate()
{
    if (FView)
        FView->DisableInspectorUpdate();
}

void TkvlDesignerCore::EnableInspectorUpdate()
{
    if (FView)
        FView->EnableInspectorUpdate();
}

// ---- units and zoom ------------------------------------------------------------------------------

QString TkvlDesignerCore::UnitsKey(TkvlDesignerUnits Units)
{
    switch (Units) {
    case duCM: return QStringLiteral("dsCm");
    case duInches: return QStringLiteral("dsInch");
    case duPixels: return QStringLiteral("dsPix");
    case duChars: return QStringLiteral("dsChars");
    }
    return QString();
}

QString TkvlDesignerCore::ScaleText(double Scale) { return QString::number(roundInt(Scale * 100)) + QLatin1Char('%'); }

void TkvlDesignerCore::SetUnits(TkvlDesignerUnits Value)
{
    // Pages that force a unit leave the user's choice for report pages alone.
    auto *rp = rtl_cast<TkvlReportPage>(Page());
    if (!Page() || (rp && !rtl_cast<TkvlDMPPage>(rp)))
        FOldUnits = Value;
    applyUnits(Value);
}

void TkvlDesignerCore::applyUnits(TkvlDesignerUnits Value)
{
    FUnits = Value;
    if (!FView)
        return;
    FView->ShowUnits(Value);
    TkvlWorkspace &w = ws();
    // Dialog and data pages set their own grid.
    if (!Page() || rtl_cast<TkvlReportPage>(Page())) {
        switch (Value) {
        case duCM:
            w.FGridX = w.FGridY = GridSize1 * 37.7953;
            w.SetGridType(gt1cm);
            break;
        case duInches:
            w.FGridX = w.FGridY = 96 * GridSize2;
            w.SetGridType(gt1in);
            break;
        case duPixels:
            w.FGridX = w.FGridY = GridSize3;
            w.SetGridType(gt1pt);
            break;
        case duChars:
            w.FGridX = kCharX;
            w.FGridY = kCharY;
            w.SetGridType(gtChar);
            break;
        }
    }
    if (!SelectedObjects.empty())
        OnSelectionChanged(TkvlChangeSource::Window);
}

void TkvlDesignerCore::SetScale(double Value)
{
    if (FView)
        FView->SetAutoScroll(false);
    if (Value == 0)
        Value = 1;
    if (Value > 20)
        Value = 20;
    FScale = Value;
    if (FView) {
        ws().SetScale(Value);
        FView->ShowScale(Value);
        UpdatePageDimensions();
        FView->SetAutoScroll(true);
    }
}

void TkvlDesignerCore::UpdatePageDimensions()
{
    if (!FView)
        return;
    TkvlWorkspace &w = ws();
    if (auto *rp = rtl_cast<TkvlReportPage>(Page())) {
        FView->SetScrollPosition(QPoint(0, 0));
        FView->SetWorkspaceOrigin(QPoint(10, 10));
        const auto px = [](double mm) { return roundInt(mm * 96 / 25.4); };
        const TkvlMargins m{px(rp->LeftMargin), px(rp->TopMargin), px(rp->RightMargin), px(rp->BottomMargin)};
        double height = rp->PaperHeight();
        if (rp->LargeDesignHeight)
            height *= 20;
        w.SetPageDimensions(px(rp->PaperWidth()), px(height), m);
    } else if (auto *dp = rtl_cast<TkvlDataPage>(Page())) {
        FView->SetWorkspaceOrigin(QPoint(0, 0));
        w.SetPageDimensions(roundInt(dp->Width()), roundInt(dp->Height()), TkvlMargins{});
    }
    FView->PageDimensionsChanged();
}

double TkvlDesignerCore::mmToUnits(double mm, bool X) const
{
    switch (FUnits) {
    case duCM: return mm / 10;
    case duInches: return mm / 25.4;
    case duPixels: return mm * 96 / 25.4;
    case duChars: return roundEven(mm * kPxPerMm / (X ? kCharX : kCharY));
    }
    return mm;
}

double TkvlDesignerCore::UnitsTomm(double Value, bool X) const
{
    switch (FUnits) {
    case duCM: return Value * 10;
    case duInches: return Value * 25.4;
    case duPixels: return Value / 96 * 25.4;
    case duChars: return roundEven(Value) * (X ? kCharX : kCharY) / kPxPerMm;
    }
    return Value;
}

QPointF TkvlDesignerCore::GetDefaultObjectSize() const
{
    switch (FUnits) {
    case duCM: return QPointF(2.5 * 37.7953, 0.5 * 37.7953);
    case duInches: return QPointF(96, 19.2);
    case duPixels: return QPointF(80, 16);
    case duChars: return QPointF(10 * kCharX, kCharY);
    }
    return QPointF();
}

// ---- commands ------------------------------------------------------------------------------------

bool TkvlDesignerCore::CheckOp(TkvlDesignerRestriction Op) const { return kvlDesignerAllows(Op); }

void TkvlDesignerCore::SetReportDefaults()
{
    TkvlReport *r = Report();
    if (!r)
        return;
    const QString language = kvlDesignerDefaultLanguage();
    r->ScriptLanguage = language;
    TStringList code;
    kvlEmptyCode(code, language);
    if (FView) {
        FView->SetCodeLines(code.toQStringList());
        FView->SetLanguage(language);
    }
    if (r->ObjectCount() > 1) {
        if (auto *page = rtl_cast<TkvlReportPage>(r->Object(1))) {
            if (TkvlDesigner *comp = kvlDesignerComp()) {
                // Turning the sheet turns its margins: the margins come last.
                page->SetOrientation(comp->DefaultOrientation);
                page->SetPaperSize(comp->DefaultPaperSize);
                page->LeftMargin = comp->DefaultLeftMargin;
                page->RightMargin = comp->DefaultRightMargin;
                page->TopMargin = comp->DefaultTopMargin;
                page->BottomMargin = comp->DefaultBottomMargin;
            } else {
                page->SetDefaults();
            }
        }
    }
    r->SetScriptText(FView ? TStringList(FView->CodeLines()) : code);
}

QString TkvlDesignerCore::GetReportName() const
{
    const QString file = Report() ? Report()->FileName : QString();
    if (file.isEmpty())
        return QStringLiteral("Untitled.") + TemplateExt;
    return QFileInfo(file).fileName();
}

void TkvlDesignerCore::UpdateCaption()
{
    if (FView)
        FView->SetCaption(QStringLiteral("Korvelle - ") + GetReportName());
}

bool TkvlDesignerCore::SaveFile(bool SaveAs, bool UseOnSaveEvent)
{
    if (SaveFileHook)
        return SaveFileHook(SaveAs, UseOnSaveEvent);
    TkvlReport *r = Report();
    if (!r)
        return false;
    if (UseOnSaveEvent) {
        if (const std::optional<bool> saved = kvlDesignerSaveReport(r, SaveAs)) {
            if (*saved) {
                UpdateCaption();
                SetModified(false);
            }
            return true;
        }
    }
    // Choosing a new name needs the save dialog, which the file commands bring.
    if (SaveAs || r->FileName.isEmpty())
        return false;
    r->SaveToFile(r->FileName);
    UpdateCaption();
    SetModified(false);
    return true;
}

// ---- closing -------------------------------------------------------------------------------------

bool TkvlDesignerCore::CloseQuery()
{
    if (FView)
        FView->CommitInspector();
    if (ScriptRunning)
        return false;
    TkvlReport *r = Report();
    if (r && FView)
        r->SetScriptText(TStringList(FView->CodeLines()));
    const TkvlDesigner *comp = kvlDesignerComp();
    if ((comp && !comp->CloseQuery) || !Modified() || !CheckOp(drDontSaveReport) || !FView)
        return true;
    const QString text = IsPreviewDesigner()
                             ? kvlResourceText(QStringLiteral("dsSavePreviewChanges"))
                             : kvlResourceText(QStringLiteral("dsSaveChangesTo")) + QLatin1Char(' ') + GetReportName() +
                                   QLatin1Char('?');
    const int answer = FView->AskSave(text);
    if (answer == IDCANCEL)
        return false;
    if (IsPreviewDesigner()) {
        if (answer == IDNO)
            TkvlCustomDesigner::SetModified(false);
        return true;
    }
    if (answer == IDYES && !SaveFile(false, true))
        return false;
    TkvlCustomDesigner::SetModified(answer != IDNO);
    return true;
}

void TkvlDesignerCore::FormClose()
{
    Done();
    if (TkvlReport *r = Report()) {
        r->Modified = Modified();
        if (r->Designer == this)
            r->Designer = nullptr;
    }
}

// ---- the window ----------------------------------------------------------------------------------

void TkvlDesignerCore::ShowModal()
{
    if (FView)
        FView->ShowModal();
}

void TkvlDesignerCore::ShowModeless()
{
    if (FView)
        FView->ShowModeless();
}

void TkvlDesignerCore::SetMDIChild(bool Value)
{
    if (FView)
        FView->SetMDIChild(Value);
}

void TkvlDesignerCore::StartupMessage()
{
    if (ShowStartup && FView)
        kvlDesignerShowStartupScreen(FView->WindowObject());
}

void TkvlDesignerCore::SetPanel(QWidget *Panel)
{
    if (FView)
        FView->SetPanel(Panel);
}

void TkvlDesignerCore::DoShow()
{
    if (FView)
        FView->DoShow();
}

void TkvlDesignerCore::MoveControlsIntoPanel()
{
    if (FView)
        FView->MoveControlsIntoPanel();
}
