#pragma once
// Report pages: printable sheets with paper, orientation, margins (millimetres), columns,
// bins and duplex, whose bands and objects are laid out in screen pixels; and the data
// page that holds a report's record sources.
#include "platform/rtl/stringlist.h"
#include "report/bands/kvldatabinding.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"
#include "report/printers/kvlprinters.h"

#include <memory>
#include <vector>

class TPicture;
class TkvlFrame;
class TkvlPictureView;
class TkvlSubreport;


// Pixels per millimetre at 96 pixels per inch.
constexpr double kvlPixelsPerMm = 3.77953;

// Rounds to eight decimals (ties to even).
double Round8(double Value);

class TkvlReportPage : public TkvlPage {
    LIRRA_CLASS(TkvlReportPage, TkvlPage)
public:
    explicit TkvlReportPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlReportPage() override;

    TPrinterOrientation Orientation() const { return FOrientation; }
    // Turns the sheet: width and height swap and the margins turn a quarter with it.
    void SetOrientation(TPrinterOrientation Value);
    double PaperWidth() const { return FPaperWidth; }
    double PaperHeight() const { return FPaperHeight; }
    // A size of the user's own: the paper becomes 256.
    virtual void SetPaperWidth(double Value);
    virtual void SetPaperHeight(double Value);
    int32_t PaperSize() const { return FPaperSize; }
    // A table paper takes its size (turned for landscape); 256 and above keep the size.
    virtual void SetPaperSize(int32_t Value);
    void SetSizeAndDimensions(int32_t ASize, double AWidth, double AHeight);
    double LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
    bool MirrorMargins = false;
    int32_t Columns() const { return FColumns; }
    // Divides the printable width into equal columns and lists their offsets.
    void SetColumns(int32_t Value);
    double ColumnWidth = 0;  // millimetres
    TStringList &ColumnPositions() { return FColumnPositions; }
    void SetColumnPositions(const TStringList &Value) { FColumnPositions.Assign(Value); }
    int32_t Bin = kvlDefaultBin, BinOtherPages = kvlDefaultBin;
    bool BackPictureVisible = true, BackPicturePrintable = true, BackPictureStretched = true;
    // The background: picture, colour and frame of the back-picture view.
    TPicture *BackPicture() const;
    void SetBackPicture(TPicture *Value);
    TColor Color() const;
    void SetColor(TColor Value);
    TkvlFrame *Frame() const;
    void SetFrame(TkvlFrame *Value);
    int32_t PageCount() const { return FPageCount; }
    void SetPageCount(int32_t Value);  // only values above 0
    TkvlDuplexMode Duplex = dmNone;
    bool EndlessHeight = false, EndlessWidth = false, LargeDesignHeight = false;
    QString OutlineText;
    bool PrintIfEmpty = true, PrintOnPreviousPage = false, ShowTitleOnPreviousPage = true;
    bool ResetPageNumbers = false, TitleBeforeHeader = true;
    TStringList &HGuides() { return FHGuides; }
    TStringList &VGuides() { return FVGuides; }
    void SetHGuides(const TStringList &Value) { FHGuides.Assign(Value); }
    void SetVGuides(const TStringList &Value) { FVGuides.Assign(Value); }
    void ClearGuides();
    // Script procedures run on these events (empty: none).
    QString OnAfterPrint, OnBeforePrint, OnManualBuild;

    TkvlDataSet *DataSet() const { return FBinding.DataSet(); }
    void SetDataSet(TkvlDataSet *Value) { FBinding.SetDataSet(Value); }
    QString DataSetName() const { return FBinding.DataSetName(); }
    void SetDataSetName(const QString &Value) { FBinding.SetDataSetName(this, Value); }

    // The subreport that prints this page.
    TkvlSubreport *SubReport() const;
    void SetSubReport(TkvlSubreport *Value);
    bool IsSubReport() const { return SubReport() != nullptr; }

    // Margins 10 mm and the current printer's default paper and orientation.
    virtual void SetDefaults();
    // Width and height in pixels from the sheet size.
    void UpdateDimensions();
    // The first direct child of that class (or a kind of it); nullptr when none.
    TkvlBand *FindBand(const rtl::ClassInfo *BandClass) const;
    template <class B> B *FindBand() const { return static_cast<B *>(FindBand(B::StaticClass())); }
    // Printable width and height in pixels.
    double PrintableWidth() const;
    double PrintableHeight() const;
    // Lays out the bands over the printable area (columns, vertical bands) and their views.
    void AlignChildren() override;
    // The background inside the margins: stretched over the printable area or at the
    // picture's own size; left out when hidden, or when printing and not printable.
    void Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY);
    TkvlPictureView *BackPictureView() const { return FBackPictureView.get(); }

    // Filled by the engine.
    std::vector<rtl::ComponentRef<TkvlBand>> SubBands, VSubBands;

protected:
    // Writes the sheet size as given (the paper number stays) and updates the pixel size.
    void SetSheetDirect(double AWidth, double AHeight);

private:
    TPrinterOrientation FOrientation = poPortrait;
    double FPaperWidth = 0, FPaperHeight = 0;
    int32_t FPaperSize = 0;
    int32_t FColumns = 0;
    int32_t FPageCount = 1;
    TStringList FColumnPositions, FHGuides, FVGuides;
    TkvlDataSetBinding FBinding;
    rtl::ComponentRef<TkvlSubreport> FSubReport;
    std::unique_ptr<TkvlPictureView> FBackPictureView;
};

// The page that holds a report's non-visual data components.
class TkvlDataPage : public TkvlPage {
    LIRRA_CLASS(TkvlDataPage, TkvlPage)
public:
    explicit TkvlDataPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
};

// Registers the page classes with the class registry (start-up).
void kvlRegisterPageClasses();
