#pragma once
// Rules of the conditional highlight dialog, on a private copy of a memo's highlights.
#include "report/views/kvlhighlight.h"

class TkvlCustomMemoView;

class TkvlHighlightEditor {
public:
    // Copies the memo's highlights; a single highlight without condition counts as none.
    void Load(TkvlCustomMemoView *Memo);
    // Replaces the memo's highlights by the copy; an empty copy stores one default highlight.
    void WriteBack();

    TkvlHighlightCollection &Items() { return FItems; }
    int Count() const { return FItems.Count(); }
    // The selected highlight (-1: none).
    int Current = -1;
    TkvlHighlight *CurrentItem() const;

    // Appends a default highlight with the condition and selects it.
    void Add(const QString &Condition);
    // Removes the selected one; the same index stays selected, or the new last one.
    void Delete();
    // Moves the selected one by Delta places (within the list); it stays selected.
    void Move(int Delta);

private:
    TkvlCustomMemoView *FMemo = nullptr;
    TkvlHighlightCollection FItems;
};

class TCanvas;
class QRect;
// The "Sample" text centred in Box (less 2 pixels each side) with Highlight applied, at scale 1.
void kvlDrawHighlightSample(TCanvas *Canvas, const QRect &Box, const TkvlHighlight *Highlight);
