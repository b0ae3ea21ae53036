#pragma once
// The prepared-pages store and its outline as the report sees them; the store itself lives
// with the preview and printing code.
#include "platform/rtl/reflect/persistent.h"
#include "report/seams/kvlseamtypes.h"

#include <QPoint>
#include <QString>
#include <memory>

class TCanvas;
class TStream;
class TkvlXMLItem;
class TkvlReport;
class TkvlPage;
class TkvlBand;
class TkvlView;
class TkvlComponent;
class TkvlCustomEngine;
class TkvlCustomExportFilter;
class TkvlCustomPreviewPages;

class TkvlCustomOutline : public TPersistent {
    LIRRA_CLASS(TkvlCustomOutline, TPersistent)
public:
    explicit TkvlCustomOutline(TkvlCustomPreviewPages *APreviewPages) : PreviewPages(APreviewPages) {}

    TkvlXMLItem *CurItem = nullptr;  // the element whose children form the current level
    TkvlCustomPreviewPages *PreviewPages;
    // The engine of the prepared pages.
    TkvlCustomEngine *Engine() const;

    virtual int GetCount() = 0;
    virtual void AddItem(const QString &Text, int Top) = 0;
    virtual void LevelDown(int Index) = 0;
    virtual void LevelRoot() = 0;
    virtual void LevelUp() = 0;
    virtual void GetItem(int Index, QString &Text, int &Page, int &Top) = 0;
    virtual void ShiftItems(TkvlXMLItem *From, int NewTop) = 0;
    virtual TkvlXMLItem *GetCurPosition() = 0;
};

class TkvlCustomPreviewPages {
public:
    // The report gives the store its outline right after creating it.
    explicit TkvlCustomPreviewPages(TkvlReport *AReport) : Report(AReport) {}
    virtual ~TkvlCustomPreviewPages();
    TkvlCustomPreviewPages(const TkvlCustomPreviewPages &) = delete;
    TkvlCustomPreviewPages &operator=(const TkvlCustomPreviewPages &) = delete;

    TkvlAddPageAction AddPageAction = apAdd;
    int CurPage = 0;
    int CurPreviewPage = 0;
    int FirstPage = 0;
    std::unique_ptr<TkvlCustomOutline> Outline;  // owned
    TkvlReport *Report;
    TkvlCustomEngine *Engine = nullptr;

    virtual int GetCount() = 0;
    virtual TkvlPage *GetPage(int Index) = 0;
    virtual QPoint GetPageSize(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Initialize() = 0;
    virtual void AddObject(TkvlComponent *Obj) = 0;
    virtual void AddPage(TkvlPage *Page) = 0;
    virtual void AddSourcePage(TkvlPage *Page) = 0;
    virtual void AddToSourcePage(TkvlComponent *Obj) = 0;
    virtual void BeginPass() = 0;
    virtual void ClearFirstPassPages() = 0;
    virtual void CutObjects(int Position) = 0;
    virtual void Finish() = 0;
    virtual void IncLogicalPageNumber() = 0;
    virtual void ResetLogicalPageNumber() = 0;
    virtual void PasteObjects(double X, double Y) = 0;
    // Anchors after index From move to the page being filled, the first of them to NewTop.
    virtual void ShiftAnchors(int From, int NewTop) = 0;
    virtual void AddPicture(TkvlView *Picture) = 0;
    virtual bool BandExists(TkvlBand *Band) = 0;
    virtual int GetCurPosition() = 0;
    virtual int GetAnchorCurPosition() = 0;
    // The anchor named Text (its "page" and "top"), nullptr when the pages have none.
    virtual TkvlXMLItem *FindAnchor(const QString &Text) { (void)Text; return nullptr; }
    virtual double GetLastY(double ColumnPosition) = 0;
    // The last column used on the current page and its X (unchanged when not recorded).
    virtual void GetLastColumnPos(int &Column, double &ColumnPos)
    {
        (void)Column;
        (void)ColumnPos;
    }
    virtual void UpdatePageLastColumn(int Column, bool Reset, double ColumnPos)
    {
        (void)Column;
        (void)Reset;
        (void)ColumnPos;
    }
    // The current page's size in pixels (endless pages).
    virtual void UpdatePageDimensions(TkvlPage *Page, double Width, double Height)
    {
        (void)Page;
        (void)Width;
        (void)Height;
    }
    virtual int GetLogicalPageNo() = 0;
    virtual int GetLogicalTotalPages() = 0;
    virtual void AddEmptyPage(int Index) = 0;
    virtual void DeletePage(int Index) = 0;
    virtual void ModifyPage(int Index, TkvlPage *Page) = 0;
    virtual void DrawPage(int Index, TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) = 0;
    virtual void ObjectOver(int Index, int X, int Y, TMouseButton Button, TShiftState Shift, double Scale,
                            double OffsetX, double OffsetY, int &Cursor, TkvlMouseIntEvents MouseEvent) = 0;
    virtual void AddFrom(TkvlReport *AReport) = 0;
    virtual void LoadFromStream(TStream &Stream, bool AllowPartialLoading = false) = 0;
    virtual void SaveToStream(TStream &Stream) = 0;
    virtual bool LoadFromFile(const QString &FileName, bool ExceptionIfNotFound = false) = 0;
    virtual void SaveToFile(const QString &FileName) = 0;
    // Print and Export do the whole job and answer success.
    virtual bool Print() = 0;
    virtual bool Export(TkvlCustomExportFilter *Filter) = 0;
};
