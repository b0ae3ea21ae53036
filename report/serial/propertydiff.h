#pragma once
// Prepared copies of template objects are stored as the attribute text of how they differ
// from the object they were copied from (their source): ' l="12,5" Font.Color="255"'.
// Reading one back is ordinary attribute reading applied to a copy of the source.
//
// Numbers are written in the process's number format (a comma on an Italian system);
// Booleans as 1 or 0, enumerations as ordinals, sets as bit masks, strings escaped.
// Floats count as different when they differ by more than 0.0001.
//
// The prepared-pages store calls Diff exactly once per printed part of an object: a
// picture's Diff files a changed picture with the store, and a memo's Diff moves its
// paragraph flag (LastParaBreak into FirstParaBreak) for the part that follows. The
// operations themselves are TkvlComponent::InternalDiff, AllDiff and Diff; these are
// the parts they are made of.
#include <QString>
#include <QStringView>

class TFont;
class TkvlCustomFill;
class TkvlFrame;
class TkvlFrameLine;
class TkvlHyperlink;

// Name, Size, Color, Style (bold 1, italic 2, underline 4, strike-out 8) and Charset where
// the fonts differ; each attribute name is preceded by Add (which carries the blank).
QString kvlDiffFont(const TFont &Font, const TFont &SourceFont, QStringView Add);
// The frame's own settings, then its four lines as "Frame.LeftLine.Width" and so on.
QString kvlDiffFrame(const TkvlFrame &Frame, const TkvlFrame &Source);
// With a Changed flag set (the frame changed that setting), the line's value is written
// where it departs from its own frame; otherwise where it differs from SourceLine.
QString kvlDiffFrameLine(const TkvlFrameLine &Line, const TkvlFrameLine &SourceLine, QStringView LineName,
                         bool ColorChanged, bool StyleChanged, bool WidthChanged);
// Every setting of Fill's kind when Source is of another kind, else those that differ,
// as " Add.BackColor" and so on.
QString kvlDiffFill(const TkvlCustomFill &Fill, const TkvlCustomFill &Source, QStringView Add);
// The link's settings that differ, but the expression (a prepared copy carries its value).
QString kvlDiffHyperlink(const TkvlHyperlink &Link, const TkvlHyperlink &Source, QStringView Add);

// Helpers for the kinds' own Diff: ' Name="value"' appended to Out.
namespace kvldiff {
bool FloatDiff(double A, double B);
void AddFloat(QString &Out, QStringView Name, double Value);
void AddInt(QString &Out, QStringView Name, qint64 Value);
void AddBool(QString &Out, QStringView Name, bool Value);
// Escaped for XML.
void AddStr(QString &Out, QStringView Name, const QString &Value);
} // namespace kvldiff
