#pragma once
// Rules of the styles editor, free of widgets: style files read without losing the set on a
// bad file, and the name a saved set gets.
#include <QString>

class TkvlStyles;

// Reads a style file into Styles only when the whole file reads: on any failure (which is
// raised) Styles stays as it was.
void kvlLoadStylesKeeping(TkvlStyles &Styles, const QString &FileName);
// The chosen name with its extension replaced by ".ks3".
QString kvlStyleFileName(const QString &Chosen);
