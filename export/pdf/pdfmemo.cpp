// Memo text: the memo wrapped by the process-wide layout object exactly as the preview wraps
// it, each line placed here and written as glyphs of the memo's PDF font.
#include "export/pdf/pdfexport.h"
#include "export/pdf/pdffont.h"
#include "export/pdf/pdftext.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/numeric.h"
#include "report/memo/kvlmemo.h"
#include "report/text/kvldrawtext.h"
#include "report/views/kvlhighlight.h"

#include <cmath>
#include <mutex>
#include <numbers>

using pdf::integer;
using pdf::ln;
using pdf::num;

namespace {

constexpr double kDivider = 0.75;

// Serialises memo text across concurrent PDF exports.
std::mutex &pdfCS()
{
    static std::mutex m;
    return m;
}

// The layout lock, then the writer's; released in the same order, also on an error.
class MemoTextLocks {
public:
    MemoTextLocks()
    {
        GraphCS().lock();
        try {
            pdfCS().lock();
        } catch (...) {
            GraphCS().unlock();
            throw;
        }
    }
    ~MemoTextLocks()
    {
        GraphCS().unlock();
        pdfCS().unlock();
    }
    MemoTextLocks(const MemoTextLocks &) = delete;
    MemoTextLocks &operator=(const MemoTextLocks &) = delete;
};

int rnd(double v) { return int(rtl::Round(v)); }

} // namespace

void TkvlPDFExport::AddMemoText(TkvlCustomMemoView *Memo)
{
    pdf::Writer w(FContent);
    const TkvlFrame *fr = Memo->Frame();
    const double FW = fr->Width();
    const double X0 = Memo->GetAbsLeft(), Y0 = Memo->GetAbsTop(), W = Memo->Width(), H = Memo->Height();
    const double GapX = Memo->GapX, GapY = Memo->GapY;

    w << "q" << ln;
    w << num(GetLeft(X0 - FW)) << ' ' << num(GetTop(Y0 + H + FW)) << ' ' << num((2 * FW + W) * kDivider) << ' '
      << num((2 * FW + H) * kDivider) << " re" << ln << "W" << ln << "n" << ln;

    double t = W, o = H;
    if (fr->DropShadow()) {
        const double SW = fr->ShadowWidth();
        t = W - SW;
        o = H - SW;
        const QByteArray c = GetPDFColor(fr->ShadowColor());
        w << c << " rg" << ln << c << " RG" << ln;
        w << num(GetLeft(X0 + t)) << ' ' << num(GetTop(Y0 + o + SW)) << ' ' << num(SW * kDivider) << ' '
          << num(o * kDivider) << " re" << ln << "B" << ln;
        w << num(GetLeft(X0 + SW)) << ' ' << num(GetTop(Y0 + o + SW)) << ' ' << num(t * kDivider) << ' '
          << num(SW * kDivider) << " re" << ln << "B" << ln;
    }
    const double boxLeft = GetLeft(X0), boxRight = GetLeft(X0 + t), boxBottom = GetTop(Y0 + o);

    {
        MemoTextLocks locks;
        const TFont *font = Memo->Font();
        TColor color = Memo->Color();
        const TkvlHighlight *hl = Memo->Highlight();
        if (hl && hl->Active && hl->Font()) {
            font = hl->Font();
            color = hl->Color();
        }
        TkvlDrawText &L = kvlDrawText();
        L.SetUseDefaultCharset(Memo->UseDefaultCharset);
        L.SetMonoFont(false);
        L.SetFont(*font);
        L.SetOptions(Memo->WordWrap, Memo->AllowHTMLTags, Memo->RTLReading, Memo->WordBreak, Memo->Clipped,
                     Memo->Wysiwyg, Memo->Rotation());
        L.SetGaps(Memo->ParagraphGap, Memo->CharSpacing, Memo->LineSpacing);
        int l = rnd(X0), tp = rnd(Y0);
        int r = rnd(l + W), b = rnd(tp + H);
        if (fr->Has(ftLeft))
            l += rnd((FW - 1) / 2);
        if (fr->Has(ftRight))
            r -= rnd(FW / 2);
        if (fr->Has(ftTop))
            tp += rnd((FW - 1) / 2);
        if (fr->Has(ftBottom))
            b -= rnd(FW / 2);
        const int gl = l + rnd(GapX), gt = tp + rnd(GapY), gr = r - rnd(GapX) + 1, gb = b - rnd(GapY) + 1;
        const QRect rect(gl, gt, gr - gl, gb - gt);
        L.SetDimensions(1, 1, 1, rect, rect);
        L.SetText(Memo->Memo(), Memo->FirstParaBreak);
        L.SetParaBreaks(Memo->FirstParaBreak, Memo->LastParaBreak);
        const double LH = L.LineHeight();

        if (color != clNone)
            w << GetPDFColor(color) << " rg" << ln << num(boxLeft) << ' ' << num(boxBottom) << ' '
              << num(t * kDivider) << ' ' << num(o * kDivider) << " re" << ln << "f" << ln;
        MakeUpFrames(Memo);

        const int rotation = Memo->Rotation();
        const double S = font->Size();
        if (rotation > 0) {
            const double a = rotation * std::numbers::pi / 180;
            double cx, cy;
            if (rotation == 90) {
                cx = GetLeft(X0 + (S * 0.8 + W) / 2);
                cy = GetTop(Y0 + H / 2);
            } else if (rotation == 180) {
                cx = GetLeft(X0 + (S * 0.8 + W) / 2);
                cy = GetTop(Y0 + H / 2 - GapY - (Memo->Memo().Count() == 1 ? 2 : 0));
            } else if (rotation == 270) {
                cx = GetLeft(X0 + (W - S * 0.8) / 2);
                cy = GetTop(Y0 + H / 2);
            } else {
                // Other angles turn about the memo's centre, as the preview does; the lines are
                // placed relative to it below. (Half the turned box's extent, used before, put a
                // 30-degree line of a wide, low memo about a hundred pixels below its centre.)
                cx = GetLeft(X0 + W / 2);
                cy = GetTop(Y0 + H / 2);
            }
            w << num(std::cos(a)) << ' ' << num(std::sin(a)) << ' ' << num(-std::sin(a)) << ' ' << num(std::cos(a))
              << ' ' << num(cx) << ' ' << num(cy) << " cm" << ln;
        }

        if (Memo->Underlines && LH > 0) {
            const int count = int(std::trunc(H / LH));
            for (int i = 1; i <= count; ++i) {
                const double yi = GetTop(Y0 + GapY + 1 + i * LH - Memo->LineSpacing);
                w << GetPDFColor(fr->Color()) << " RG" << ln << num(FW * kDivider) << " w" << ln << num(boxLeft)
                  << ' ' << num(yi) << " m" << ln << num(boxRight) << ' ' << num(yi) << " l" << ln << "S" << ln;
            }
        }

        const int n = L.LineCount();
        // A font of no size draws nothing (and would divide by zero below).
        if (n > 0 && S > 0) {
            TkvlPDFFont &pf = *FFonts[size_t(GetObjFontNumber(*font))];
            w << pf.Name << ' ' << integer(rnd(S)) << " Tf" << ln;
            const bool simBold = (font->Style() & FontStyleBit(fsBold)) && pf.Simulated();
            const bool simItalic = (font->Style() & FontStyleBit(fsItalic)) && pf.Simulated();
            const QByteArray textColor = GetPDFColor(font->Color() == clNone ? 0 : font->Color());
            w << textColor << " rg" << ln;
            const double cs = Memo->CharSpacing * kDivider;
            if (cs != 0)
                w << num(cs) << " Tc" << ln;
            const int memoLines = Memo->Memo().Count();
            const bool sameLines = memoLines == n;
            const bool underline = font->Style() & FontStyleBit(fsUnderline);
            const bool strike = font->Style() & FontStyleBit(fsStrikeOut);
            const bool rotated = rotation > 0;
            double X = t, Y = o;
            if ((rotation > 44 && rotation < 136) || (rotation > 224 && rotation <= 315)) {
                X = o;
                Y = t;
            }
            for (int i = 0; i < n; ++i) {
                const uint8_t flags = L.LineFlags(i);
                const double P = sameLines ? (i == 0 ? Memo->ParagraphGap : 0)
                                           : ((flags & kvlParaFirst) ? Memo->ParagraphGap : 0);
                const QString line = L.Line(i);
                if (line.isEmpty())
                    continue;
                const TkvlPDFFont::Run &run = pf.RemapString(line, Memo->RTLReading);
                const double A = double(run.width);
                double tw = S * A / kDivider / 1000;
                const double chars = double(line.size());
                const double s = Memo->HAlign == haRight ? cs * (chars - 1) : 0;
                const int j = i;
                double x, y, K;
                if (!rotated) {
                    K = t - 2 * GapX - P;
                    const double left = X0 + GapX + P;
                    double start = left;
                    switch (Memo->HAlign) {
                    case haLeft: break;
                    case haRight: start = left + K - tw; break;
                    case haCenter: start = left + (K - tw) / 2; break;
                    case haBlock:
                        // Right to left with room to spare starts at the right; without room
                        // at the left.
                        if (Memo->RTLReading && K > 0 && (K - tw) / K >= 0.05)
                            start = left + K - tw;
                        break;
                    }
                    x = GetLeft(start) - s;
                    const double top = Y0 + GapY - S * 0.1, height = o - 2 * GapY;
                    double v;
                    switch (Memo->VAlign) {
                    case vaBottom: v = height + top - (n - j - 1) * LH; break;
                    case vaCenter: v = top + (height - n * LH) / 2 + (j + 1) * LH; break;
                    default: v = top + (j + 1) * LH; break;
                    }
                    y = GetTop(v - Memo->LineSpacing);
                } else {
                    K = X;
                    double u;
                    switch (Memo->HAlign) {
                    case haRight: u = X / 2 - tw; break;
                    case haCenter: u = -tw / 2; break;
                    default: u = -X / 2; break;
                    }
                    x = u * kDivider - s;
                    double r2;
                    switch (Memo->VAlign) {
                    case vaBottom: r2 = Y / 2 - (n - j - 1) * LH; break;
                    case vaCenter: r2 = -LH * n / 2 + (j + 1) * LH; break;
                    default: r2 = (j + 1) * LH - Y / 2; break;
                    }
                    y = -r2 * kDivider + S * 0.4;
                }
                w << "BT" << ln << num(x) << ' ' << num(y) << " Td" << ln;
                if (simItalic)
                    w << "1 0 0.3333 1 " << num(x) << ' ' << num(y) << " Tm" << ln;
                if (simBold)
                    w << "2 Tr " << num(S / 35) << " w " << textColor << " RG" << ln;
                const bool endsParagraph = sameLines || (flags & kvlParaLast);
                if (Memo->HAlign == haBlock && !endsParagraph && run.spaces > 0 && K > 0) {
                    tw = K;
                    // Spread over the blanks so that the line's glyph widths plus the
                    // adjustments fill the available width.
                    const double target = (K - (chars - 1) * Memo->CharSpacing) * kDivider * 1000 / S;
                    const double d = (A - target) / run.spaces;
                    const long long whole = static_cast<long long>(std::trunc(d));
                    const double frac = d - double(whole);
                    double sum = 0;
                    w << "[<";
                    for (int g = 0; g < run.glyphCount(); ++g) {
                        FContent.append(run.codes.constData() + 4 * g, 4);
                        if (!run.blank[size_t(g)])
                            continue;
                        long long adj = whole;
                        sum += frac;
                        if (std::fabs(sum) >= 1) {
                            adj += sum > 0 ? 1 : -1;
                            sum -= sum > 0 ? 1 : -1;
                        }
                        if (adj != 0)
                            w << ">" << integer(adj) << "<";
                    }
                    w << ">] TJ" << ln << "ET" << ln;
                } else {
                    w << "<" << run.codes << "> Tj" << ln << "ET" << ln;
                }
                if (simBold)
                    w << "0 Tr" << ln;
                const QByteArray fontColor = GetPDFColor(font->Color() == clNone ? 0 : font->Color());
                if (underline) {
                    const double uy = y - S * 0.12;
                    w << "[] 0 d" << ln << fontColor << " RG" << ln << num(S * 0.08) << " w" << ln << num(x) << ' '
                      << num(uy) << " m" << ln << num(x + tw * kDivider) << ' ' << num(uy) << " l" << ln << "S"
                      << ln;
                }
                if (strike) {
                    const double sy = y + S * 0.28;
                    w << fontColor << " RG" << ln << num(S * 0.08) << " w" << ln << num(x) << ' ' << num(sy) << " m"
                      << ln << num(x + tw * kDivider) << ' ' << num(sy) << " l" << ln << "S" << ln;
                }
            }
        }
    }
    w << "Q" << ln;
}
