#pragma once
// The preview's find dialog: the text to find and two options. It remembers the last text
// accepted for the life of the program and offers it, selected, the next time.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

class TkvlSearchDialog final : public QDialog {
public:
    explicit TkvlSearchDialog(QWidget *Parent = nullptr);

    QLineEdit *TextE() const { return FText; }
    // Other windows' replace field; hidden in the preview's use.
    QWidget *ReplacePanel() const { return FReplacePanel; }
    QLineEdit *ReplaceE() const { return FReplace; }
    QCheckBox *TopCB() const { return FTop; }
    QCheckBox *CaseCB() const { return FCase; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

    void done(int Result) override;

protected:
    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    QLineEdit *FText;
    QWidget *FReplacePanel;
    QLineEdit *FReplace;
    QCheckBox *FTop, *FCase;
    QPushButton *FOk, *FCancel;
};
