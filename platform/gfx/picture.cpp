#include "platform/gfx/picture.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/picturedecode.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
#include <cstdlib>

LIRRA_DEFINE_CLASS(TPicture)

void TPicture::DeclareClass(rtl::ClassBuilder<TPicture> &) {}

namespace {

// Metafile data read from a file: kept as bytes, drawn as a placeholder of its size.
class TKeptMetafile : public TMetafile {
public:
    using TMetafile::TMetafile;
    void draw(TCanvas *canvas, const QRect &r) const override
    {
        if (!canvas || r.isEmpty())
            return;
        const gfx::DrawState saved = canvas->state();
        canvas->saveClip();
        canvas->intersectClipRect(r);
        gfx::Pen pen;
        pen.color = 0x808080;
        canvas->setPen(pen);
        canvas->setBrush({0xFFFFFF, bsClear});
        canvas->rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        canvas->moveTo(r.left(), r.top());
        canvas->lineTo(r.right() + 1, r.bottom() + 1);
        canvas->moveTo(r.left(), r.bottom());
        canvas->lineTo(r.right() + 1, r.top() - 1);
        canvas->restoreClip();
        canvas->setState(saved);
    }
};

int32_t le32(const QByteArray &d, int at)
{
    return int32_t(uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 | uint32_t(uint8_t(d[at + 2])) << 16
                   | uint32_t(uint8_t(d[at + 3])) << 24);
}
int16_t le16(const QByteArray &d, int at)
{
    return int16_t(uint16_t(uint8_t(d[at])) | uint16_t(uint8_t(d[at + 1])) << 8);
}

// The size in pixels (96 per inch) a metafile header gives; an empty size when the data is
// no metafile.
QSize metafileSize(const QByteArray &d)
{
    if (d.size() >= 22 && uint32_t(le32(d, 0)) == 0x9AC6CDD7u) {
        // Placeable header: bounding box in units of which "inch" make an inch.
        const int inch = uint16_t(le16(d, 14)) ? uint16_t(le16(d, 14)) : 1440;
        const int64_t w = std::abs(int64_t(le16(d, 10)) - le16(d, 6)), h = std::abs(int64_t(le16(d, 12)) - le16(d, 8));
        return QSize(int(w * 96 / inch), int(h * 96 / inch));
    }
    if (d.size() >= 108 && le32(d, 0) == 1 && uint32_t(le32(d, 40)) == 0x464D4520u) {
        // Enhanced header: the picture frame in hundredths of a millimetre.
        const int64_t w = int64_t(le32(d, 32)) - le32(d, 24), h = int64_t(le32(d, 36)) - le32(d, 28);
        return QSize(int(std::clamp<int64_t>(w * 96 / 2540, 0, 1 << 20)),
                     int(std::clamp<int64_t>(h * 96 / 2540, 0, 1 << 20)));
    }
    return {};
}

std::unique_ptr<TGraphic> copyGraphic(const TGraphic &g)
{
    if (const auto *k = dynamic_cast<const TKeptMetafile *>(&g))
        return std::make_unique<TKeptMetafile>(k->width(), k->height());
    if (const auto *b = dynamic_cast<const TBitmap *>(&g)) {
        auto copy = std::make_unique<TBitmap>(*b);
        return copy;
    }
    if (const auto *m = dynamic_cast<const TMetafile *>(&g)) {
        auto copy = std::make_unique<TMetafile>(m->width(), m->height());
        m->canvas().replay(&copy->canvas());
        copy->setTransparent(m->transparent());
        return copy;
    }
    return nullptr;
}

// Whether the data is long enough for the pixels its header declares: a short file with a
// large size would otherwise be decoded into an image of that size, padded with nothing.
bool holdsDeclaredPixels(const QByteArray &d, TGraphic::Kind Kind, QSize Size)
{
    const qint64 w = Size.width(), h = Size.height();
    if (Kind == TGraphic::Bitmap && d.size() >= 30 && d.startsWith("BM")) {
        const qint64 header = 14 + uint32_t(le32(d, 14));
        const bool core = le32(d, 14) == 12;
        const int bits = uint16_t(le16(d, core ? 24 : 28));
        const uint32_t compression = core || d.size() < 34 ? 0 : uint32_t(le32(d, 30));
        if (compression == 1 || compression == 2) {
            // Run-length data moves at most 255 rows down per four-byte code.
            return d.size() - header >= 4 * ((h + 254) / 255);
        }
        if (compression == 0 || compression == 3 || compression == 6) {
            // Whole rows of 32-bit units, the last one possibly without its padding.
            const qint64 row = (w * bits + 31) / 32 * 4;
            return d.size() - header >= row * (h - 1) + (w * bits + 7) / 8;
        }
        return true;
    }
    if (Kind == TGraphic::Png && d.size() >= 26) {
        // Deflate packs at most 1032 bytes into one: the rows (a filter byte each) need a
        // thousandth of their size at least.
        static const int channels[] = {1, 0, 3, 1, 2, 0, 4};
        const int type = uint8_t(d[25]);
        const int depth = uint8_t(d[24]);
        if (type > 6 || channels[type] == 0)
            return true;
        const qint64 raw = h * (1 + (w * channels[type] * depth + 7) / 8);
        return d.size() >= raw / 1032;
    }
    return true;
}

[[noreturn]] void invalid(const QString &why)
{
    throw EInvalidGraphic(QStringLiteral("Immagine non valida: ") + why);
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Clear()
{
    FGraphic.reset();
    FSource.clear();
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::SetGraphic(const TGraphic *Value)
{
    if (Value == FGraphic.get())
        return;
    FGraphic = Value ? copyGraphic(*Value) : nullptr;
    FSource.clear();
    Changed();
}

TBitmap *TPicture::Bitmap()
{
    // The caller may draw: the file bytes no longer describe the picture.
    FSource.clear();
    auto *b = dynamic_cast<TBitmap *>(FGraphic.get());
    if (!b) {
        auto fresh = std::make_unique<TBitmap>();
        b = fresh.get();
        FGraphic = std::move(fresh);
    }
    Changed();
    return b;
}

void TPicture::Assign(TPersistent *Source)
{
    if (!Source) {
        Clear();
        return;
    }
    if (auto *p = rtl_cast<TPicture>(Source)) {
        if (p != this) {
            SetGraphic(p->Graphic());
            FSource = p->FSource;
        }
        return;
    }
    inherited::Assign(Source);
}

void TPicture::LoadFromBytes(const QByteArray &Data)
{
    Load(Data, nullptr);
}

void TPicture::LoadFromBytes(const QByteArray &Data, TGraphic::Kind Kind)
{
    Load(Data, &Kind);
}

void TPicture::Load(const QByteArray &Data, const TGraphic::Kind *Kind)
{
    Clear();
    if (Data.size() > kMaxBytes)
        invalid(QStringLiteral("file troppo grande"));
    if (!Kind || *Kind == TGraphic::Metafile) {
        const QSize size = metafileSize(Data);
        if (!size.isEmpty()) {
            if (size.width() > 32767 || size.height() > 32767)
                invalid(QStringLiteral("dimensioni eccessive (%1 x %2)").arg(size.width()).arg(size.height()));
            FGraphic = std::make_unique<TKeptMetafile>(size.width(), size.height());
            FSource = Data;
            Changed();
            return;
        }
        if (Kind)
            invalid(QStringLiteral("metafile non valido"));
    }
    static const char *const kFormats[] = {"bmp", nullptr, "jpeg", "png", "ico"};
    QByteArray bytes = Data;  // QBuffer needs a non-const array; shares the data
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    if (Kind)
        reader.setFormat(kFormats[*Kind]);
    else
        reader.setDecideFormatFromContent(true);
    // Qt's own limit, in megabytes, guards the decoders that ignore the header check below.
    reader.setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)));
    const QByteArray format = reader.format().toLower();
    TGraphic::Kind kind;
    if (format == "png")
        kind = TGraphic::Png;
    else if (format == "jpeg" || format == "jpg")
        kind = TGraphic::Jpeg;
    else if (format == "bmp" || format == "dib")
        kind = TGraphic::Bitmap;
    else if (format == "ico")
        kind = TGraphic::Icon;
    else
        invalid(QStringLiteral("formato non riconosciuto"));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        invalid(QStringLiteral("dimensioni non lette"));
    if (qint64(size.width()) * size.height() > kMaxPixels)
        invalid(QStringLiteral("dimensioni eccessive (%1 x %2)").arg(size.width()).arg(size.height()));
    if (!holdsDeclaredPixels(Data, kind, size))
        invalid(QStringLiteral("dati troppo corti per le dimensioni dichiarate (%1 x %2)").arg(size.width()).arg(size.height()));
    QImage img;
    QString error;
    if (kind == TGraphic::Png)
        img = gfx::DecodePng(Data, error);
    else if (kind == TGraphic::Jpeg)
        img = gfx::DecodeJpeg(Data, error);
    else if (!reader.read(&img))
        error = reader.errorString();
    if (img.isNull())
        invalid(QStringLiteral("dati danneggiati (%1)").arg(error));
    FGraphic = std::make_unique<TBitmap>(img, kind);
    FSource = Data;
    Changed();
}

QByteArray TPicture::SaveToBytes() const
{
    if (Empty())
        return {};
    if (!FSource.isEmpty())
        return FSource;
    QImage img;
    const char *format = "PNG";
    if (const auto *b = dynamic_cast<const TBitmap *>(FGraphic.get())) {
        img = b->image();
        if (b->kind() == TGraphic::Jpeg)
            format = "JPEG";
        else if (b->kind() == TGraphic::Bitmap)
            format = "BMP";
    } else {
        if (qint64(Width()) * Height() > kMaxPixels)
            invalid(QStringLiteral("dimensioni eccessive (%1 x %2)").arg(Width()).arg(Height()));
        img = QImage(Width(), Height(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        gfx::PainterCanvas c(&img, 96, 96);
        FGraphic->draw(&c, QRect(0, 0, Width(), Height()));
    }
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    if (qstrcmp(format, "JPEG") == 0)
        writer.setQuality(95);  // only a picture drawn into is encoded anew
    if (!writer.write(img))
        invalid(writer.errorString());
    return out;
}

void TPicture::LoadFromStream(TStream &Stream)
{
    Clear();
    if (Stream.Size() - Stream.Position() > kMaxBytes)
        invalid(QStringLiteral("file troppo grande"));
    LoadFromBytes(Stream.ReadAll());
}

void TPicture::SaveToStream(TStream &Stream) const
{
    Stream.WriteBytes(SaveToBytes());
}

void TPicture::LoadFromFile(const QString &FileName)
{
    Clear();
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TPicture::SaveToFile(const QString &FileName) const
{
    // The old file is replaced only by a complete new one.
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(SaveToBytes()) < 0 || !f.commit())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

void TPicture::DefineProperties(TFiler &Filer)
{
    bool hasData = !Empty();
    if (hasData && Filer.Ancestor) {
        // Written only where it differs from the ancestor's picture.
        if (auto *a = rtl_cast<TPicture>(Filer.Ancestor))
            hasData = a->SaveToBytes() != SaveToBytes();
    }
    Filer.DefineBinaryProperty(
        QStringLiteral("Data"),
        [this](QIODevice &d) {
            if (d.size() > kMaxBytes)
                invalid(QStringLiteral("file troppo grande"));
            LoadFromBytes(d.readAll());
        },
        [this](QIODevice &d) { d.write(SaveToBytes()); }, hasData);
}
