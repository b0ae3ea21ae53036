#pragma once
// A report whose expressions are answered by a small table, and helpers to draw views into
// the recorder.
#include "platform/gfx/recordingcanvas.h"
#include "report/core/kvlobjects.h"

#include <QHash>
#include <vector>

// Registers the view classes once (templates create views by class name).
void registerViewClassesOnce();

class ViewReport : public TkvlReport {
public:
    ViewReport();
    // Expressions the stand-in evaluator knows; any other gives Null.
    QHash<QString, Variant> Values;
    QStringList Evaluated;
};

// The records of one kind, in drawing order.
std::vector<gfx::DrawRecord> recordsOf(const gfx::RecordingCanvas &rec, gfx::DrawRecord::Kind kind);
