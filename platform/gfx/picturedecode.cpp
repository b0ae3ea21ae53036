#include "platform/gfx/picturedecode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

namespace gfx {

QImage DecodePng(const QByteArray &Data, QString &Error)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, Data.constData(), size_t(Data.size()))) {
        Error = QString::fromLatin1(png.message);
        return {};
    }
    const bool alpha = png.format & PNG_FORMAT_FLAG_ALPHA;
    // Blue, green, red, alpha in memory: a 32-bit image's layout on this machine.
    png.format = PNG_FORMAT_BGRA;
    QImage img(int(png.width), int(png.height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (img.isNull()) {
        png_image_free(&png);
        Error = QStringLiteral("memoria insufficiente");
        return {};
    }
    if (!png_image_finish_read(&png, nullptr, img.bits(), png_int_32(img.bytesPerLine()), nullptr)) {
        Error = QString::fromLatin1(png.message);
        png_image_free(&png);
        return {};
    }
    return img;
}

namespace {

struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegFail(j_common_ptr info)
{
    auto *e = reinterpret_cast<JpegErrors *>(info->err);
    info->err->format_message(info, e->message);
    std::longjmp(e->jump, 1);
}

// Warnings are ignored, except the end of the data before the end of the image.
void jpegMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        jpegFail(info);
}

} // namespace

namespace {

// Decodes into Img, which lives in the caller: nothing of this frame with a destructor is
// changed after the jump point. False with Errors' message on failure.
bool decodeJpeg(jpeg_decompress_struct &jpeg, JpegErrors &errors, const QByteArray &Data, QImage &Img)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_mem_src(&jpeg, reinterpret_cast<unsigned char *>(const_cast<char *>(Data.constData())),
                 (unsigned long)Data.size());
    jpeg_read_header(&jpeg, TRUE);
    // Huffman coding spends at least one bit on every 8 x 8 block: fewer bytes than that
    // cannot hold the image, and are refused before its pixels are allocated.
    if (!jpeg.arith_code && qint64(Data.size()) < qint64(jpeg.image_width) * jpeg.image_height / 512) {
        qstrncpy(errors.message, "dati troncati", sizeof errors.message);
        return false;
    }
    const bool cmyk = jpeg.jpeg_color_space == JCS_CMYK || jpeg.jpeg_color_space == JCS_YCCK;
    jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&jpeg);
    Img = QImage(int(jpeg.output_width), int(jpeg.output_height), QImage::Format_RGB32);
    if (Img.isNull()) {
        qstrncpy(errors.message, "memoria insufficiente", sizeof errors.message);
        return false;
    }
    while (jpeg.output_scanline < jpeg.output_height) {
        uchar *row = Img.scanLine(int(jpeg.output_scanline));
        jpeg_read_scanlines(&jpeg, &row, 1);
        if (cmyk) {
            // Stored inverted by the usual writers of CMYK files.
            QRgb *px = reinterpret_cast<QRgb *>(row);
            for (int x = 0; x < int(jpeg.output_width); ++x) {
                const uchar *k = row + 4 * x;
                px[x] = qRgb(k[0] * k[3] / 255, k[1] * k[3] / 255, k[2] * k[3] / 255);
            }
        }
    }
    jpeg_finish_decompress(&jpeg);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray &Data, QString &Error)
{
    jpeg_decompress_struct jpeg{};
    JpegErrors errors{};
    jpeg.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jpegFail;
    errors.pub.emit_message = jpegMessage;
    jpeg_create_decompress(&jpeg);
    QImage img;
    const bool ok = decodeJpeg(jpeg, errors, Data, img);
    jpeg_destroy_decompress(&jpeg);
    if (!ok) {
        Error = QString::fromLatin1(errors.message);
        return {};
    }
    return img;
}

} // namespace gfx
