#include "report/text/kvldrawtext.h"

#include "report/base/codepage.h"
#include "report/base/widestrings.h"
#include "report/text/hyphenation.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/textmeasure.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kDefPPI = 600;
constexpr int kScrPPI = 96;
constexpr double kRatio = double(kDefPPI) / kScrPPI;   // 6.25
constexpr int kDefaultCharset = 1;
constexpr int kSymbolCharset = 2;

int rnd(double v) { return int(rtl::Round(v)); }

// Measures text in runs of one measuring style and applies the small-size reduction: the
// work the layout and the drawing share. FontFor(style) gives the font of a run; TagOf(i)
// the formatting of character i.
// Shaped: text read right to left is measured as it is drawn.
template <class FontFor, class TagOf>
int measureRuns(QStringView text, bool shaped, FontFor &&fontFor, TagOf &&tagOf, int *out)
{
    const int n = int(text.size());
    int sum = 0;
    for (int i = 0; i < n;) {
        const uint8_t style = tagOf(i).Style & (gfx::StyleBold | gfx::StyleItalic);
        int j = i + 1;
        while (j < n && (tagOf(j).Style & (gfx::StyleBold | gfx::StyleItalic)) == style)
            ++j;
        const gfx::MeasureFont &font = fontFor(style);
        if (shaped)
            font.displayAdvances(text.mid(i, j - i), out + i);
        else
            font.advances(text.mid(i, j - i), out + i);
        for (int k = i; k < j; ++k) {
            if (tagOf(k).Small)
                out[k] = rnd(out[k] / 1.5);
            sum += out[k];
        }
        i = j;
    }
    return sum;
}

} // namespace

// --- construction, lock, settings ------------------------------------------------------

TkvlDrawText::TkvlDrawText(gfx::TextMeasurer *Measurer)
    : FMeasurer(Measurer ? Measurer : gfx::defaultMeasurer())
{
    FFont.height = -rnd(FFontSize * double(kDefPPI) / 72);
}

TkvlDrawText::~TkvlDrawText() = default;

std::recursive_mutex &GraphCS()
{
    static std::recursive_mutex cs;
    return cs;
}

TkvlDrawText &kvlDrawText()
{
    static TkvlDrawText instance;
    return instance;
}

void TkvlDrawText::Lock() { GraphCS().lock(); }
void TkvlDrawText::Unlock() { GraphCS().unlock(); }

bool TkvlDrawText::IsPrinter(const TCanvas *Canvas) { return Canvas && Canvas->isPrinter(); }

void TkvlDrawText::SetFont(const TFont &Font)
{
    FFontSize = Font.Size();
    const int height = -rnd(FFontSize * double(kDefPPI) / 72);
    // Set in place: the same font, record after record, copies nothing.
    if (Font.Name() != FFont.name || height != FFont.height || Font.Charset() != FFont.charset) {
        for (auto &f : FStyleFonts)
            f.reset();
        FMeasureHeight = 0;
        FFont.name = Font.Name();
        FFont.height = height;
        FFont.charset = Font.Charset();
    }
    FFont.style = Font.Style();
    FFont.color = FMonoFont ? 0 : Font.Color();
    SetUseDefaultCharset(FUseDefaultCharset);
}

void TkvlDrawText::SetUseDefaultCharset(bool v)
{
    FUseDefaultCharset = v;
    FCodePage = 0;
    if (v || FFont.charset == kDefaultCharset || FFont.charset == kSymbolCharset)
        return;
    try {
        const int page = CharSetToCodePage(FFont.charset);
        if (cp::IsSupported(page) && page != 65001)
            FCodePage = page;
    } catch (const ECodePageError &) {
        // A character set of no known page: the text is measured as it is.
    }
}

void TkvlDrawText::SetOptions(bool WordWrap, bool HTMLTags, bool RTLReading, bool WordBreak,
                              bool Clipped, bool Wysiwyg, int Rotation)
{
    FWordWrap = WordWrap;
    FAllowTags = HTMLTags;
    FRTLReading = RTLReading;
    FWordBreak = WordBreak;
    FWysiwyg = Wysiwyg;
    FRotation = ((Rotation % 360) + 360) % 360;
    FOptions = (RTLReading ? unsigned(gfx::TextRtlReading) : 0u) |
               (Clipped ? unsigned(gfx::TextClipped) : 0u);
}

void TkvlDrawText::SetGaps(double ParagraphGap, double CharSpacing, double LineSpacing)
{
    FParagraphGap = ParagraphGap;
    FCharSpacing = CharSpacing;
    FLineSpacing = LineSpacing;
}

void TkvlDrawText::SetDimensions(double ScaleX, double ScaleY, double PrintScale,
                                 const QRect &OriginalRect, const QRect &ScaledRect)
{
    FScaleX = ScaleX;
    FScaleY = ScaleY;
    FPrintScale = PrintScale;
    FOriginalRect = OriginalRect;
    FScaledRect = ScaledRect;
}

const gfx::MeasureFont &TkvlDrawText::MeasureFont(uint8_t Style) const
{
    auto &f = FStyleFonts[Style & 3];
    if (!f) {
        gfx::FontDesc d = FFont;
        d.style = Style & 3;
        f = FMeasurer->font(d);
    }
    return *f;
}

int TkvlDrawText::MeasureHeight() const
{
    if (!FMeasureHeight)
        FMeasureHeight = MeasureFont(FFont.style).metrics().height;
    return FMeasureHeight;
}

// --- laying out ------------------------------------------------------------------------

void TkvlDrawText::SetText(const TkvlWideStrings &Text, bool FirstParaBreak)
{
    struct View {
        const TkvlWideStrings &s;
        int size() const { return s.Count(); }
        const QString &at(int i) const { return s.At(i); }
    };
    LayOut(View{Text}, FirstParaBreak);
}

void TkvlDrawText::SetText(const QStringList &Text, bool FirstParaBreak)
{
    struct View {
        const QStringList &s;
        int size() const { return int(s.size()); }
        const QString &at(int i) const { return s.at(i); }
    };
    LayOut(View{Text}, FirstParaBreak);
}

template <class Lines>
void TkvlDrawText::LayOut(const Lines &Text, bool FirstParaBreak)
{
    FPlainText.resize(0);
    FLines.clear();
    FChars.clear();
    if (Text.size() == 0)
        return;
    FTags.SetDefaults(FFont.style, FFont.color, FFontSize, FAllowTags);
    const bool sideways = (FRotation >= 90 && FRotation < 180) || FRotation >= 270;
    const double w = sideways ? FOriginalRect.height() : FOriginalRect.width();
    const int width = rnd(w * kRatio);
    const int restWidth = rnd((w - FParagraphGap) * kRatio);
    const int spacing = rnd(FCharSpacing * kRatio);
    static const QString kBlank(QLatin1Char(' '));
    for (int i = 0, n = Text.size(); i < n; ++i) {
        const auto &line = Text.at(i);
        const QStringView s = line.isEmpty() ? QStringView(kBlank) : QStringView(line);
        FPlainText += s;
        FPlainText += QLatin1String("\r\n");
        AddSourceLine(s, width, FirstParaBreak && i == 0 ? width : restWidth, spacing);
    }
}

void TkvlDrawText::AddSourceLine(QStringView Line, int Width, int FirstWidth, int CharSpacing)
{
    const int start = int(FChars.size());
    FTags.ExpandHTMLTags(Line, FChars);
    FTags.Skip(2);
    const int length = int(FChars.size()) - start;
    if (FCodePage) {
        // Characters the font's code page lacks come out as they would print.
        const QStringView chars(FChars.data() + start, length);
        const QString back = cp::Decode(cp::Encode(chars, FCodePage), FCodePage);
        if (back.size() == length)
            std::copy(back.utf16(), back.utf16() + length, FChars.begin() + start);
    }
    const size_t first = FLines.size();
    WrapTextLine(start, length, Width, CharSpacing, FirstWidth);
    FLines[first].Flags |= kvlParaFirst;
    FLines.back().Flags |= kvlParaLast;
}

void TkvlDrawText::AddLine(int Start, int Length, bool Hyphen, int SplitPos)
{
    TextLine l;
    l.Start = Start;
    l.Length = Length;
    l.Hyphen = Hyphen;
    l.SplitPos = SplitPos;
    FLines.push_back(l);
}

int TkvlDrawText::MeasureChars(int Start, int Length, int *Widths)
{
    const TkvlHTMLTag *tags = FTags.Tags().data() + Start;
    return measureRuns(
        QStringView(FChars.data() + Start, Length), FRTLReading,
        [this](uint8_t style) -> const gfx::MeasureFont & { return MeasureFont(style); },
        [tags](int i) -> const TkvlHTMLTag & { return tags[i]; }, Widths);
}

void TkvlDrawText::WrapTextLine(int Start, int Length, int Width, int CharSpacing,
                                int FirstLineWidth)
{
    const TkvlHTMLTag *tag = FTags.Tags().data() + Start - 1;   // tag[1 .. Length]
    const char16_t *s = FChars.data() + Start - 1;               // s[1 .. Length]
    if (Length == 1 || !FWordWrap) {
        AddLine(Start, Length, false, tag[1].Position);
        return;
    }
    // w[p]: cumulative width through character p, spacing after each.
    FWidths.resize(size_t(Length) + 1);
    int *w = FWidths.data();
    MeasureChars(Start, Length, w + 1);
    w[0] = 0;
    for (int p = 1; p <= Length; ++p)
        w[p] += w[p - 1] + CharSpacing;
    if (w[Length] < FirstLineWidth) {
        AddLine(Start, Length, false, tag[1].Position);
        return;
    }
    const QStringView line(FChars.data() + Start, Length);
    int start = 1, brk = 1, base = 0, limit = FirstLineWidth;
    int splitPos = tag[1].Position;
    auto add = [&](int from, int count, bool hyphen) {
        AddLine(Start + from - 1, count, hyphen, splitPos);
    };
    for (int pos = 1; pos <= Length; ++pos) {
        if (s[pos] == u' ' && !(FAllowTags && tag[pos].DontWRAP))
            brk = pos;
        if (w[pos] - base <= limit)
            continue;
        bool droppedBlank = false;
        if (brk == start) {   // no blank to break at: the word is cut
            const int h = pos > start && FWordBreak
                              ? BreakWord(line, start - 1, pos - start, FWordBuf, FBreaks) : 0;
            if (pos == start) {
                add(start, 1, false);
            } else if (h > 0) {
                add(start, h, true);
                brk = start + h - 1;
            } else {
                add(start, pos - start, false);
                brk = pos - 1;
            }
        } else {
            const int h = FWordBreak ? BreakWord(line, brk, pos - brk - 1, FWordBuf, FBreaks) : 0;
            if (h > 0) {
                add(start, brk - start + 1 + h, true);
                brk = start + (brk - start + 1 + h) - 1;
            } else {
                add(start, brk - start, false);
                droppedBlank = true;
            }
        }
        base = w[brk];
        pos = brk;
        start = brk + 1;
        // A split after a dropped blank continues from the blank, which is then removed.
        splitPos = droppedBlank ? tag[brk].Position : tag[std::min(start, Length)].Position;
        brk = start;
        limit = Width;
    }
    if (start <= Length)
        add(start, Length - start + 1, false);
}

void TkvlDrawText::SetParaBreaks(bool FirstParaBreak, bool LastParaBreak)
{
    if (FLines.empty())
        return;
    if (FirstParaBreak)
        FLines.front().Flags &= uint8_t(~kvlParaFirst);
    if (LastParaBreak)
        FLines.back().Flags &= uint8_t(~kvlParaLast);
}

const TkvlHTMLTag &TkvlDrawText::TagAt(const TextLine &L, int i) const
{
    return FTags.Tags()[size_t(L.Start + std::min(i, L.Length - 1))];
}

QStringView TkvlDrawText::LineChars(const TextLine &L)
{
    FLineBuf.assign(FChars.begin() + L.Start, FChars.begin() + L.Start + L.Length);
    if (L.Hyphen)
        FLineBuf.push_back(u'-');
    return QStringView(FLineBuf.data(), qsizetype(FLineBuf.size()));
}

QString TkvlDrawText::Line(int Index) const
{
    const TextLine &l = FLines[size_t(Index)];
    QString s(reinterpret_cast<const QChar *>(FChars.data() + l.Start), l.Length);
    if (l.Hyphen)
        s += QLatin1Char('-');
    return s;
}

QString TkvlDrawText::GetWrappedText() const
{
    QString s;
    for (int i = 0; i < LineCount(); ++i) {
        s += Line(i);
        s += QLatin1String("\r\n");
    }
    return s;
}

// --- measurements ----------------------------------------------------------------------

double TkvlDrawText::TextHeight() const
{
    return MeasureHeight() / kRatio;
}

double TkvlDrawText::LineHeight() const { return TextHeight() + FLineSpacing; }

double TkvlDrawText::Pitch() const { return LineHeight(); }

double TkvlDrawText::CalcHeight() const
{
    if (FLines.empty())
        return 0;
    double h = LineHeight() * double(FLines.size());
    if (FLineSpacing < 0)
        h += std::abs(FLineSpacing);
    return h;
}

double TkvlDrawText::CalcWidth()
{
    int widest = 0;
    for (const TextLine &l : FLines) {
        const QStringView text = LineChars(l);
        FDevWidths.resize(size_t(text.size()));
        int w = measureRuns(
            text, FRTLReading, [this](uint8_t style) -> const gfx::MeasureFont & { return MeasureFont(style); },
            [this, &l](int i) -> const TkvlHTMLTag & { return TagAt(l, i); }, FDevWidths.data());
        w += rnd(kRatio * double(text.size()) * FCharSpacing);
        if (l.Flags & kvlParaFirst)
            w += rnd(kRatio * FParagraphGap);
        widest = std::max(widest, w);
    }
    return widest / kRatio;
}

double TkvlDrawText::UnusedSpace() const
{
    const double height = FOriginalRect.height() + 1;
    const double pitch = Pitch();
    if (pitch <= 0)   // lines take no room: all fit, the space below them is left
        return std::max(0.0001, height - CalcHeight());
    const int fit = int(height / pitch);
    if (fit == 0)
        return 0;
    const double rest = height - pitch * fit;
    return rest == 0 ? 0.0001 : rest;
}

QString TkvlDrawText::GetOutBoundsText(bool &ParaBreak)
{
    ParaBreak = false;
    if (FLines.empty())
        return QString();
    const double pitch = Pitch();
    const int count = int(FLines.size());
    const int fit = pitch <= 0 ? count
                               : int(std::min<double>(count, (FOriginalRect.height() + 1) / pitch));
    if (fit >= count)
        return QString();
    const TextLine next = FLines[size_t(fit)];
    const TkvlHTMLTag first = TagAt(next, 0);
    const bool hyphenEnd = fit > 0 && FLines[size_t(fit - 1)].Hyphen;
    FLines.resize(size_t(fit));
    ParaBreak = fit > 0 && !(FLines.back().Flags & kvlParaLast);
    const int cut = std::clamp(next.SplitPos - 1, 0, int(FPlainText.size()));
    QString rest = FPlainText.mid(cut);
    if (ParaBreak && rest.startsWith(QLatin1Char(' ')))
        rest.remove(0, 1);
    FPlainText.truncate(cut);
    if (FWordBreak && hyphenEnd)
        FPlainText += QLatin1Char('-');
    if (FAllowTags) {
        const uint32_t bgr = uint32_t(rtl::ColorToRGB(first.Color)) & 0xFFFFFF;
        const uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
        QString prefix = QLatin1String("<font color=\"#") +
                         QString::number(rgb, 16).rightJustified(6, QLatin1Char('0')).toUpper() +
                         QLatin1String("\">");
        if (first.SubType == ssSuperscript)
            prefix += QLatin1String("<sup>");
        else if (first.SubType == ssSubscript)
            prefix += QLatin1String("<sub>");
        if (first.Style & gfx::StyleUnderline)
            prefix += QLatin1String("<u>");
        if (first.Style & gfx::StyleItalic)
            prefix += QLatin1String("<i>");
        if (first.Style & gfx::StyleBold)
            prefix += QLatin1String("<b>");
        rest.prepend(prefix);
    }
    return rest;
}

// --- drawing ---------------------------------------------------------------------------

void IncArray(int *Arr, int First, int Last, int Step, int Count)
{
    if (Count <= 0)
        return;
    const int h = std::max(1, (Last - First + 1) / 2);
    if (Count == 1) {
        Arr[First + h - 1] += Step;
        return;
    }
    IncArray(Arr, First, First + h - 1, Step, Count / 2);
    IncArray(Arr, First + h, Last, Step, Count - Count / 2);
}

TkvlRotatedStart CalcRotatedCoords(const QRect &Rect, int Rotation, int TH, TkvlVAlign VAlign,
                                   double LineSpacing)
{
    const int L = Rect.left(), T = Rect.top();
    const int W = Rect.width(), H = Rect.height();
    const int R = L + W, B = T + H;
    const double a = Rotation * M_PI / 180;
    const double cosA = std::cos(a), sinA = std::sin(a);
    const double s = std::abs(sinA), c = std::abs(cosA);
    enum { Along, Down, Up } dir = Along;
    TkvlRotatedStart r;
    int box = H;
    auto slanted = [&] { return rnd((W - s * TH) / c); };
    if (Rotation == 0) {
        r = {L, T, W};
    } else if (Rotation < 90) {
        r.DX = slanted();
        r.X = L;
        r.Y = T + rnd(s * r.DX);
        box = TH + B - r.Y - rnd(c * TH);
        dir = Down;
    } else if (Rotation == 90) {
        r = {L, B, H};
        box = W;
    } else if (Rotation < 180) {
        r.DX = slanted();
        r.X = L + rnd(c * r.DX);
        r.Y = B;
        box = TH + H - rnd(c * TH + s * r.DX);
        dir = Up;
    } else if (Rotation == 180) {
        r = {R, B, W};
    } else if (Rotation < 270) {
        r.DX = slanted();
        r.X = R;
        r.Y = B - rnd(s * r.DX);
        box = TH + r.Y - T - rnd(c * TH);
        dir = Up;
    } else if (Rotation == 270) {
        r = {R, T, H};
        box = W;
    } else {
        r.DX = slanted();
        r.X = L + rnd(s * TH);
        r.Y = T;
        box = TH + H - rnd(s * r.DX + c * TH);
        dir = Down;
    }
    if (VAlign == vaTop)
        return r;
    if (LineSpacing < 0)
        TH += std::abs(rnd(LineSpacing * 2));
    const double d = VAlign == vaBottom ? double(box - TH) : (box - TH) / 2.0;
    switch (dir) {
    case Along:
        r.Y += rnd(d * cosA);
        r.X += rnd(d * sinA);
        break;
    case Down: r.Y += rnd(d); break;
    case Up: r.Y -= rnd(d); break;
    }
    return r;
}

gfx::FontDesc TkvlDrawText::TargetFont(const TkvlHTMLTag *Tag, int Size, bool Printer, int Dpi) const
{
    gfx::FontDesc d = FFont;
    d.height = Printer ? -rnd(Size * double(Dpi) * FPrintScale / 72)
                       : -rnd(Size * FScaleY * kScrPPI / 72);
    if (Tag) {
        d.style = Tag->Style;
        d.color = Tag->Color;
    }
    if (FMonoFont)
        d.color = 0;
    d.orientation = FRotation * 10;
    return d;
}

void TkvlDrawText::DrawText(TCanvas *Canvas, TkvlHAlign HAlign, TkvlVAlign VAlign)
{
    if (FLines.empty() || !Canvas)
        return;
    const bool printer = IsPrinter(Canvas);
    const int dpi = Canvas->ppiY() > 0 ? Canvas->ppiY() : kScrPPI;
    Canvas->setFont(TargetFont(nullptr, FFontSize, printer, dpi));
    const int fh = Canvas->textMetrics().height;
    const int mh = MeasureHeight();
    const int n = int(FLines.size());
    const double ls = FLineSpacing;
    int th;
    if (printer) {
        const double k = double(kDefPPI) / dpi / FPrintScale;
        th = rnd((ls * FScaleY * k * n + double(mh) * n) / k);
    } else {
        th = rnd((ls * kRatio * n + double(mh) * n) / kRatio * FScaleY);
    }
    const int step = rnd(ls * FScaleY) + fh;
    // With one line there is no advance to correct.
    const int extra = FWysiwyg && n > 1 ? th - n * step : 0;

    const TkvlRotatedStart start = CalcRotatedCoords(FScaledRect, FRotation, th, VAlign, ls);
    const double a = FRotation * M_PI / 180;
    const double cosA = std::cos(a), sinA = std::sin(a);

    // Line advances, the Wysiwyg difference spread over them.
    std::vector<int> &adv = FAdvances;
    adv.assign(size_t(std::max(1, n - 1)), step);
    if (extra != 0) {
        const int sign = extra < 0 ? -1 : 1;
        const int e = std::abs(extra);
        if (e < n) {
            IncArray(adv.data(), 0, n - 2, sign, e);
        } else {
            for (int i = 0; i < n - 1; ++i)
                adv[size_t(i)] += sign * (e / (n - 1));
            IncArray(adv.data(), 0, n - 2, sign, e % (n - 1));
        }
    }

    Canvas->setBkMode(gfx::BkMode::Transparent);
    int x = start.X, y = start.Y;
    const TkvlHAlign lastAlign = FRTLReading ? haRight : haLeft;
    for (int i = 0; i < n; ++i) {
        const TextLine &l = FLines[size_t(i)];
        const int indent = (l.Flags & kvlParaFirst) && (HAlign == haLeft || HAlign == haBlock)
                               ? rnd(FParagraphGap * FScaleX) : 0;
        const TkvlHAlign align = HAlign == haBlock && (l.Flags & kvlParaLast) ? lastAlign : HAlign;
        // The indent runs along the line, whatever its angle.
        DrawTextLine(Canvas, l, x + rnd(indent * cosA), y - rnd(indent * sinA), start.DX - indent,
                     align, cosA, sinA);
        if (i < n - 1) {
            y += rnd(adv[size_t(i)] * cosA);
            x += rnd(adv[size_t(i)] * sinA);
        }
    }
}

void TkvlDrawText::DrawTextLine(TCanvas *Canvas, const TextLine &L, int X, int Y, int DX,
                                TkvlHAlign Align, double Cos, double Sin)
{
    const QStringView text = LineChars(L);
    const int n = int(text.size());
    if (n == 0)
        return;
    const bool printer = IsPrinter(Canvas);
    const int dpix = Canvas->ppiX() > 0 ? Canvas->ppiX() : kScrPPI;
    auto tagOf = [this, &L](int i) -> const TkvlHTMLTag & { return TagAt(L, i); };

    // Width at 600 dpi and on the device.
    FWidths.resize(size_t(n));
    FDevWidths.resize(size_t(n));
    const int sp600 = rnd(FCharSpacing * kRatio);
    const int w600 = measureRuns(
        text, FRTLReading, [this](uint8_t style) -> const gfx::MeasureFont & { return MeasureFont(style); },
        tagOf, FWidths.data()) + (n - 1) * sp600;
    gfx::FontDesc dev = TargetFont(nullptr, FFontSize, printer, dpix);
    int *dw = FDevWidths.data();
    const int spDev = rnd(FCharSpacing * FScaleX);
    const int wdev = measureRuns(
        text, FRTLReading,
        [&](uint8_t style) -> const gfx::MeasureFont & {
            dev.style = style;
            Canvas->setFont(dev);
            return Canvas->measureFont();
        },
        tagOf, dw) + (n - 1) * spDev;
    for (int i = 0; i < n; ++i)
        dw[i] += spDev;

    // In Wysiwyg mode every character edge sits at its 600-dpi position scaled to the
    // device, so characters land in the same places at every zoom and on paper.
    const double toDevice = printer ? FPrintScale * dpix / kDefPPI : FScaleX / kRatio;
    int tw = wdev;
    if (FWysiwyg) {
        tw = rnd(w600 * toDevice);
        int at600 = 0, edge = 0;
        for (int i = 0; i < n; ++i) {
            at600 += FWidths[size_t(i)] + sp600;
            const int next = rnd(at600 * toDevice);
            dw[i] = next - edge;
            edge = next;
        }
    }
    auto moveAlong = [&](double d) {
        X += rnd(d * Cos);
        Y -= rnd(d * Sin);
    };
    int blanks = 0;
    switch (Align) {
    case haRight: {
        moveAlong(DX - tw + 1);
        const uint8_t style = tagOf(0).Style;
        X -= (style & (gfx::StyleBold | gfx::StyleItalic)) && FRotation == 0 ? 2 : 1;
        break;
    }
    case haCenter: moveAlong((DX - tw) / 2.0); break;
    case haBlock:
        for (QChar c : text)
            blanks += c.unicode() == 32 || c.unicode() == 160;
        break;
    case haLeft: break;
    }
    if (blanks) {   // justified: the rest of the line goes to the blanks, in line order
        const int diff = std::abs(DX) - tw;
        const int sign = diff < 0 ? -1 : 1;
        const int d = std::abs(diff);
        int left = d % blanks;
        for (int i = 0; i < n; ++i) {
            if (text[i].unicode() != 32 && text[i].unicode() != 160)
                continue;
            dw[i] += sign * (d / blanks + (left > 0 ? 1 : 0));
            --left;
        }
    }

    // One output call per run of characters with one formatting.
    for (int i = 0; i < n;) {
        int j = i + 1;
        while (j < n && tagOf(j).Default)
            ++j;
        const TkvlHTMLTag &tag = tagOf(i);
        Canvas->setFont(TargetFont(&tag, tag.Size, printer, dpix));
        const int dy = rnd(tag.AddY * tag.Size * FScaleY);
        Canvas->extTextOut(X + rnd(dy * Sin), Y + rnd(dy * Cos), FOptions, &FScaledRect,
                           text.mid(i, j - i), dw + i);
        int width = 0;
        for (int k = i; k < j; ++k)
            width += dw[k];
        moveAlong(width);
        i = j;
    }
}
