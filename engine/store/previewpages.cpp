#include "engine/store/previewpages.h"

#include "engine/store/exportdriver.h"
#include "engine/store/pageblockpool.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/format.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlcompressor.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlfactories.h"
#include "report/serial/xmlserializer.h"
#include "report/utils/messages.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlview.h"
#include "report/xml/xmlarena.h"
#include "report/xml/xmldocument.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <unordered_set>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

namespace {

const QString kRoot = QStringLiteral("preparedreport");
const QString kPages = QStringLiteral("previewpages");
const QString kLogical = QStringLiteral("logicalpagenumbers");
const QString kOutline = QStringLiteral("outline");
const QString kAnchors = QStringLiteral("anchors");
const QString kReport = QStringLiteral("report");
const QString kSourcePages = QStringLiteral("sourcepages");
const QString kDictionary = QStringLiteral("dictionary");
const QString kPictureCache = QStringLiteral("picturecache");
const QString kCutted = QStringLiteral("cutted");
const QString kWholePage = QStringLiteral("TkvlReportPage");
const QString kWholeDMPPage = QStringLiteral("TkvlDMPPage");

// Pages written after one another share an arena up to about this size; the first arena
// of a preparation, in the heap, up to the smaller size.
constexpr int64_t kPageArenaBytes = 1 << 20;
constexpr int64_t kHeapArenaBytes = 256 << 10;

// Objects nested deeper than this on a prepared page are not built (hostile files).
constexpr int kMaxBuildDepth = 64;

TkvlPrintRoutine gPrintRoutine = nullptr;
TkvlExportRoutine gExportRoutine = nullptr;

bool isWholePageName(const QString &Name)
{
    return Name.compare(kWholePage, Qt::CaseInsensitive) == 0 || Name.compare(kWholeDMPPage, Qt::CaseInsensitive) == 0;
}

// The source page number of a "page" + number element; -1 for any other name.
int sourcePageNumber(const QString &Name)
{
    if (!Name.startsWith(QLatin1String("page")) || Name.size() == 4 || Name.size() > 13)
        return -1;
    for (qsizetype i = 4; i < Name.size(); ++i)
        if (!Name[i].isDigit() || Name[i].unicode() > '9')
            return -1;
    bool ok = false;
    const int n = Name.mid(4).toInt(&ok);
    return ok ? n : -1;
}

// A number written in the locale's format, or with either separator.
std::optional<double> parseNumber(const QString &Text)
{
    if (Text.isEmpty())
        return std::nullopt;
    if (auto v = rtl::TryStrToFloat(Text))
        return v;
    QString t = Text;
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

TkvlPage *newPageOfClass(const rtl::ClassInfo *Cls)
{
    if (Cls && Cls->canCreate() && Cls->inheritsFrom(TkvlPage::StaticClass()))
        return static_cast<TkvlPage *>(Cls->create(nullptr));
    return new TkvlReportPage(nullptr);
}

} // namespace

void kvlSetPrintRoutine(TkvlPrintRoutine Routine) { gPrintRoutine = Routine; }
void kvlSetExportRoutine(TkvlExportRoutine Routine) { gExportRoutine = Routine; }

void kvlRegisterPreviewPagesStore()
{
    kvlPreviewPagesFactory = [](TkvlReport *Report) -> std::unique_ptr<TkvlCustomPreviewPages> {
        return std::make_unique<TkvlPreviewPages>(Report);
    };
}

// ---- life ---------------------------------------------------------------------------------

TkvlPreviewPages::TkvlPreviewPages(TkvlReport *AReport)
    : TkvlCustomPreviewPages(AReport), FXMLDoc(std::make_unique<TkvlXMLDocument>()),
      FBlockPool(std::make_shared<TkvlPageBlockPool>())
{
    Outline = std::make_unique<TkvlOutline>(this);
    Clear();
}

TkvlPreviewPages::~TkvlPreviewPages()
{
    FPageCache.clear();
    FSourcePages.clear();
    releasePageArena();
}

TkvlXMLArena &TkvlPreviewPages::pageArena()
{
    if (!FPageArena) {
        FPageArenaPooled = FPageArenasMade > 0 || FBlockPool->FreeBytes() > 0;
        FPageArena = FPageArenaPooled ? new TkvlXMLArena(FBlockPool) : new TkvlXMLArena;
        ++FPageArenasMade;
    }
    return *FPageArena;
}

size_t TkvlPreviewPages::poolKeepBytes() const
{
    // With the file cache the pages in memory stay under the limit, and so does the pool;
    // without it a large preparation's memory is not held on to.
    constexpr size_t kMB = 1048576;
    return useFileCache() ? 2 * kMB * size_t(std::max(Report->EngineOptions()->MaxMemSize, 1)) : 16 * kMB;
}

void TkvlPreviewPages::releasePageArena()
{
    // The elements made in it keep it until the last of them goes.
    if (FPageArena)
        std::exchange(FPageArena, nullptr)->Release();
    FPageArenaBytes = 0;
}

void TkvlPreviewPages::ensureBaseElements()
{
    TkvlXMLItem *root = FXMLDoc->Root();
    if (root->Name().isEmpty())
        root->SetName(kRoot);
    root->FindItem(kPages);
    root->FindItem(kLogical);
    root->FindItem(kOutline);
}

TkvlXMLItem *TkvlPreviewPages::rootChild(const QString &Name) { return FXMLDoc->Root()->FindItem(Name); }
TkvlXMLItem *TkvlPreviewPages::pagesItem() { return rootChild(kPages); }

bool TkvlPreviewPages::useFileCache() const { return Report && Report->EngineOptions()->UseFileCache; }

bool TkvlPreviewPages::nonFinalPass() const { return Engine && Engine->Running && !Engine->FinalPass; }

bool TkvlPreviewPages::writesLogicalNumbers() const
{
    return !(Engine && Engine->Running && Engine->FinalPass && Engine->GetDoublePass());
}

void TkvlPreviewPages::Clear()
{
    releasePageArena();
    FPageCache.clear();
    FSourcePages.clear();
    FSizedSources.clear();
    FXMLDoc->Clear();
    FBlockPool->Trim(poolKeepBytes());
    FPageArenasMade = 0;
    ensureBaseElements();
    FDictionary.Clear();
    FPictureCache.Clear();
    static_cast<TkvlOutline *>(Outline.get())->Reset();
    CurPage = -1;
    FXMLSize = 0;
    FLastY = 0;
    FLastObjectOver = nullptr;
    FLoadedFromFile = false;
    FFirstPageIndex = -1;
    FFirstObjectIndex = FFirstOutlineIndex = 0;
    FLogicalPageN = 0;
}

void TkvlPreviewPages::ClearSourcePages()
{
    FSourcePages.clear();
    FSizedSources.clear();
}

int TkvlPreviewPages::GetCount() { return pagesItem()->Count(); }

int TkvlPreviewPages::LoadedPageCount()
{
    TkvlXMLItem *pages = pagesItem();
    int n = 0;
    for (int i = 0; i < pages->Count(); ++i)
        n += pages->Items(i)->Loaded() ? 1 : 0;
    return n;
}

// ---- passes -------------------------------------------------------------------------------

void TkvlPreviewPages::Initialize()
{
    if (!Report)
        return;
    if (FPictureCache.Count() == 0) {
        FPictureCache.SetUseFileCache(Report->PreviewOptions()->PictureCacheInFile);
        FPictureCache.SetTempDir(Report->EngineOptions()->TempDir);
    }
    FXMLDoc->SetTempDir(Report->EngineOptions()->TempDir);
    Report->InternalOnProgressStart(ptRunning);
}

void TkvlPreviewPages::BeginPass()
{
    FFirstPageIndex = GetCount() - 1;
    if (FFirstPageIndex >= 0) {
        TkvlXMLItem *page = pagesItem()->Items(FFirstPageIndex);
        FXMLDoc->LoadItem(page);
        FFirstObjectIndex = page->Count();
        FFirstOutlineIndex = static_cast<TkvlOutline *>(Outline.get())->Root()->Count();
    }
    ResetLogicalPageNumber();
}

void TkvlPreviewPages::ClearFirstPassPages()
{
    releasePageArena();
    ClearPageCache();
    TkvlXMLItem *root = FXMLDoc->Root();
    if (FFirstPageIndex < 0) {
        for (int i = 0; i < root->Count(); ++i) {
            TkvlXMLItem *e = root->Items(i);
            if (e->Name().compare(kAnchors, Qt::CaseInsensitive) != 0
                && e->Name().compare(kLogical, Qt::CaseInsensitive) != 0)
                e->Clear();
        }
    } else {
        TkvlXMLItem *pages = pagesItem();
        TkvlXMLItem *page = pages->Items(FFirstPageIndex);
        FXMLDoc->LoadItem(page);
        while (page->Count() > FFirstObjectIndex)
            delete page->Items(page->Count() - 1);
        while (pages->Count() > FFirstPageIndex + 1)
            delete pages->Items(pages->Count() - 1);
        TkvlXMLItem *outline = static_cast<TkvlOutline *>(Outline.get())->Root();
        while (outline->Count() > FFirstOutlineIndex)
            delete outline->Items(outline->Count() - 1);
    }
    static_cast<TkvlOutline *>(Outline.get())->Reset();
    ResetLogicalPageNumber();
    CurPage = FFirstPageIndex;
    FXMLSize = 0;
    // Sizes given by the pages just removed no longer hold their source pages.
    std::unordered_set<const TkvlXMLItem *> kept;
    TkvlXMLItem *pages = pagesItem();
    for (int i = 0; i < pages->Count(); ++i)
        kept.insert(pages->Items(i));
    std::erase_if(FSizedSources, [&](const auto &s) { return !kept.count(s.second); });
}

void TkvlPreviewPages::Finish()
{
    FLastY = 0;
    ClearPageCache();
    for (auto &p : FSourcePages)
        p->OriginalComponent = nullptr;
    if (Report)
        Report->InternalOnProgressStop(ptRunning);
}

// ---- logical page numbers -----------------------------------------------------------------

void TkvlPreviewPages::IncLogicalPageNumber()
{
    if (!writesLogicalNumbers())
        return;
    ++FLogicalPageN;
    rootChild(kLogical)->Add(QStringLiteral("page"))->SetText(QStringLiteral("n=\"%1\"").arg(FLogicalPageN));
}

void TkvlPreviewPages::ResetLogicalPageNumber()
{
    if (!writesLogicalNumbers())
        return;
    TkvlXMLItem *numbers = rootChild(kLogical);
    for (int i = std::min(CurPage, numbers->Count() - 1); i > FFirstPageIndex && i >= 0; --i) {
        TkvlXMLItem *e = numbers->Items(i);
        e->SetProp(QStringLiteral("t"), QString::number(FLogicalPageN));
        if (e->Prop(QStringLiteral("n")) == QLatin1String("1"))
            break;
    }
    FLogicalPageN = 0;
}

int TkvlPreviewPages::GetLogicalPageNo()
{
    TkvlXMLItem *numbers = rootChild(kLogical);
    if (CurPage >= 0 && CurPage < numbers->Count())
        return numbers->Items(CurPage)->Prop(QStringLiteral("n")).toInt();
    return CurPage - FirstPage + 1;
}

int TkvlPreviewPages::GetLogicalTotalPages()
{
    TkvlXMLItem *numbers = rootChild(kLogical);
    if (CurPage >= 0 && CurPage < numbers->Count())
        return numbers->Items(CurPage)->Prop(QStringLiteral("t")).toInt();
    return (Engine ? Engine->TotalPages : 0) - FirstPage;
}

// ---- source pages -------------------------------------------------------------------------

void TkvlPreviewPages::setSourceText(TkvlComponent *Source, TkvlXMLSerializer &S)
{
    Source->SetBaseName(Source->HasStyle(csDefaultDiff) ? Source->ClassName() : S.WriteComponentStr(Source));
}

void TkvlPreviewPages::addSourceObjects(TkvlComponent *Template, TkvlComponent *Parent, int PageIndex,
                                        TkvlXMLSerializer &S)
{
    for (TkvlComponent *t : Template->Objects()) {
        if (!t->HasStyle(csPreviewVisible)) {
            t->AddSourceObjects();
            continue;
        }
        auto *src = static_cast<TkvlComponent *>(t->ClassType()->create(nullptr));
        src->Assign(t);
        if (auto *pv = rtl_cast<TkvlPictureView>(src))
            pv->Picture()->Clear();
        if (auto *memo = rtl_cast<TkvlCustomMemoView>(src)) {
            memo->SetDataSet(nullptr);
            memo->DataField.clear();
        }
        try {
            src->SetName(t->Name());
        } catch (const std::exception &) {
        }
        src->SetParent(Parent);
        t->OriginalComponent = src;
        src->OriginalComponent = t;
        const QString base = t->Is<TkvlBand>() ? QStringLiteral("b") : t->BaseName().left(1).toLower();
        const QString alias = FDictionary.AddUnique(
            base, QStringLiteral("Page") + QString::number(PageIndex) + u'.' + t->Name(), src);
        t->AliasName = alias;
        src->AliasName = alias;
        setSourceText(src, S);
        addSourceObjects(t, src, PageIndex, S);
    }
}

void TkvlPreviewPages::AddSourcePage(TkvlPage *Page)
{
    if (!Page)
        return;
    std::unique_ptr<TkvlPage> sp(newPageOfClass(Page->ClassType()));
    sp->Assign(Page);
    try {
        sp->SetName(Page->Name());
    } catch (const std::exception &) {
    }
    if (auto *rp = rtl_cast<TkvlReportPage>(sp.get()))
        rp->UpdateDimensions();
    sp->OriginalComponent = Page;
    TkvlPage *raw = sp.get();
    FSourcePages.push_back(std::move(sp));
    TkvlXMLSerializer s;
    s.Owner = raw;
    addSourceObjects(Page, raw, int(FSourcePages.size()) - 1, s);
}

void TkvlPreviewPages::AddToSourcePage(TkvlComponent *Obj)
{
    if (!Obj || FSourcePages.empty())
        return;
    TkvlPage *sp = FSourcePages.back().get();
    auto *src = static_cast<TkvlComponent *>(Obj->ClassType()->create(nullptr));
    src->Assign(Obj);
    src->SetParent(sp);
    src->CreateUniqueName();
    const QString base = Obj->Is<TkvlBand>() ? QStringLiteral("b") : Obj->BaseName().left(1).toLower();
    const QString alias = FDictionary.AddUnique(
        base, QStringLiteral("Page") + QString::number(int(FSourcePages.size()) - 1) + u'.' + src->Name(), src);
    TkvlXMLSerializer s;
    setSourceText(src, s);
    Obj->OriginalComponent = src;
    Obj->AliasName = alias;
    src->AliasName = alias;
}

// ---- writing ------------------------------------------------------------------------------

bool TkvlPreviewPages::swapDue() const
{
    return useFileCache() && FXMLSize > int64_t(Report->EngineOptions()->MaxMemSize) * 1048576;
}

void TkvlPreviewPages::unloadOldPages()
{
    if (!swapDue())
        return;
    TkvlXMLItem *pages = pagesItem();
    // The pages written since the last page swapped out go in their order, so that the swap
    // file holds them as a save reads them.
    int first = pages->Count() - 1;
    while (first > 0 && !(pages->Items(first - 1)->Unloadable() && !pages->Items(first - 1)->Loaded()))
        --first;
    for (int i = first; i < pages->Count() - 1; ++i)
        FXMLDoc->UnloadItem(pages->Items(i));
    FXMLSize = 0;
}

void TkvlPreviewPages::AddPage(TkvlPage *Page)
{
    TkvlXMLItem *pages = pagesItem();
    if (FPageArenaBytes >= (FPageArenaPooled ? kPageArenaBytes : kHeapArenaBytes) || swapDue())
        releasePageArena();
    unloadOldPages();
    ++CurPage;
    if (CurPage < pages->Count() && AddPageAction != apAdd)
        return;
    int src = -1;
    for (size_t i = 0; i < FSourcePages.size(); ++i)
        if (Page && FSourcePages[i]->OriginalComponent.get() == Page) {
            src = int(i);
            break;
        }
    if (src < 0 && Page) {
        AddSourcePage(Page);
        src = int(FSourcePages.size()) - 1;
    }
    TkvlXMLItem *e = pages->Add(QStringLiteral("page") + QString::number(std::max(src, 0)));
    if (pages->Count() > 2)
        e->SetUnloadable(true);
    AddPageAction = apWriteOver;
    CurPage = pages->Count() - 1;
    IncLogicalPageNumber();
    // Told last, with the store complete again: the progress lets pending events (a preview's
    // painting and scrolling among them) run in here.
    if (Report)
        Report->InternalOnProgress(ptRunning, pages->Count());
}

TkvlXMLItem *TkvlPreviewPages::CurXMLPage()
{
    TkvlXMLItem *pages = pagesItem();
    if (CurPage < 0 || CurPage >= pages->Count())
        return nullptr;
    TkvlXMLItem *p = pages->Items(CurPage);
    FXMLDoc->LoadItem(p);
    return p;
}

void TkvlPreviewPages::writeObject(TkvlXMLItem *Parent, TkvlComponent *Obj, bool Whole)
{
    if (!Obj->Visible() || !Obj->HasStyle(csPreviewVisible))
        return;
    TkvlComponent *src = Obj->OriginalComponent.get();
    const bool whole = !src || Whole;
    const QString &name = whole ? Obj->ClassName() : Obj->AliasName;
    QString text;
    if (whole)
        text = Obj->AllDiff(nullptr);
    else if (nonFinalPass())
        text = Obj->InternalDiff(src);
    else if (Obj->HasStyle(csDefaultDiff))
        text = Obj->AllDiff(src);
    else
        text = Obj->Diff(src);
    QStringView attrs(text);
    if (attrs.startsWith(u' '))
        attrs = attrs.mid(1);
    TkvlXMLItem *e = Parent->AddInArena(pageArena(), name, attrs);
    const int64_t size = name.size() + attrs.size() + int64_t(sizeof(TkvlXMLItem)) + 16;
    FXMLSize += size;
    FPageArenaBytes += size;
    for (TkvlComponent *c : Obj->Objects())
        writeObject(e, c, Whole);
}

void TkvlPreviewPages::AddObject(TkvlComponent *Obj)
{
    TkvlXMLItem *page = CurXMLPage();
    if (!page || !Obj)
        return;
    writeObject(page, Obj, isWholePageName(page->Name()));
}

void TkvlPreviewPages::AddPicture(TkvlView *Picture)
{
    if (auto *pv = rtl_cast<TkvlPictureView>(Picture))
        FPictureCache.AddPicture(pv);
}

int TkvlPreviewPages::GetCurPosition()
{
    TkvlXMLItem *page = CurXMLPage();
    return page ? page->Count() : 0;
}

void TkvlPreviewPages::CutObjects(int Position)
{
    TkvlXMLItem *page = CurXMLPage();
    if (!page)
        return;
    TkvlXMLItem *cut = rootChild(kCutted);
    while (page->Count() > std::max(Position, 0))
        cut->AddItem(page->Items(std::max(Position, 0)));
}

double TkvlPreviewPages::attrFloat(TkvlXMLItem *Item, const QString &Name, double Default) const
{
    if (!Item->PropExists(Name))
        return Default;
    return parseNumber(Item->Prop(Name)).value_or(Default);
}

void TkvlPreviewPages::PasteObjects(double X, double Y)
{
    TkvlXMLItem *root = FXMLDoc->Root();
    const int at = root->Find(kCutted);
    if (at < 0)
        return;
    TkvlXMLItem *cut = root->Items(at);
    TkvlXMLItem *page = CurXMLPage();
    if (cut->Count() > 0 && page) {
        // An absent position is the source object's, as everywhere in a difference.
        auto pos = [&](TkvlXMLItem *e, double &L, double &T) {
            TkvlComponent *src = FDictionary.GetObject(e->Name());
            L = attrFloat(e, QStringLiteral("l"), src ? src->Left() : 0);
            T = attrFloat(e, QStringLiteral("t"), src ? src->Top() : 0);
        };
        double l0, t0;
        pos(cut->Items(0), l0, t0);
        const double dx = X - l0, dy = Y - t0;
        while (cut->Count() > 0) {
            TkvlXMLItem *e = cut->Items(0);
            double l, t;
            pos(e, l, t);
            e->SetProp(QStringLiteral("l"), rtl::FloatToStr(l + dx));
            e->SetProp(QStringLiteral("t"), rtl::FloatToStr(t + dy));
            page->AddItem(e);
        }
    }
    delete cut;
}

double TkvlPreviewPages::GetLastY(double ColumnPosition)
{
    double result = 0;
    if (TkvlXMLItem *page = CurXMLPage()) {
        for (int i = 0; i < page->Count(); ++i) {
            TkvlXMLItem *e = page->Items(i);
            auto *band = rtl_cast<TkvlBand>(FDictionary.GetObject(e->Name()));
            if (!band || band->Is<TkvlPageFooter>() || band->Is<TkvlOverlay>())
                continue;
            const double x = attrFloat(e, QStringLiteral("l"), band->Left());
            if (ColumnPosition == 0 || std::fabs(x - ColumnPosition) < 0.001 || band->Is<TkvlPageHeader>()
                || band->Is<TkvlReportTitle>()) {
                const double bottom =
                    attrFloat(e, QStringLiteral("t"), band->Top()) + attrFloat(e, QStringLiteral("h"), band->Height());
                result = std::max(result, bottom);
            }
        }
    }
    if (result == 0 && FLastY != 0)
        result = FLastY;
    return result;
}

void TkvlPreviewPages::UpdatePageLastColumn(int Column, bool Reset, double ColumnPos)
{
    TkvlXMLItem *page = CurXMLPage();
    if (!page)
        return;
    if (Reset || Column > 0)
        page->SetProp(QStringLiteral("c"), QString::number(Column));
    if (Reset || ColumnPos != 0)
        page->SetProp(QStringLiteral("cp"), rtl::FloatToStr(ColumnPos));
}

void TkvlPreviewPages::GetLastColumnPos(int &Column, double &ColumnPos)
{
    TkvlXMLItem *page = CurXMLPage();
    if (!page)
        return;
    bool ok = false;
    const int c = page->Prop(QStringLiteral("c")).toInt(&ok);
    if (ok)
        Column = c;
    ColumnPos = attrFloat(page, QStringLiteral("cp"), ColumnPos);
}

void TkvlPreviewPages::UpdatePageDimensions(TkvlPage *Page, double Width, double Height)
{
    if (FSourcePages.empty())
        return;
    const int index = CurPage;
    TkvlXMLItem *e = index >= 0 && index < GetCount() ? pagesItem()->Items(index) : nullptr;
    if (e && isWholePageName(e->Name())) {
        // A page written whole keeps its own dimensions.
        std::shared_ptr<TkvlPage> built = GetPageShared(index);
        if (auto *rp = rtl_cast<TkvlReportPage>(built.get())) {
            rp->SetSizeAndDimensions(256, Width / kvlPixelsPerMm, Height / kvlPixelsPerMm);
            ModifyPage(index, rp);
        }
        return;
    }
    int n = e ? sourcePageNumber(e->Name()) : -1;
    if (n < 0 || n >= int(FSourcePages.size())) {
        n = int(FSourcePages.size()) - 1;
        for (size_t i = 0; i < FSourcePages.size(); ++i)
            if (FSourcePages[i]->OriginalComponent.get() == Page) {
                n = int(i);
                break;
            }
    }
    auto *rp = rtl_cast<TkvlReportPage>(FSourcePages[size_t(n)].get());
    if (!rp)
        return;
    const double w = Width / kvlPixelsPerMm, h = Height / kvlPixelsPerMm;
    if (rp->PaperSize() == 256 && rp->PaperWidth() == w && rp->PaperHeight() == h)
        return;
    auto sized = std::find_if(FSizedSources.begin(), FSizedSources.end(), [&](const auto &s) { return s.first == rp; });
    if (sized != FSizedSources.end() && sized->second != e && e && sourcePageNumber(e->Name()) == n) {
        // Earlier pages keep the size they were given: this page takes a source page of its
        // own (its objects are found through the dictionary, not through the source page).
        auto copy = std::make_unique<TkvlReportPage>(nullptr);
        copy->Assign(rp);
        try {
            copy->SetName(rp->Name());
        } catch (const std::exception &) {
        }
        rp = copy.get();
        FSourcePages.push_back(std::move(copy));
        e->SetName(QStringLiteral("page") + QString::number(int(FSourcePages.size()) - 1));
        sized = FSizedSources.end();
    }
    rp->SetSizeAndDimensions(256, w, h);
    rp->UpdateDimensions();
    if (sized == FSizedSources.end())
        FSizedSources.emplace_back(rp, e);
    auto it = std::find_if(FPageCache.begin(), FPageCache.end(), [&](const CacheEntry &c) { return c.Index == index; });
    if (it != FPageCache.end())
        FPageCache.erase(it);
}

bool TkvlPreviewPages::BandExists(TkvlBand *Band)
{
    TkvlXMLItem *page = CurXMLPage();
    if (!page || !Band)
        return false;
    for (int i = 0; i < page->Count(); ++i) {
        TkvlComponent *src = FDictionary.GetObject(page->Items(i)->Name());
        if (!src)
            continue;
        if (src->OriginalComponent.get() == Band)
            return true;
        if ((Band->Is<TkvlPageFooter>() && src->Is<TkvlPageFooter>())
            || (Band->Is<TkvlColumnFooter>() && src->Is<TkvlColumnFooter>()))
            return true;
    }
    return false;
}

// ---- anchors ------------------------------------------------------------------------------

void TkvlPreviewPages::AddAnchor(const QString &Text)
{
    const int top = Engine ? int(std::nearbyint(Engine->CurY)) : 0;
    rootChild(kAnchors)->Add(QStringLiteral("item"))->SetText(
        QStringLiteral("text=\"") + kvlStrToXML(Text) + QStringLiteral("\" page=\"") + QString::number(CurPage)
        + QStringLiteral("\" top=\"") + QString::number(top) + u'"');
}

TkvlXMLItem *TkvlPreviewPages::FindAnchor(const QString &Text)
{
    const int at = FXMLDoc->Root()->Find(kAnchors);
    return at < 0 ? nullptr : kvlanchors::Find(FXMLDoc->Root()->Items(at), Text);
}

int TkvlPreviewPages::GetAnchorPage(const QString &Text)
{
    TkvlXMLItem *a = FindAnchor(Text);
    return a ? a->Prop(QStringLiteral("page")).toInt() + 1 : 1;
}

int TkvlPreviewPages::GetAnchorCurPosition()
{
    const int at = FXMLDoc->Root()->Find(kAnchors);
    return (at < 0 ? 0 : FXMLDoc->Root()->Items(at)->Count()) - 1;
}

void TkvlPreviewPages::ShiftAnchors(int From, int NewTop)
{
    const int at = FXMLDoc->Root()->Find(kAnchors);
    if (at < 0)
        return;
    TkvlXMLItem *anchors = FXMLDoc->Root()->Items(at);
    const int first = std::max(From + 1, 0);
    if (first >= anchors->Count())
        return;
    const int firstTop = anchors->Items(first)->Prop(QStringLiteral("top")).toInt();
    for (int i = first; i < anchors->Count(); ++i) {
        TkvlXMLItem *a = anchors->Items(i);
        a->SetProp(QStringLiteral("page"), QString::number(CurPage));
        a->SetProp(QStringLiteral("top"), QString::number(NewTop + a->Prop(QStringLiteral("top")).toInt() - firstTop));
    }
}

// ---- building pages -----------------------------------------------------------------------

void TkvlPreviewPages::buildChildren(TkvlXMLItem *Item, TkvlComponent *Parent, TkvlXMLSerializer &S, int Depth)
{
    if (Depth > kMaxBuildDepth)
        return;
    for (int i = 0; i < Item->Count(); ++i) {
        TkvlXMLItem *e = Item->Items(i);
        TkvlComponent *src = FDictionary.GetObject(e->Name());
        QString text;
        if (src) {
            const QString srcText = src->BaseName();
            text.reserve(srcText.size() + e->Text().size() + 1);
            text += srcText;
        } else {
            text = e->Name();
        }
        text += u' ';
        text += e->Text();
        TkvlComponent *obj = nullptr;
        try {
            obj = rtl_cast<TkvlComponent>(S.ReadComponentStr(nullptr, text, true));
        } catch (const std::exception &) {
            obj = nullptr;
        }
        if (!obj)
            continue;
        if (obj->Is<TkvlPage>() || obj->Is<TkvlReport>()) {
            delete obj;
            continue;
        }
        if (src) {
            try {
                obj->SetName(src->Name());
            } catch (const std::exception &) {
            }
            obj->AliasName = e->Name();
            obj->OriginalComponent = src;
            if (auto *pv = rtl_cast<TkvlPictureView>(obj); pv && pv->Picture()->Empty())
                FPictureCache.GetPicture(pv);
        }
        obj->SetParent(Parent);
        if (auto *memo = rtl_cast<TkvlCustomMemoView>(obj))
            memo->ApplyPreviewHighlight();
        buildChildren(e, obj, S, Depth + 1);
    }
}

std::shared_ptr<TkvlPage> TkvlPreviewPages::buildPage(int Index)
{
    TkvlXMLItem *e = pagesItem()->Items(Index);
    FXMLDoc->LoadItem(e);
    ++FPagesBuilt;
    TkvlXMLSerializer s;
    std::unique_ptr<TkvlPage> page;
    if (isWholePageName(e->Name())) {
        page.reset(newPageOfClass(rtl::FindClass(e->Name())));
        s.XMLToObj(e->Text(), page.get());
        s.ClearFixups();
    } else {
        const int n = sourcePageNumber(e->Name());
        if (n < 0 || n >= int(FSourcePages.size())) {
            page = std::make_unique<TkvlReportPage>(nullptr);  // reported when it was loaded
            return std::shared_ptr<TkvlPage>(std::move(page));
        }
        TkvlPage *sp = FSourcePages[size_t(n)].get();
        page.reset(newPageOfClass(sp->ClassType()));
        page->Assign(sp);
        try {
            page->SetName(sp->Name());
        } catch (const std::exception &) {
        }
    }
    buildChildren(e, page.get(), s, 0);
    page->AlignChildren();
    return std::shared_ptr<TkvlPage>(std::move(page));
}

std::shared_ptr<TkvlPage> TkvlPreviewPages::GetPageShared(int Index)
{
    if (Index < 0 || Index >= GetCount())
        return nullptr;
    const bool running = Engine && Engine->Running;
    auto it = std::find_if(FPageCache.begin(), FPageCache.end(), [&](const CacheEntry &c) { return c.Index == Index; });
    if (!running && it != FPageCache.end()) {
        std::rotate(FPageCache.begin(), it, it + 1);
        return FPageCache.front().Page;
    }
    std::shared_ptr<TkvlPage> page = buildPage(Index);
    if (it != FPageCache.end())
        FPageCache.erase(it);
    FPageCache.insert(FPageCache.begin(), {Index, page});
    const int limit = Report ? Report->PreviewOptions()->PagesInCache : 50;
    while (FPageCache.size() > 1 && int(FPageCache.size()) > limit) {
        const int old = FPageCache.back().Index;
        FPageCache.pop_back();
        if (useFileCache() && old < GetCount()) {
            TkvlXMLItem *e = pagesItem()->Items(old);
            if (e->Unloadable())
                FXMLDoc->UnloadItem(e);
        }
        FLastObjectOver = nullptr;
    }
    return page;
}

TkvlPage *TkvlPreviewPages::GetPage(int Index) { return GetPageShared(Index).get(); }

void TkvlPreviewPages::ClearPageCache()
{
    if (useFileCache()) {
        TkvlXMLItem *pages = pagesItem();
        for (const CacheEntry &c : FPageCache)
            if (c.Index < pages->Count() && pages->Items(c.Index)->Unloadable())
                FXMLDoc->UnloadItem(pages->Items(c.Index));
    }
    FPageCache.clear();
    FLastObjectOver = nullptr;
}

QPoint TkvlPreviewPages::GetPageSize(int Index)
{
    if (Index < 0 || Index >= GetCount())
        return {};
    const int n = sourcePageNumber(pagesItem()->Items(Index)->Name());
    const TkvlPage *page = nullptr;
    std::shared_ptr<TkvlPage> built;
    if (n >= 0 && n < int(FSourcePages.size())) {
        page = FSourcePages[size_t(n)].get();
    } else {
        built = GetPageShared(Index);
        page = built.get();
    }
    if (!page)
        return {};
    return QPoint(int(std::nearbyint(page->Width())), int(std::nearbyint(page->Height())));
}

// ---- page edits ---------------------------------------------------------------------------

void TkvlPreviewPages::writeWholePage(TkvlXMLItem *Item, TkvlPage *Page)
{
    TkvlXMLSerializer s;
    s.Owner = Page;
    s.WriteRootComponent(Page, true, Item);
}

void TkvlPreviewPages::AddEmptyPage(int Index)
{
    TkvlXMLItem *pages = pagesItem();
    if (pages->Count() == 0)
        return;
    Index = std::clamp(Index, 0, pages->Count());
    const QString name = pages->Items(std::min(Index, pages->Count() - 1))->Name();
    auto *e = new TkvlXMLItem;
    e->SetName(isWholePageName(name) ? kWholePage : name);
    pages->InsertItem(Index, e);
    ClearPageCache();
}

void TkvlPreviewPages::DeletePage(int Index)
{
    TkvlXMLItem *pages = pagesItem();
    if (pages->Count() <= 1 || Index < 0 || Index >= pages->Count())
        return;
    ClearPageCache();
    delete pages->Items(Index);
}

void TkvlPreviewPages::ModifyPage(int Index, TkvlPage *Page)
{
    TkvlXMLItem *pages = pagesItem();
    if (!Page || Index < 0 || Index >= pages->Count())
        return;
    // Page is often one of the cached pages: it must outlive the emptied cache.
    const std::vector<CacheEntry> held = FPageCache;
    ClearPageCache();
    TkvlXMLItem *e = pages->Items(Index);
    FXMLDoc->LoadItem(e);
    e->Clear();
    e->SetUnloadable(false);
    e->SetLoaded(true);
    e->SetText(QString());
    writeWholePage(e, Page);
}

void TkvlPreviewPages::AddFrom(TkvlReport *AReport)
{
    auto *other = AReport ? dynamic_cast<TkvlPreviewPages *>(AReport->PreviewPages()) : nullptr;
    if (!other || other == this)
        return;
    const int base = GetCount();
    TkvlXMLItem *pages = pagesItem();
    for (int i = 0; i < other->GetCount(); ++i) {
        std::shared_ptr<TkvlPage> p = other->GetPageShared(i);
        if (p)
            writeWholePage(pages->Add(), p.get());
    }
    const int at = other->FXMLDoc->Root()->Find(kAnchors);
    if (at >= 0) {
        TkvlXMLItem *src = other->FXMLDoc->Root()->Items(at);
        TkvlXMLItem *dst = rootChild(kAnchors);
        for (int i = 0; i < src->Count(); ++i) {
            TkvlXMLItem *a = dst->Add(QStringLiteral("item"));
            a->SetText(src->Items(i)->Text());
            a->SetProp(QStringLiteral("page"), QString::number(src->Items(i)->Prop(QStringLiteral("page")).toInt() + base));
        }
    }
    Outline->LevelRoot();
    other->Outline->LevelRoot();
    std::function<void(TkvlXMLItem *, TkvlXMLItem *)> copy = [&](TkvlXMLItem *from, TkvlXMLItem *to) {
        for (int i = 0; i < from->Count(); ++i) {
            TkvlXMLItem *s = from->Items(i);
            TkvlXMLItem *d = to->Add(QStringLiteral("item"));
            d->SetText(s->Text());
            d->SetProp(QStringLiteral("page"), QString::number(s->Prop(QStringLiteral("page")).toInt() + base));
            copy(s, d);
        }
    };
    copy(static_cast<TkvlOutline *>(other->Outline.get())->Root(), static_cast<TkvlOutline *>(Outline.get())->Root());
    if (other->GetCount() > 0) {
        const int saved = other->CurPage;
        other->CurPage = other->GetCount() - 1;
        FLastY = other->GetLastY(0);
        other->CurPage = saved;
    }
    ClearPageCache();
}

// ---- drawing ------------------------------------------------------------------------------

void TkvlPreviewPages::DrawPage(int Index, TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                                double OffsetY)
{
    if (!Canvas)
        return;
    std::shared_ptr<TkvlPage> held = GetPageShared(Index);
    if (!held)
        return;
    auto *page = rtl_cast<TkvlReportPage>(held.get());
    if (!page)
        return;
    const bool printer = Canvas->isPrinter();
    const bool metafile = dynamic_cast<gfx::RecordingCanvas *>(Canvas) != nullptr;
    const bool mirror = page->MirrorMargins && Index % 2 == 1;
    if (mirror)
        std::swap(page->LeftMargin, page->RightMargin);
    if (!printer) {
        Canvas->saveClip();
        const int l = int(std::nearbyint(OffsetX)), t = int(std::nearbyint(OffsetY));
        const int r = int(std::nearbyint(page->PaperWidth() * kvlPixelsPerMm * ScaleX + OffsetX)) - 1;
        const int b = int(std::nearbyint(page->PaperHeight() * kvlPixelsPerMm * ScaleY + OffsetY)) - 1;
        Canvas->intersectClipRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
    }
    page->IsPrinting = printer;
    page->Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    page->IsPrinting = false;
    const double ox = OffsetX + page->LeftMargin * kvlPixelsPerMm * ScaleX;
    const double oy = OffsetY + page->TopMargin * kvlPixelsPerMm * ScaleY;
    const TkvlVisibilityTypes need = kvlBit(printer ? vsPrint : vsPreview);
    const int total = GetCount();
    for (TkvlComponent *c : page->GetAllObjects()) {
        auto *v = rtl_cast<TkvlView>(c);
        if (!v || !(v->Visibility & need))
            continue;
        if (!metafile) {
            const double x = v->GetAbsLeft() * ScaleX + ox, y = v->GetAbsTop() * ScaleY + oy;
            const QRect r(QPoint(int(std::nearbyint(x)) - 20, int(std::nearbyint(y)) - 20),
                          QPoint(int(std::nearbyint(x + v->Width() * ScaleX)) + 20,
                                 int(std::nearbyint(y + v->Height() * ScaleY)) + 20));
            if (!Canvas->rectVisible(r))
                continue;
        }
        if (auto *memo = rtl_cast<TkvlCustomMemoView>(v)) {
            memo->TotalPages = total;
            memo->CopyNo = FCopyNo;
            memo->PrintScale = FPrintScale;
        }
        v->IsPrinting = printer;
        v->Draw(Canvas, ScaleX, ScaleY, ox, oy);
        v->IsPrinting = false;
    }
    if (mirror)
        std::swap(page->LeftMargin, page->RightMargin);
    if (!printer)
        Canvas->restoreClip();
}

bool TkvlPreviewPages::Print() { return gPrintRoutine ? gPrintRoutine(this) : false; }

bool TkvlPreviewPages::Export(TkvlCustomExportFilter *Filter)
{
    return gExportRoutine ? gExportRoutine(this, Filter) : kvlExportPreparedPages(*this, Filter);
}
