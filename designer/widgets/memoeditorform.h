#pragma once
// The text-object editor: the text, and on two more pages the display formats and the
// conditional highlights of the object.
#include <QDialog>

class QPlainTextEdit;
class QTabWidget;
class QToolButton;
class TkvlCustomDesigner;
class TkvlCustomMemoView;
class TkvlFormatEditorForm;
class TkvlHighlightEditorForm;

class TkvlMemoEditorForm : public QDialog {
    Q_OBJECT
public:
    TkvlMemoEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer);
    ~TkvlMemoEditorForm() override;

    TkvlCustomMemoView *MemoView = nullptr;
    // The edited text, lines joined with "\r\n"; filled when the dialog closes.
    QString Text;

    void done(int Result) override;
    void setVisible(bool Visible) override;

    QTabWidget *PageControl1 = nullptr;
    QWidget *TextTS = nullptr, *FormatTS = nullptr, *HighlightTS = nullptr;
    QToolButton *ExprB = nullptr, *AggregateB = nullptr, *WordWrapB = nullptr;
    // Made when the dialog is shown.
    QPlainTextEdit *Memo = nullptr;
    TkvlFormatEditorForm *Format() const { return FFormat; }
    TkvlHighlightEditorForm *Highlight() const { return FHighlight; }

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    // The show step: the editing control, the hosted pages, the settings, the font, the text.
    void Prepare();
    void ApplyWordWrap();
    TkvlCustomDesigner *FDesigner;
    TkvlFormatEditorForm *FFormat = nullptr;
    TkvlHighlightEditorForm *FHighlight = nullptr;
    bool FPrepared = false;
};

// Edits Memo's text, formats and highlights; on OK the memo takes the new text (formats and
// highlights are already written) and the answer is true.
bool kvlEditMemo(QWidget *Owner, TkvlCustomDesigner *Designer, TkvlCustomMemoView *Memo);
