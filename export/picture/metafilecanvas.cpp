#include "export/picture/metafilecanvas.h"

#include "export/picture/dib.h"
#include "report/base/codepage.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

namespace kvl::meta {

namespace {

// Little-endian byte builder.
class Bytes
{
public:
    void u8(uint8_t v) { FData.append(char(v)); }
    void u16(uint16_t v) { u8(uint8_t(v)), u8(uint8_t(v >> 8)); }
    void i16(int v) { u16(uint16_t(int16_t(std::clamp(v, -32768, 32767)))); }
    void u32(uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f32(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void raw(const QByteArray &b) { FData.append(b); }
    void pad(int align)
    {
        while (FData.size() % align)
            u8(0);
    }
    qsizetype size() const { return FData.size(); }
    QByteArray &data() { return FData; }

private:
    QByteArray FData;
};

// GDI's pen styles.
uint32_t penStyle(const gfx::Pen &p)
{
    uint32_t style;
    switch (p.style) {
    case psDash: style = 1; break;
    case psDot:
    case psAlternate: style = 2; break;
    case psDashDot: style = 3; break;
    case psDashDotDot: style = 4; break;
    case psClear: style = 5; break;
    case psInsideFrame: style = 6; break;
    default: style = 0; break;
    }
    if (p.geometric && style != 5) {
        style |= 0x10000;  // PS_GEOMETRIC
        style |= p.cap == gfx::PenCap::Square ? 0x100 : p.cap == gfx::PenCap::Flat ? 0x200 : 0;
        style |= p.join == gfx::PenJoin::Bevel ? 0x1000 : p.join == gfx::PenJoin::Miter ? 0x2000 : 0;
    }
    return style;
}

struct BrushFields {
    uint16_t style;  // BS_SOLID 0, BS_NULL 1, BS_HATCHED 2
    uint16_t hatch;
};

BrushFields brushFields(const gfx::Brush &b)
{
    switch (b.style) {
    case bsSolid: return {0, 0};
    case bsClear: return {1, 0};
    case bsHorizontal: return {2, 0};
    case bsVertical: return {2, 1};
    case bsFDiagonal: return {2, 2};
    case bsBDiagonal: return {2, 3};
    case bsCross: return {2, 4};
    case bsDiagCross: return {2, 5};
    }
    return {1, 0};
}

} // namespace

// The records of one metafile format. Shapes are drawn with the pen and brush selected by
// the last SelectPen / SelectBrush; Release puts the null ones back and frees the others.
class Encoder
{
public:
    virtual ~Encoder() = default;
    virtual void SelectPen(const gfx::Pen &Pen) = 0;
    virtual void SelectBrush(const gfx::Brush &Brush) = 0;
    virtual void SelectFont(const gfx::FontDesc &Font) = 0;
    virtual void Release() = 0;
    virtual void TextColors(TColor Text, gfx::BkMode Mode, TColor Back) = 0;
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    virtual void Poly(bool Closed, const QPoint *Pts, int n) = 0;
    enum BoxKind { Rect, Ellipse, RoundRect };
    virtual void Box(BoxKind Kind, int l, int t, int r, int b, int cw = 0, int ch = 0) = 0;
    virtual void Text(int x, int y, unsigned Options, const QRect *Clip, QStringView Text, const std::vector<int> &Dx) = 0;
    virtual void Image(const QRect &Dst, const QImage &Img) = 0;
    virtual void SaveDC() = 0;
    virtual void RestoreDC() = 0;
    virtual void ClipRect(bool Exclude, const QRect &r) = 0;
    virtual void ClipPolygons(const QList<QPolygonF> &Polys) = 0;
    virtual void ResetClip() = 0;
    virtual QByteArray Finish() = 0;
};

namespace {

// ---------------------------------------------------------------------------------------------
// Enhanced metafile

class EmfEncoder : public Encoder
{
public:
    EmfEncoder(int w, int h) : FW(w), FH(h)
    {
        Record(17, [](Bytes &b) { b.u32(1); });  // MM_TEXT
        Record(18, [](Bytes &b) { b.u32(1); });  // transparent background until text asks
        Record(22, [](Bytes &b) { b.u32(0); });  // TA_TOP | TA_LEFT, no current position
    }

    template <typename Body> void Record(uint32_t Type, Body body)
    {
        Bytes b;
        body(b);
        b.pad(4);
        FBody.u32(Type);
        FBody.u32(uint32_t(b.size() + 8));
        FBody.raw(b.data());
        ++FRecords;
    }

    static void rect(Bytes &b, int l, int t, int r, int bt)
    {
        b.i32(l), b.i32(t), b.i32(r), b.i32(bt);
    }

    void SelectPen(const gfx::Pen &p) override
    {
        const bool none = p.style == psClear || p.color == clNone;
        if (none) {
            Record(37, [](Bytes &b) { b.u32(0x80000008); });  // NULL_PEN
            return;
        }
        Record(38, [&](Bytes &b) {
            b.u32(1);
            b.u32(penStyle(p));
            b.i32(std::max(p.width, 0)), b.i32(0);
            b.u32(gfx::colorToRgb(p.color));
        });
        Record(37, [](Bytes &b) { b.u32(1); });
        FPenMade = true;
    }

    void SelectBrush(const gfx::Brush &br) override
    {
        const BrushFields f = brushFields(br);
        if (f.style == 1 || br.color == clNone) {
            Record(37, [](Bytes &b) { b.u32(0x80000005); });  // NULL_BRUSH
            return;
        }
        Record(39, [&](Bytes &b) {
            b.u32(2);
            b.u32(f.style);
            b.u32(gfx::colorToRgb(br.color));
            b.u32(f.hatch);
        });
        Record(37, [](Bytes &b) { b.u32(2); });
        FBrushMade = true;
    }

    void SelectFont(const gfx::FontDesc &f) override
    {
        Record(82, [&](Bytes &b) {
            b.u32(3);
            b.i32(f.height), b.i32(0), b.i32(f.orientation), b.i32(f.orientation);
            b.i32(f.bold() ? 700 : 400);
            b.u8(f.italic()), b.u8(f.underline()), b.u8(f.strikeOut()), b.u8(f.charset);
            b.u8(0), b.u8(0), b.u8(f.quality), b.u8(f.pitch);
            for (int i = 0; i < 32; ++i)
                b.u16(i < f.name.size() && i < 31 ? f.name[i].unicode() : 0);
        });
        Record(37, [](Bytes &b) { b.u32(3); });
        FFontMade = true;
    }

    void Release() override
    {
        Record(37, [](Bytes &b) { b.u32(0x80000008); });
        Record(37, [](Bytes &b) { b.u32(0x80000005); });
        if (FFontMade)
            Record(37, [](Bytes &b) { b.u32(0x8000000D); });  // SYSTEM_FONT
        for (uint32_t ih : {1u, 2u, 3u}) {
            bool &made = ih == 1 ? FPenMade : ih == 2 ? FBrushMade : FFontMade;
            if (made)
                Record(40, [ih](Bytes &b) { b.u32(ih); });
            made = false;
        }
    }

    void TextColors(TColor Text, gfx::BkMode Mode, TColor Back) override
    {
        Record(24, [&](Bytes &b) { b.u32(gfx::colorToRgb(Text)); });
        Record(18, [&](Bytes &b) { b.u32(uint32_t(Mode)); });
        Record(25, [&](Bytes &b) { b.u32(gfx::colorToRgb(Back)); });
    }

    void Line(int x0, int y0, int x1, int y1) override
    {
        Record(27, [&](Bytes &b) { b.i32(x0), b.i32(y0); });
        Record(54, [&](Bytes &b) { b.i32(x1), b.i32(y1); });
    }

    void Poly(bool Closed, const QPoint *Pts, int n) override
    {
        Record(Closed ? 3 : 4, [&](Bytes &b) { polyBody(b, Pts, n); });
    }

    static void polyBody(Bytes &b, const QPoint *Pts, int n)
    {
        QRect bounds;
        for (int i = 0; i < n; ++i)
            bounds |= QRect(Pts[i], QSize(1, 1));
        rect(b, bounds.left(), bounds.top(), bounds.right(), bounds.bottom());
        b.u32(uint32_t(n));
        for (int i = 0; i < n; ++i)
            b.i32(Pts[i].x()), b.i32(Pts[i].y());
    }

    void Box(BoxKind Kind, int l, int t, int r, int bt, int cw, int ch) override
    {
        const uint32_t type = Kind == Rect ? 43 : Kind == Ellipse ? 42 : 44;
        Record(type, [&](Bytes &b) {
            rect(b, l, t, r, bt);
            if (Kind == RoundRect)
                b.i32(cw), b.i32(ch);
        });
    }

    void Text(int x, int y, unsigned Options, const QRect *Clip, QStringView Text, const std::vector<int> &Dx) override
    {
        const int n = int(Text.size());
        Record(84, [&](Bytes &b) {
            const int width = std::accumulate(Dx.begin(), Dx.end(), 0);
            rect(b, x, y, x + width, y);  // bounds: advisory
            b.u32(1);                     // GM_COMPATIBLE
            b.f32(float(2540.0 / 96)), b.f32(float(2540.0 / 96));  // 0.01 mm per pixel
            b.i32(x), b.i32(y);
            b.u32(uint32_t(n));
            const uint32_t offString = 8 + 28 + 40;  // record header, bounds to scales, EMRTEXT
            const uint32_t strBytes = uint32_t((2 * n + 3) & ~3);
            b.u32(offString);
            b.u32(Options & (gfx::TextOpaque | gfx::TextClipped | gfx::TextRtlReading));
            if (Clip)
                rect(b, Clip->left(), Clip->top(), Clip->right() + 1, Clip->bottom() + 1);
            else
                rect(b, 0, 0, -1, -1);
            b.u32(offString + strBytes);
            for (QChar c : Text)
                b.u16(c.unicode());
            b.pad(4);
            for (int d : Dx)
                b.i32(d);
        });
    }

    void Image(const QRect &Dst, const QImage &Img) override
    {
        const picture::Dib dib = picture::MakeDib(Img);
        Record(81, [&](Bytes &b) {
            rect(b, Dst.left(), Dst.top(), Dst.right(), Dst.bottom());
            b.i32(Dst.left()), b.i32(Dst.top());
            b.i32(0), b.i32(0), b.i32(Img.width()), b.i32(Img.height());
            b.u32(80), b.u32(uint32_t(dib.info.size()));
            b.u32(uint32_t(80 + dib.info.size())), b.u32(uint32_t(dib.bits.size()));
            b.u32(0);            // DIB_RGB_COLORS
            b.u32(0x00CC0020);   // SRCCOPY
            b.i32(Dst.width()), b.i32(Dst.height());
            b.raw(dib.info);
            b.raw(dib.bits);
        });
    }

    void SaveDC() override { Record(33, [](Bytes &) {}); }
    void RestoreDC() override { Record(34, [](Bytes &b) { b.i32(-1); }); }

    void ClipRect(bool Exclude, const QRect &r) override
    {
        Record(Exclude ? 29 : 30, [&](Bytes &b) { rect(b, r.left(), r.top(), r.right() + 1, r.bottom() + 1); });
    }

    void ClipPolygons(const QList<QPolygonF> &Polys) override
    {
        Record(59, [](Bytes &) {});  // BEGINPATH
        for (const QPolygonF &poly : Polys) {
            const QPolygon p = poly.toPolygon();
            Poly(true, p.constData(), int(p.size()));
        }
        Record(60, [](Bytes &) {});                   // ENDPATH
        Record(67, [](Bytes &b) { b.u32(1); });       // SELECTCLIPPATH, RGN_AND
    }

    void ResetClip() override
    {
        Record(75, [](Bytes &b) { b.u32(0), b.u32(5); });  // no region, RGN_COPY: no clipping
    }

    QByteArray Finish() override
    {
        Record(14, [](Bytes &b) { b.u32(0), b.u32(16), b.u32(20); });
        Bytes head;
        const uint32_t total = uint32_t(108 + FBody.size());
        head.u32(1);
        head.u32(108);
        // Bounds and frame with exclusive right and bottom edges: the picture's exact size.
        rect(head, 0, 0, FW, FH);
        rect(head, 0, 0, int(std::lround(FW * 2540.0 / 96)), int(std::lround(FH * 2540.0 / 96)));
        head.u32(0x464D4520);  // " EMF"
        head.u32(0x10000);
        head.u32(total);
        head.u32(FRecords + 1);
        head.u16(4);           // handles 1 to 3, plus the reserved 0
        head.u16(0);
        head.u32(0), head.u32(0), head.u32(0);
        // Reference device: a 96-per-inch screen of 1920 x 1080 pixels.
        head.i32(1920), head.i32(1080);
        head.i32(508), head.i32(286);
        head.u32(0), head.u32(0), head.u32(0);
        head.i32(508000), head.i32(285750);
        return head.data() + FBody.data();
    }

private:
    int FW, FH;
    Bytes FBody;
    uint32_t FRecords = 0;
    bool FPenMade = false, FBrushMade = false, FFontMade = false;
};

// ---------------------------------------------------------------------------------------------
// Placeable Windows metafile (16-bit coordinates, 8-bit text in the ANSI page)

class WmfEncoder : public Encoder
{
public:
    // Slots 0 to 2 hold a null pen, a null brush and a default font for the whole file;
    // each shape's own pen, brush and font take the next free slots and are freed after it.
    WmfEncoder(int w, int h) : FW(w), FH(h)
    {
        // Anisotropic: readers map the window onto the placeable header's box; under MM_TEXT
        // some take the coordinates as device pixels and draw the picture a few pixels wide.
        Record(0x0103, [](Bytes &b) { b.u16(8); });               // MM_ANISOTROPIC
        Record(0x020B, [](Bytes &b) { b.i16(0), b.i16(0); });     // window origin
        Record(0x020C, [&](Bytes &b) { b.i16(FH), b.i16(FW); });  // window extent
        Record(0x0102, [](Bytes &b) { b.u16(1); });
        Record(0x012E, [](Bytes &b) { b.u16(0); });
        Record(0x02FA, [](Bytes &b) { b.u16(5), b.i16(0), b.i16(0), b.u32(0); });
        Record(0x02FC, [](Bytes &b) { b.u16(1), b.u32(0), b.u16(0); });
        fontRecord(gfx::FontDesc());
        FSlots = 3;
    }

    template <typename Body> void Record(uint16_t Function, Body body)
    {
        Bytes b;
        body(b);
        b.pad(2);
        const uint32_t words = uint32_t(3 + b.size() / 2);
        FBody.u32(words);
        FBody.u16(Function);
        FBody.raw(b.data());
        FMaxRecord = std::max(FMaxRecord, words);
    }

    void fontRecord(const gfx::FontDesc &f)
    {
        Record(0x02FB, [&](Bytes &b) {
            b.i16(f.height), b.i16(0), b.i16(f.orientation), b.i16(f.orientation);
            b.i16(f.bold() ? 700 : 400);
            b.u8(f.italic()), b.u8(f.underline()), b.u8(f.strikeOut()), b.u8(f.charset);
            b.u8(0), b.u8(0), b.u8(f.quality), b.u8(f.pitch);
            QByteArray face = cp::Encode(f.name, cp::kAnsiCodePage).left(31);
            face.resize(32, '\0');
            b.raw(face);
        });
    }

    int take()
    {
        const int slot = FSlots++;
        FMaxSlots = std::max(FMaxSlots, FSlots);
        return slot;
    }

    void select(int slot) { Record(0x012D, [slot](Bytes &b) { b.u16(uint16_t(slot)); }); }

    void SelectPen(const gfx::Pen &p) override
    {
        if (p.style == psClear || p.color == clNone) {
            select(0);
            return;
        }
        Record(0x02FA, [&](Bytes &b) {
            b.u16(uint16_t(penStyle(p) & 0xFFFF));
            b.i16(std::max(p.width, 0)), b.i16(0);
            b.u32(gfx::colorToRgb(p.color));
        });
        select(take());
    }

    void SelectBrush(const gfx::Brush &br) override
    {
        const BrushFields f = brushFields(br);
        if (f.style == 1 || br.color == clNone) {
            select(1);
            return;
        }
        Record(0x02FC, [&](Bytes &b) {
            b.u16(f.style);
            b.u32(gfx::colorToRgb(br.color));
            b.u16(f.hatch);
        });
        select(take());
    }

    void SelectFont(const gfx::FontDesc &f) override
    {
        fontRecord(f);
        select(take());
    }

    void Release() override
    {
        if (FSlots == 3)
            return;
        select(0);
        select(1);
        select(2);
        for (int s = 3; s < FSlots; ++s)
            Record(0x01F0, [s](Bytes &b) { b.u16(uint16_t(s)); });
        FSlots = 3;
    }

    void TextColors(TColor Text, gfx::BkMode Mode, TColor Back) override
    {
        Record(0x0209, [&](Bytes &b) { b.u32(gfx::colorToRgb(Text)); });
        Record(0x0102, [&](Bytes &b) { b.u16(uint16_t(Mode)); });
        Record(0x0201, [&](Bytes &b) { b.u32(gfx::colorToRgb(Back)); });
    }

    void Line(int x0, int y0, int x1, int y1) override
    {
        Record(0x0214, [&](Bytes &b) { b.i16(y0), b.i16(x0); });
        Record(0x0213, [&](Bytes &b) { b.i16(y1), b.i16(x1); });
    }

    void Poly(bool Closed, const QPoint *Pts, int n) override
    {
        n = std::min(n, 0x7FFF);
        Record(Closed ? 0x0324 : 0x0325, [&](Bytes &b) {
            b.u16(uint16_t(n));
            for (int i = 0; i < n; ++i)
                b.i16(Pts[i].x()), b.i16(Pts[i].y());
        });
    }

    void Box(BoxKind Kind, int l, int t, int r, int bt, int cw, int ch) override
    {
        const uint16_t fn = Kind == Rect ? 0x041B : Kind == Ellipse ? 0x0418 : 0x061C;
        Record(fn, [&](Bytes &b) {
            if (Kind == RoundRect)
                b.i16(ch), b.i16(cw);
            b.i16(bt), b.i16(r), b.i16(t), b.i16(l);
        });
    }

    void Text(int x, int y, unsigned Options, const QRect *Clip, QStringView Text, const std::vector<int> &Dx) override
    {
        const QByteArray s = cp::Encode(Text, cp::kAnsiCodePage);
        const unsigned opts = Options & (gfx::TextOpaque | gfx::TextClipped);
        Record(0x0A32, [&](Bytes &b) {
            b.i16(y), b.i16(x);
            b.u16(uint16_t(s.size()));
            b.u16(uint16_t(opts));
            if (opts) {
                const QRect r = Clip ? *Clip : QRect();
                b.i16(r.left()), b.i16(r.top()), b.i16(r.right() + 1), b.i16(r.bottom() + 1);
            }
            b.raw(s);
            b.pad(2);
            // One advance per byte; the ANSI page has one byte per UTF-16 unit.
            for (qsizetype i = 0; i < s.size(); ++i)
                b.i16(i < qsizetype(Dx.size()) ? Dx[size_t(i)] : 0);
        });
    }

    void Image(const QRect &Dst, const QImage &Img) override
    {
        const picture::Dib dib = picture::MakeDib(Img);
        Record(0x0F43, [&](Bytes &b) {
            b.u32(0x00CC0020);
            b.u16(0);
            b.i16(Img.height()), b.i16(Img.width()), b.i16(0), b.i16(0);
            b.i16(Dst.height()), b.i16(Dst.width()), b.i16(Dst.top()), b.i16(Dst.left());
            b.raw(dib.info);
            b.raw(dib.bits);
        });
    }

    void SaveDC() override { Record(0x001E, [](Bytes &) {}); }
    void RestoreDC() override { Record(0x0127, [](Bytes &b) { b.i16(-1); }); }

    void ClipRect(bool Exclude, const QRect &r) override
    {
        Record(Exclude ? 0x0415 : 0x0416,
               [&](Bytes &b) { b.i16(r.bottom() + 1), b.i16(r.right() + 1), b.i16(r.top()), b.i16(r.left()); });
    }

    // The format has no clipping paths: the paths' bounding rectangle stands in.
    void ClipPolygons(const QList<QPolygonF> &Polys) override
    {
        QRectF bounds;
        for (const QPolygonF &p : Polys)
            bounds |= p.boundingRect();
        ClipRect(false, bounds.toAlignedRect());
    }

    // Nor a way back to no clipping short of restoring the state: clip to the whole picture.
    void ResetClip() override { ClipRect(false, QRect(0, 0, FW, FH)); }

    QByteArray Finish() override
    {
        Record(0x0000, [](Bytes &) {});
        Bytes head;
        head.u32(0x9AC6CDD7);
        head.u16(0);
        head.i16(0), head.i16(0), head.i16(FW), head.i16(FH);
        head.u16(96);
        head.u32(0);
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= uint16_t(uchar(head.data()[2 * i]) | (uchar(head.data()[2 * i + 1]) << 8));
        head.u16(sum);
        head.u16(1);   // in memory
        head.u16(9);   // header words
        head.u16(0x0300);
        head.u32(uint32_t(9 + FBody.size() / 2));
        head.u16(uint16_t(FMaxSlots));
        head.u32(FMaxRecord);
        head.u16(0);
        return head.data() + FBody.data();
    }

private:
    int FW, FH;
    Bytes FBody;
    int FSlots = 0;
    int FMaxSlots = 3;
    uint32_t FMaxRecord = 0;
};

} // namespace

// ---------------------------------------------------------------------------------------------

MetafileCanvas::MetafileCanvas(Format Kind, int Width, int Height)
{
    if (Width < 0 || Height < 0)
        throw EMetafileError(QStringLiteral("A metafile cannot have a negative size"));
    if (Kind == Format::Wmf) {
        if (Width > 0x7FFF || Height > 0x7FFF)
            throw EMetafileError(QStringLiteral("A WMF picture is at most 32767 pixels wide and high, not %1 x %2")
                                     .arg(Width)
                                     .arg(Height));
        FOut = std::make_unique<WmfEncoder>(Width, Height);
    } else {
        FOut = std::make_unique<EmfEncoder>(Width, Height);
    }
}

MetafileCanvas::~MetafileCanvas() = default;

QByteArray MetafileCanvas::finish()
{
    return FOut->Finish();
}

template <typename Draw> void MetafileCanvas::shape(bool usePen, bool useBrush, Draw draw)
{
    gfx::Pen p = pen();
    if (!usePen)
        p.style = psClear;
    gfx::Brush b = brush();
    if (!useBrush)
        b.style = bsClear;
    FOut->SelectPen(p);
    FOut->SelectBrush(b);
    draw();
    FOut->Release();
}

void MetafileCanvas::line(int x0, int y0, int x1, int y1)
{
    shape(true, false, [&] { FOut->Line(x0, y0, x1, y1); });
}

void MetafileCanvas::polyline(const QPoint *pts, int n)
{
    if (n >= 2)
        shape(true, false, [&] { FOut->Poly(false, pts, n); });
}

void MetafileCanvas::polygon(const QPoint *pts, int n)
{
    if (n >= 2)
        shape(true, true, [&] { FOut->Poly(true, pts, n); });
}

void MetafileCanvas::rectangle(int l, int t, int r, int b)
{
    shape(true, true, [&] { FOut->Box(Encoder::Rect, l, t, r, b); });
}

void MetafileCanvas::roundRect(int l, int t, int r, int b, int cw, int ch)
{
    shape(true, true, [&] { FOut->Box(Encoder::RoundRect, l, t, r, b, cw, ch); });
}

void MetafileCanvas::ellipse(int l, int t, int r, int b)
{
    shape(true, true, [&] { FOut->Box(Encoder::Ellipse, l, t, r, b); });
}

void MetafileCanvas::fillRect(const QRect &r)
{
    // A rectangle without a pen fills one pixel less to the right and below.
    shape(false, true, [&] { FOut->Box(Encoder::Rect, r.left(), r.top(), r.right() + 2, r.bottom() + 2); });
}

void MetafileCanvas::extTextOut(int x, int y, unsigned options, const QRect *clip, QStringView text, const int *dx)
{
    if (text.isEmpty() && !(options & gfx::TextOpaque))
        return;
    // Readers place text by its advances: give the ones the report measured.
    std::vector<int> advances(size_t(text.size()));
    if (dx) {
        advances.assign(dx, dx + text.size());
    } else if (!text.isEmpty()) {
        std::vector<int> cumulative(size_t(text.size()));
        textExtents(text, cumulative.data());
        for (size_t i = 0; i < cumulative.size(); ++i)
            advances[i] = cumulative[i] - (i ? cumulative[i - 1] : 0);
    }
    FOut->TextColors(font().color, bkMode(), bkColor());
    FOut->SelectFont(font());
    FOut->Text(x, y, options, clip, text, advances);
    FOut->Release();
}

void MetafileCanvas::drawImage(const QRect &dst, const QImage &img, const QRect &src)
{
    if (dst.isEmpty() || img.isNull())
        return;
    const QRect part = src.isNull() ? img.rect() : src.intersected(img.rect());
    if (part.isEmpty())
        return;
    FOut->Image(dst, part == img.rect() ? img : img.copy(part));
}

// The formats' transparent blits are not read back reliably by other programs: the picture
// is written opaque.
void MetafileCanvas::drawImageTransparent(const QRect &dst, const QImage &img, TColor)
{
    drawImage(dst, img, img.rect());
}

void MetafileCanvas::saveClip() { FOut->SaveDC(); }
void MetafileCanvas::restoreClip() { FOut->RestoreDC(); }
void MetafileCanvas::intersectClipRect(const QRect &r) { FOut->ClipRect(false, r); }
void MetafileCanvas::excludeClipRect(const QRect &r) { FOut->ClipRect(true, r); }

void MetafileCanvas::intersectClipPath(const QPainterPath &p)
{
    FOut->ClipPolygons(p.toFillPolygons());
}

void MetafileCanvas::resetClip() { FOut->ResetClip(); }

bool MetafileCanvas::rectVisible(const QRect &) const
{
    return true;
}

} // namespace kvl::meta
