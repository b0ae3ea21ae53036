#pragma once
// Lays out and draws the text of memos. Characters are measured at 600 dots per inch, lines
// are wrapped (with hyphenation and inline tags), justified and rotated, so that line breaks
// and character positions are the same at every zoom, on paper and in exported files. Also
// answers the band engine: how high and wide the text is, which lines fit, what is left over.
//
// A layout object keeps its state between calls: hold the lock (TkvlGraphLock) around a whole
// sequence of SetFont, SetOptions, SetGaps, SetDimensions, SetText, then measuring, splitting
// or drawing.
#include "report/text/htmltags.h"

#include "platform/gfx/fontdesc.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

class TCanvas;
class TFont;
class TkvlWideStrings;
namespace gfx { class TextMeasurer; class MeasureFont; }

enum TkvlHAlign : uint8_t { haLeft, haRight, haCenter, haBlock };
enum TkvlVAlign : uint8_t { vaTop, vaBottom, vaCenter };

// Paragraph flags of a wrapped line.
enum : uint8_t { kvlParaFirst = 1, kvlParaLast = 2 };

class TkvlDrawText {
public:
    // Measures through Measurer (the font service when null).
    explicit TkvlDrawText(gfx::TextMeasurer *Measurer = nullptr);
    ~TkvlDrawText();
    TkvlDrawText(const TkvlDrawText &) = delete;
    TkvlDrawText &operator=(const TkvlDrawText &) = delete;

    // The process-wide text layout lock (recursive).
    static void Lock();
    static void Unlock();

    void SetFont(const TFont &Font);
    void SetOptions(bool WordWrap, bool HTMLTags, bool RTLReading, bool WordBreak, bool Clipped,
                    bool Wysiwyg, int Rotation);
    // Screen pixels (96 per inch).
    void SetGaps(double ParagraphGap, double CharSpacing, double LineSpacing);
    // Rectangles: width() and height() are right - left and bottom - top.
    void SetDimensions(double ScaleX, double ScaleY, double PrintScale, const QRect &OriginalRect,
                       const QRect &ScaledRect);
    void SetMonoFont(bool v) { FMonoFont = v; }
    void SetUseDefaultCharset(bool v);

    void SetText(const TkvlWideStrings &Text, bool FirstParaBreak);
    void SetText(const QStringList &Text, bool FirstParaBreak);
    void SetParaBreaks(bool FirstParaBreak, bool LastParaBreak);

    void DrawText(TCanvas *Canvas, TkvlHAlign HAlign, TkvlVAlign VAlign);

    // Screen pixels.
    double TextHeight() const;
    double LineHeight() const;
    double CalcHeight() const;
    double CalcWidth();
    // Height left below the last line that fits; 0 only when no line fits.
    double UnusedSpace() const;

    // Splits at the rectangle's height: keeps the lines that fit and returns the rest of the
    // source text, led by the tags of its first character's formatting. ParaBreak tells
    // whether the cut falls inside a paragraph.
    QString GetOutBoundsText(bool &ParaBreak);
    // The source text (after a split: the part kept), each line followed by CR LF.
    const QString &GetInBoundsText() const { return FPlainText; }
    // The wrapped lines, each followed by CR LF.
    QString GetWrappedText() const;
    static QString DeleteTags(QStringView Text) { return kvlDeleteTags(Text); }
    static bool IsPrinter(const TCanvas *Canvas);

    int LineCount() const { return int(FLines.size()); }
    QString Line(int Index) const;
    uint8_t LineFlags(int Index) const { return FLines[size_t(Index)].Flags; }

private:
    struct TextLine {
        int Start = 0;        // index of the first character in FChars (and its tag)
        int Length = 0;       // characters taken from FChars
        int SplitPos = 0;     // where the source text continues from this line on a split
        bool Hyphen = false;  // a hyphen follows the characters
        uint8_t Flags = 0;
    };

    template <class Lines> void LayOut(const Lines &Text, bool FirstParaBreak);
    void AddSourceLine(QStringView Line, int Index, int Width, int FirstWidth, int CharSpacing);
    void WrapTextLine(int Start, int Length, int Width, int CharSpacing, int FirstLineWidth);
    void AddLine(int Start, int Length, bool Hyphen, int SplitPos);
    // 600-dpi width of each character (Small ones reduced), without spacing; returns the sum.
    int MeasureChars(int Start, int Length, int *Widths);
    const gfx::MeasureFont &MeasureFont(uint8_t Style) const;
    const TkvlHTMLTag &TagAt(const TextLine &L, int i) const;
    QStringView LineChars(const TextLine &L);   // the line with its hyphen, in FLineBuf
    void DrawTextLine(TCanvas *Canvas, const TextLine &L, int X, int Y, int DX, TkvlHAlign Align,
                      double Cos, double Sin);
    gfx::FontDesc TargetFont(const TkvlHTMLTag *Tag, int Size, bool Printer, int Dpi) const;
    int MeasureHeight() const;
    double Pitch() const;

    gfx::TextMeasurer *FMeasurer;
    gfx::FontDesc FFont;          // the measuring font at 600 dpi, default style
    int FFontSize = 10;
    int FCodePage = 0;            // text passes through this page; 0: as it is
    // Measuring fonts by bold | italic, looked up once per font.
    mutable std::shared_ptr<const gfx::MeasureFont> FStyleFonts[4];
    mutable int FMeasureHeight = 0;

    double FParagraphGap = 0, FCharSpacing = 0, FLineSpacing = 0;
    unsigned FOptions = 0;
    QRect FOriginalRect, FScaledRect;
    double FScaleX = 1, FScaleY = 1, FPrintScale = 1;
    int FRotation = 0;
    bool FRTLReading = false, FWordBreak = false, FWordWrap = true, FWysiwyg = true;
    bool FMonoFont = false, FUseDefaultCharset = false, FAllowTags = true;

    QString FPlainText;
    TkvlHTMLTagsList FTags;
    std::vector<char16_t> FChars;     // visible characters of every source line
    std::vector<TextLine> FLines;
    // Work arrays, grown as needed and kept.
    std::vector<int> FWidths, FDevWidths, FAdvances;
    std::vector<char16_t> FLineBuf, FWordBuf;
    std::vector<int> FBreaks;
};

// The process-wide layout object, for memos that belong to no report and for exports.
TkvlDrawText &kvlDrawText();
// The lock that serializes all text layout in the process.
std::recursive_mutex &GraphCS();

// Holds GraphCS for its scope.
class TkvlGraphLock {
public:
    TkvlGraphLock() { GraphCS().lock(); }
    ~TkvlGraphLock() { GraphCS().unlock(); }
    TkvlGraphLock(const TkvlGraphLock &) = delete;
    TkvlGraphLock &operator=(const TkvlGraphLock &) = delete;
};

// Adds Step to Count elements of Arr[First..Last], spread evenly (Count <= Last - First + 1).
void IncArray(int *Arr, int First, int Last, int Step, int Count);

// Where the first line of a rotated text starts in Rect, given the text height TH and the
// vertical alignment; DX is the length available to a line.
struct TkvlRotatedStart {
    int X = 0, Y = 0, DX = 0;
};
TkvlRotatedStart CalcRotatedCoords(const QRect &Rect, int Rotation, int TH, TkvlVAlign VAlign,
                                   double LineSpacing);
