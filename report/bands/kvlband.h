#pragma once
// Bands: the horizontal strips of a report page that hold views and that the band engine
// prints by kind, with the child-band chain, the background fill and frame, and the data
// bands that print once per record.
#include "report/appearance/fill.h"
#include "report/bands/kvldatabinding.h"
#include "report/core/kvlcomponent.h"
#include "platform/rtl/variant.h"

#include <memory>
#include <vector>

class TkvlChild;
class TkvlDataSet;
class TkvlFrame;
class TkvlMemoView;
class TkvlUserDataSet;

// Gaps between a band's edges and its background (pixels).
class TkvlFillGaps : public TPersistent {
    LIRRA_CLASS(TkvlFillGaps, TPersistent)
public:
    void Assign(TPersistent *Source) override;
    int32_t Top = 0, Left = 0, Bottom = 0, Right = 0;
};

class TkvlBand : public TkvlReportComponent {
    LIRRA_CLASS(TkvlBand, TkvlReportComponent)
public:
    explicit TkvlBand(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlBand() override;

    bool AllowSplit = false;
    bool KeepChild = false;
    bool StartNewPage = false;
    bool Stretched = false;
    bool PrintChildIfInvisible = false;
    QString OnAfterCalcHeight;
    QString OutlineText;

    // The band printed right after this one. A value whose chain leads back here raises
    // EComponentError ("clCirRefNotAllow") and keeps the old child.
    TkvlChild *Child() const;
    void SetChild(TkvlChild *Value);

    TkvlCustomFill *Fill() const { return FFill.get(); }
    void SetFill(TkvlCustomFill *Value);
    TkvlFillType FillType() const { return FFillType; }
    // Another kind replaces the fill with a new one of that kind.
    void SetFillType(TkvlFillType Value);
    TkvlFillGaps *FillGap() const { return FFillGap.get(); }
    TkvlFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TkvlFrame *Value);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool Value) { FVertical = Value; }

    // On a page with a character grid, positions and heights snap to whole cells.
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetHeight(double Value) override;

    // The class name without "Tkvl" and "Band": "MasterData", "PageFooter".
    QString BandName() const;
    // Position of the band's kind in the band table (ReportTitle 0 ... Overlay 17); 0 for
    // plain data bands and null bands.
    int BandNumber() const;

    // In the designer only: the background over the band's rectangle.
    void Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;

    // The memo that carries the band's background into prepared pages: a child of the band,
    // beneath its other objects.
    TkvlMemoView *FillMemo() const;
    // Whether the band has a background or frame of its own for a fill memo to carry.
    bool NeedsFillMemo() const;
    // The fill memo's bounds inside the band: at the top-left gaps, the band's size less
    // the gaps on both sides.
    TkvlRect FillMemoBounds() const;
    // Makes (or updates) the fill memo when the band has a background or frame; nothing
    // for null bands and bands with the default background.
    void CreateFillMemo();
    void DisposeFillMemo();

    // ---- engine state ----
    bool Overflow = false;
    bool HasVBands = false;
    double StretchedHeight = 0;
    int32_t LineN = 0, LineThrough = 0, OriginalObjectsCount = -1;
    std::vector<rtl::ComponentRef<TkvlBand>> SubBands;
    rtl::ComponentRef<TkvlBand> Header, Footer, Group;

private:
    std::unique_ptr<TkvlCustomFill> FFill;
    TkvlFillType FFillType = ftBrush;
    std::unique_ptr<TkvlFillGaps> FFillGap;
    std::unique_ptr<TkvlFrame> FFrame;
    rtl::ComponentRef<TkvlBand> FChild;  // always a TkvlChild
    bool FVertical = false;
    rtl::ComponentRef<TkvlMemoView> FFillMemo;  // freed with the band (its parent)
};

class TkvlReportTitle : public TkvlBand {
    LIRRA_CLASS(TkvlReportTitle, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

class TkvlReportSummary : public TkvlBand {
    LIRRA_CLASS(TkvlReportSummary, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

class TkvlPageHeader : public TkvlBand {
    LIRRA_CLASS(TkvlPageHeader, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    bool PrintOnFirstPage = true;
};

class TkvlPageFooter : public TkvlBand {
    LIRRA_CLASS(TkvlPageFooter, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    bool PrintOnFirstPage = true;
    bool PrintOnLastPage = true;
};

class TkvlHeader : public TkvlBand {
    LIRRA_CLASS(TkvlHeader, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    bool ReprintOnNewPage = false;
};

class TkvlFooter : public TkvlBand {
    LIRRA_CLASS(TkvlFooter, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

// The common base of the bands printed once per record of a record source; without a
// source, RowCount rows.
class TkvlDataBand : public TkvlBand {
    LIRRA_CLASS(TkvlDataBand, TkvlBand)
public:
    explicit TkvlDataBand(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlDataBand() override;

    double ColumnGap = 0, ColumnWidth = 0;  // pixels
    int32_t Columns = 0;
    QString Filter;
    bool FooterAfterEach = false;
    bool KeepFooter = false;
    bool KeepHeader = false;
    bool KeepTogether = false;
    bool PrintIfDetailEmpty = false;
    QString OnMasterDetail;
    double MaxY = 0;  // lowest bottom reached in the current row of columns

    TkvlDataSet *DataSet() const { return FBinding.DataSet(); }
    void SetDataSet(TkvlDataSet *Value) { FBinding.SetDataSet(Value); }
    QString DataSetName() const { return FBinding.DataSetName(); }
    void SetDataSetName(const QString &Value) { FBinding.SetDataSetName(this, Value); }
    int32_t RowCount() const { return FRowCount; }
    // Also the count the virtual record source runs to.
    void SetRowCount(int32_t Value);
    int32_t CurColumn() const { return FCurColumn; }
    // A column past Columns wraps to 1 (and starts a new row: MaxY 0); Left moves to the
    // column's offset.
    void SetCurColumn(int32_t Value);
    // The source used when none is bound: counts to RowCount.
    TkvlUserDataSet *VirtualDataSet() const { return FVirtualDataSet.get(); }

private:
    TkvlDataSetBinding FBinding;
    int32_t FRowCount = 0;
    int32_t FCurColumn = 0;
    std::unique_ptr<TkvlUserDataSet> FVirtualDataSet;
};

class TkvlMasterData : public TkvlDataBand {
    LIRRA_CLASS(TkvlMasterData, TkvlDataBand)
public:
    using TkvlDataBand::TkvlDataBand;
};

class TkvlDetailData : public TkvlDataBand {
    LIRRA_CLASS(TkvlDetailData, TkvlDataBand)
public:
    using TkvlDataBand::TkvlDataBand;
};

class TkvlSubdetailData : public TkvlDataBand {
    LIRRA_CLASS(TkvlSubdetailData, TkvlDataBand)
public:
    using TkvlDataBand::TkvlDataBand;
};

class TkvlDataBand4 : public TkvlDataBand {
    LIRRA_CLASS(TkvlDataBand4, TkvlDataBand)
public:
    using TkvlDataBand::TkvlDataBand;
};

class TkvlDataBand5 : public TkvlDataBand {
    LIRRA_CLASS(TkvlDataBand5, TkvlDataBand)
public:
    using TkvlDataBand::TkvlDataBand;
};

class TkvlDataBand6 : public TkvlDataBand {
    LIRRA_CLASS(TkvlDataBand6, TkvlDataBand)
public:
    using TkvlDataBand::TkvlDataBand;
};

class TkvlGroupHeader : public TkvlBand {
    LIRRA_CLASS(TkvlGroupHeader, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    QString Condition;
    QString Diff(TkvlComponent *Source) override;
    bool DrillDown = false;
    bool ExpandDrillDown = false;
    bool KeepTogether = false;
    bool ReprintOnNewPage = false;
    bool ResetPageNumbers = false;
    bool ShowFooterIfDrillDown = false;
    bool ShowChildIfDrillDown = false;
    QString DrillName;
    Variant LastValue;  // the last value of Condition
};

class TkvlGroupFooter : public TkvlBand {
    LIRRA_CLASS(TkvlGroupFooter, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    bool HideIfSingleDataRecord = false;
};

class TkvlChild : public TkvlBand {
    LIRRA_CLASS(TkvlChild, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

class TkvlColumnHeader : public TkvlBand {
    LIRRA_CLASS(TkvlColumnHeader, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

class TkvlColumnFooter : public TkvlBand {
    LIRRA_CLASS(TkvlColumnFooter, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

class TkvlOverlay : public TkvlBand {
    LIRRA_CLASS(TkvlOverlay, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    bool PrintOnTop = false;
};

// A band the engine uses as a container; never shown itself.
class TkvlNullBand : public TkvlBand {
    LIRRA_CLASS(TkvlNullBand, TkvlBand)
public:
    using TkvlBand::TkvlBand;
};

// Registers the band classes and the subreport with the class registry, and their
// descriptions' texts (start-up).
void kvlRegisterBandClasses();
