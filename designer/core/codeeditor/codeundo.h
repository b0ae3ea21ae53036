#pragma once
// The code editor's own undo: a bounded stack of steps. A step keeps the caret from before
// it and the lines it changed as they were (their strings shared with the text until
// either side writes), so taking a step costs nothing in a long script.
#include <QPoint>
#include <QStringList>
#include <deque>

class TkvlCodeUndo {
public:
    static constexpr int kMaxSteps = 32;

    struct Step {
        QPoint Pos;
        int First = -1;    // first changed line, 0-based; -1: nothing changed yet
        int Count = 0;     // lines the changed range covers now
        QStringList Old;   // the range as it was
    };

    // Opens a step; the edits that follow until the next one widen it. Beyond the last
    // step the oldest goes.
    void Push(QPoint Pos)
    {
        FSteps.push_back({Pos, -1, 0, {}});
        if (int(FSteps.size()) > kMaxSteps)
            FSteps.pop_front();
        FOpen = true;
    }
    // No later edit joins the newest step.
    void Close() { FOpen = false; }

    // Before lines First .. First + Count - 1 of Text become Added lines: the open step
    // widens to cover them, keeping the first state of every line it covers.
    void Replacing(const QStringList &Text, int First, int Count, int Added)
    {
        if (!FOpen || FSteps.empty())
            return;
        Step &s = FSteps.back();
        if (s.First < 0) {
            s.First = First;
            s.Count = Count;
            s.Old = Text.mid(First, Count);
        } else {
            if (First < s.First) {
                s.Old = Text.mid(First, s.First - First) + s.Old;
                s.Count += s.First - First;
                s.First = First;
            }
            const int end = First + Count, covered = s.First + s.Count;
            if (end > covered) {
                s.Old += Text.mid(covered, end - covered);
                s.Count += end - covered;
            }
        }
        s.Count += Added - Count;
    }

    bool Pop(Step &Out)
    {
        FOpen = false;
        if (FSteps.empty())
            return false;
        Out = std::move(FSteps.back());
        FSteps.pop_back();
        return true;
    }
    void Clear()
    {
        FSteps.clear();
        FOpen = false;
    }
    int Count() const { return int(FSteps.size()); }

private:
    std::deque<Step> FSteps;
    bool FOpen = false;
};
