#include "platform/gfx/picture.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/picturedecode.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

LIRRA_DEFINE_CLASS(TPicture)

void TPicture::DeclareClass(rtl::ClassBuilder<TPicture> &) {}

namespace {

std::unique_ptr<TGraphic> copyGraphic(const TGraphic &g)
{
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

[[noreturn]] void invalid(const QString &why)
{
    throw EInvalidGraphic(QStringLiteral("Immagine non valida: ") + why);
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(const TGraphic *Value)
{
    if (Value == FGraphic.get())
        return;
    FGraphic = Value ? copyGraphic(*Value) : nullptr;
    FSource.clear();
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
    Clear();
    if (Data.size() > kMaxBytes)
        invalid(QStringLiteral("file troppo grande"));
    QByteArray bytes = Data;  // QBuffer needs a non-const array; shares the data
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
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
    else
        invalid(QStringLiteral("formato non riconosciuto"));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        invalid(QStringLiteral("dimensioni non lette"));
    if (qint64(size.width()) * size.height() > kMaxPixels)
        invalid(QStringLiteral("dimensioni eccessive (%1 x %2)").arg(size.width()).arg(size.height()));
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
