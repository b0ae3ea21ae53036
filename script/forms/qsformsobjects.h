#pragma once
// The controls and forms scripts make: components wrapping a Qt widget each. A control owns
// its widget; a widget deleted by Qt leaves the control without one, and using it is then a
// script error. Events reach the bridges installed in the control's slots through an event
// filter and the widget's signals.
#include "platform/rtl/reflect/component.h"
#include "script/classlib/qsclassobjects.h"
#include "script/classlib/qsgraphicsobjects.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QWidget>

class TqsFormEvent;
class QDialog;
namespace gfx {
class PainterCanvas;
}

namespace qsforms {

class EventFilter;

// Shift-state bits as scripts see them.
enum ShiftBits { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
enum CloseAction { caNone, caHide, caFree, caMinimize };

class TControl : public TComponent
{
    LIRRA_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent *AOwner);
    ~TControl() override;

    // The widget; a script error once it is gone.
    QWidget &Widget() const;
    QWidget *WidgetOrNull() const { return FWidget; }
    TControl *Parent() const;
    void SetParent(TControl *parent);
    void SetVisible(bool on);
    bool Visible() const { return FVisible; }

    TqsFormEvent *Slot(const QString &event) const { return FSlots.value(event); }
    void SetSlot(const QString &event, TqsFormEvent *bridge);
    void ClearSlot(const QString &event, const TqsFormEvent *bridge);

    // The list behind Items or Lines, for the controls that have one.
    virtual qscl::TStrings *Items() { return nullptr; }
    // Shows the list's new contents in the widget.
    virtual void ItemsChanged() {}
    virtual QString Text() const;
    virtual void SetText(const QString &text);

protected:
    void Adopt(QWidget *widget);
    // A child widget that takes the mouse in the widget's place.
    void WatchPart(QWidget *part);

private:
    friend class EventFilter;
    QPointer<QWidget> FWidget;
    EventFilter *FFilter = nullptr;
    int32_t FParentHandle = 0;
    bool FVisible = true;
    QHash<QString, TqsFormEvent *> FSlots; // not owned: the bridges leave when freed
};

class TWinControl : public TControl
{
    LIRRA_CLASS(TWinControl, TControl)
public:
    using TControl::TControl;
};

class TCustomControl : public TWinControl
{
    LIRRA_CLASS(TCustomControl, TWinControl)
public:
    using TWinControl::TWinControl;
};

class TGraphicControl : public TControl
{
    LIRRA_CLASS(TGraphicControl, TControl)
public:
    using TControl::TControl;
};

class TGroupBox : public TWinControl
{
    LIRRA_CLASS(TGroupBox, TWinControl)
public:
    explicit TGroupBox(TComponent *AOwner);
    QString Text() const override;
    void SetText(const QString &text) override;
};

class TLabel : public TControl
{
    LIRRA_CLASS(TLabel, TControl)
public:
    explicit TLabel(TComponent *AOwner);
    QString Text() const override;
    void SetText(const QString &text) override;
};

class TEdit : public TWinControl
{
    LIRRA_CLASS(TEdit, TWinControl)
public:
    explicit TEdit(TComponent *AOwner);
    QString Text() const override;
    void SetText(const QString &text) override;
};

class TMemo : public TWinControl
{
    LIRRA_CLASS(TMemo, TWinControl)
public:
    explicit TMemo(TComponent *AOwner);
    ~TMemo() override;
    QString Text() const override;
    void SetText(const QString &text) override;
    qscl::TStrings *Items() override;
    void ItemsChanged() override;

private:
    int32_t FLines = 0;
    bool FToWidget = false; // the lines are being shown in the widget
};

class TCustomComboBox : public TWinControl
{
    LIRRA_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent *AOwner);
    ~TCustomComboBox() override;
    QString Text() const override;
    void SetText(const QString &text) override;
    qscl::TStrings *Items() override;
    void ItemsChanged() override;
    void SetStyle(int style);
    int Style() const { return FStyle; }

private:
    int32_t FItems = 0;
    int FStyle = 0;
};

class TComboBox : public TCustomComboBox
{
    LIRRA_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};

class TButton : public TWinControl
{
    LIRRA_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent *AOwner);
    QString Text() const override;
    void SetText(const QString &text) override;
    int ModalResult = 0;
};

class TCheckBox : public TWinControl
{
    LIRRA_CLASS(TCheckBox, TWinControl)
public:
    explicit TCheckBox(TComponent *AOwner);
    QString Text() const override;
    void SetText(const QString &text) override;
};

class TRadioButton : public TWinControl
{
    LIRRA_CLASS(TRadioButton, TWinControl)
public:
    explicit TRadioButton(TComponent *AOwner);
    QString Text() const override;
    void SetText(const QString &text) override;
};

class TCustomListBox : public TWinControl
{
    LIRRA_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent *AOwner);
    ~TCustomListBox() override;
    qscl::TStrings *Items() override;
    void ItemsChanged() override;

private:
    int32_t FItems = 0;
};

class TListBox : public TCustomListBox
{
    LIRRA_CLASS(TListBox, TCustomListBox)
public:
    using TCustomListBox::TCustomListBox;
};

class TControlScrollBar : public TPersistent
{
    LIRRA_CLASS(TControlScrollBar, TPersistent)
};

class TScrollingWinControl : public TWinControl
{
    LIRRA_CLASS(TScrollingWinControl, TWinControl)
public:
    using TWinControl::TWinControl;
};

class TScrollBox : public TScrollingWinControl
{
    LIRRA_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent *AOwner);
};

// A form: a dialog window. ShowModal runs Qt's own modal loop; closing asks OnCloseQuery
// and OnClose, and caFree frees the form once its handler has returned.
class TCustomForm : public TScrollingWinControl
{
    LIRRA_CLASS(TCustomForm, TScrollingWinControl)
public:
    explicit TCustomForm(TComponent *AOwner);
    ~TCustomForm() override;

    QDialog &Dialog() const;
    QString Text() const override;
    void SetText(const QString &text) override;
    int ShowModal();
    void Close();
    int ModalResult() const { return FModalResult; }
    // A modal result other than mrNone closes a modal form.
    void SetModalResult(int result);
    // Draws on the form: what it draws stays on a transparent layer over the form's
    // background until a paint with an OnPaint handler, which draws the layer afresh.
    qscl::TCanvas &Canvas();
    // The form's paint event: OnPaint, then the layer.
    void Paint(QWidget &widget);

    // The close path: false when the form stays open.
    bool CloseRequested();

private:
    void FreeLater();
    ::TCanvas &Layer();
    TColor LayerPixel(int x, int y);
    int FModalResult = 0;
    bool FModal = false;
    bool FFreePending = false;
    bool FPainting = false;
    int32_t FCanvas = 0;
    QImage FLayer;
    std::unique_ptr<gfx::PainterCanvas> FLayerCanvas;
};

class TForm : public TCustomForm
{
    LIRRA_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

class TDataModule : public TComponent
{
    LIRRA_CLASS(TDataModule, TComponent)
public:
    using TComponent::TComponent;
};

class TApplication : public TComponent
{
    LIRRA_CLASS(TApplication, TComponent)
public:
    using TComponent::TComponent;
};

// The control a widget belongs to, nullptr for other widgets or a freed control.
TControl *ControlOf(const QWidget *widget);
// Runs the OnClick bridge of the control, if any.
void FireClick(TControl *control);

// Qt modifiers and buttons to a shift-state mask.
int ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);

} // namespace qsforms
