#pragma once
// The band engine: turns a report's template pages and record sources into prepared pages in
// the report's prepared-pages store, in one or two passes.
#include "engine/run/kvlengineaggregates.h"
#include "engine/run/kvlpendingevents.h"
#include "report/seams/kvlengine.h"

#include <QString>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class TStringList;
class TkvlDataBand;
class TkvlDataSet;
class TkvlGroupHeader;
class TkvlNullBand;
class TkvlReportPage;
class TkvlCustomOutline;
class TkvlReportComponent;
class TkvlXMLItem;
class TkvlSubreport;

// Bands reprinted at the top of every new page and column.
class TkvlHeaderList {
public:
    struct Item {
        TkvlBand *Band = nullptr;  // nullptr: spent (a title after printing) or no such band
        double Left = 0;           // X at which the band is reprinted
        bool IsInKeepList = false; // added while a keep-together block was open
    };

    void Clear() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }
    Item &Items(int Index) { return FItems[size_t(Index)]; }
    void AddItem(TkvlBand *Band, double Left, bool InKeepList) { FItems.push_back({Band, Left, InKeepList}); }
    // Removes the first entry of Band; nothing when absent.
    void RemoveItem(TkvlBand *Band);

private:
    std::vector<Item> FItems;
};

class TkvlEngine : public TkvlCustomEngine {
    LIRRA_CLASS(TkvlEngine, TkvlCustomEngine)
public:
    explicit TkvlEngine(TkvlReport *AReport);
    ~TkvlEngine() override;

    double GetPageHeight() override;
    void EndPage() override;
    void BreakAllKeep() override;
    void NewColumn() override;
    void NewPage() override;
    void ShowBand(TkvlBand *Band) override;
    void ShowBand(const rtl::ClassInfo *BandClass) override;
    double HeaderHeight() override;
    double FooterHeight() override;
    double FreeSpace() override;
    Variant GetAggregateValue(const QString &Name, const QString &Expression, TkvlBand *Band, int Flags) override;
    // False at once while a run is going on (a handler cannot start another pass).
    bool Run(bool RunDialogs, bool ClearLast = false, TkvlPage *Page = nullptr) override;

    // The totals the run feeds; a list that answers nothing until one is attached.
    TkvlEngineAggregates &Aggregates() { return *FAggregates; }
    void SetAggregates(std::unique_ptr<TkvlEngineAggregates> Value);

    // Builds the band tree of the current page (horizontal or vertical bands); structure
    // problems go to Errors. Public for the report's single-page preparation and for tests.
    void PreparePage(TStringList &Errors, bool Vertical);
    void SetCurrentPage(TkvlReportPage *Page) { FPage = Page; }

private:
    // The page's bands of fixed kinds, found once per printed page.
    struct PageBands {
        TkvlBand *Title = nullptr, *Summary = nullptr, *PageHeader = nullptr, *PageFooter = nullptr;
        TkvlBand *ColumnHeader = nullptr, *ColumnFooter = nullptr, *Overlay = nullptr;
    };

    // ---- run ----
    bool Initialize();
    void Finalize();
    bool RunDialogs();
    void RunReportPages(TkvlPage *APage);
    void DoPages(TkvlPage *APage);
    void RunPage(TkvlReportPage *Page);
    void ShowPage();
    void ShowNullBand();
    void UpdateEndlessPage(double Width, double Height);
    void NotifyObjects(TkvlBand *Band);
    void CheckClashes(TStringList &Errors);
    bool Terminated() const;

    // ---- band tree and walk ----
    bool CanShow(TkvlComponent *Obj, bool PrintIfDetailEmpty);
    void ShowBandTree(TkvlComponent *Obj);
    void ShowDataBand(TkvlDataBand *B);
    void InitGroups(TkvlDataBand *B, TkvlGroupHeader *G, bool First, int From);
    void CheckGroups(TkvlDataBand *B, TkvlGroupHeader *G, double ColumnStartY, int ColumnStartPos);
    void ShowGroupFooters(TkvlGroupHeader *G, int From, TkvlDataBand *B);
    void CheckDrill(TkvlDataBand *B, TkvlGroupHeader *G);
    void CheckBandColumns(TkvlDataBand *B, int StartPos, double KeepY, double RowStartY, int &KeepPos);
    void ResetSuppressValues(TkvlBand *Band);
    void AddToHeaderList(TkvlBand *Band);
    void RemoveFromHeaderList(TkvlBand *Band);

    // ---- output ----
    void InitPage();
    void AddPage();
    void AddColumn();
    void EndColumn();
    // X of a page column (1-based) from the page's column positions.
    double ColumnOffset(int Column) const;
    void DoShow(TkvlBand *Band);
    // Stretch, place at (X, CurY), add, CurY grows: no fit test. Used for page-edge bands.
    void PlaceBand(TkvlBand *Band, double X, bool OnlyIfAbsent);
    void Stretch(TkvlBand *Band);
    void UnStretch(TkvlBand *Band);
    // Links every object of Band to the objects below it that move when it grows.
    void PrepareShiftTree(TkvlBand *Band);
    // Moves the objects of Band below the ones that grew in the last stretch.
    void ShiftObjects(TkvlReportComponent *Parent, double Amount, bool UnderRoot);
    double &GrowthOf(TkvlComponent *Obj);
    // Prints Band in pieces over as many columns and pages as it needs.
    void DrawSplit(TkvlBand *Band);
    // Repeated values forgotten and the band stretched again before it moves to a new column.
    void CheckSuppress(TkvlBand *Band);
    // The place after the last break's reprinted headers: nothing printed there since.
    void MarkFreshSpace();
    bool SpaceIsEmpty() const;
    // After headers are printed: ends the run with one error when they leave no room.
    void CheckRoomLeft();
    // The open keep block given up where it stands.
    void AbandonKeep();
    // The kept block began right below the headers of this page or column.
    bool KeepStartsAtTop() const;
    // The kept block leaves this page or column and comes back below the next one's headers.
    void CutKeepBlock();
    void PasteKeepBlock(double X);

    // ---- subreports ----
    // Runs the band tree of a subreport's page; a page already running gets one error instead.
    void RunSubreportPage(TkvlSubreport *Sub);
    // Subreports printed on the parent: their output becomes objects of Band.
    void PrintSubreportsOnParent(TkvlBand *Band);
    // Independent subreports of Band, each from its place; output goes on below the longest.
    void CheckSubReports(TkvlBand *Band);
    // A copy of Band and its objects in the band collecting subreport output.
    void CollectBand(TkvlBand *Band);

    // ---- vertical bands ----
    // The objects of horizontal bands lying inside a vertical band become its objects for the run.
    void MoveIntoVBands();
    void RestoreVBandObjects();
    // Makes the cells of Band by walking the vertical band tree.
    void ShowVBands(TkvlBand *Band);
    void ShowVBandTree(const std::vector<rtl::ComponentRef<TkvlBand>> &Bands);
    void AddVBand(TkvlBand *Band);
    // Places Band once on every page across, each time with that page's cells.
    void RenderVBand(TkvlBand *Band, double SavedX);
    void StartKeep(TkvlBand *Band, int Position = 0);
    void EndKeep(TkvlBand *Band);
    void AddBandOutline(TkvlBand *Band);
    void AddPageOutline();
    void OutlineRoot();
    void OutlineUp(TkvlBand *Band);
    void DoBeforePrint(TkvlComponent *Obj);
    void DoAfterPrint(TkvlComponent *Obj);
    TkvlCustomOutline *Outline() const;

    std::unique_ptr<TkvlEngineAggregates> FAggregates;
    TkvlHeaderList FHeaderList;
    TkvlPendingEvents FPendingEvents;
    // Path of (data band name, LineThrough) of the rows being shown, for drill-down names.
    std::vector<std::pair<QString, int>> FHBandNamesTree;
    QString FDrillBuffer;  // keeps its room from row to row

    TkvlReportPage *FPage = nullptr;
    PageBands FBands;
    TkvlBand *FCurBand = nullptr;
    TkvlBand *FLastBandOnPage = nullptr;
    TkvlBand *FStartNewPageBand = nullptr;
    TkvlBand *FKeepBand = nullptr;
    TkvlNullBand *FOutputTo = nullptr;
    bool FCallFromAddPage = false, FCallFromEndPage = false, FCallFromPHeader = false;
    bool FDontShowHeaders = false;
    bool FFirstReportPage = false;
    bool FIsFirstBand = false, FIsFirstPage = false, FIsLastPage = false, FTitlePrinted = false;
    bool FKeeping = false, FKeepHeader = false, FKeepFooter = false;
    double FFirstColumnY = 0;
    double FKeepCurY = 0;
    int FKeepPosition = 0, FKeepAnchor = 0;
    double FPrevFooterHeight = 0;
    double FPageCurX = 0;
    TkvlXMLItem *FKeepOutline = nullptr;
    int FKeepPage = 0, FKeepColumn = 0;
    // Growth of the objects in the band being stretched; moving them enters every object below
    // one that grew, so a band of many objects enters many.
    std::unordered_map<TkvlComponent *, double> FGrowth;
    // Where the space of the current page or column starts, below its reprinted headers.
    int FFreshPage = -1, FFreshColumn = 0;
    double FFreshY = 0;
    bool FNoRoomReported = false;
    // Vertical bands: the band whose cells are made, the vertical headers reprinted on pages
    // across, and where each page's cells begin among the band's objects (then their count).
    TkvlBand *FVMasterBand = nullptr;
    std::vector<TkvlBand *> FVHeaderList;
    std::vector<int> FVPageList;
    // Pages across: while a band's cells are written over them their column is not ended;
    // the column footer goes on each of them when the page ends.
    bool FInPagesAcross = false;
    int FPagesAcross = 1;
    struct MovedObject {
        rtl::ComponentRef<TkvlComponent> Obj, Band;
        int Index;
        double Left;
    };
    std::vector<MovedObject> FMovedToVBands;
    // Pages whose band tree is running, the outermost first.
    std::vector<TkvlReportPage *> FRunningPages;
    std::vector<TkvlSubreport *> FRecursiveSubs;  // already named in an error
    bool FRunFailed = false;
};

// Start-up: reports make a TkvlEngine as their engine.
void kvlRegisterBandEngine();
