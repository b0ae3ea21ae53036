#include "designer/core/highlighteditor.h"

#include "report/memo/kvlmemo.h"

#include <QRect>

void TkvlHighlightEditor::Load(TkvlCustomMemoView *Memo)
{
    FMemo = Memo;
    FItems.Clear();
    if (Memo)
        FItems.Assign(Memo->Highlights());
    if (FItems.Count() == 1 && FItems.Items(0)->Condition.isEmpty())
        FItems.Clear();
    Current = FItems.Count() > 0 ? 0 : -1;
}

void TkvlHighlightEditor::WriteBack()
{
    if (!FMemo)
        return;
    if (FItems.Count() == 0)
        FItems.Add();
    FMemo->Highlights()->Assign(&FItems);
}

TkvlHighlight *TkvlHighlightEditor::CurrentItem() const
{
    return Current >= 0 && Current < FItems.Count() ? FItems.Items(Current) : nullptr;
}

void TkvlHighlightEditor::Add(const QString &Condition)
{
    auto *h = static_cast<TkvlHighlight *>(FItems.Add());
    h->Condition = Condition;
    Current = FItems.Count() - 1;
}

void TkvlHighlightEditor::Delete()
{
    if (!CurrentItem())
        return;
    FItems.Delete(Current);
    if (Current >= FItems.Count())
        Current = FItems.Count() - 1;
}

void TkvlHighlightEditor::Move(int Delta)
{
    const int to = Current + Delta;
    if (!CurrentItem() || to < 0 || to >= FItems.Count())
        return;
    FItems.Items(Current)->SetIndex(to);
    Current = to;
}

void kvlDrawHighlightSample(TCanvas *Canvas, const QRect &Box, const TkvlHighlight *Highlight)
{
    if (!Highlight)
        return;
    TkvlMemoView m(nullptr);
    m.SetText(QStringLiteral("Sample"));
    m.HAlign = haCenter;
    m.VAlign = vaCenter;
    m.ApplyHighlight(Highlight);
    m.SetBounds(Box.left() + 2, Box.top() + 2, Box.width() - 4, Box.height() - 4);
    m.Draw(Canvas, 1, 1, 0, 0);
}
