#include "designer/core/insertion.h"

#include "designer/core/sampleformat.h"
#include "designer/core/settings.h"
#include "designer/core/workspace.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlsubreport.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldialogcomponent.h"
#include "report/dmp/kvldmppage.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/registry/kvlregistries.h"
#include "report/seams/kvldesigner.h"
#include "report/views/kvlline.h"

#include <algorithm>

namespace {

void call(const std::function<void()> &f)
{
    if (f)
        f();
}

int lastPageIndex(const TkvlReport *Report)
{
    const auto &objs = Report->Objects();
    return int(std::count_if(objs.begin(), objs.end(), [](TkvlComponent *c) { return c->Is<TkvlPage>(); })) - 1;
}

// Dialog controls live in a widget library: known here by name only.
bool isDialogObject(const TkvlComponent *C)
{
    static const rtl::ClassInfo *const control = rtl::FindClass(u"TkvlDialogControl");
    return C->Is<TkvlDialogComponent>() || (control && C->InheritsFrom(control));
}

// The first container whose box encloses the object is asked to take it.
bool offerToContainer(const std::vector<TkvlComponent *> &Objects, TkvlComponent *Obj)
{
    const double l = Obj->GetAbsLeft(), t = Obj->GetAbsTop();
    const double r = l + Obj->Width(), b = t + Obj->Height();
    for (TkvlComponent *c : Objects) {
        if (c == Obj || !c->HasStyle(csContainer))
            continue;
        const double cl = c->GetAbsLeft(), ct = c->GetAbsTop();
        if (l >= cl && t >= ct && r <= cl + c->Width() && b <= ct + c->Height())
            return c->ContainerAdd(Obj);
    }
    return false;
}

// The subreport's page is laid out like the page the subreport was drawn on.
void copyPageLayout(const TkvlReportPage &From, TkvlReportPage &To)
{
    To.SetOrientation(From.Orientation());
    To.SetSizeAndDimensions(From.PaperSize(), From.PaperWidth(), From.PaperHeight());
    To.LeftMargin = From.LeftMargin;
    To.RightMargin = From.RightMargin;
    To.TopMargin = From.TopMargin;
    To.BottomMargin = From.BottomMargin;
    To.Bin = From.Bin;
    To.BinOtherPages = From.BinOtherPages;
    To.SetColumns(From.Columns());
    To.ColumnWidth = From.ColumnWidth;
    To.SetColumnPositions(const_cast<TkvlReportPage &>(From).ColumnPositions());
    To.PrintOnPreviousPage = From.PrintOnPreviousPage;
    To.MirrorMargins = From.MirrorMargins;
    To.EndlessWidth = From.EndlessWidth;
    To.EndlessHeight = From.EndlessHeight;
    To.LargeDesignHeight = From.LargeDesignHeight;
    To.Duplex = From.Duplex;
    To.UpdateDimensions();
}

} // namespace

TkvlComponent *OnInsertObject(TkvlInsertContext &Ctx)
{
    TkvlCustomDesigner *d = Ctx.Designer;
    TkvlInsertion &ins = *Ctx.Insertion;
    if (!kvlDesignerAllows(drDontInsertObject) || ins.Top < 0) {
        ins = TkvlInsertion{};
        call(Ctx.PressSelectTool);
        return nullptr;
    }
    if (!ins.ComponentClass || (ins.Width == 0 && ins.Height == 0) || !d->Page())
        return nullptr;

    TPersistent *made = ins.ComponentClass->designCreate(d->Page(), ins.Flags);
    auto *obj = dynamic_cast<TkvlComponent *>(made);
    if (!obj) {
        delete made;
        return nullptr;
    }
    obj->SetBounds(ins.Left, ins.Top, ins.Width, ins.Height);
    obj->CreateUniqueName();

    // Lines are drawn one after another with one click on the tool.
    if (!obj->Is<TkvlCustomLineView>()) {
        ins = TkvlInsertion{};
        if (!Ctx.TextToolDown)
            call(Ctx.PressSelectTool);
    }

    if (auto *memo = dynamic_cast<TkvlCustomMemoView *>(obj)) {
        if (Ctx.Sample)
            Ctx.Sample->ApplySample(memo);
        if (d->Page()->Is<TkvlDataPage>())
            memo->Wysiwyg = false;
    }

    if (!offerToContainer(d->Objects, obj))
        d->Objects.push_back(obj);

    d->SelectedObjects.assign(1, obj);
    kvlDesignerInsertObject(obj);

    if (auto *sub = dynamic_cast<TkvlSubreport *>(obj)) {
        TkvlReport *report = d->Report();
        TkvlReportPage *page = kvlCreateReportPage(report);
        if (auto *drawnOn = dynamic_cast<TkvlReportPage *>(d->Page()))
            copyPageLayout(*drawnOn, *page);
        sub->SetPage(page);
        d->SetModified(true);
        d->ReloadPages(lastPageIndex(report));
    } else {
        d->SetModified(true);
        if (Ctx.EditAfterInsert && !isDialogObject(obj))
            OnEditObject(Ctx);
    }
    call(Ctx.BringWorkspaceToFront);
    return obj;
}

bool OnEditObject(TkvlInsertContext &Ctx)
{
    TkvlCustomDesigner *d = Ctx.Designer;
    if (d->SelectedObjects.empty())
        return false;
    TkvlComponent *first = d->SelectedObjects.front();
    if (first->HasRestriction(rfDontEdit))
        return false;
    std::unique_ptr<TkvlComponentEditor> editor = kvlComponentEditors().GetComponentEditor(first, d, nullptr);
    if (!editor || !editor->HasEditor() || !editor->Edit())
        return false;
    d->SetModified(true);
    if (first == d->Page())
        call(Ctx.PageDimensionsChanged);
    return true;
}

TkvlReportPage *kvlCreateReportPage(TkvlReport *Report)
{
    TkvlReportPage *page = Report->DotMatrixReport ? new TkvlDMPPage(Report) : new TkvlReportPage(Report);
    page->CreateUniqueName();
    page->SetDefaults();
    return page;
}

TkvlReportPage *kvlNewPage(TkvlCustomDesigner *Designer)
{
    Designer->Lock();
    TkvlReportPage *page = kvlCreateReportPage(Designer->Report());
    Designer->ReloadPages(lastPageIndex(Designer->Report()));
    Designer->SetModified(true);
    return page;
}

bool RevertInherited(TkvlCustomDesigner *Designer, bool WithChildren)
{
    bool any = false;
    for (TkvlComponent *c : Designer->SelectedObjects) {
        if (!c->GetIsAncestor())
            continue;
        // The flag stays on for the read as well: a read without it would first free the
        // object's own children, which the reset is not meant to touch.
        struct Flag {
            TkvlComponent *c;
            ~Flag() { c->AncestorOnlyStream = false; }
        } flag{c};
        c->AncestorOnlyStream = true;
        TMemoryStream m;
        c->SaveToStream(m, WithChildren);
        m.SetPosition(0);
        c->LoadFromStream(m);
        any = true;
    }
    if (any) {
        Designer->UpdateInspector();
        Designer->SetModified(true);
    }
    return any;
}
