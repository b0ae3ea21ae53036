#pragma once
// The display-format dialog: a format for each bracketed expression of a text object, alone
// or on the Format page of the text-object editor.
#include "designer/core/formateditor.h"
#include "designer/widgets/hostdialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

class TkvlFormatEditorForm : public TkvlHostDialog {
    Q_OBJECT
public:
    explicit TkvlFormatEditorForm(QWidget *Parent = nullptr);

    // The object, and its text as the expression source.
    void SetMemo(TkvlCustomMemoView *Memo) { FEditor.SetMemo(Memo); }
    void SetMemo(TkvlCustomMemoView *Memo, const QString &Text) { FEditor.SetMemo(Memo, Text); }
    // The text the host hands in before refilling (ShowStep).
    void SetMemoText(const QString &Text) { FEditor.MemoText = Text; }
    void Refill() { ShowStep(); }

    QComboBox *ComboBox1 = nullptr;
    QListWidget *CategoryLB = nullptr, *FormatLB = nullptr;
    QLineEdit *FormatE = nullptr, *SeparatorE = nullptr;
    QLabel *ExpressionL = nullptr, *FormatStrL = nullptr, *SeparatorL = nullptr;

protected:
    void ShowStep() override;
    void HideStep() override;

private:
    void UpdateControls();
    void CategoryClick();
    void UpdateCurFormat();
    TkvlFormatEditor FEditor;
};

// Edits the formats of Memo in a modal dialog; true on OK (the memo then holds them).
bool kvlEditDisplayFormats(QWidget *Owner, TkvlCustomMemoView *Memo);
