#pragma once
// A page of a report shown as a window before the report runs: its controls are placed in
// window coordinates and its events run script procedures of the report.
#include "report/core/kvlobjects.h"
#include "report/progress/kvldialogwindow.h"

#include <memory>

class TkvlDialogPage;

// Objects on a dialog page that want to hear when its window is activated (dialog controls).
class TkvlDialogActivation {
public:
    virtual void DialogActivated(TkvlDialogPage *Page) = 0;

protected:
    ~TkvlDialogActivation() = default;
};

// The low eight members of a shift state as one byte, as scripts receive it.
uint8_t ShiftToByte(TShiftState Shift);

class TkvlDialogPage : public TkvlPage {
    LIRRA_CLASS(TkvlDialogPage, TkvlPage)
public:
    explicit TkvlDialogPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // The objects go first, then the window; under the loading lock, so that a template read
    // on another thread never meets a half-destroyed page.
    ~TkvlDialogPage() override;

    // The window the page runs in (made by the installed window factory).
    TkvlDialogWindow *Form() const { return FForm.get(); }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }  // applied when shown
    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TPosition Position = poScreenCenter;
    TWindowState WindowState = wsNormal;

    // Bounds are the window's outer bounds; the window follows them rounded.
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetWidth(double Value) override;
    void SetHeight(double Value) override;
    // The window's size inside its frame; setting it makes Width/Height the outer size. A
    // loaded client size wins over a loaded outer size.
    double ClientWidth() const;
    double ClientHeight() const;
    void SetClientWidth(double Value);
    void SetClientHeight(double Value);

    TModalResult ModalResult() const { return FForm->ModalResult(); }
    void SetModalResult(TModalResult Value) { FForm->SetModalResult(Value); }

    void FontChanged(TFont *Sender) override;

    // Hides the window and connects its events to the page.
    void Initialize();
    // Runs the window modally; the page keeps the bounds the user gives it. Afterwards the
    // window stays on top (also when the run failed).
    TModalResult ShowModal();

    // Script procedures run on the window's events (empty: none).
    QString OnActivate, OnClick, OnCloseQuery, OnDeactivate, OnHide, OnKeyDown, OnKeyPress, OnKeyUp, OnShow,
        OnResize;

private:
    void moveForm();
    void copyBoundsFromForm();
    void doNotify(const QString &EventName);
    void activated();
    void shown();
    bool closeQuery();
    void keyEvent(const QString &EventName, uint16_t &Key, TShiftState Shift);
    void keyPressed(QChar &Key);

    std::unique_ptr<TkvlDialogWindow> FForm;
    TFormBorderStyle FBorderStyle = bsSizeable;
    QString FCaption;
    TColor FColor = clBtnFace;
    double FClientWidth = 0, FClientHeight = 0;
};
