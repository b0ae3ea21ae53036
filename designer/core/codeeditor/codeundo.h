#pragma once
// The code editor's own undo: a bounded stack of whole-text steps. A step holds the line
// list (its strings shared with the editor until either side writes) and the caret.
#include <QPoint>
#include <QStringList>
#include <deque>

class TkvlCodeUndo {
public:
    static constexpr int kMaxSteps = 32;

    struct Step {
        QStringList Lines;
        QPoint Pos;
    };

    // Beyond the last step the oldest one goes.
    void Push(const QStringList &Lines, QPoint Pos)
    {
        FSteps.push_back({Lines, Pos});
        if (int(FSteps.size()) > kMaxSteps)
            FSteps.pop_front();
    }
    bool Pop(Step &Out)
    {
        if (FSteps.empty())
            return false;
        Out = std::move(FSteps.back());
        FSteps.pop_back();
        return true;
    }
    void Clear() { FSteps.clear(); }
    int Count() const { return int(FSteps.size()); }

private:
    std::deque<Step> FSteps;
};
