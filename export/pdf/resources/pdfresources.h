#pragma once
// Fixed data of the archival mode: the XMP packet template and the sRGB display profile.
#include <QByteArray>

namespace pdf::resources {
QByteArray XmpTemplate();
// A version-2 display profile of sRGB (IEC 61966-2.1), made by tools/make_srgb_profile.py.
QByteArray SRGBProfile();
} // namespace pdf::resources
