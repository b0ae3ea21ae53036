#pragma once
// The report library's small windows as the library's code sees them: the progress window of
// long work, the password prompt, the question asked when inherited objects clash by name, the
// window a dialog page runs in, and the pop-up close time. The windows themselves live in the
// widgets library, which installs its factory at start-up; until then (and in tests of the core)
// a factory that shows nothing answers at once.
#include "report/progress/kvldialogwindow.h"

#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// Progress of long work with a Cancel button. The logic lives here; a window shows the state
// through the protected hooks.
class TkvlProgress {
public:
    virtual ~TkvlProgress() = default;

    // Starts a run of MaxValue steps: not terminated, position 0, the window shown.
    void Execute(int MaxValue, const QString &Msg, bool ShowCancel, bool ShowProgress);
    // One step more, unless the position is already at the maximum.
    void Tick();
    void Reset() { SetPosition(0); }

    int Position() const { return FPosition; }
    void SetPosition(int Value); // kept within 0 .. MaxValue, as a bar does
    int MaxValue() const { return FMax; }
    const QString &Message() const { return FMessage; }
    void SetMessage(const QString &Value);
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool Value);
    bool CancelVisible() const { return FShowCancel; }
    bool Terminated() const { return FTerminated; }
    // True closes the window: the Cancel button sets it.
    void SetTerminated(bool Value);

    // Top of the message label: beside the bar, or lower down in its place when it is hidden.
    int MessageTop() const { return FShowProgress ? 15 : 35; }

    virtual void Hide() {}

protected:
    virtual void ShowWindow() {}      // shows without a modal loop, then lets pending events run
    virtual void PositionChanged() {} // the bar follows, the window comes to the front, events run
    virtual void MessageChanged() {}  // the label shows the message at once
    virtual void LayoutChanged() {}   // bar and Cancel shown or hidden, label moved
    virtual void CloseWindow() {}

private:
    int FMax = 100;
    int FPosition = 0;
    QString FMessage;
    bool FShowProgress = true;
    bool FShowCancel = true;
    bool FTerminated = false;
};

enum class TkvlInheritAnswer { Delete, Rename, Cancel };

// Makes the windows. The base answers as a program without windows would: a silent progress,
// no password typed, inheritance abandoned, a dialog window that cannot be shown.
class TkvlWindowFactory {
public:
    virtual ~TkvlWindowFactory() = default;
    virtual std::unique_ptr<TkvlProgress> CreateProgress();
    // The typed password, or nothing when the prompt was cancelled.
    virtual std::optional<QString> AskPassword();
    // What to do with inherited objects whose names the parent template already has.
    virtual TkvlInheritAnswer AskInherit();
    virtual std::unique_ptr<TkvlDialogWindow> CreateDialogWindow(bool ThreadSafe);
};

// The installed factory; install() returns what was there (null for the base), null restores
// the base. The caller keeps ownership.
TkvlWindowFactory &kvlWindows();
TkvlWindowFactory *kvlInstallWindows(TkvlWindowFactory *Factory);

// The texts the windows show, added to the string table where it lacks them, so that a window
// never shows a bare number before the designer's table is loaded.
void kvlRegisterWindowTexts();

// Pop-up windows: the monotonic time (milliseconds) at which the last one closed, so that the
// click that closed a pop-up does not open it again from its opener.
void kvlPopupFormClosed();
qint64 kvlPopupFormCloseTime();
// True when a pop-up closed less than WithinMs ago (50 for drop-down editors, 100 for the
// inspector's lists).
bool kvlPopupJustClosed(qint64 WithinMs = 50);
