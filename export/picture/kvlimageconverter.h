#pragma once
// Saves a picture of the report (usually the recorded drawing of one exported object) as a
// file or stream in one of six formats: the media parts of the XLSX and DOCX packages.
#include "platform/rtl/exceptions.h"

#include <QString>

class TGraphic;
class TStream;

enum TkvlPictureType { gpPNG, gpBMP, gpEMF, gpWMF, gpJPG, gpGIF };

// A picture that cannot be written: empty, or refused by the format's encoder.
LIRRA_DECLARE_EXCEPTION(EkvlPictureError, Exception)

// The colour of the background of PNG and BMP pictures, also the PNG's transparent colour.
constexpr int kvlPictureBackground = 0x123456;  // TColor: red 0x56, green 0x34, blue 0x12

// Draws the graphic once at (0, 0) on a surface of its own size and writes it at the
// stream's position. Raster formats are drawn at one pixel per unit; EMF and WMF keep the
// drawing as records.
void SaveGraphicAs(const TGraphic &Graphic, TStream &Stream, TkvlPictureType PictureType);
// The same into a new (or truncated) file.
void SaveGraphicAs(const TGraphic &Graphic, const QString &FileName, TkvlPictureType PictureType);

// The file extension of a picture type ("png", "jpeg", ...), and the media content type of
// such an extension, for the media parts of a package.
const char *kvlPictureExtension(TkvlPictureType PictureType);
const char *kvlPictureContentType(const QString &Extension);
