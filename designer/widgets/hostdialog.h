#pragma once
// A dialog whose controls can also live on a page of another window: HostControls moves them
// there and runs the show step, UnhostControls moves them back and runs the hide step with the
// host's modal result. Shown on its own, showing runs the show step and closing the hide step.
#include <QDialog>

class QKeyEvent;
// F1 opens the help page of Window's class; true when the key was F1.
bool kvlHelpKey(QWidget *Window, const QKeyEvent *Event);

class QIcon;
// The tool-bar picture Index as an icon, its olive ground transparent; a null icon when the
// picture is empty.
QIcon kvlGlyphIcon(int Index);

class TkvlHostDialog : public QDialog {
    Q_OBJECT
public:
    explicit TkvlHostDialog(QWidget *Parent = nullptr);

    void HostControls(QWidget *Host);
    void UnhostControls(int ModalResult);
    bool IsHosted() const { return FHost != nullptr; }
    // The result the hide step ran with (Rejected until then).
    int ModalResult() const { return FModalResult; }

    void done(int Result) override;

    class QPushButton *OkB = nullptr, *CancelB = nullptr;

protected:
    // The controls that move; subclasses lay them out. Buttons stay with the dialog.
    QWidget *Content() const { return FContent; }
    // Appends the OK and Cancel row below the content.
    void AddOkCancel(const char *OkName = "OkB");
    virtual void ShowStep() = 0;
    // Reads ModalResult(); writes only for Accepted.
    virtual void HideStep() = 0;

    void showEvent(QShowEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    QWidget *FContent;
    QWidget *FHost = nullptr;
    int FModalResult = Rejected;
};
