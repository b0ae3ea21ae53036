// Images: views without a vector form draw themselves into a bitmap, written as a JPEG with
// an 8-bit soft mask when transparent. Equal images on one page are written once.
#include "export/pdf/pdfexport.h"
#include "export/pdf/pdftext.h"

#include "export/common/framewidths.h"
#include "export/crypto/kvlcrypto.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/picture.h"
#include "platform/rtl/color.h"
#include "report/memo/kvlmemo.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlview.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

using pdf::integer;
using pdf::ln;
using pdf::num;

namespace {

constexpr double kDivider = 0.75;
// No image passes this many pixels a side, so a huge view never allocates gigabytes.
constexpr int kMaxSide = 8192;

int rnd(double v) { return int(std::lround(v)); }

// 0 when the real extent matches the view's, else the shift that centres it or, when only
// the far edge matches, puts it before the view.
double realOffset(double d, double size, double lo, double hi, double abs)
{
    if (d == size || lo == abs)
        return 0;
    if (hi != abs + size)
        return (d - size) / 2;
    return d - size;
}

QByteArray digest(const QByteArray &a, const QByteArray &b = QByteArray())
{
    TCryptoMD5 h;
    h.Push(a.constData(), a.size());
    h.Push(b.constData(), b.size());
    QByteArray out(16, Qt::Uninitialized);
    h.GetDigest(out.data(), 16);
    return out;
}

QByteArray jpeg(const QImage &Image, int Quality)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "jpeg");
    w.setQuality(std::clamp(Quality, 1, 100));
    if (!w.write(Image.convertToFormat(QImage::Format_RGB888)))
        return QByteArray();
    return out;
}

// Restores the frame widths on every path out of the image code.
struct FrameZeroed {
    TkvlFrame &frame;
    TkvlFrameWidths saved;
    bool zeroed;
    explicit FrameZeroed(TkvlFrame &F) : frame(F), saved(F), zeroed(F.Width() > 0)
    {
        if (zeroed)
            frame.SetWidth(0);
    }
    void Restore()
    {
        if (zeroed)
            saved.RestoreTo(frame);
        zeroed = false;
    }
    ~FrameZeroed() { Restore(); }
};

} // namespace

int TkvlPDFExport::FindXObject(const QByteArray &Hash) const
{
    for (size_t i = 0; i < FXObjects.size(); ++i)
        if (FXObjects[i].ObjId != 0 && FXObjects[i].Hash == Hash)
            return int(i);
    return -1;
}

int TkvlPDFExport::AddXObject(int ObjId, const QByteArray &Hash)
{
    FXObjects.push_back({ObjId, Hash});
    return int(FXObjects.size()) - 1;
}

void TkvlPDFExport::ClearXObject()
{
    for (XObject &x : FXObjects)
        x = XObject();
    FUsedXObjects.clear();
}

void TkvlPDFExport::WritePageXObjects(QByteArray &Out)
{
    if (FUsedXObjects.empty())
        return;
    pdf::Writer w(Out);
    w << "/XObject << ";
    for (int k : FUsedXObjects)
        w << "/Im" << integer(k) << ' ' << ObjNumberRef(FXObjects[size_t(k)].ObjId) << ' ';
    w << ">>" << ln;
}

void TkvlPDFExport::AddPictureObject(TkvlView *View)
{
    FrameZeroed frame(*View->Frame());
    auto *pic = rtl_cast<TkvlPictureView>(View);
    const double absLeft = View->GetAbsLeft(), absTop = View->GetAbsTop();
    const TkvlRect r = View->GetRealBounds();
    const double dx = r.Right - r.Left, dy = r.Bottom - r.Top;
    const double offX = realOffset(dx, View->Width(), r.Left, r.Right, absLeft);
    const double offY = realOffset(dy, View->Height(), r.Top, r.Bottom, absTop);
    const TPicture *picture = pic ? pic->Picture() : nullptr;
    if ((pic && picture->Empty()) || dx < 1 || dy < 1) {
        frame.Restore();
        MakeUpFrames(View);
        return;
    }

    double g = 1;
    if (auto *memo = rtl_cast<TkvlCustomMemoView>(View); PrintOptimized || memo) {
        const TBrushStyle brush = View->FillType() == ftBrush ? View->BrushStyle() : bsClear;
        g = memo && brush != bsSolid && brush != bsClear ? 1 : 3;
    }
    g = std::min(g, kMaxSide / std::max(dx, dy));

    const bool transparent = pic ? pic->Transparent && Transparency : View->Color() == clNone && Transparency;
    const bool selfDrawn = !pic || (pic->Transparent && Transparency) || pic->Center;
    int bw = rnd(g * dx), bh = rnd(g * dy);
    if (pic && !selfDrawn) {
        if (pic->Stretched) {
            bw = picture->Width();
            bh = picture->Height();
        } else {
            bw = dx >= picture->Width() ? picture->Width() : bw;
            bh = dy >= picture->Height() ? picture->Height() : bh;
        }
    }
    // A picture larger than the limit is drawn smaller.
    const double shrink = std::min(1.0, double(kMaxSide) / std::max(bw, bh));
    bw = std::max(1, rnd(bw * shrink));
    bh = std::max(1, rnd(bh * shrink));

    // Transparent views draw into a clear image: the alpha left is their coverage.
    QImage canvasImage(bw, bh, QImage::Format_ARGB32_Premultiplied);
    canvasImage.fill(transparent ? Qt::transparent : Qt::white);
    TBitmap bitmap(canvasImage);
    try {
        if (selfDrawn) {
            View->Draw(bitmap.canvas(), g, g, -rnd((absLeft - offX) * g), -rnd((absTop - offY) * g));
        } else {
            const int gw = pic->Stretched ? bw : rnd(picture->Width() * shrink);
            const int gh = pic->Stretched ? bh : rnd(picture->Height() * shrink);
            picture->Graphic()->draw(bitmap.canvas(), QRect(0, 0, gw, gh));
        }
    } catch (...) {
        // a view that fails half-way keeps what it drew
    }
    const QImage drawn = bitmap.image().convertToFormat(QImage::Format_ARGB32);

    QByteArray mask;
    if (transparent) {
        mask.resize(qsizetype(bw) * bh);
        char *m = mask.data();
        for (int y = 0; y < bh; ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
            for (int x = 0; x < bw; ++x)
                *m++ = char(qAlpha(row[x]));
        }
    }
    const QByteArray data = jpeg(drawn, Quality);

    pdf::Writer w(FOut);
    int maskObj = 0;
    QByteArray hash;
    if (!mask.isEmpty()) {
        const QByteArray m = digest(mask);
        const int found = FindXObject(m);
        if (found >= 0) {
            maskObj = FXObjects[size_t(found)].ObjId;
        } else {
            maskObj = UpdateXRef();
            AddXObject(maskObj, m);
            // No /Matte: the colours are not premultiplied, so soft edges keep their colour.
            w << ObjNumber(maskObj) << ln << "<< /Type /XObject" << ln << "/Subtype /Image" << ln << "/Width "
              << integer(bw) << ln << "/Height " << integer(bh) << ln << "/ColorSpace /DeviceGray " << ln
              << "/BitsPerComponent 8" << ln << "/Interpolate false" << ln << " /Length " << integer(mask.size())
              << " >>" << ln << "stream" << ln;
            QByteArray bytes = mask;
            EncryptData(maskObj, bytes);
            FOut += bytes;
            w << ln << "endstream" << ln << "endobj" << ln;
        }
        hash = digest(mask, data);
    } else {
        hash = digest(data);
    }
    int k = FindXObject(hash);
    if (k < 0) {
        const int obj = UpdateXRef();
        k = AddXObject(obj, hash);
        w << ObjNumber(obj) << ln << "<<" << ln << "/Type /XObject" << ln << "/Subtype /Image" << ln
          << "/ColorSpace /DeviceRGB" << ln << "/BitsPerComponent 8" << ln << "/Filter /DCTDecode" << ln << "/Width "
          << integer(bw) << ln << "/Height " << integer(bh) << ln;
        if (maskObj)
            w << "/SMask " << ObjNumberRef(maskObj) << ln;
        w << "/Length " << integer(data.size()) << ln << ">>" << ln << "stream" << ln;
        QByteArray bytes = data;
        EncryptData(obj, bytes);
        FOut += bytes;
        w << ln << "endstream" << ln << "endobj" << ln;
    }
    if (std::find(FUsedXObjects.begin(), FUsedXObjects.end(), k) == FUsedXObjects.end())
        FUsedXObjects.push_back(k);

    // Display size: the box, or the picture's own proportions inside it.
    double dw = dx, dh = dy;
    if (pic && !pic->Center) {
        const double pw = picture->Width(), ph = picture->Height();
        if (pic->KeepAspectRatio && pic->Stretched) {
            const double sx = pw > 0 ? dx / pw : 0, sy = ph > 0 ? dy / ph : 0;
            if (sx < sy)
                dh = ph * sx;
            else
                dw = pw * sy;
        } else if (!pic->Stretched) {
            if (dx > pw)
                dw = pw;
            if (dy > ph)
                dh = ph;
        }
    }
    pdf::Writer c(FContent);
    c << "q" << ln << num(dw * kDivider) << " 0 0 " << num(dh * kDivider) << ' ' << num(GetLeft(absLeft - offX))
      << ' ' << num(GetTop(absTop - offY + dh)) << " cm" << ln << "/Im" << integer(k) << " Do" << ln << "Q" << ln;
    if (FOut.size() >= (1 << 16))
        Flush();

    frame.Restore();
    MakeUpFrames(View);
}
