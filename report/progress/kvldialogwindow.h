#pragma once
// The window a dialog page of a report runs in, as the report library's code sees it. The
// widgets library makes the real one; this base is the window of a program without windows
// (and of tests): it keeps what it is given, shows nothing and cannot run modally.
#include "platform/rtl/color.h"
#include "report/seams/kvlseamtypes.h"

#include <QChar>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

class TFont;

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };

class TkvlDialogWindow {
public:
    explicit TkvlDialogWindow(bool ThreadSafe) : FThreadSafe(ThreadSafe) {}
    virtual ~TkvlDialogWindow() = default;
    TkvlDialogWindow(const TkvlDialogWindow &) = delete;
    TkvlDialogWindow &operator=(const TkvlDialogWindow &) = delete;

    // Made for a report whose engine runs thread-safe: nothing of the window is read from
    // resources then.
    bool ThreadSafe() const { return FThreadSafe; }

    // ---- notifications (the dialog page sets them) ----
    // After the user moved or resized the window (the designer marks the report modified).
    std::function<void()> OnModify;
    // After any move or resize, so the page can keep the window's bounds.
    std::function<void()> OnMoveSize;
    // Asked before the window closes; without a handler the window refuses to close.
    std::function<bool()> OnCloseQuery;
    bool CanClose() const { return OnCloseQuery && OnCloseQuery(); }
    std::function<void()> OnActivate, OnClick, OnDeactivate, OnHide, OnShow, OnResize, OnMouseMove;
    // Key is a virtual-key code; set to 0 the key goes no further, changed it is replaced.
    std::function<void(uint16_t &Key, TShiftState Shift)> OnKeyDown, OnKeyUp;
    // Key is the typed character; set to 0 it goes no further, changed it is replaced.
    std::function<void(QChar &Key)> OnKeyPress;

    // ---- appearance and place ----
    virtual void SetCaption(const QString &Value) { FCaption = Value; }
    virtual QString Caption() const { return FCaption; }
    virtual void SetColor(TColor Value) { FColor = Value; }
    virtual void SetFont(const TFont &) {}
    // Outer bounds, frame included.
    virtual void SetBounds(const QRect &Value);
    virtual QRect Bounds() const { return FBounds; }
    // The size inside the frame; setting it changes the outer size by the same amount.
    virtual void SetClientSize(const QSize &Value);
    virtual QSize ClientSize() const { return (FBounds.size() - FrameExtent()).expandedTo(QSize(0, 0)); }
    // Taken into account the next time the window shows.
    virtual void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
    virtual void SetPosition(TPosition Value) { FPosition = Value; }
    virtual void SetWindowState(TWindowState Value) { FWindowState = Value; }
    // Stays above other windows (once a dialog has run, as in the designer's preview of it).
    virtual void SetStayOnTop(bool Value) { FStayOnTop = Value; }

    // ---- showing ----
    virtual bool Visible() const { return false; }
    virtual void Show() {}
    virtual void Hide() {}
    // Runs modally and answers the modal result; mrCancel where no window can be shown.
    virtual TModalResult ShowModal() { return mrCancel; }
    virtual TModalResult ModalResult() const { return FModalResult; }
    // A result other than mrNone ends a modal run when the page lets the window close.
    virtual void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Gives the focus to the control that should have it as the window shows.
    virtual void FocusActiveControl() {}

protected:
    // What the frame adds to the client size (none without a window).
    virtual QSize FrameExtent() const { return {}; }

    QString FCaption;
    TColor FColor = clBtnFace;
    QRect FBounds;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poScreenCenter;
    TWindowState FWindowState = wsNormal;
    bool FStayOnTop = false;
    TModalResult FModalResult = mrNone;

private:
    bool FThreadSafe;
};
