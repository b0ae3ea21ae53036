#pragma once
// The designer's script editor: a character grid over the code buffer, coloured by the
// syntax highlighter, with a gutter for bookmarks, breakpoints and executable-line dots,
// the debugger's current line, a message bar and a code-completion list. Drawing goes
// through the report library's canvas, so renders agree wherever the project's fonts are.
#include "designer/core/codeeditor/codebuffer.h"
#include "designer/core/codeeditor/syntaxhighlighter.h"
#include "engine/widgets/kvlscrollwin.h"
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/color.h"

#include <QPointer>
#include <functional>

class TStringList;
class TCanvas;
class TkvlPopupForm;
#include <QListWidget>

class TkvlSyntaxMemo : public TkvlScrollWin {
    Q_OBJECT
public:
    explicit TkvlSyntaxMemo(QWidget *Parent = nullptr);
    ~TkvlSyntaxMemo() override;

    TkvlCodeBuffer &Buffer() { return FBuffer; }
    const TkvlCodeBuffer &Buffer() const { return FBuffer; }
    const TkvlSyntaxHighlighter &Highlighter() const { return FHighlighter; }

    // The text; assigning it is a change from outside (no undo across it).
    QStringList Lines() const { return FBuffer.Lines(); }
    void SetLines(const QStringList &Value);
    QString SelText() const { return FBuffer.SelText(); }
    void SetSelText(const QString &Value);
    bool Modified() const { return FBuffer.Modified(); }
    int ActiveLine() const { return FActiveLine; }
    void SetActiveLine(int Value);
    bool ShowGutter() const { return FShowGutter; }
    void SetShowGutter(bool Value);
    QString Syntax() const { return FHighlighter.Syntax(); }
    void SetSyntax(const QString &Value);
    bool RunLine(int Y) const { return FBuffer.RunLine(Y); }
    void SetRunLine(int Y, bool Value) { FBuffer.SetRunLine(Y, Value); }

    // The editor font (default "Courier New" 10): the attributes take its name and size.
    const gfx::FontDesc &EditorFont() const { return FFont; }
    void SetEditorFont(const gfx::FontDesc &Value);
    enum TTextAttr { taComment, taKeyword, taNumber, taString, taText };
    const gfx::FontDesc &Attribute(TTextAttr Which) const { return FAttrs[Which]; }
    void SetAttribute(TTextAttr Which, const gfx::FontDesc &Value);
    TColor BlockColor() const { return FBlockColor; }
    void SetBlockColor(TColor Value);
    TColor BlockFontColor() const { return FBlockFontColor; }
    void SetBlockFontColor(TColor Value);
    TColor Color() const { return FColor; }

    QSize CellSize() const { return QSize(FCharWidth, FCharHeight); }
    int GutterWidth() const { return FShowGutter ? 30 : 0; }

    void SetPos(int X, int Y);
    QPoint GetPos() const { return FBuffer.Pos(); }
    int GetPlainPos() const { return FBuffer.PlainPos(); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void SelectAll();
    void Undo();
    void ShowMessage(const QString &Text);
    void UpdateView() { viewport()->update(); }
    bool Find(const QString &SearchText, bool CaseSensitive, int &SearchFrom);

    // Marks; the buffer keeps them, the view repaints.
    int IsBookmark(int Line0) const { return FBuffer.IsBookmark(Line0); }
    void AddBookmark(int Line0, int Number) { FBuffer.AddBookmark(Line0, Number); }
    void DeleteBookmark(int Number) { FBuffer.DeleteBookmark(Number); }
    void GotoBookmark(int Number);
    void AddBreakPoint(int Line, const QString &Condition) { FBuffer.AddBreakPoint(Line, Condition); }
    void ToggleBreakPoint(int Line, const QString &Condition) { FBuffer.ToggleBreakPoint(Line, Condition); }
    void DeleteBreakPoint(int Line) { FBuffer.DeleteBreakPoint(Line); }
    bool IsBreakPoint(int Line) const { return FBuffer.IsBreakPoint(Line); }
    QString GetBreakPointCondition(int Line) const { return FBuffer.GetBreakPointCondition(Line); }
    void DeleteF4BreakPoints() { FBuffer.DeleteF4BreakPoints(); }

    // Events.
    std::function<void(TkvlSyntaxMemo *)> OnChangeText;
    std::function<void(TkvlSyntaxMemo *)> OnChangePos;
    // Fills List for the name in front of the caret; each entry's object is its kind
    // (TkvlCompletionKind).
    std::function<void(const QString &Name, TStringList &List)> OnCodeCompletion;

    // The open completion list, or null.
    QWidget *CompletionForm() const;
    QListWidget *CompletionList() const { return FCompletionLB.data(); }

    // Draws the view as it is into a canvas of the viewport's size (renders and tests).
    void PaintTo(TCanvas &Canvas, const QRect &Clip);

protected:
    void Paint(QPainter &Painter, const QRegion &Dirty) override;
    void OnHScrollChange() override;
    void OnVScrollChange() override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    struct ViewState {
        QPoint Pos, Offset, SelFirst, SelLast;
        bool Selected;
        QString Message;
    };
    ViewState State() const;
    // Repaints what an operation changed since Before and updates the scroll bars.
    void Refresh(const ViewState &Before);
    void UpdateLines(int From0, int To0);
    void UpdateBars();
    void MeasureCell();
    void UpdateWindowSize();
    QPoint CellAt(QPoint Pixel) const;
    QRect CaretRect() const;
    void DrawLine(TCanvas &Canvas, int Line0, int Top);
    void DrawMarks(TCanvas &Canvas, int Line0, int Top);
    void ShowCompletion();
    void InsertCompletion();
    void CloseCompletion();

    TkvlCodeBuffer FBuffer;
    TkvlSyntaxHighlighter FHighlighter;
    gfx::FontDesc FFont;
    gfx::FontDesc FAttrs[5];
    TColor FBlockColor = clHighlight;
    TColor FBlockFontColor = clHighlightText;
    TColor FColor = clWindow;
    bool FShowGutter = true;
    bool FIsMonoType = true;
    int FCharWidth = 8, FCharHeight = 16;
    int FActiveLine = -1;
    bool FDown = false;
    bool FToggleBreakPointDown = false;
    bool FCaretVisible = false;
    bool FRepaintAll = false;
    int FChangedFrom = -1, FChangedTo = -1; // lines to repaint, 0-based, [from, to)
    QPointer<TkvlPopupForm> FCompletionForm;
    QPointer<QListWidget> FCompletionLB;
};
