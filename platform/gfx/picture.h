#pragma once
// A persistent holder of one optional graphic: a raster picture (bitmap, PNG, JPEG, icon) or
// a recorded one. Templates carry it as the binary value "Data": the picture's image file.
// Metafile data (placeable or enhanced) cannot be drawn here: its bytes are kept and written
// back unchanged, its size is read from its header, and it draws as a placeholder.
#include "platform/gfx/graphic.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/reflect/persistent.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class TStream;

// An image that cannot be read: unknown format, damaged data or too large a size.
LIRRA_DECLARE_EXCEPTION(EInvalidGraphic, Exception)

class TPicture : public TPersistent {
    LIRRA_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // nullptr when empty. For reading: drawing into the picture goes through Bitmap().
    const TGraphic *Graphic() const { return FGraphic.get(); }
    // Holds a copy of Value (nullptr empties the picture).
    void SetGraphic(const TGraphic *Value);
    // The picture as a bitmap to draw into; any other graphic is replaced by an empty bitmap.
    TBitmap *Bitmap();

    int Width() const { return FGraphic ? FGraphic->width() : 0; }
    int Height() const { return FGraphic ? FGraphic->height() : 0; }
    // No graphic, or one without pixels.
    bool Empty() const { return !FGraphic || FGraphic->empty(); }
    void Clear();
    // Called after every change of the graphic.
    std::function<void(TPicture *Sender)> OnChange;

    // Copies another picture; nullptr empties this one.
    void Assign(TPersistent *Source) override;

    // Reads a PNG, JPEG, BMP or icon image, or metafile data, from the stream's position to
    // its end. Raises EInvalidGraphic (the picture is then empty) for anything else, damaged
    // data, or an image beyond kMaxPixels / kMaxBytes.
    void LoadFromStream(TStream &Stream);
    void LoadFromFile(const QString &FileName);
    // Writes the image file: BMP, PNG or JPEG after the graphic's kind; a recorded picture
    // is written as PNG. An empty picture writes nothing.
    void SaveToStream(TStream &Stream) const;
    void SaveToFile(const QString &FileName) const;

    // The bytes SaveToStream writes / LoadFromStream reads. Kind, when given, is the format
    // the caller recognised; the data must then be of that format.
    QByteArray SaveToBytes() const;
    void LoadFromBytes(const QByteArray &Data);
    void LoadFromBytes(const QByteArray &Data, TGraphic::Kind Kind);

    // Bounds on what is read, so that a hostile header cannot claim gigabytes.
    static constexpr qint64 kMaxPixels = 64ll * 1024 * 1024;
    static constexpr qint64 kMaxBytes = 256ll * 1024 * 1024;

    void DefineProperties(TFiler &Filer) override;

private:
    void Load(const QByteArray &Data, const TGraphic::Kind *Kind);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
    // The file bytes the picture was read from, written back unchanged while the graphic is
    // unchanged (re-encoding a JPEG would lose detail at every save).
    QByteArray FSource;
};
