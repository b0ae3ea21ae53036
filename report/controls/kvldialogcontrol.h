#pragma once
// A control of a dialog page (an edit, a button, a list) as a report object: the object keeps
// the control's place, font and state, and the control lives on the page's window, on its
// parent control's, or, while the object is elsewhere, on the hidden parent window. Kinds make
// the control and hand it over with SetControl from their constructor.
#include "report/pages/kvldialogpage.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class TkvlDialogControl : public TkvlReportComponent, public TkvlDialogActivation {
    LIRRA_CLASS(TkvlDialogControl, TkvlReportComponent)
public:
    explicit TkvlDialogControl(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // The report-object part goes first, then the control.
    ~TkvlDialogControl() override;

    QWidget *Control() const { return FControl; }

    // The control's text, colour, state and hint.
    QString Caption() const;
    void SetCaption(const QString &Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Enabled() const;
    void SetEnabled(bool Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString &Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // A control that cannot take the focus reads True and ignores the setter.
    bool TabStop() const;
    void SetTabStop(bool Value);

    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetWidth(double Value) override;
    void SetHeight(double Value) override;
    void SetVisible(bool Value) override;
    void FontChanged(TFont *Sender) override;
    void SetParentFont(bool Value) override;
    // The control moves to the window of its new parent (see above).
    void SetParent(TkvlComponent *Value) override;
    // A control showing its name as its caption keeps doing so after a rename.
    void SetName(const QString &NewName) override;

    // Paints the control at 1:1 at its rounded absolute place, whatever the scale and offsets.
    void Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;

    // Script procedures for the control's events, wired by kinds (empty: none).
    QString OnClick, OnDblClick, OnEnter, OnExit, OnKeyDown, OnKeyPress, OnKeyUp, OnMouseDown, OnMouseMove,
        OnMouseUp;
    // The program's own handler, called when the dialog page's window is activated.
    std::function<void(TkvlDialogPage *Sender)> OnActivate;
    void DialogActivated(TkvlDialogPage *Page) override;

protected:
    // Takes ownership of the kind's control; the control gets the object's state. The kind's
    // class name gives the base name: "TkvlButtonControl" makes "Button1", "Button2", ...
    void SetControl(std::unique_ptr<QWidget> Value);
    // Whether the caption follows the name (buttons, labels; not edits, whose text is data).
    bool CaptionFollowsName = true;

private:
    void applyGeometry();
    void applyWindowParent();

    // Guarded: Qt frees a control with its parent window when that goes first.
    QPointer<QWidget> FControl;
    TColor FColor = clBtnFace;
    QString FHint;
    bool FShowHint = true;
};

// Registers the class with the class registry (start-up).
void kvlRegisterDialogControlClasses();
