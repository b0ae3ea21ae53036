#pragma once
// Page units of the designer: report pixels at 96 per inch.
#include "report/dmp/kvldmpgrid.h"
#include "report/pages/kvlreportpage.h"

#include <cstdint>

// Measuring units of the designer (stored as 0..3).
enum TkvlDesignerUnits : uint8_t { duCM, duInches, duPixels, duChars };

constexpr double kvlWs01cm = kvlPixelsPerMm;        // one millimetre
constexpr double kvlWs1cm = 10 * kvlPixelsPerMm;    // one centimetre
constexpr double kvlWs01in = 9.6;                   // a tenth of an inch
constexpr double kvlWs1in = 96;                     // one inch
constexpr double kvlWsCharX = kvlCharX;             // dot-matrix character cell
constexpr double kvlWsCharY = kvlCharY;
