#pragma once
// Writes one picture as a single-image GIF89a file with an LZW encoder of its own.
#include "platform/rtl/exceptions.h"

class QImage;
class TBitmap;
class TStream;

// A picture that GIF cannot hold: wider or higher than 65,535 pixels, or empty.
LIRRA_DECLARE_EXCEPTION(EGIFError, Exception)

// Writes a copy of the bitmap reduced to 8 bits per pixel (the bitmap itself is left as it
// is) at the stream's position, with a colour table of 256 entries.
void GIFSaveToStream(TStream &Stream, const TBitmap &Bitmap);
void GIFSaveToStream(TStream &Stream, const QImage &Image);
