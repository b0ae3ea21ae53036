#pragma once
// The export grid: the views of prepared pages, which lie anywhere on a page at fractional
// positions, become grid objects with shared cell styles, and then a grid of rows and columns
// in which every cell belongs to at most one object. The tabular filters (CSV, spreadsheet,
// word processor) feed it every exported view of a page, call Prepare and walk the cells.
#include "platform/gfx/tfont.h"
#include "platform/rtl/color.h"
#include "report/appearance/frame.h"
#include "report/core/kvlcomponent.h"
#include "report/printers/kvlprinters.h"
#include "report/text/kvldrawtext.h"
#include "report/views/kvlhighlight.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <unordered_map>
#include <vector>

class TBitmap;
class TMetafile;
class TkvlView;
class TkvlPictureCache;
class TkvlIEMatrix;

// One cell style; objects refer to it by its index in the grid's style list.
class TkvlIEMStyle {
public:
    TkvlIEMStyle();
    ~TkvlIEMStyle();
    TkvlIEMStyle(const TkvlIEMStyle &) = delete;
    TkvlIEMStyle &operator=(const TkvlIEMStyle &) = delete;

    void Assign(const TkvlIEMStyle &Source);
    void SetDisplayFormat(const TkvlFormat &Value);
    // The sharing rule: font charset, pitch and the thousands separator do not count.
    bool SameAs(const TkvlIEMStyle &Other) const;
    // Equal for styles that are the same by SameAs.
    size_t Hash() const;

    TFont Font;
    TColor Color = clNone;
    TBrushStyle BrushStyle = bsSolid;
    TkvlHAlign HAlign = haLeft;
    TkvlVAlign VAlign = vaTop;
    int Rotation = 0;
    bool WordWrap = false, WordBreak = false;
    TkvlFrameTyp FrameTyp = 0;
    TkvlFrameLine LeftLine, TopLine, RightLine, BottomLine;
    double GapX = 0, GapY = 0, ParagraphGap = 0, CharSpacing = 0, LineSpacing = 0;
    int Charset = 0;
    TkvlFormat DisplayFormat{nullptr};
};

// One grid object: text (one entry per line) or a picture kept in the grid's picture store.
class TkvlIEMObject {
public:
    explicit TkvlIEMObject(TkvlPictureCache *Store);
    ~TkvlIEMObject();
    TkvlIEMObject(const TkvlIEMObject &) = delete;
    TkvlIEMObject &operator=(const TkvlIEMObject &) = delete;

    QStringList Memo;
    int StyleIndex = -1;
    TkvlIEMStyle *Style = nullptr;  // not owned
    bool IsText = true;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    int Counter = 0;  // free for the filters: 1 once written
    bool HTMLTags = false;
    double LineSpacing = 0;

    // The bitmap, loaded from the store when the stored picture is one (empty on failure).
    TBitmap *GetImage();
    // The recorded picture (kept in memory: the store takes raster pictures only).
    TMetafile *GetMetafile();
    // Puts a loaded bitmap into the store (once, when it has a size) and frees it.
    void UnloadImage();
    bool IsMetaFile() const { return FIsMetaFile; }
    int ImageIndex() const { return FImageIndex; }

private:
    friend class TkvlIEMatrix;
    TkvlPictureCache *FStore;
    std::unique_ptr<TBitmap> FImage;
    std::unique_ptr<TMetafile> FMetafile;
    bool FIsMetaFile = true;
    int FImageIndex = -1;
};

// Placement of one object: its top-left cell and its size in cells.
struct TkvlIEMObjectList {
    TkvlIEMObject *Obj = nullptr;  // owned by the grid
    int x = 0, y = 0, dx = 1, dy = 1;
    bool Exist = false;  // the object's cells were checked and form its whole rectangle
};

struct TkvlIEMPage {
    double Value = 0;  // grid row position at which the page ends
    TPrinterOrientation Orientation{};
    double Width = 0, Height = 0;
    double LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;  // millimetres
    bool MirrorMargin = false;
};

class TkvlIEMatrix {
public:
    TkvlIEMatrix(bool UseFileCache, const QString &TempDir);
    ~TkvlIEMatrix();
    TkvlIEMatrix(const TkvlIEMatrix &) = delete;
    TkvlIEMatrix &operator=(const TkvlIEMatrix &) = delete;

    // ---- options ----
    double Inaccuracy = 0;
    double MaxCellWidth = 0, MaxCellHeight = 0;
    bool Images = true;
    bool EMFPictures = false;
    bool WrapText = false;
    bool DeleteHTMLTags = false;
    bool BrushAsBitmap = true;
    bool EmptyLines = true;
    bool FramesOptimization = false;
    bool DotMatrix = false;
    bool Background = false;
    bool BackgroundImage = false;
    bool Printable = true;

    // ---- building ----
    void AddObject(TkvlView *Obj);
    void AddPage(TPrinterOrientation Orientation, double Width, double Height, double LeftMargin,
                 double TopMargin, double RightMargin, double BottomMargin, bool MirrorMargins, int Index);
    // Lays the objects added since the last Clear into cells; once per Clear.
    void Prepare();
    void Clear();

    // ---- sizes ----
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    double MaxWidth() const { return FMaxWidth; }
    double MaxHeight() const { return FMaxHeight; }
    int PagesCount() const { return int(FPages.size()); }
    int StylesCount() const { return int(FStyles.size()); }
    int ObjectsCount() const { return int(FObjects.size()); }

    // ---- cells and objects (after Prepare) ----
    int GetCell(int x, int y) const;
    // Release the picture of the object they returned last: one picture in memory at a time.
    TkvlIEMObject *GetObject(int x, int y);
    TkvlIEMObject *GetObjectById(int ObjIndex);
    void GetObjectPos(int ObjIndex, int &x, int &y, int &dx, int &dy) const;
    const TkvlIEMObjectList *GetRecord(int ObjIndex) const;
    TkvlIEMStyle *GetStyle(int x, int y) const;
    TkvlIEMStyle *GetStyleById(int Index) const;
    double GetXPosById(int Index) const;
    double GetYPosById(int Index) const;
    int XPosCount() const { return int(FXPos.size()); }
    int YPosCount() const { return int(FYPos.size()); }
    TkvlRect GetObjectBounds(const TkvlIEMObject *Obj) const;

    // ---- pages (0 / false / nullptr at or past the count) ----
    double GetPageBreak(int Page) const;
    double GetPageWidth(int Page) const;
    double GetPageHeight(int Page) const;
    double GetPageLMargin(int Page) const;
    double GetPageTMargin(int Page) const;
    double GetPageRMargin(int Page) const;
    double GetPageBMargin(int Page) const;
    TPrinterOrientation GetPageOrientation(int Page) const;
    bool GetPageMirrorMargin(int Page) const;
    const TkvlIEMPage *GetIEPages(int Index) const;

    // Character set of a font as the system reports it (cached by name; 0 when unknown).
    int GetFontCharset(const TFont &Font);
    // The index of a style equal to Style, or of a copy of it kept when it is new.
    int AddStyleCopy(const TkvlIEMStyle &Style);

private:
    struct Impl;
    void AddPos(std::vector<double> &List, double Value);
    int AddStyle(TkvlView *Obj);
    int FindStyle(const TkvlIEMStyle &Style, size_t Hash) const;  // -1 when no style is the same
    int KeepStyle(std::unique_ptr<TkvlIEMStyle> Style, size_t Hash);
    // A style to build a looked-up one in (never kept itself).
    TkvlIEMStyle &ScratchStyle();
    TkvlIEMObject *NewObject();                       // owned by the grid until Clear
    void AddShadowed(TkvlView *Obj);
    void AddRectangle(TkvlView *Obj);
    void RenderPicture(TkvlView *Obj, TkvlIEMObject &O);
    void OrderPosArray(std::vector<double> &List, double MaxCell);
    void OrderByCells();
    void Render();
    void SetCell(int x, int y, int Value);
    void FillArea(int x, int y, int dx, int dy, int Value);
    void DeleteMatrixLine(int Index);
    void Analyse();
    void FindRectArea(int x, int y, int &w, int &h) const;
    void CutObject(int k, int x, int y, int w, int h);
    void ReplaceArea(int k, int x, int y, int w, int h, int NewIndex);
    void CloneFrames(int k, int n);
    void OptimizeFrames();
    void RestyleObject(TkvlIEMObject &O, const TkvlIEMStyle &From, TkvlFrameTyp Frame);

    struct ObjectBlock;
    std::vector<TkvlIEMObjectList> FObjects;
    std::vector<std::unique_ptr<ObjectBlock>> FObjectBlocks;
    std::vector<std::unique_ptr<TkvlIEMStyle>> FStyles;
    std::unordered_multimap<size_t, int> FStyleIndex;   // style hash to index in FStyles
    std::unique_ptr<TkvlIEMStyle> FBlankStyle, FScratchStyle;  // AddStyle's work space
    std::vector<double> FXPos, FYPos;
    std::vector<TkvlIEMPage> FPages;
    std::vector<int> FMatrix;
    std::vector<std::pair<QString, int>> FFontList;
    std::unique_ptr<TkvlPictureCache> FPictureCache;
    TkvlIEMObject *FPrevObject = nullptr;
    double FDeltaY = 0;
    int FWidth = 0, FHeight = 0;
    double FMaxWidth = 0, FMaxHeight = 0;
};
