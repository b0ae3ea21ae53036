#include "script/classlib/qsgraphicsobjects.h"

#include "platform/gfx/picture.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "script/items/qsitems.h"

namespace qscl {

LIRRA_DEFINE_CLASS(TPen)
void TPen::DeclareClass(rtl::ClassBuilder<TPen> &) {}
LIRRA_DEFINE_CLASS(TBrush)
void TBrush::DeclareClass(rtl::ClassBuilder<TBrush> &) {}
LIRRA_DEFINE_CLASS(TCanvas)
void TCanvas::DeclareClass(rtl::ClassBuilder<TCanvas> &) {}
LIRRA_DEFINE_CLASS(TGraphic)
void TGraphic::DeclareClass(rtl::ClassBuilder<TGraphic> &) {}
LIRRA_DEFINE_CLASS(TMetafile)
void TMetafile::DeclareClass(rtl::ClassBuilder<TMetafile> &) {}
LIRRA_DEFINE_CLASS(TBitmap)
void TBitmap::DeclareClass(rtl::ClassBuilder<TBitmap> &) {}
LIRRA_DEFINE_CLASS(TMetafileCanvas)
void TMetafileCanvas::DeclareClass(rtl::ClassBuilder<TMetafileCanvas> &) {}

TCanvas::TCanvas()
{
    FOwn = std::make_unique<gfx::RecordingCanvas>();
}

TCanvas::~TCanvas()
{
    delete rtl::ObjectHandles::objectAs<::TFont>(FFont);
    delete rtl::ObjectHandles::objectAs<TPen>(FPen);
    delete rtl::ObjectHandles::objectAs<TBrush>(FBrush);
}

void TCanvas::Borrow(TPersistent *owner, Resolve resolve, Pixels pixels)
{
    FOwn.reset();
    FOwnerHandle = rtl::ObjectHandles::handleOf(owner);
    FResolve = resolve;
    FPixels = pixels;
}

TPersistent *TCanvas::Owner() const
{
    TPersistent *owner = FOwnerHandle ? rtl::ObjectHandles::objectAs<TPersistent>(FOwnerHandle) : nullptr;
    if (FOwnerHandle && !owner)
        throw EqsRunError(QStringLiteral("Canvas does not allow drawing: its picture was freed"));
    return owner;
}

::TCanvas &TCanvas::Surface()
{
    ::TCanvas *surface = FOwn ? FOwn.get() : FResolve(Owner());
    gfx::Pen pen = Pen().Pen;
    gfx::Brush brush = Brush().Brush;
    gfx::RasterOp rop = gfx::RasterOp::Copy;
    // A mode combines pen and brush with the pixels below.
    auto both = [&](TColor c) { pen.color = brush.color = c; };
    auto inverted = [](TColor c) { return TColor(~gfx::colorToRgb(c) & 0xFFFFFF); };
    switch (Pen().Mode) {
    case pmBlack: both(0); break;
    case pmWhite: both(0xFFFFFF); break;
    case pmNop:
        pen.style = psClear;
        brush.style = bsClear;
        break;
    case pmNot: // D xor white
        both(0xFFFFFF);
        rop = gfx::RasterOp::Xor;
        break;
    case pmNotCopy:
        pen.color = inverted(pen.color);
        brush.color = inverted(brush.color);
        break;
    case pmXor: rop = gfx::RasterOp::Xor; break;
    case pmNotXor: rop = gfx::RasterOp::NotXor; break;
    case pmMerge: rop = gfx::RasterOp::Merge; break;
    case pmNotMerge: rop = gfx::RasterOp::NotMerge; break;
    case pmMask: rop = gfx::RasterOp::Mask; break;
    case pmNotMask: rop = gfx::RasterOp::NotMask; break;
    case pmMergePenNot: rop = gfx::RasterOp::MergePenNot; break;
    case pmMaskPenNot: rop = gfx::RasterOp::MaskPenNot; break;
    case pmMergeNotPen: rop = gfx::RasterOp::MergeNotPen; break;
    case pmMaskNotPen: rop = gfx::RasterOp::MaskNotPen; break;
    default: break;
    }
    surface->setPen(pen);
    surface->setBrush(brush);
    surface->setRasterOp(rop);
    surface->setFont(Font().Desc());
    return *surface;
}

TColor TCanvas::Pixel(int x, int y) { return FPixels ? FPixels(Owner(), x, y) : -1; }

void TCanvas::SetPixel(int x, int y, TColor color)
{
    // a pixel set by hand takes its colour whatever the pen's mode
    ::TCanvas &s = Surface();
    s.setBrush(gfx::Brush{color, bsSolid});
    s.setRasterOp(gfx::RasterOp::Copy);
    s.fillRect(QRect(x, y, 1, 1));
}

TColor ImagePixel(const QImage &img, int x, int y)
{
    if (!img.valid(x, y))
        return -1;
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16);
}

// ---- Graphics

namespace {
void CheckSize(int w, int h)
{
    if (w < 0 || h < 0 || qint64(w) * qint64(h) > ::TPicture::kMaxPixels)
        throw EqsRunError(QStringLiteral("Invalid picture size %1 x %2").arg(w).arg(h));
}
} // namespace

void TGraphic::Resize(int w, int h)
{
    CheckSize(w, h);
    SetSize(w, h);
    Width = w;
    Height = h;
}

void TGraphic::SetSize(int, int) { throw EqsRunError(QStringLiteral("A bare graphic has no size")); }
void TGraphic::Load(const ::TGraphic &) { throw EqsRunError(QStringLiteral("A bare graphic cannot load a picture")); }

void TMetafile::Load(const ::TGraphic &g)
{
    auto m = std::make_unique<::TMetafile>(g.width(), g.height());
    g.draw(&m->canvas(), QRect(0, 0, g.width(), g.height()));
    Graphic = std::move(m);
    Width = g.width();
    Height = g.height();
}

TBitmap::TBitmap() { Graphic = std::make_unique<::TBitmap>(); }

TBitmap::~TBitmap() { delete rtl::ObjectHandles::objectAs<TCanvas>(FCanvas); }

void TBitmap::Load(const ::TGraphic &g)
{
    Width = g.width();
    Height = g.height();
    if (const auto *b = dynamic_cast<const ::TBitmap *>(&g)) {
        Bitmap().setImage(b->image());
        return;
    }
    CheckSize(g.width(), g.height());
    Bitmap().setSize(g.width(), g.height());
    g.draw(Bitmap().canvas(), QRect(0, 0, g.width(), g.height()));
}

TCanvas &TBitmap::Canvas()
{
    // a script may have freed the canvas: a new one then takes its place
    if (auto *canvas = rtl::ObjectHandles::objectAs<TCanvas>(FCanvas))
        return *canvas;
    auto *canvas = new TCanvas;
    FCanvas = rtl::ObjectHandles::handleOf(canvas);
    canvas->Borrow(
        this, [](TPersistent *o) { return static_cast<TBitmap *>(o)->Bitmap().canvas(); },
        [](TPersistent *o, int x, int y) { return ImagePixel(static_cast<TBitmap *>(o)->Bitmap().image(), x, y); });
    return *canvas;
}

} // namespace qscl
