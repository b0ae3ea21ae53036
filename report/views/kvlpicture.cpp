#include "report/views/kvlpicture.h"

#include "platform/gfx/picturehelpers.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/resources/kvlresources.h"
#include "report/views/viewdraw.h"

#include <QFileInfo>
#include <array>
#include <cstring>

LIRRA_DEFINE_CLASS(TkvlPictureView)

// ---- reading ------------------------------------------------------------------------------

namespace {

uint32_t u32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

// The format the first bytes claim (Kind), or false.
bool recognise(const uint8_t *h, int64_t avail, TGraphic::Kind &Kind)
{
    static const uint8_t png[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    if (avail >= 14 && u16(h) == 0x4D42)
        Kind = TGraphic::Bitmap;
    else if (avail >= 2 && h[0] == 0xFF && h[1] == 0xD8)
        Kind = TGraphic::Jpeg;
    else if (avail >= 8 && std::memcmp(h, png, 8) == 0)
        Kind = TGraphic::Png;
    else if (avail >= 22 && u32(h) == 0x9AC6CDD7u)
        Kind = TGraphic::Metafile;
    else if (avail >= 108 && u32(h + 40) == 0x464D4520u)
        Kind = TGraphic::Metafile;
    else if (avail >= 6 && u16(h + 2) <= 1)
        Kind = TGraphic::Icon;
    else
        return false;
    return true;
}

} // namespace

uint32_t kvlLoadPicture(TPicture &Picture, TStream &Stream, bool ResetStreamPos, int64_t End)
{
    const int64_t start = ResetStreamPos ? 0 : Stream.Position();
    Stream.SetPosition(start);
    if (End < 0)
        End = Stream.Size();
    int64_t p = start;
    if (End - start >= 8) {
        // An optional header some databases put before a picture: 1, 256, length of the rest.
        uint8_t h[8];
        Stream.ReadBuffer(h, 8);
        if (u16(h) == 1 && u16(h + 2) == 256 && int64_t(u32(h + 4)) == End - start - 8)
            p = start + 8;
    }
    const int64_t avail = End - p;
    std::array<uint8_t, 108> head{};
    Stream.SetPosition(p);
    if (avail > 0)
        Stream.ReadBuffer(head.data(), std::min<int64_t>(avail, int64_t(head.size())));
    TGraphic::Kind kind;
    if (avail <= 0 || avail > TPicture::kMaxBytes || !recognise(head.data(), avail, kind)) {
        Picture.Clear();
        return kvlE_INVALIDARG;
    }
    Stream.SetPosition(p);
    QByteArray bytes(qsizetype(avail), Qt::Uninitialized);
    Stream.ReadBuffer(bytes.data(), avail);
    try {
        Picture.LoadFromBytes(bytes, kind);
    } catch (const EInvalidGraphic &) {
        // The signature matched but the data is not a picture of that format.
        Picture.Clear();
        return kvlE_INVALIDARG;
    }
    return kvlS_OK;
}

// ---- the view -----------------------------------------------------------------------------

void TkvlPictureView::DeclareClass(rtl::ClassBuilder<TkvlPictureView> &b)
{
    using T = TkvlPictureView;
    b.publish("Cursor");
    b.prop<&T::AutoSize, &T::SetAutoSize>("AutoSize").def(false);
    b.prop<&T::Center>("Center").def(false);
    b.publish("DataField");
    b.publish("DataSet");
    b.publish("DataSetName");
    b.publish("Frame");
    b.publish("FillType");
    b.publish("Fill");
    b.prop<&T::FileLink>("FileLink");
    b.prop<&T::ImageIndex>("ImageIndex").stored<&T::IsImageIndexStored>();
    b.prop<&T::KeepAspectRatio>("KeepAspectRatio").def(true);
    b.prop<&T::Picture, &T::SetPicture>("Picture").stored<&T::IsPictureStored>();
    b.prop<&T::Stretched>("Stretched").def(true);
    b.publish("TagStr");
    b.prop<&T::HightQuality>("HightQuality");
    b.prop<&T::Transparent>("Transparent");
    b.prop<&T::TransparentColor>("TransparentColor", rtl::types::TColor());
    b.publish("URL");
    b.description([] { return kvlResourceText(QStringLiteral("obPicture")); });
}

TkvlPictureView::TkvlPictureView(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlView(AOwner, Design), FPicture(std::make_unique<TPicture>())
{
    SetkvComponentStyle(kvComponentStyle() & TkvlComponentStyle(~kvlBit(csDefaultDiff)));
    FPicture->OnChange = [this](TPicture *) { PictureChanged(); };
}

TkvlPictureView::~TkvlPictureView()
{
    FPicture->OnChange = nullptr;
}

void TkvlPictureView::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value && !FPicture->Empty()) {
        SetWidth(FPicture->Width());
        SetHeight(FPicture->Height());
    }
}

void TkvlPictureView::PictureChanged()
{
    SetAutoSize(FAutoSize);
    PictureChangedFlag = true;
}

uint32_t TkvlPictureView::LoadPictureFromStream(TStream &Stream, bool ResetStreamPos, int64_t End)
{
    return kvlLoadPicture(*FPicture, Stream, ResetStreamPos, End);
}

void TkvlPictureView::GetData()
{
    TkvlView::GetData();
    if (!FileLink.isEmpty()) {
        QString file = FileLink;
        ExpandVariables(file);
        if (!QFileInfo(file).isFile()) {
            FPicture->Clear();
            return;
        }
        try {
            FPicture->LoadFromFile(file);
        } catch (const Exception &e) {
            // An unreadable picture prints as none; the run reports it once at the end.
            FPicture->Clear();
            if (TkvlReport *r = GetReport())
                r->Errors().Add(file + QStringLiteral(": ") + e.message());
        }
    } else if (IsDataField() && DataSet()->IsBlobField(DataField)) {
        TMemoryStream ms;
        DataSet()->AssignBlobTo(DataField, ms);
        LoadPictureFromStream(ms, true);
    }
}

QRect TkvlPictureView::PictureRect() const
{
    int l = X, t = Y, r = X1, b = Y1;
    const int pw = FPicture->Width(), ph = FPicture->Height();
    if (Stretched) {
        if (KeepAspectRatio) {
            const double kx = pw ? double(DX) / pw : 0, ky = ph ? double(DY) / ph : 0;
            if (kx < ky)
                b = t + kvlRnd(ph * kx);
            else
                r = l + kvlRnd(pw * ky);
            if (Center) {
                const int mx = (DX + l - r) / 2, my = (DY + t - b) / 2;
                l += mx, r += mx, t += my, b += my;
            }
        }
    } else {
        const int w = kvlRnd(ScaleX * pw), h = kvlRnd(ScaleY * ph);
        if (Center) {
            l += (DX - w) / 2;
            t += (DY - h) / 2;
        }
        r = l + w;
        b = t + h;
    }
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void TkvlPictureView::Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY)
{
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    if (!DrawAsMask)
        DrawBackground();
    if (!FPicture->Empty()) {
        if (!Stretched) {
            Canvas->saveClip();
            Canvas->intersectClipRect(QRect(QPoint(X, Y), QPoint(X1 - 1, Y1 - 1)));
        }
        kvlDrawGraphic(Canvas, PictureRect(), const_cast<TGraphic *>(FPicture->Graphic()), IsPrinting, HightQuality,
                       Transparent && TransparentColor != clNone, TransparentColor);
        if (!Stretched)
            Canvas->restoreClip();
    } else if (IsDesigning) {
        TImageList &images = kvlResources().GetObjectImages();
        if (images.Count() > 3) {
            const QImage &img = images.Image(3);
            Canvas->drawImage(QRect(X + 1, Y + 2, img.width(), img.height()), img);
        }
    }
    DrawFrame();
}
