// The preview's commands: printing, saving and opening prepared reports, exporting, editing a
// page or the template, page setup, searching, adding and deleting pages, cancelling and
// preparing again. Every command that reaches the store is refused while the engine runs.
#include "engine/widgets/kvlpreview.h"

#include "engine/store/previewpages.h"
#include "engine/widgets/kvlpagesettingsform.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "engine/widgets/kvlsearchdialog.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlresourcetext.h"
#include "report/dmp/kvldmppage.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlview.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>

namespace {

// Runs Body, then Done, also when Body raises.
template <class F, class G> void withFinally(F &&Body, G &&Done)
{
    try {
        Body();
    } catch (...) {
        Done();
        throw;
    }
    Done();
}

QString kp3Filter() { return kvlResourceText(QStringLiteral("clKP3files")) + QStringLiteral(" (*.kp3)|*.kp3"); }

// The name with its extension (if any) replaced by ".kp3".
QString withKp3Extension(const QString &FileName)
{
    const QFileInfo info(FileName);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString folder = FileName.left(FileName.size() - name.size());
    return folder + stem + QStringLiteral(".kp3");
}

// The store's page, held for as long as the caller needs it (other pages built meanwhile,
// e.g. by a repaint behind a dialog, may not free it).
std::shared_ptr<TkvlPage> heldPage(TkvlCustomPreviewPages *Pages, int Index)
{
    if (auto *store = dynamic_cast<TkvlPreviewPages *>(Pages))
        return store->GetPageShared(Index);
    TkvlPage *page = Pages->GetPage(Index);
    return page ? std::shared_ptr<TkvlPage>(page, [](TkvlPage *) {}) : nullptr;
}

bool loadedFromFile(TkvlCustomPreviewPages *Pages)
{
    auto *store = dynamic_cast<TkvlPreviewPages *>(Pages);
    return store && store->LoadedFromFile();
}

// A prepared page made a plain designable page: values instead of fields, every object placed
// on the page itself, no bands.
void flattenPage(TkvlPage *Page)
{
    const std::vector<TkvlComponent *> objects = Page->GetAllObjects();
    struct Place {
        TkvlComponent *Obj;
        double Left, Top;
    };
    std::vector<Place> places;
    places.reserve(objects.size());
    for (TkvlComponent *o : objects)
        places.push_back(Place{o, o->GetAbsLeft() - Page->GetAbsLeft(), o->GetAbsTop() - Page->GetAbsTop()});
    for (const Place &p : places) {
        if (auto *v = rtl_cast<TkvlView>(p.Obj)) {
            v->DataField.clear();
            v->SetDataSet(nullptr);
            v->SetRestrictions(0);
        }
        if (p.Obj->Parent() != Page && !rtl_cast<TkvlBand>(p.Obj)) {
            p.Obj->SetParent(Page);
            p.Obj->SetLeft(p.Left);
            p.Obj->SetTop(p.Top);
            p.Obj->SetParentFont(false);
        }
        if (auto *v = rtl_cast<TkvlView>(p.Obj); v && (v->Align() == baBottom || v->Align() == baClient))
            v->SetAlign(baNone);
    }
    for (TkvlComponent *o : std::vector<TkvlComponent *>(Page->Objects()))
        if (rtl_cast<TkvlBand>(o))
            delete o;
}

} // namespace

int TkvlPreview::execDialog(QDialog &Dialog) { return ExecDialog ? ExecDialog(Dialog) : Dialog.exec(); }

void TkvlPreview::Clear()
{
    if (FRunning)
        return;
    Lock();
    withFinally(
        [&] {
            if (PreviewPages)
                PreviewPages->Clear();
        },
        [&] { Unlock(); });
    FWorkspace->ClearPageList();
    FThumbnail->ClearPageList();
    UpdateOutline();
    SetPageNo(1);
    FWorkspace->SetHorzRange(0);
    FWorkspace->SetVertRange(0);
    if (ThumbnailVisible()) {
        FThumbnail->SetHorzRange(0);
        FThumbnail->SetVertRange(0);
    }
}

// ---- printing and exporting ----------------------------------------------------------------------

bool TkvlPreview::Print()
{
    if (!commandAllowed() || !PreviewPages)
        return false;
    PreviewPages->CurPreviewPage = FPageNo;
    bool ok = false;
    withFinally([&] { ok = PreviewPages->Print(); }, [&] { Unlock(); });
    return ok;
}

bool TkvlPreview::Export(TkvlCustomExportFilter *Filter)
{
    if (!commandAllowed() || !PreviewPages || !Filter)
        return false;
    PreviewPages->CurPreviewPage = FPageNo;
    bool ok = false;
    withFinally([&] { ok = PreviewPages->Export(Filter); }, [&] { Unlock(); });
    return ok;
}

// ---- saving and opening --------------------------------------------------------------------------

void TkvlPreview::SaveToFile()
{
    if (!commandAllowed() || !PreviewPages)
        return;
    ui::FileDialogRequest request;
    request.filter = kp3Filter();
    const ui::FileDialogResult answer = ui::fileDialogs().Save(request);
    if (!answer.accepted || answer.fileName().isEmpty())
        return;
    FWorkspace->viewport()->repaint();
    if (Report)
        Report->ReportOptions()->Compressed = answer.filterIndex == 2;
    SaveToFile(withKp3Extension(answer.fileName()));
}

bool TkvlPreview::SaveToFile(const QString &FileName)
{
    if (!commandAllowed() || !PreviewPages || FileName.isEmpty())
        return false;
    Lock();
    ShowMessage(kvlResourceText(QStringLiteral("clSaving")));
    withFinally([&] { PreviewPages->SaveToFile(FileName); }, [&] { Unlock(); });
    return true;
}

void TkvlPreview::LoadFromFile()
{
    if (!commandAllowed() || !PreviewPages)
        return;
    ui::FileDialogRequest request;
    request.filter = kp3Filter();
    request.overwritePrompt = false;
    const ui::FileDialogResult answer = ui::fileDialogs().Open(request);
    if (!answer.accepted || answer.fileName().isEmpty())
        return;
    FWorkspace->viewport()->repaint();
    LoadFromFile(answer.fileName());
}

void TkvlPreview::afterLoad()
{
    FPageNo = 1;
    FWorkspace->SetPageNo(1);
    FThumbnail->SetPageNo(1);
    UpdateOutline();
    Unlock();
    SetPosition(1, 0);
    pageChanged();
}

bool TkvlPreview::LoadFromFile(const QString &FileName)
{
    if (!commandAllowed() || !PreviewPages || FileName.isEmpty())
        return false;
    Lock();
    ShowMessage(kvlResourceText(QStringLiteral("clLoading")));
    bool ok = false;
    withFinally([&] { ok = PreviewPages->LoadFromFile(FileName); }, [&] { afterLoad(); });
    return ok;
}

void TkvlPreview::LoadFromStream(TStream &Stream)
{
    if (!commandAllowed() || !PreviewPages)
        return;
    Lock();
    ShowMessage(kvlResourceText(QStringLiteral("clLoading")));
    withFinally([&] { PreviewPages->LoadFromStream(Stream, false); }, [&] { afterLoad(); });
}

// ---- designing ------------------------------------------------------------------------------------

void TkvlPreview::Edit()
{
    if (!commandAllowed() || !PreviewPages || !OnDesign)
        return;
    const int index = FPageNo - 1;
    // Whatever goes wrong while copying or designing leaves the prepared page as it was.
    try {
        const std::shared_ptr<TkvlPage> source = heldPage(PreviewPages, index);
        if (!source)
            return;
        auto report = std::make_unique<TkvlReport>(nullptr);
        TkvlPage *page = rtl_cast<TkvlDMPPage>(source.get()) ? static_cast<TkvlPage *>(new TkvlDMPPage(report.get()))
                                                              : new TkvlReportPage(report.get());
        page->AssignAll(source.get());
        flattenPage(page);
        if (!OnDesign(*report, {}))
            return;
        TkvlPage *edited = nullptr;
        for (TkvlComponent *o : report->Objects())
            if ((edited = rtl_cast<TkvlPage>(o)))
                break;
        if (!edited)
            return;
        Lock();
        withFinally([&] { PreviewPages->ModifyPage(index, edited); }, [&] { Unlock(); });
    } catch (...) {
        Unlock();
    }
}

void TkvlPreview::EditTemplate()
{
    if (!commandAllowed() || !OnDesign)
        return;
    auto *store = dynamic_cast<TkvlPreviewPages *>(PreviewPages);
    if (!store)
        return;
    std::vector<TkvlPage *> pages;
    for (int i = 0; i < store->SourcePageCount(); ++i)
        pages.push_back(store->SourcePage(i));
    TkvlReport report(nullptr);
    OnDesign(report, pages);
}

void TkvlPreview::PageSetupDlg()
{
    if (!commandAllowed() || !PreviewPages)
        return;
    const int index = FPageNo - 1;
    const std::shared_ptr<TkvlPage> held = heldPage(PreviewPages, index);
    auto *page = rtl_cast<TkvlReportPage>(held.get());
    if (!page)
        return;
    TkvlPageSettingsForm dialog(page, Report, this);
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    if (dialog.NeedRebuild()) {
        // Pages read from a file have no template of theirs to prepare again.
        if (!Report || loadedFromFile(PreviewPages))
            return;
        for (TkvlComponent *o : Report->Objects()) {
            auto *p = rtl_cast<TkvlReportPage>(o);
            if (!p)
                continue;
            p->SetOrientation(page->Orientation());
            p->SetPaperWidth(page->PaperWidth());
            p->SetPaperHeight(page->PaperHeight());
            p->SetPaperSize(page->PaperSize());
            p->LeftMargin = page->LeftMargin;
            p->TopMargin = page->TopMargin;
            p->RightMargin = page->RightMargin;
            p->BottomMargin = page->BottomMargin;
        }
        Report->PrepareReport(true);
    } else {
        Lock();
        withFinally([&] { PreviewPages->ModifyPage(index, page); }, [&] { Unlock(); });
    }
}

// ---- searching ------------------------------------------------------------------------------------

void TkvlPreview::Find()
{
    if (!commandAllowed() || !PreviewPages)
        return;
    TkvlSearchDialog dialog(this);
    const bool accepted = execDialog(dialog) == QDialog::Accepted;
    // F3 searches again with the previous text, whichever button closed the dialog.
    FAllowF3 = true;
    if (accepted)
        FindText(dialog.TextE()->text(), dialog.TopCB()->isChecked(), dialog.CaseCB()->isChecked());
}

void TkvlPreview::FindNext()
{
    if (!commandAllowed() || !FAllowF3 || !PreviewPages || FSearch.Text().isEmpty())
        return;
    FWorkspace->FindText();
}

bool TkvlPreview::FindText(const QString &Text, bool FromTop, bool CaseSensitive)
{
    // The search builds pages the engine may be writing.
    if (!commandAllowed() || !PreviewPages)
        return false;
    FSearch.Start(Text, CaseSensitive, FromTop ? 0 : FPageNo - 1);
    const bool found = FWorkspace->FindText();
    FAllowF3 = true;
    return found;
}

void TkvlPreview::FindTextClear()
{
    FSearch.Clear();
    FWorkspace->viewport()->update();
}

// ---- pages ----------------------------------------------------------------------------------------

void TkvlPreview::AddPage()
{
    if (!commandAllowed() || !PreviewPages)
        return;
    PreviewPages->AddEmptyPage(FPageNo - 1);
    UpdatePages();
    SetPageNo(FPageNo);
}

void TkvlPreview::DeletePage()
{
    if (!commandAllowed() || !PreviewPages || PageCount() < 1)
        return;
    PreviewPages->DeletePage(FPageNo - 1);
    if (FPageNo > PageCount())
        FPageNo = std::max(1, PageCount());
    UpdatePages();
    SetPageNo(FPageNo);
}

// ---- running --------------------------------------------------------------------------------------

void TkvlPreview::Cancel()
{
    if (FRunning && Report)
        Report->SetTerminated(true);
}

void TkvlPreview::RefreshReport()
{
    if (!commandAllowed() || !Report)
        return;
    const int tab = FTabList.CurTab();
    const bool detailTab = tab > 0 && tab < FTabList.Count() && !FTabList.Items(tab).DetailPage.isEmpty();
    // Pages read from a file have no template of theirs to prepare again.
    if (!detailTab && loadedFromFile(PreviewPages))
        return;
    const int horz = FWorkspace->HorzPosition(), vert = FWorkspace->VertPosition(), page = FPageNo;
    Lock();
    FRefreshing = true;
    const double zoom = FZoom;
    withFinally(
        [&] {
            if (detailTab)
                refreshDetailPage(FTabList.Items(tab));
            else
                Report->PrepareReport(true);
            FZoom = zoom;
            Unlock();
            FPageNo = std::max(1, std::min(page, PageCount()));
            FWorkspace->SetPageNo(FPageNo);
            FThumbnail->SetPageNo(FPageNo);
            UpdatePages();
            UpdateOutline();
        },
        [&] {
            FRefreshing = false;
            if (FLocked)
                Unlock();
        });
    FWorkspace->SetHorzPosition(horz);
    FWorkspace->SetVertPosition(vert);
    FWorkspace->viewport()->update();
    FThumbnail->viewport()->update();
    if (PageCount() < page)
        SetPageNo(PageCount());
    pageChanged();
}
