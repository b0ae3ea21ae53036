#include "designer/core/designerfiles.h"

#include "designer/core/codeeditor/codebuffer.h"
#include "designer/core/settings.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/services.h"
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/utils/messages.h"

#include <QFileInfo>
#include <exception>

namespace {

QString res(const char *Key) { return kvlResources().Get(QString::fromLatin1(Key)); }

QString errorText(const std::exception &e) { return QString::fromUtf8(e.what()); }

// Puts the report's silent mode back on every way out.
class SilentModeGuard {
public:
    explicit SilentModeGuard(TkvlEngineOptions *Options) : FOptions(Options), FSaved(Options->NewSilentMode)
    {
        Options->NewSilentMode = simMessageBoxes;
    }
    ~SilentModeGuard() { FOptions->NewSilentMode = FSaved; }
    SilentModeGuard(const SilentModeGuard &) = delete;
    SilentModeGuard &operator=(const SilentModeGuard &) = delete;

private:
    TkvlEngineOptions *FOptions;
    TkvlSilentMode FSaved;
};

// A report the designer can show after a failed load: a data page and one report page.
void emptyReport(TkvlReport *Report)
{
    Report->Clear();
    auto *data = new TkvlDataPage(Report);
    data->SetName(QStringLiteral("Data"));
    auto *page = new TkvlReportPage(Report);
    page->SetName(QStringLiteral("Page1"));
}

bool hasPage(const TkvlReport *Report)
{
    for (TkvlComponent *c : Report->Objects())
        if (c->Is<TkvlPage>() && !c->Is<TkvlDataPage>())
            return true;
    return false;
}

// Trailing blanks and control characters go.
QString trimRight(const QString &Line)
{
    qsizetype n = Line.size();
    while (n > 0 && Line[n - 1] <= u' ')
        --n;
    return Line.left(n);
}

} // namespace

// ---- recent files -------------------------------------------------------------------------

void TkvlRecentFiles::SetFiles(const QStringList &OldestFirst)
{
    beginResetModel();
    FFiles.clear();
    for (const QString &f : OldestFirst)
        if (!f.isEmpty()) {
            FFiles.removeAll(f);
            FFiles.append(f);
        }
    while (FFiles.size() > kMax)
        FFiles.removeFirst();
    endResetModel();
}

void TkvlRecentFiles::Add(const QString &FileName)
{
    if (FileName.isEmpty())
        return;
    QStringList files = FFiles;
    files.removeAll(FileName);
    files.append(FileName);
    SetFiles(files);
}

bool TkvlRecentFiles::Hidden() const { return !kvlDesignerAllows(drDontShowRecentFiles); }

QStringList TkvlRecentFiles::MenuEntries() const
{
    QStringList out;
    if (Hidden())
        return out;
    for (qsizetype i = FFiles.size() - 1; i >= 0; --i)
        out.append(FFiles[i]);
    return out;
}

int TkvlRecentFiles::rowCount(const QModelIndex &Parent) const
{
    return Parent.isValid() || Hidden() ? 0 : int(FFiles.size());
}

QVariant TkvlRecentFiles::data(const QModelIndex &Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= rowCount() || (Role != Qt::DisplayRole && Role != Qt::ToolTipRole))
        return {};
    return FFiles[FFiles.size() - 1 - Index.row()];
}

// ---- files --------------------------------------------------------------------------------

TkvlDesignerFiles::TkvlDesignerFiles(TkvlCustomDesigner *ADesigner, TkvlFilesWindow *AWindow)
    : FDesigner(ADesigner), FWindow(AWindow)
{
}

TkvlReport *TkvlDesignerFiles::report() const { return FDesigner->Report(); }

QString TkvlDesignerFiles::GetReportName() const
{
    const QString &name = report()->FileName;
    if (name.isEmpty())
        return QStringLiteral("Untitled.") + kvlDesignerTemplateExt();
    return QFileInfo(name).fileName();
}

void TkvlDesignerFiles::UpdateCaption() { FWindow->SetCaption(QStringLiteral("Korvelle - ") + GetReportName()); }

int TkvlDesignerFiles::AskSave()
{
    const QString text = FDesigner->IsPreviewDesigner() ? res("dsSavePreviewChanges")
                                                         : res("dsSaveChangesTo") + u' ' + GetReportName() + u'?';
    return kvlConfirmMsg(text, MB_YESNOCANCEL);
}

bool TkvlDesignerFiles::SaveCurrentFile(bool UseOnSaveEvent)
{
    if (!FDesigner->Modified())
        return true;
    switch (AskSave()) {
    case IDYES:
        // A save that did not happen (cancelled or failed) keeps this report.
        return SaveFile(false, UseOnSaveEvent);
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool TkvlDesignerFiles::loadFromFile(const QString &FileName)
{
    bool ok = false;
    try {
        // A file that is no template reads as a report without pages.
        ok = report()->LoadFromFile(FileName) && hasPage(report());
    } catch (const std::exception &) {
        ok = false;
    }
    if (!ok) {
        kvlErrorMsg(res("dsCantLoad"));
        emptyReport(report());
    }
    return ok;
}

void TkvlDesignerFiles::LoadFile(const QString &FileName, bool UseOnLoadEvent)
{
    const SilentModeGuard silent(report()->EngineOptions());
    QString name = FileName;
    if (!name.isEmpty()) {
        if (!SaveCurrentFile(UseOnLoadEvent))
            return;
        FDesigner->Lock();
        if (UseOnLoadEvent) {
            if (const std::optional<bool> loaded = kvlDesignerLoadRecentReport(report(), name)) {
                if (*loaded)
                    FDesigner->ReloadReport();
                else
                    FDesigner->ReloadPages(-2);
                return;
            }
        }
    } else {
        if (UseOnLoadEvent) {
            if (kvlDesignerComp() && kvlDesignerComp()->OnLoadReport) {
                FDesigner->Lock();
                if (kvlDesignerLoadReport(report()).value_or(false))
                    FDesigner->ReloadReport();
                else
                    FDesigner->ReloadPages(-2);
                return;
            }
        }
        ui::FileDialogRequest request;
        if (TkvlDesigner *settings = kvlDesignerComp())
            request.initialDir = settings->OpenDir;
        request.filter = res("dsRepFilter");
        request.defaultExt = kvlDesignerTemplateExt();
        const ui::FileDialogResult chosen = ui::fileDialogs().Open(request);
        if (!chosen.accepted || chosen.fileName().isEmpty())
            return;
        name = chosen.fileName();
        if (!SaveCurrentFile(UseOnLoadEvent))
            return;
        FDesigner->Lock();
    }
    if (loadFromFile(name))
        FRecentFiles.Add(report()->FileName);
    FDesigner->ReloadReport();
    UpdateCaption();
}

bool TkvlDesignerFiles::SaveFile(bool SaveAs, bool UseOnSaveEvent)
{
    TkvlReport *r = report();
    TStringList &script = r->ScriptText();
    script.Clear();
    for (const QString &line : FWindow->ScriptLines())
        script.Add(trimRight(line));
    r->ReportOptions()->LastChange = rtl::Now();

    if (UseOnSaveEvent) {
        if (const std::optional<bool> saved = kvlDesignerSaveReport(r, SaveAs)) {
            if (*saved) {
                FRecentFiles.Add(r->FileName);
                UpdateCaption();
                FDesigner->SetModified(false);
            }
            return *saved;
        }
    }

    const QString previous = r->FileName;
    QString target = r->FileName;
    if (SaveAs || target.isEmpty()) {
        ui::FileDialogRequest request;
        request.defaultExt = kvlDesignerTemplateExt();
        request.filter = res("dsRepFilter");
        request.filterIndex = 1;
        request.overwritePrompt = true;
        request.fileName = target;
        if (TkvlDesigner *settings = kvlDesignerComp())
            request.initialDir = settings->SaveDir;
        const ui::FileDialogResult chosen = ui::fileDialogs().Save(request);
        if (!chosen.accepted || chosen.fileName().isEmpty())
            return false;
        target = chosen.fileName();
        r->ReportOptions()->Compressed = false;
    }
    try {
        r->FileName = target;
        r->SaveToFile(target);
    } catch (const std::exception &e) {
        r->FileName = previous;
        kvlErrorMsg(errorText(e));
        return false;
    }
    FRecentFiles.Add(r->FileName);
    UpdateCaption();
    FDesigner->SetModified(false);
    return true;
}

// ---- search -------------------------------------------------------------------------------

void TkvlDesignerFiles::StartSearch(const QString &Text, const QString &ReplaceText, bool CaseSensitive,
                                    bool Replace, bool FromTop)
{
    FSearchText = Text;
    FSearchReplaceText = ReplaceText;
    FSearchCase = CaseSensitive;
    FSearchReplace = Replace;
    FSearchIndex = 0;
    if (FWindow->CodeTabShown() && !FromTop)
        if (TkvlCodeBuffer *code = FWindow->CodeBuffer())
            FSearchIndex = code->PlainPos();
    FWindow->EnableFindNext();
    FindText();
}

bool TkvlDesignerFiles::AskReplace(bool &Stop)
{
    if (FReplaceAll)
        return true;
    ui::MessageRequest request;
    request.caption = res("mbConfirm");
    request.text = res("dsReplace").replace(QStringLiteral("%s"), FSearchText);
    request.icon = ui::MsgIcon::Question;
    request.buttons = ui::mbYes | ui::mbNo | ui::mbCancel | ui::mbAll;
    switch (ui::messageBoxes().Show(request)) {
    case ui::mbAll:
        FReplaceAll = true;
        return true;
    case ui::mbYes:
        return true;
    default:
        Stop = true;
        return false;
    }
}

bool TkvlDesignerFiles::findOnPage(bool &Changed, bool &Stop)
{
    const Qt::CaseSensitivity cs = FSearchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const std::vector<TkvlComponent *> &objects = FDesigner->Objects;
    for (int i = FSearchIndex; i < int(objects.size()); ++i) {
        auto *memo = rtl_cast<TkvlCustomMemoView>(objects[size_t(i)]);
        if (!memo)
            continue;
        QString text = memo->Text();
        if (!text.contains(FSearchText, cs))
            continue;
        FSearchIndex = i + 1;
        FDesigner->SelectedObjects.assign(1, memo);
        FWindow->ShowSelection();
        if (FSearchReplace && AskReplace(Stop)) {
            memo->SetText(text.replace(FSearchText, FSearchReplaceText, cs));
            Changed = true;
        }
        return true;
    }
    return false;
}

bool TkvlDesignerFiles::findInScript(bool &Changed, bool &Stop)
{
    TkvlCodeBuffer *code = FWindow->CodeBuffer();
    if (!code || !code->Find(FSearchText, FSearchCase, FSearchIndex))
        return false;
    if (FSearchReplace && AskReplace(Stop)) {
        code->SetSelText(FSearchReplaceText);
        // The index points behind the replaced text, not behind the longer or shorter hit.
        FSearchIndex += int(FSearchReplaceText.size() - FSearchText.size());
        Changed = true;
    }
    return true;
}

void TkvlDesignerFiles::FindText()
{
    if (FSearchText.isEmpty())
        return;
    FReplaceAll = false;
    bool foundAny = false, changed = false, stop = false;
    const bool inScript = FWindow->CodeTabShown();
    while (true) {
        const bool found = inScript ? findInScript(changed, stop) : findOnPage(changed, stop);
        foundAny |= found;
        if (!found || stop || !FReplaceAll)
            break;
    }
    FReplaceAll = false;
    // One undo step for everything this call replaced.
    if (changed)
        FDesigner->SetModified(true);
    if (!foundAny)
        kvlInfoMsg(res("dsTextNotFound").replace(QStringLiteral("%s"), FSearchText));
}
