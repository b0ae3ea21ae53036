#pragma once
// The text object of reports: lines of text in which bracketed expressions are filled in for
// each printed record, every value formatted by a display format, with conditional highlights,
// suppression of repeated values and zeros, automatic width, and splitting across pages or
// into a following memo.
#include "report/base/widestrings.h"
#include "report/text/kvldrawtext.h"
#include "report/views/kvlhighlight.h"
#include "report/views/kvlstretch.h"

#include <memory>

class TkvlStyleItem;

class TkvlCustomMemoView : public TkvlStretcheable {
    LIRRA_CLASS(TkvlCustomMemoView, TkvlStretcheable)
public:
    explicit TkvlCustomMemoView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlCustomMemoView() override;

    // ---- text ----
    TkvlWideStrings &Memo() { return FMemo; }
    const TkvlWideStrings &Memo() const { return FMemo; }
    void SetMemo(const TkvlWideStrings &Value) { FMemo.Assign(Value); }
    // The lines joined with CR LF (every line followed by it); setting splits at line breaks.
    QString Text() const { return FMemo.Text(); }
    void SetText(const QString &Value);
    // The text as 8-bit text in the code page of the font's character set.
    QByteArray AnsiText() const;
    void SetAnsiText(const QByteArray &Value);

    // ---- settings ----
    bool AllowExpressions = true;
    bool AllowHTMLTags = false;
    bool AutoWidth = false;
    double CharSpacing = 0;
    bool Clipped = true;
    double GapX = 2, GapY = 1;
    TkvlHAlign HAlign = haLeft;
    TkvlVAlign VAlign = vaTop;
    bool HideZeros = false;
    double LineSpacing = 2;
    double ParagraphGap = 0;
    bool RTLReading = false;
    bool SuppressRepeated = false;
    bool Underlines = false;
    bool UseDefaultCharset = false;
    bool WordBreak = false;
    bool WordWrap = true;
    bool Wysiwyg = true;
    bool FirstParaBreak = false, LastParaBreak = false;

    const QString &ExpressionDelimiters() const { return FExpressionDelimiters; }
    void SetExpressionDelimiters(const QString &Value);
    int Rotation() const { return FRotation; }
    void SetRotation(int Value) { FRotation = Value % 360; }
    const QString &Style() const { return FStyle; }
    // Stores the name; the style item of that name applies when the memo has a style set.
    void SetStyle(const QString &Value);

    TkvlFormatCollection *Formats() const { return FFormats.get(); }
    TkvlHighlightCollection *Highlights() const { return FHighlights.get(); }
    // The first entries, made on first access.
    TkvlFormat *DisplayFormat() const;
    void SetDisplayFormat(TkvlFormat *Value) { DisplayFormat()->Assign(Value); }
    TkvlHighlight *Highlight() const;
    void SetHighlight(TkvlHighlight *Value) { Highlight()->Assign(Value); }

    TkvlCustomMemoView *FlowTo() const { return FFlowTo.get(); }
    // Refuses this memo and any memo whose chain leads back here: the flowing text would be lost.
    void SetFlowTo(TkvlCustomMemoView *Value);

    // The layout object measuring and drawing this memo (the process-wide one by default).
    TkvlDrawText &LayoutObject() const { return FLayout ? *FLayout : kvlDrawText(); }
    void SetLayoutObject(TkvlDrawText *Value) { FLayout = Value; }

    // ---- run-time state ----
    Variant Value;
    int TotalPages = 0;
    int CopyNo = 0;
    double PrintScale = 1;
    QRect TextRect;  // of the last BeginDraw

    // ---- styles and highlights ----
    void ApplyStyle(const TkvlStyleItem *AStyle);
    void ApplyHighlight(const TkvlHighlight *AHighlight);
    void ApplyPreviewHighlight();

    // ---- printing ----
    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;
    // One bracketed expression, evaluated and formatted (an inline " #" format wins over Format).
    QString CalcAndFormat(const QString &Expr, const TkvlFormat *Format);
    // Value as Format shows it (nil: the first display format).
    QString FormatData(const Variant &AValue, const TkvlFormat *Format = nullptr) const;
    QString GetComponentText() override;
    // Resolves the late "[TOTALPAGES#]" and "[COPYNAME#]" markers.
    void ExtractMacros();
    void ResetSuppress() { FLastValue = QString(); }

    // ---- sizes, drawing, split ----
    double AdjustCalcHeight() const;
    double AdjustCalcWidth() const;
    double CalcHeight() override;
    virtual double CalcWidth();
    void BeginDraw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;
    // The text laid out at scale 1: wrapped lines joined with line breaks, else without tags.
    QString WrapText(bool WrapWords);
    void InitPart() override;
    double DrawPart() override;
    // Text remains after the part drawn last.
    bool HasNextDataPart(double aFreeSpace) override
    {
        (void)aFreeSpace;
        return !FPartMemo.isEmpty();
    }
    const QString &PartMemo() const { return FPartMemo; }

    void WriteNestedProperties(TkvlXMLItem *Item) override;
    bool ReadNestedProperty(TkvlXMLItem *Item) override;
    // Also moves LastParaBreak into FirstParaBreak for the next part of the text.
    QString Diff(TkvlComponent *Source) override;

protected:
    bool IsFormatsStored() const { return FFormats->Count() == 1; }
    bool IsHighlightStored() const;
    // The font's character set asks for a code page conversion.
    bool NonDefaultCharset() const;

private:
    // The text, Value included, of a memo bound to a field.
    void FillFromDataField();
    void SetLayoutParams(TkvlDrawText &L) const;
    void SetDrawParams(TkvlDrawText &L, TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX,
                       double AOffsetY);
    struct Prepared;
    // Cuts the template text into literal runs and expressions, kept in FPrepared; made again
    // only when the text or the delimiters changed.
    void PreparedText();
    void FillExpressions(TkvlReport *report);
    // One expression's value (into Value) and its text; Report answers it, Charset (when not 0)
    // is the code page's character set the expression and a text pass through.
    QString EvaluateAndFormat(TkvlReport *Report, int Charset, const QString &Expr, const TkvlFormat *Format);
    QString FormatValue(const Variant &AValue, const TkvlFormat &Format, int Charset) const;
    int ConvertingCharset() const { return NonDefaultCharset() ? Font()->Charset() : 0; }
    void DrawUnderlines(TkvlDrawText &L);
    // Applies the first highlight whose condition holds, the state before it saved.
    void ApplyFirstTrueHighlight();
    void SavePreHighlightState();
    void RestorePreHighlightState();
    bool HideZero(const Variant &V) const;
    // BeginDraw at scale 1 without a canvas, as sizing asks for it record after record: the
    // device rectangle is made again only when what it is made from changed.
    void BeginDrawAtScaleOne();

    TkvlWideStrings FMemo;
    QString FExpressionDelimiters = QStringLiteral("[,]");
    QString FOpenDelim = QStringLiteral("["), FCloseDelim = QStringLiteral("]");
    int FRotation = 0;
    QString FStyle;
    std::unique_ptr<TkvlFormatCollection> FFormats;
    std::unique_ptr<TkvlHighlightCollection> FHighlights;
    rtl::ComponentRef<TkvlCustomMemoView> FFlowTo;
    TkvlDrawText *FLayout = nullptr;

    TkvlWideStrings FTempMemo;
    QString FPartMemo;
    std::unique_ptr<const Prepared> FPrepared;
    QString FFillBuffer;  // the filled text, its room kept from record to record
    Variant FLastValue;
    bool FHighlightActivated = false;
    std::unique_ptr<TkvlFillSlot> FTempFill;
    std::unique_ptr<TFont> FTempFont;
    std::unique_ptr<TkvlFrame> FTempFrame;
    bool FTempVisible = true;
    bool FTempParentFont = true;
    struct ScaleOneRect {
        double absLeft = 0, absTop = 0, width = 0, height = 0, gapX = 0, gapY = 0;
        double frameWidth = 0, shadowWidth = 0;
        int frameTyp = -1;
        bool dropShadow = false;
        int x = 0, y = 0, x1 = 0, y1 = 0, frameW = 0;
        QRect textRect;
        bool valid = false;
    } FScaleOne;
};

class TkvlMemoView : public TkvlCustomMemoView {
    LIRRA_CLASS(TkvlMemoView, TkvlCustomMemoView)
public:
    using TkvlCustomMemoView::TkvlCustomMemoView;
};

// The system text object: usually aggregates; streams a reduced set.
class TkvlSysMemoView : public TkvlCustomMemoView {
    LIRRA_CLASS(TkvlSysMemoView, TkvlCustomMemoView)
public:
    using TkvlCustomMemoView::TkvlCustomMemoView;
};

// Start-up: the memo classes enter the class registry and the serializer learns their text.
void kvlRegisterMemoClasses();
