#include "export/picture/kvlimageconverter.h"

#include "export/picture/dib.h"
#include "export/picture/gif.h"
#include "export/picture/metafilecanvas.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/color.h"
#include "platform/rtl/stream.h"

#include <QBuffer>
#include <QImageWriter>

#include <csetjmp>
#include <png.h>
#include <vector>

namespace {

QImage drawRaster(const TGraphic &Graphic, QColor Background)
{
    QImage img(Graphic.width(), Graphic.height(), QImage::Format_RGB32);
    img.fill(Background);
    TBitmap surface(img);
    Graphic.draw(surface.canvas(), QRect(0, 0, Graphic.width(), Graphic.height()));
    return surface.image().convertToFormat(QImage::Format_RGB32);
}

void appendToBuffer(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray *>(png_get_io_ptr(png))->append(reinterpret_cast<const char *>(data), qsizetype(length));
}

void pngError(png_structp png, png_const_charp)
{
    longjmp(png_jmpbuf(png), 1);
}

// libpng returns here through longjmp: the frame holds no object with a destructor.
bool writePngRows(png_structp png, png_infop info, int w, int h, png_bytep *rows, QByteArray *out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, appendToBuffer, nullptr);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_16 transparent{};
    transparent.red = rtl::GetRValue(kvlPictureBackground);
    transparent.green = rtl::GetGValue(kvlPictureBackground);
    transparent.blue = rtl::GetBValue(kvlPictureBackground);
    png_set_tRNS(png, info, nullptr, 0, &transparent);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

// Colour type 2 (RGB) with a transparent colour: Qt's own writer cannot make that.
QByteArray encodePng(const QImage &Image)
{
    const QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
    std::vector<png_bytep> rows(size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        rows[size_t(y)] = const_cast<png_bytep>(rgb.constScanLine(y));
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = info && writePngRows(png, info, rgb.width(), rgb.height(), rows.data(), &out);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok)
        throw EkvlPictureError(QStringLiteral("The picture could not be encoded as PNG"));
    return out;
}

QByteArray encodeBmp(const QImage &Image)
{
    const kvl::picture::Dib dib = kvl::picture::MakeDib(Image);
    const uint32_t offset = 14 + uint32_t(dib.info.size());
    const uint32_t size = offset + uint32_t(dib.bits.size());
    QByteArray out("BM");
    for (uint32_t v : {size, 0u, offset})
        for (int k = 0; k < 4; ++k)
            out.append(char((v >> (8 * k)) & 0xFF));
    return out + dib.info + dib.bits;
}

QByteArray encodeJpeg(const QImage &Image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.write(Image))
        throw EkvlPictureError(QStringLiteral("The picture could not be encoded as JPEG: %1").arg(writer.errorString()));
    return out;
}

QByteArray encodeMetafile(const TGraphic &Graphic, kvl::meta::Format Kind)
{
    kvl::meta::MetafileCanvas canvas(Kind, Graphic.width(), Graphic.height());
    Graphic.draw(&canvas, QRect(0, 0, Graphic.width(), Graphic.height()));
    return canvas.finish();
}

} // namespace

void SaveGraphicAs(const TGraphic &Graphic, TStream &Stream, TkvlPictureType PictureType)
{
    if (Graphic.empty())
        throw EkvlPictureError(QStringLiteral("An empty picture cannot be saved"));
    const QColor background = rtl::ToQColor(kvlPictureBackground);
    QByteArray bytes;
    switch (PictureType) {
    case gpPNG: bytes = encodePng(drawRaster(Graphic, background)); break;
    case gpBMP: bytes = encodeBmp(drawRaster(Graphic, background)); break;
    case gpEMF: bytes = encodeMetafile(Graphic, kvl::meta::Format::Emf); break;
    case gpWMF: bytes = encodeMetafile(Graphic, kvl::meta::Format::Wmf); break;
    case gpJPG: bytes = encodeJpeg(drawRaster(Graphic, Qt::white)); break;
    case gpGIF: {
        TMemoryStream gif;
        GIFSaveToStream(gif, drawRaster(Graphic, Qt::white));
        bytes = gif.Bytes();
        break;
    }
    }
    Stream.WriteBuffer(bytes.constData(), bytes.size());
}

void SaveGraphicAs(const TGraphic &Graphic, const QString &FileName, TkvlPictureType PictureType)
{
    TFileStream file(FileName, fmCreate);
    SaveGraphicAs(Graphic, file, PictureType);
}

const char *kvlPictureExtension(TkvlPictureType PictureType)
{
    switch (PictureType) {
    case gpBMP: return "bmp";
    case gpEMF: return "emf";
    case gpWMF: return "wmf";
    case gpJPG: return "jpeg";
    case gpGIF: return "gif";
    default: return "png";
    }
}

const char *kvlPictureContentType(const QString &Extension)
{
    if (Extension == u"bmp") return "image/bmp";
    if (Extension == u"emf") return "image/x-emf";
    if (Extension == u"wmf") return "image/x-wmf";
    if (Extension == u"jpeg") return "image/jpeg";
    if (Extension == u"gif") return "image/gif";
    return "image/png";
}
