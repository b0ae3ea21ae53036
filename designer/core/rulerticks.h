#pragma once
// The scale of the designer's rulers as a list of marks, without any widget: where each
// tick and label goes for a unit, zoom, offset, shift and length.
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

enum TkvlRulerUnits { ruCM, ruInches, ruPixels, ruChars };

enum class TkvlTickKind { Small, Half, Main, Label };

struct TkvlRulerTick
{
    int Pos = 0;        // pixel along the ruler
    TkvlTickKind Kind = TkvlTickKind::Small;
    QString Text;       // labels only
    bool operator==(const TkvlRulerTick &) const = default;
};

struct TkvlRulerScale
{
    TkvlRulerUnits Units = ruCM;
    double Scale = 1;
    int Offset = 0;   // where the visible scale begins (the paper's edge)
    int Start = 0;    // shift of the scale: zero stands at Offset - Start
    int Size = 0;     // length of the scale; 0: to the end of the ruler
    int Length = 0;   // the ruler's own length along the scale (width or height)
    bool Vertical = false;
};

// Pixels per small division (1 mm, 0.1 in, a tenth of a character cell, 1 pixel).
double kvlRulerStep(const TkvlRulerScale &r);
// Small divisions per main division.
int kvlRulerMainDivision(TkvlRulerUnits u);
// Pixel of the scale's zero (for characters: the middle of the first cell).
int kvlRulerZero(const TkvlRulerScale &r);
// Where the strip and the scale end.
int kvlRulerEnd(const TkvlRulerScale &r);

// The ticks and labels in order along the ruler. textWidth measures a label in the
// ruler's font; labels thin out when the widest one would not fit between main ticks.
// A step that is not positive gives no ticks.
std::vector<TkvlRulerTick> kvlRulerTicks(const TkvlRulerScale &r, const std::function<int(QStringView)> &textWidth);

// Pixel of the position marker (Position in main divisions, pixels for ruPixels);
// none when it falls before the visible scale.
std::optional<int> kvlRulerMarker(const TkvlRulerScale &r, double position);
