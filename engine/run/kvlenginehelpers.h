#pragma once
// Small pieces the band engine's units share.
class TkvlComponent;
class TkvlDataBand;
class TkvlDataSet;

namespace kvlengine {

// Positions closer than this (pixels) are the same.
constexpr double kTolerance = 1e-4;

// The source a data band walks: its own, else the virtual one counting to RowCount.
TkvlDataSet *SourceOf(TkvlDataBand *B);

// A copy of a printed object made for output (a vertical cell, a subreport's merged object):
// same class, every stored property, the same source object and alias, no name of its own.
TkvlComponent *CopyForOutput(TkvlComponent *Obj);

} // namespace kvlengine
