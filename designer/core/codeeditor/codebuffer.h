#pragma once
// The script editor's text without widgets: lines, caret and selection on a character grid
// with virtual space, the visible window, bookmarks and breakpoints that move with their
// lines, every editing key as an operation, search and undo.
//
// Columns and lines of the caret and the selection count from 1; the window offset from 0.
// Every edit, undo included, goes through one splice of a line range, so a keystroke touches
// only its lines and listeners hear exactly which lines were replaced.
#include "designer/core/codeeditor/codeundo.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TkvlCodeBuffer {
public:
    static constexpr int kMaxLength = 1024;
    static constexpr int kBookmarks = 10;
    // The condition of the debugger's run-to-cursor breakpoint.
    static inline const QString kF4 = QStringLiteral("F4");

    TkvlCodeBuffer();

    // Text. The list is never empty.
    const QStringList &Lines() const { return FText; }
    int LineCount() const { return int(FText.size()); }
    const QString &Line(int Index0) const { return FText.at(Index0); }
    // Length without trailing blanks.
    static int TextLength(const QString &S);
    int LineLength(int Y) const { return Y >= 1 && Y <= LineCount() ? TextLength(FText.at(Y - 1)) : 0; }
    // Lines joined by CR LF, one after the last line too.
    QString Text() const;
    // A change from outside (the designer assigning the script): the undo steps, the
    // selection and the run-line flags go, the caret and the window return to the top.
    void SetLines(const QStringList &Value);
    void SetText(const QString &Value);
    static QStringList SplitLines(const QString &Value);

    // Run-line flags (the debugger may stop there), lines counted from 1; out of range
    // reads false and is ignored when set.
    bool RunLine(int Y) const;
    void SetRunLine(int Y, bool Value);

    // Caret.
    QPoint Pos() const { return FPos; }
    void SetPos(int X, int Y);
    // Character index of a point in Text(), counted from 1 (X plus length + 2 per line above).
    int PlainPos(QPoint P) const;
    int PlainPos() const { return PlainPos(FPos); }
    QPoint PointOf(int Plain) const;

    // Selection: anchor and end, end exclusive; no selection when the anchor's X is 0.
    bool HasSelection() const { return FSelStart.x() != 0 && FSelStart != FSelEnd; }
    QPoint SelStart() const { return FSelStart; }
    QPoint SelEnd() const { return FSelEnd; }
    // The earlier and the later point.
    QPoint SelFirst() const;
    QPoint SelLast() const;
    bool InSelection(int X, int Y) const;
    void Select(QPoint Anchor, QPoint End);
    void ClearSelection();
    QString SelText() const;
    // Replaces the selection, or inserts at the caret, and leaves the caret after the text.
    void SetSelText(const QString &Value);
    void SelectAll();
    void SelectWordAtCaret();

    // Window: first visible column and line from 0, and the visible size in cells.
    QPoint Offset() const { return FOffset; }
    QPoint WindowSize() const { return FWindowSize; }
    void SetWindowSize(int Columns, int Rows);
    // A scroll bar or the wheel moved the window.
    void SetOffset(int X, int Y);

    // Keys. KeyDown takes a Qt key code and its modifiers and answers whether it acted;
    // KeyPress types the text a key produced.
    bool KeyDown(int Key, Qt::KeyboardModifiers Mods);
    void KeyPress(const QString &Text, Qt::KeyboardModifiers Mods);
    // A click or drag in cell (X, Y): moves the caret, extending the selection when Extend.
    void MouseTo(int X, int Y, bool Extend);

    void Undo();
    int UndoCount() const { return FUndo.Count(); }
    // What a copy puts on the clipboard; a cut also deletes the selection.
    QString Copy() const { return HasSelection() ? SelText() : QString(); }
    QString Cut();
    void Paste(const QString &Value);
    void Indent(bool Right);
    void DeleteLine();

    // SearchFrom is a 1-based index into Text(); 0 counts as 1. A hit is selected and
    // SearchFrom moves behind it.
    bool Find(const QString &SearchText, bool CaseSensitive, int &SearchFrom);

    // Input method composition: the pre-edit text replaces its range, the cursor is
    // counted in characters from its start; an empty text ends the composition.
    void SetComposition(const QString &Text, int Cursor);
    void CommitComposition(const QString &Text);
    bool InComposition() const { return FInImeComposition; }

    // Bookmarks keep 0-based line indexes, breakpoints 1-based line numbers.
    int IsBookmark(int Line0) const;
    int Bookmark(int Number) const { return Number >= 0 && Number < kBookmarks ? FBookmarks[Number] : -1; }
    void AddBookmark(int Line0, int Number);
    void DeleteBookmark(int Number);
    void GotoBookmark(int Number);

    struct BreakPoint {
        int Line;
        QString Condition;
    };
    const std::vector<BreakPoint> &BreakPoints() const { return FBreakPoints; }
    void AddBreakPoint(int Line, const QString &Condition);
    void ToggleBreakPoint(int Line, const QString &Condition);
    void DeleteBreakPoint(int Line);
    bool IsBreakPoint(int Line) const;
    QString GetBreakPointCondition(int Line) const;
    void DeleteF4BreakPoints();

    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    const QString &Message() const { return FMessage; }
    void ShowMessage(const QString &Text);

    // Listeners. LinesChanged(First0, Removed, Added): lines First0 .. First0 + Removed - 1
    // were replaced by Added lines. MarksChanged: a bookmark or breakpoint came or went.
    std::function<void(int, int, int)> OnLinesChanged;
    std::function<void()> OnChangeText;
    std::function<void()> OnChangePos;
    std::function<void()> OnMarksChanged;

    static bool IsWordChar(QChar C);

private:
    void ReplaceLines(int First0, int Count, const QStringList &New);
    void Snapshot();
    void MoveCaret(QPoint P, bool Extend);
    void ChangeDone();
    QPoint WordLeft() const;
    QPoint WordRight() const;
    int WordStart(int Y, int X) const;
    int WordEnd(int Y, int X) const;
    void Enter();
    void Backspace();
    void Delete();
    void PageUp(bool Extend);
    void PageDown(bool Extend);
    void ToggleBookmark(int Number);
    void DeleteRange(QPoint From, QPoint To);

    QStringList FText;
    std::vector<unsigned char> FRunLines; // one per line
    QPoint FPos{1, 1};
    QPoint FSelStart{0, 0}, FSelEnd{0, 0};
    QPoint FOffset{0, 0};
    QPoint FWindowSize{0, 0};
    int FBookmarks[kBookmarks];
    std::vector<BreakPoint> FBreakPoints;
    TkvlCodeUndo FUndo;
    bool FMoved = true;
    bool FModified = false;
    QString FMessage;
    bool FInImeComposition = false;
    QPoint FCompSelStart, FCompSelEnd;
};
