#pragma once
// The prepared-pages store: every prepared page is an element of one XML document in which
// each printed object is written only as its difference from a copy of its template object
// (its source object). Pages are built back into real objects on demand and kept in a small
// cache; old page elements are swapped to a temporary file when memory grows; the whole
// document is the prepared-report file (".kp3").
#include "engine/store/kvloutline.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/picturecache.h"

#include "platform/rtl/reflect/component.h"

#include <QString>
#include <memory>
#include <vector>

class TkvlPageBlockPool;
class TkvlXMLArena;
class TkvlXMLDocument;
class TkvlXMLSerializer;

class TkvlPreviewPages : public TkvlCustomPreviewPages {
public:
    explicit TkvlPreviewPages(TkvlReport *AReport);
    ~TkvlPreviewPages() override;

    int GetCount() override;
    // The built page; it stays valid while it is in the cache (GetPageShared keeps it longer).
    TkvlPage *GetPage(int Index) override;
    QPoint GetPageSize(int Index) override;
    void Clear() override;
    void Initialize() override;
    void AddObject(TkvlComponent *Obj) override;
    void AddPage(TkvlPage *Page) override;
    void AddSourcePage(TkvlPage *Page) override;
    void AddToSourcePage(TkvlComponent *Obj) override;
    void BeginPass() override;
    void ClearFirstPassPages() override;
    void CutObjects(int Position) override;
    void Finish() override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    void PasteObjects(double X, double Y) override;
    void ShiftAnchors(int From, int NewTop) override;
    void AddPicture(TkvlView *Picture) override;
    bool BandExists(TkvlBand *Band) override;
    int GetCurPosition() override;
    int GetAnchorCurPosition() override;
    double GetLastY(double ColumnPosition) override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void AddEmptyPage(int Index) override;
    void DeletePage(int Index) override;
    void ModifyPage(int Index, TkvlPage *Page) override;
    void DrawPage(int Index, TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    void ObjectOver(int Index, int X, int Y, TMouseButton Button, TShiftState Shift, double Scale, double OffsetX,
                    double OffsetY, int &Cursor, TkvlMouseIntEvents MouseEvent) override;
    void AddFrom(TkvlReport *AReport) override;
    // A damaged file raises (malformed XML) or is reported under "clErrors"; either way the
    // store keeps nothing of it that it cannot show.
    void LoadFromStream(TStream &Stream, bool AllowPartialLoading = false) override;
    void SaveToStream(TStream &Stream) override;
    bool LoadFromFile(const QString &FileName, bool ExceptionIfNotFound = false) override;
    // Writes FileName + ".tmp" and renames it over FileName.
    void SaveToFile(const QString &FileName) override;
    // The routine registered with kvlSetPrintRoutine; False without one.
    bool Print() override;
    // The registered export routine, else the export driver (exportdriver.h).
    bool Export(TkvlCustomExportFilter *Filter) override;

    // A built page shared with the cache: leaving the cache does not free it while held.
    std::shared_ptr<TkvlPage> GetPageShared(int Index);

    // ---- anchors ----
    void AddAnchor(const QString &Text);
    TkvlXMLItem *FindAnchor(const QString &Text) override;
    // 1-based page of the latest anchor of that text; 1 when none.
    int GetAnchorPage(const QString &Text);

    // ---- columns, dimensions ----
    void GetLastColumnPos(int &Column, double &ColumnPos) override;
    void UpdatePageLastColumn(int Column, bool Reset, double ColumnPos) override;
    // The current page's source page takes the size (pixels); a source page already sized for
    // an earlier page is copied first, so each endless page keeps its own size.
    void UpdatePageDimensions(TkvlPage *Page, double Width, double Height) override;

    // The source object of an alias.
    TkvlComponent *GetObject(const QString &Alias) const { return FDictionary.GetObject(Alias); }
    // The element of CurPage (loaded), nullptr when there is none.
    TkvlXMLItem *CurXMLPage();
    void ClearPageCache();
    void ClearSourcePages();

    TkvlXMLDocument &XMLDoc() { return *FXMLDoc; }
    TkvlDictionary &Dictionary() { return FDictionary; }
    TkvlPictureCache &PictureCache() { return FPictureCache; }
    int SourcePageCount() const { return int(FSourcePages.size()); }
    TkvlPage *SourcePage(int Index) const { return FSourcePages[size_t(Index)].get(); }
    // Pages built since creation (cache misses); for measuring the cache.
    int PagesBuilt() const { return FPagesBuilt; }
    // Page elements whose objects are in memory.
    int LoadedPageCount();
    // The memory the page elements take once they outgrow the heap; for measuring.
    const TkvlPageBlockPool &BlockPool() const { return *FBlockPool; }

    // The pages came from a prepared-report file, not from preparing the report: nothing may
    // replace them with a preparation until the report is prepared again.
    bool LoadedFromFile() const { return FLoadedFromFile; }

    int FCopyNo = 0;
    double FPrintScale = 1;

private:
    friend class TkvlOutline;
    struct CacheEntry {
        int Index;
        std::shared_ptr<TkvlPage> Page;
    };

    TkvlXMLItem *pagesItem();
    TkvlXMLItem *rootChild(const QString &Name);
    bool useFileCache() const;
    bool writesLogicalNumbers() const;
    bool nonFinalPass() const;
    void unloadOldPages();
    void writeObject(TkvlXMLItem *Parent, TkvlComponent *Obj, bool Whole);
    // Where the elements written for the pages live: one arena serves pages until it holds
    // about a megabyte or pages are about to be swapped out, and its memory goes with the last
    // of its pages swapped out or cleared. The first arena of a preparation takes its blocks
    // from the heap, so a small report stays small; the later ones, and any once the store has
    // memory of earlier pages to give again, from the store's block pool.
    TkvlXMLArena &pageArena();
    // What the pool keeps when the pages are cleared: what the next preparation will want
    // again, at most.
    size_t poolKeepBytes() const;
    void releasePageArena();
    bool swapDue() const;
    void addSourceObjects(TkvlComponent *Template, TkvlComponent *Parent, int PageIndex, TkvlXMLSerializer &S);
    void setSourceText(TkvlComponent *Source, TkvlXMLSerializer &S);
    std::shared_ptr<TkvlPage> buildPage(int Index);
    void buildChildren(TkvlXMLItem *Item, TkvlComponent *Parent, TkvlXMLSerializer &S, int Depth);
    void writeWholePage(TkvlXMLItem *Item, TkvlPage *Page);
    void beforeSave();
    void afterLoad(QStringList &Errors);
    void loadDocument(TStream &Stream, bool AllowPartialLoading);
    void reportErrors(const QStringList &Errors);
    double attrFloat(TkvlXMLItem *Item, const QString &Name, double Default) const;
    void ensureBaseElements();

    std::unique_ptr<TkvlXMLDocument> FXMLDoc;
    std::shared_ptr<TkvlPageBlockPool> FBlockPool;
    TkvlXMLArena *FPageArena = nullptr;
    int64_t FPageArenaBytes = 0;  // written into it, counted as FXMLSize counts
    bool FPageArenaPooled = false;
    int FPageArenasMade = 0;  // since the pages were last cleared
    std::vector<std::unique_ptr<TkvlPage>> FSourcePages;
    // Source pages an endless page has sized, with that page's element.
    std::vector<std::pair<const TkvlPage *, const TkvlXMLItem *>> FSizedSources;
    TkvlDictionary FDictionary;
    TkvlPictureCache FPictureCache;
    std::vector<CacheEntry> FPageCache;  // most recently used first
    int64_t FXMLSize = 0;
    int FFirstPageIndex = -1, FFirstObjectIndex = 0, FFirstOutlineIndex = 0;
    int FLogicalPageN = 0;
    double FLastY = 0;
    int FPagesBuilt = 0;
    rtl::ComponentRef<TkvlComponent> FLastObjectOver;
    bool FLoadedFromFile = false;
};

// The printing code registers how a store is printed; the store never links printing.
using TkvlPrintRoutine = bool (*)(TkvlPreviewPages *Pages);
using TkvlExportRoutine = bool (*)(TkvlPreviewPages *Pages, TkvlCustomExportFilter *Filter);
void kvlSetPrintRoutine(TkvlPrintRoutine Routine);
void kvlSetExportRoutine(TkvlExportRoutine Routine);

// Start-up: reports make their prepared pages with this store.
void kvlRegisterPreviewPagesStore();
