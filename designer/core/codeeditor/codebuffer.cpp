#include "designer/core/codeeditor/codebuffer.h"

#include <algorithm>

namespace {

bool before(QPoint a, QPoint b) { return a.y() * 1024 + a.x() < b.y() * 1024 + b.x(); }

int indentOf(const QString &s)
{
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return i;
}

bool isBlank(const QString &s) { return TkvlCodeBuffer::TextLength(s) == 0; }

} // namespace

TkvlCodeBuffer::TkvlCodeBuffer() : FText{QString()}, FRunLines(1, 0)
{
    std::fill(std::begin(FBookmarks), std::end(FBookmarks), -1);
}

bool TkvlCodeBuffer::IsWordChar(QChar C)
{
    const char16_t c = C.unicode();
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') || c > 126;
}

int TkvlCodeBuffer::TextLength(const QString &S)
{
    int n = int(S.size());
    while (n > 0 && S[n - 1] == QLatin1Char(' '))
        --n;
    return n;
}

QString TkvlCodeBuffer::Text() const
{
    qsizetype size = 0;
    for (const QString &l : FText)
        size += l.size() + 2;
    QString out;
    out.reserve(size);
    for (const QString &l : FText) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

QStringList TkvlCodeBuffer::SplitLines(const QString &Value)
{
    QStringList out;
    qsizetype start = 0;
    const qsizetype n = Value.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = Value[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out << Value.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && Value[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    out << Value.mid(start);
    return out;
}

void TkvlCodeBuffer::SetText(const QString &Value)
{
    QStringList lines = SplitLines(Value);
    // A text ending in a line break has no empty line after it.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    SetLines(lines);
}

void TkvlCodeBuffer::SetLines(const QStringList &Value)
{
    const int old = LineCount();
    FText = Value;
    if (FText.isEmpty())
        FText << QString();
    FRunLines.assign(FText.size(), 0);
    FUndo.Clear();
    FMoved = true;
    FSelStart = FSelEnd = QPoint(0, 0);
    FInImeComposition = false;
    FPos = QPoint(1, 1);
    FOffset = QPoint(0, 0);
    if (OnLinesChanged)
        OnLinesChanged(0, old, LineCount());
    if (OnChangeText)
        OnChangeText();
    if (OnChangePos)
        OnChangePos();
}

bool TkvlCodeBuffer::RunLine(int Y) const
{
    return Y >= 1 && Y <= LineCount() && FRunLines[Y - 1];
}

void TkvlCodeBuffer::SetRunLine(int Y, bool Value)
{
    if (Y >= 1 && Y <= LineCount() && bool(FRunLines[Y - 1]) != Value) {
        FRunLines[Y - 1] = Value;
        if (OnMarksChanged)
            OnMarksChanged();
    }
}

void TkvlCodeBuffer::SetWindowSize(int Columns, int Rows)
{
    FWindowSize = QPoint(std::max(0, Columns), std::max(0, Rows));
}

void TkvlCodeBuffer::SetOffset(int X, int Y)
{
    FOffset = QPoint(std::clamp(X, 0, kMaxLength), std::clamp(Y, 0, std::max(0, LineCount() - 1)));
}

void TkvlCodeBuffer::SetPos(int X, int Y)
{
    FMessage.clear();
    X = std::clamp(X, 1, kMaxLength);
    Y = std::clamp(Y, 1, LineCount());
    FPos = QPoint(X, Y);
    if (FWindowSize.x() > 0 && FWindowSize.y() > 0) {
        if (FOffset.y() >= LineCount())
            FOffset.ry() = LineCount() - 1;
        if (X > FOffset.x() + FWindowSize.x())
            FOffset.rx() = X - FWindowSize.x();
        else if (X <= FOffset.x())
            FOffset.rx() = X - 1;
        // The line is brought into view too when the column had to be, so that the caret
        // is never left outside the window.
        if (Y > FOffset.y() + FWindowSize.y())
            FOffset.ry() = Y - FWindowSize.y();
        else if (Y <= FOffset.y())
            FOffset.ry() = Y - 1;
    }
    if (OnChangePos)
        OnChangePos();
}

int TkvlCodeBuffer::PlainPos(QPoint P) const
{
    int pos = P.x();
    const int last = std::min(P.y() - 1, LineCount());
    for (int i = 0; i < last; ++i)
        pos += int(FText[i].size()) + 2;
    return pos;
}

QPoint TkvlCodeBuffer::PointOf(int Plain) const
{
    int y = 0;
    while (y < LineCount() - 1 && Plain > int(FText[y].size()) + 2) {
        Plain -= int(FText[y].size()) + 2;
        ++y;
    }
    return QPoint(std::max(1, Plain), y + 1);
}

QPoint TkvlCodeBuffer::SelFirst() const { return before(FSelEnd, FSelStart) ? FSelEnd : FSelStart; }
QPoint TkvlCodeBuffer::SelLast() const { return before(FSelEnd, FSelStart) ? FSelStart : FSelEnd; }

bool TkvlCodeBuffer::InSelection(int X, int Y) const
{
    if (!HasSelection())
        return false;
    const QPoint p(X, Y);
    return !before(p, SelFirst()) && before(p, SelLast());
}

void TkvlCodeBuffer::Select(QPoint Anchor, QPoint End)
{
    FSelStart = Anchor;
    FSelEnd = End;
}

void TkvlCodeBuffer::ClearSelection() { FSelStart = FSelEnd = QPoint(0, 0); }

QString TkvlCodeBuffer::SelText() const
{
    if (!HasSelection())
        return QString();
    const QPoint a = SelFirst(), b = SelLast();
    if (a.y() == b.y())
        return FText[a.y() - 1].mid(a.x() - 1, b.x() - a.x());
    QString out = FText[a.y() - 1].mid(a.x() - 1);
    for (int y = a.y() + 1; y < b.y(); ++y)
        out += QLatin1String("\r\n") + FText[y - 1];
    out += QLatin1String("\r\n") + FText[b.y() - 1].left(b.x() - 1);
    return out;
}

void TkvlCodeBuffer::Snapshot()
{
    if (!FMoved)
        return;
    FUndo.Push(FPos);
    FMoved = false;
}

// Lines First0 .. First0 + Count - 1 become New. Marks below the range move with their
// lines; a mark on a replaced line beyond the new ones goes away, except on the range's
// last line, whose rest ends the last new line.
void TkvlCodeBuffer::ReplaceLines(int First0, int Count, const QStringList &New)
{
    const int added = int(New.size());
    const int delta = added - Count;
    const int end = First0 + Count; // first line below the range, 0-based
    FUndo.Replacing(FText, First0, Count, added);
    for (int i = 0; i < std::min(Count, added); ++i)
        FText[First0 + i] = New[i];
    if (delta > 0) {
        FText.insert(end, delta, QString());
        for (int i = Count; i < added; ++i)
            FText[First0 + i] = New[i];
        FRunLines.insert(FRunLines.begin() + end, delta, 0);
    } else if (delta < 0) {
        FText.remove(First0 + added, -delta);
        FRunLines.erase(FRunLines.begin() + First0 + added, FRunLines.begin() + end);
    }
    if (FText.isEmpty()) {
        FText << QString();
        FRunLines.assign(1, 0);
    }
    bool marks = false;
    if (delta != 0) {
        auto move = [&](int line0) -> int { // -1: gone
            if (line0 >= end)
                return line0 + delta;
            if (line0 >= First0 + added) // the last old line's rest ends the last new line
                return line0 == end - 1 && added > 0 ? First0 + added - 1 : -1;
            return line0;
        };
        for (int &b : FBookmarks)
            if (b >= 0) {
                const int n = move(b);
                marks |= n != b;
                b = n;
            }
        std::vector<BreakPoint> kept;
        kept.reserve(FBreakPoints.size());
        for (BreakPoint &bp : FBreakPoints) {
            const int n = move(bp.Line - 1);
            marks |= n != bp.Line - 1;
            if (n < 0 || std::any_of(kept.begin(), kept.end(), [&](const BreakPoint &k) { return k.Line == n + 1; }))
                continue;
            bp.Line = n + 1;
            kept.push_back(std::move(bp));
        }
        FBreakPoints = std::move(kept);
    }
    FModified = true;
    if (OnLinesChanged)
        OnLinesChanged(First0, Count, added);
    if (marks && OnMarksChanged)
        OnMarksChanged();
}

void TkvlCodeBuffer::ChangeDone()
{
    if (OnChangeText)
        OnChangeText();
}

void TkvlCodeBuffer::SetSelText(const QString &Value)
{
    Snapshot();
    QPoint a = FPos, b = FPos;
    if (HasSelection()) {
        a = SelFirst();
        b = SelLast();
    }
    a.ry() = std::clamp(a.y(), 1, LineCount());
    b.ry() = std::clamp(b.y(), a.y(), LineCount());
    QString head = FText[a.y() - 1].left(a.x() - 1);
    if (head.size() < a.x() - 1)
        head += QString(a.x() - 1 - head.size(), QLatin1Char(' '));
    const QString &last = FText[b.y() - 1];
    const QString tail = b.x() - 1 < last.size() ? last.mid(b.x() - 1) : QString();
    QStringList parts = SplitLines(Value);
    const int caretX = int(parts.last().size()) + 1 + (parts.size() == 1 ? int(head.size()) : 0);
    parts.first().prepend(head);
    parts.last().append(tail);
    const int caretY = a.y() + int(parts.size()) - 1;
    ReplaceLines(a.y() - 1, b.y() - a.y() + 1, parts);
    ClearSelection();
    SetPos(caretX, caretY);
    ChangeDone();
}

void TkvlCodeBuffer::DeleteRange(QPoint From, QPoint To)
{
    Select(From, To);
    if (HasSelection())
        SetSelText(QString());
    else
        ClearSelection();
}

void TkvlCodeBuffer::MoveCaret(QPoint P, bool Extend)
{
    const QPoint old = FPos;
    SetPos(P.x(), P.y());
    if (Extend) {
        if (FSelStart.x() == 0)
            FSelStart = old;
        FSelEnd = FPos;
    } else
        ClearSelection();
}

void TkvlCodeBuffer::MouseTo(int X, int Y, bool Extend)
{
    MoveCaret(QPoint(X, Y), Extend);
    FMoved = true;
}

int TkvlCodeBuffer::WordStart(int Y, int X) const
{
    const QString &s = FText[Y - 1];
    int i = std::min(X - 1, int(s.size()));
    while (i > 0 && IsWordChar(s[i - 1]))
        --i;
    return i + 1;
}

int TkvlCodeBuffer::WordEnd(int Y, int X) const
{
    const QString &s = FText[Y - 1];
    int i = X - 1;
    while (i < s.size() && IsWordChar(s[i]))
        ++i;
    return std::max(i + 1, X);
}

QPoint TkvlCodeBuffer::WordLeft() const
{
    const QString &s = FText[FPos.y() - 1];
    int i = std::min(FPos.x() - 1, TextLength(s));
    while (i > 0 && !IsWordChar(s[i - 1]))
        --i;
    while (i > 0 && IsWordChar(s[i - 1]))
        --i;
    return QPoint(i + 1, FPos.y());
}

QPoint TkvlCodeBuffer::WordRight() const
{
    int y = FPos.y();
    int i = FPos.x() - 1;
    if (i >= LineLength(y)) {
        if (y >= LineCount())
            return QPoint(LineLength(y) + 1, y);
        ++y;
        i = 0;
    } else {
        const QString &s = FText[y - 1];
        while (i < s.size() && IsWordChar(s[i]))
            ++i;
    }
    const QString &s = FText[y - 1];
    const int len = TextLength(s);
    while (i < len && !IsWordChar(s[i]))
        ++i;
    return QPoint(std::min(i, len) + 1, y);
}

void TkvlCodeBuffer::SelectWordAtCaret()
{
    const int y = FPos.y();
    const int from = WordStart(y, FPos.x());
    const int to = WordEnd(y, FPos.x());
    if (to > from) {
        Select(QPoint(from, y), QPoint(to, y));
        SetPos(to, y);
    } else
        ClearSelection();
}

void TkvlCodeBuffer::SelectAll()
{
    const QPoint end(LineLength(LineCount()) + 1, LineCount());
    Select(QPoint(1, 1), end);
    SetPos(end.x(), end.y());
}

void TkvlCodeBuffer::PageUp(bool Extend)
{
    const int rows = std::max(1, FWindowSize.y());
    const int step = std::max(1, rows - 1);
    QPoint p = FPos;
    if (FOffset.y() > rows) {
        FOffset.ry() -= step;
        p.ry() -= step;
    } else if (FOffset.y() == 0)
        p.ry() = 1;
    else {
        p.ry() -= FOffset.y();
        FOffset.ry() = 0;
    }
    MoveCaret(p, Extend);
}

void TkvlCodeBuffer::PageDown(bool Extend)
{
    const int rows = std::max(1, FWindowSize.y());
    const int step = std::max(1, rows - 1);
    QPoint p = FPos;
    if (FOffset.y() + rows < LineCount()) {
        FOffset.ry() += step;
        p.ry() = std::min(p.y() + step, LineCount());
    } else {
        p.ry() = LineCount();
        FOffset.ry() = LineCount() - 1;
    }
    MoveCaret(p, Extend);
}

void TkvlCodeBuffer::Enter()
{
    Snapshot();
    ClearSelection();
    const int y = FPos.y();
    const QString line = FText[y - 1].left(LineLength(y));
    const QString head = line.left(FPos.x() - 1);
    const QString rest = line.mid(FPos.x() - 1);
    const int indent = isBlank(head) ? FPos.x() : indentOf(head) + 1;
    ReplaceLines(y - 1, 1, {head, QString(indent - 1, QLatin1Char(' ')) + rest});
    SetPos(indent, y + 1);
    ChangeDone();
}

void TkvlCodeBuffer::Backspace()
{
    if (HasSelection()) {
        SetSelText(QString());
        return;
    }
    const int x = FPos.x(), y = FPos.y();
    const QString &s = FText[y - 1];
    if (x == 1) {
        if (y > 1)
            DeleteRange(QPoint(LineLength(y - 1) + 1, y - 1), QPoint(1, y));
        return;
    }
    if (isBlank(s) || x == indentOf(s) + 1) {
        int target = 0;
        for (int i = y - 1; i >= 1 && !target; --i)
            if (!isBlank(FText[i - 1]) && indentOf(FText[i - 1]) + 1 < x)
                target = indentOf(FText[i - 1]) + 1;
        if (!target)
            target = indentOf(FText[0]) + 1;
        if (target >= x)
            target = 1;
        DeleteRange(QPoint(target, y), FPos);
        SetPos(target, y);
        return;
    }
    if (x - 1 > s.size()) { // in virtual space: nothing to delete
        SetPos(x - 1, y);
        return;
    }
    DeleteRange(QPoint(x - 1, y), FPos);
}

void TkvlCodeBuffer::Delete()
{
    if (HasSelection()) {
        SetSelText(QString());
        return;
    }
    const int x = FPos.x(), y = FPos.y();
    if (x > LineLength(y)) {
        if (y < LineCount())
            DeleteRange(FPos, QPoint(1, y + 1));
        return;
    }
    DeleteRange(FPos, QPoint(x + 1, y));
}

QString TkvlCodeBuffer::Cut()
{
    const QString text = Copy();
    if (!text.isEmpty() || HasSelection())
        SetSelText(QString());
    return text;
}

void TkvlCodeBuffer::Paste(const QString &Value)
{
    if (!Value.isEmpty())
        SetSelText(Value);
}

void TkvlCodeBuffer::DeleteLine()
{
    Snapshot();
    ClearSelection();
    const int y = FPos.y();
    if (y == LineCount()) {
        if (!FText[y - 1].isEmpty())
            ReplaceLines(y - 1, 1, {QString()});
        SetPos(1, y);
    } else {
        ReplaceLines(y - 1, 1, {});
        SetPos(FPos.x(), y);
    }
    ChangeDone();
}

void TkvlCodeBuffer::Indent(bool Right)
{
    if (!HasSelection())
        return;
    const QPoint a = SelFirst(), b = SelLast();
    const int first = a.y();
    const int last = b.x() == 1 && b.y() > a.y() ? b.y() - 1 : b.y();
    QStringList lines = FText.mid(first - 1, last - first + 1);
    if (Right) {
        for (QString &l : lines)
            l.prepend(QLatin1String("  "));
    } else {
        int cut = 2;
        for (const QString &l : lines)
            if (!isBlank(l))
                cut = std::min(cut, indentOf(l));
        if (cut == 0)
            return;
        for (QString &l : lines)
            if (!isBlank(l))
                l.remove(0, cut);
    }
    FMoved = true;
    Snapshot();
    const QPoint s = FSelStart, e = FSelEnd;
    ReplaceLines(first - 1, int(lines.size()), lines);
    Select(s, e);
    ChangeDone();
}

void TkvlCodeBuffer::Undo()
{
    TkvlCodeUndo::Step step;
    if (!FUndo.Pop(step))
        return;
    FMoved = true;
    if (step.First >= 0)
        ReplaceLines(step.First, step.Count, step.Old);
    ClearSelection();
    SetPos(step.Pos.x(), step.Pos.y());
    ChangeDone();
}

bool TkvlCodeBuffer::Find(const QString &SearchText, bool CaseSensitive, int &SearchFrom)
{
    if (SearchText.isEmpty())
        return false;
    const QString text = Text();
    const qsizetype at =
        text.indexOf(SearchText, std::max(SearchFrom, 1) - 1, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    if (at < 0)
        return false;
    const QPoint p = PointOf(int(at) + 1);
    SetPos(p.x(), p.y());
    Select(p, QPoint(p.x() + int(SearchText.size()), p.y()));
    SearchFrom = int(at + SearchText.size()) + 1;
    return true;
}

void TkvlCodeBuffer::ShowMessage(const QString &Text) { FMessage = Text; }

int TkvlCodeBuffer::IsBookmark(int Line0) const
{
    for (int i = 0; i < kBookmarks; ++i)
        if (FBookmarks[i] == Line0)
            return i;
    return -1;
}

void TkvlCodeBuffer::AddBookmark(int Line0, int Number)
{
    if (Number < 0 || Number >= kBookmarks)
        return;
    FBookmarks[Number] = Line0;
    if (OnMarksChanged)
        OnMarksChanged();
}

void TkvlCodeBuffer::DeleteBookmark(int Number)
{
    if (Number < 0 || Number >= kBookmarks)
        return;
    FBookmarks[Number] = -1;
    if (OnMarksChanged)
        OnMarksChanged();
}

void TkvlCodeBuffer::GotoBookmark(int Number)
{
    if (Number >= 0 && Number < kBookmarks && FBookmarks[Number] >= 0) {
        ClearSelection();
        SetPos(1, FBookmarks[Number] + 1);
    }
}

void TkvlCodeBuffer::ToggleBookmark(int Number)
{
    const int line = FPos.y() - 1;
    const int here = IsBookmark(line);
    if (here < 0)
        AddBookmark(line, Number);
    else if (here == Number)
        DeleteBookmark(Number);
}

void TkvlCodeBuffer::AddBreakPoint(int Line, const QString &Condition)
{
    for (BreakPoint &bp : FBreakPoints)
        if (bp.Line == Line) {
            bp.Condition = Condition;
            return;
        }
    FBreakPoints.push_back({Line, Condition});
    if (OnMarksChanged)
        OnMarksChanged();
}

void TkvlCodeBuffer::ToggleBreakPoint(int Line, const QString &Condition)
{
    if (IsBreakPoint(Line))
        DeleteBreakPoint(Line);
    else
        AddBreakPoint(Line, Condition);
}

void TkvlCodeBuffer::DeleteBreakPoint(int Line)
{
    const auto n = std::erase_if(FBreakPoints, [&](const BreakPoint &bp) { return bp.Line == Line; });
    if (n && OnMarksChanged)
        OnMarksChanged();
}

bool TkvlCodeBuffer::IsBreakPoint(int Line) const
{
    return std::any_of(FBreakPoints.begin(), FBreakPoints.end(), [&](const BreakPoint &bp) { return bp.Line == Line; });
}

QString TkvlCodeBuffer::GetBreakPointCondition(int Line) const
{
    for (const BreakPoint &bp : FBreakPoints)
        if (bp.Line == Line)
            return bp.Condition;
    return QString();
}

void TkvlCodeBuffer::DeleteF4BreakPoints()
{
    const auto n = std::erase_if(FBreakPoints, [](const BreakPoint &bp) { return bp.Condition == kF4; });
    if (n && OnMarksChanged)
        OnMarksChanged();
}

void TkvlCodeBuffer::SetComposition(const QString &Text, int Cursor)
{
    if (!FInImeComposition) {
        if (Text.isEmpty())
            return;
        FInImeComposition = true;
        FCompSelStart = HasSelection() ? SelFirst() : FPos;
        if (HasSelection())
            SetSelText(QString());
        FCompSelEnd = FCompSelStart;
    }
    Select(FCompSelStart, FCompSelEnd);
    if (HasSelection())
        SetSelText(Text);
    else {
        ClearSelection();
        SetPos(FCompSelStart.x(), FCompSelStart.y());
        if (!Text.isEmpty())
            SetSelText(Text);
    }
    FCompSelEnd = FPos;
    if (Text.isEmpty()) {
        FInImeComposition = false;
        return;
    }
    const QPoint at = PointOf(PlainPos(FCompSelStart) + std::clamp(Cursor, 0, int(Text.size())));
    SetPos(at.x(), at.y());
}

void TkvlCodeBuffer::CommitComposition(const QString &Text)
{
    if (FInImeComposition) {
        SetComposition(QString(), 0);
        FInImeComposition = false;
    }
    KeyPress(Text, Qt::NoModifier);
}

void TkvlCodeBuffer::KeyPress(const QString &Text, Qt::KeyboardModifiers Mods)
{
    // Control with right Alt (AltGr) is no Control.
    const bool ctrl = (Mods & Qt::ControlModifier) && !(Mods & Qt::AltModifier);
    QString typed;
    for (QChar c : Text) {
        const char16_t u = c.unicode();
        if ((u == ' ' && !ctrl) || (u >= 33 && !(ctrl && u == 127)))
            typed += c;
    }
    if (typed.isEmpty())
        return;
    SetSelText(typed);
    FMoved = false;
}

bool TkvlCodeBuffer::KeyDown(int Key, Qt::KeyboardModifiers Mods)
{
    const bool ctrl = Mods & Qt::ControlModifier;
    const bool shift = Mods & Qt::ShiftModifier;
    const bool alt = Mods & Qt::AltModifier;
    const int x = FPos.x(), y = FPos.y();
    switch (Key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        FMoved = true;
        QPoint p = FPos;
        switch (Key) {
        case Qt::Key_Left: p = ctrl ? WordLeft() : QPoint(x - 1, y); break;
        case Qt::Key_Right: p = ctrl ? WordRight() : QPoint(x + 1, y); break;
        case Qt::Key_Up: p.ry() = y - 1; break;
        case Qt::Key_Down: p.ry() = y + 1; break;
        case Qt::Key_Home: p = ctrl ? QPoint(1, 1) : QPoint(1, y); break;
        case Qt::Key_End:
            p = ctrl ? QPoint(LineLength(LineCount()) + 1, LineCount()) : QPoint(LineLength(y) + 1, y);
            break;
        case Qt::Key_PageUp: PageUp(shift); return true;
        case Qt::Key_PageDown: PageDown(shift); return true;
        }
        p.ry() = std::clamp(p.y(), 1, LineCount());
        MoveCaret(p, shift);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Mods & ~Qt::KeypadModifier)
            return false;
        FMoved = true;
        Enter();
        return true;
    case Qt::Key_Tab:
        if (ctrl || alt)
            return false;
        FMoved = true;
        SetSelText(QString(8 - x % 8, QLatin1Char(' ')));
        return true;
    case Qt::Key_Backspace:
        FMoved = true;
        if (ctrl) {
            SelectWordAtCaret();
            if (HasSelection())
                SetSelText(QString());
        } else
            Backspace();
        FMessage.clear();
        return true;
    case Qt::Key_Delete:
        if (shift)
            return false; // cut: the view owns the clipboard
        FMoved = true;
        if (ctrl) {
            const QString &s = FText[y - 1];
            if (x - 1 < s.size() && IsWordChar(s[x - 1]))
                DeleteRange(QPoint(WordStart(y, x), y), QPoint(WordEnd(y, x), y));
            else if (x > 1 && x - 1 <= s.size())
                DeleteRange(QPoint(x - 1, y), FPos);
        } else
            Delete();
        FMessage.clear();
        return true;
    case Qt::Key_Insert:
        FMoved = true;
        return false; // copy and paste: the view owns the clipboard
    default: break;
    }
    if (!ctrl)
        return false;
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9) {
        if (shift)
            ToggleBookmark(Key - Qt::Key_0);
        else
            GotoBookmark(Key - Qt::Key_0);
        return true;
    }
    // Shifted digits arrive as their symbols on most layouts.
    static const char16_t kShifted[] = u")!@#$%^&*(";
    for (int n = 0; n < kBookmarks; ++n)
        if (shift && Key == kShifted[n]) {
            ToggleBookmark(n);
            return true;
        }
    switch (Key) {
    case Qt::Key_A: SelectAll(); return true;
    case Qt::Key_Y: DeleteLine(); return true;
    case Qt::Key_I: Indent(true); return true;
    case Qt::Key_U: Indent(false); return true;
    case Qt::Key_Z: Undo(); return true;
    default: return false;
    }
}
