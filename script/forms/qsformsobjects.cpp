#include "script/forms/qsformsobjects.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/ui/virtualkeys.h"
#include "script/classlib/qsgraphicsobjects.h"
#include "script/forms/qsevents.h"
#include "script/items/qsitems.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>

#include <type_traits>

namespace qsforms {

#define QS_PLAIN_CLASS(Cls)                                                                                          \
    LIRRA_DEFINE_CLASS(Cls)                                                                                          \
    void Cls::DeclareClass(rtl::ClassBuilder<Cls> &) {}
QS_PLAIN_CLASS(TControl)
QS_PLAIN_CLASS(TWinControl)
QS_PLAIN_CLASS(TCustomControl)
QS_PLAIN_CLASS(TGraphicControl)
QS_PLAIN_CLASS(TGroupBox)
QS_PLAIN_CLASS(TLabel)
QS_PLAIN_CLASS(TEdit)
QS_PLAIN_CLASS(TMemo)
QS_PLAIN_CLASS(TCustomComboBox)
QS_PLAIN_CLASS(TComboBox)
QS_PLAIN_CLASS(TButton)
QS_PLAIN_CLASS(TCheckBox)
QS_PLAIN_CLASS(TRadioButton)
QS_PLAIN_CLASS(TCustomListBox)
QS_PLAIN_CLASS(TListBox)
QS_PLAIN_CLASS(TControlScrollBar)
QS_PLAIN_CLASS(TScrollingWinControl)
QS_PLAIN_CLASS(TScrollBox)
QS_PLAIN_CLASS(TCustomForm)
QS_PLAIN_CLASS(TForm)
QS_PLAIN_CLASS(TDataModule)
QS_PLAIN_CLASS(TApplication)

namespace {
const char *const kHandleProperty = "lirraScriptControl";

template<class B>
B *SlotOf(TControl *c, const char *event)
{
    return c ? dynamic_cast<B *>(c->Slot(QLatin1String(event))) : nullptr;
}

int ButtonOrdinal(Qt::MouseButton b) { return b == Qt::RightButton ? 1 : b == Qt::MiddleButton ? 2 : 0; }
} // namespace

// Turns the widget's events into the control's events. Freed with the widget; the control
// detaches itself first when it goes.
class EventFilter : public QObject
{
public:
    EventFilter(TControl *control, QWidget *widget) : QObject(widget), FControl(control) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // nothing thrown here may reach Qt's event loop; the bridges report their own
        try {
            return Dispatch(watched, event);
        } catch (...) {
            return false;
        }
    }
    bool Dispatch(QObject *watched, QEvent *event);
    TControl *FControl;
    bool FSynthetic = false; // a replaced key press on its way
    const QEvent *FPartEvent = nullptr; // the last mouse event taken from a part
    quint64 FPartStamp = 0;
    bool FResizing = false;  // a size set by OnCanResize
};

bool EventFilter::Dispatch(QObject *watched, QEvent *event)
{
    TControl *c = FControl;
    if (!c || !c->WidgetOrNull())
        return false;
    if (watched != c->WidgetOrNull()) {
        // a part of the widget (a scroll area's viewport, a combo box's line edit) takes
        // the mouse: its mouse events are the control's, at the control's coordinates
        auto *part = qobject_cast<QWidget *>(watched);
        const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                           || event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseMove;
        if (!part || !mouse || !c->WidgetOrNull()->isAncestorOf(part))
            return false;
        auto *m = static_cast<QMouseEvent *>(event);
        const QPointF at = part->mapTo(c->WidgetOrNull(), m->position());
        QMouseEvent mapped(m->type(), at, m->scenePosition(), m->globalPosition(), m->button(), m->buttons(), m->modifiers());
        mapped.setTimestamp(m->timestamp());
        FPartEvent = event;
        FPartStamp = m->timestamp();
        return Dispatch(c->WidgetOrNull(), &mapped);
    }
    // the same event passed on to the widget when its part left it unhandled
    if (event == FPartEvent && event->isPointerEvent() && static_cast<QMouseEvent *>(event)->timestamp() == FPartStamp)
        return false;
    // a handler may free the control: every step checks it is still there
    const int32_t handle = rtl::ObjectHandles::handleOf(c);
    auto alive = [handle] { return rtl::ObjectHandles::objectAs<TControl>(handle); };
    auto notify = [&](const char *name) {
        if (auto *b = SlotOf<TqsNotifyEvent>(alive(), name))
            b->DoEvent(c);
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto *m = static_cast<QMouseEvent *>(event);
        const QPoint p = m->position().toPoint();
        const bool dbl = event->type() == QEvent::MouseButtonDblClick;
        const int shift = ShiftOf(m->modifiers(), m->buttons() | (event->type() == QEvent::MouseButtonRelease ? Qt::NoButton : m->button()))
                          | (dbl ? ssDouble : 0);
        if (dbl)
            notify("OnDblClick");
        const char *name = event->type() == QEvent::MouseButtonRelease ? "OnMouseUp" : "OnMouseDown";
        if (auto *b = SlotOf<TqsMouseEvent>(alive(), name))
            b->DoEvent(c, ButtonOrdinal(m->button()), shift, p.x(), p.y());
        // buttons click through their signal; other controls on a left release inside them
        if (event->type() == QEvent::MouseButtonRelease && m->button() == Qt::LeftButton && alive()
            && !qobject_cast<QAbstractButton *>(c->WidgetOrNull()) && c->WidgetOrNull()->rect().contains(p))
            notify("OnClick");
        return false;
    }
    case QEvent::MouseMove: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (auto *b = SlotOf<TqsMouseMoveEvent>(c, "OnMouseMove"))
            b->DoEvent(c, ShiftOf(m->modifiers(), m->buttons()), m->position().toPoint().x(), m->position().toPoint().y());
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (FSynthetic)
            return false;
        auto *k = static_cast<QKeyEvent *>(event);
        const bool press = event->type() == QEvent::KeyPress;
        uint16_t key = ui::VirtualKey(k->key());
        if (auto *b = SlotOf<TqsKeyEvent>(c, press ? "OnKeyDown" : "OnKeyUp")) {
            const uint16_t before = key;
            b->DoEvent(c, key, ShiftOf(k->modifiers()));
            if (before != 0 && key == 0)
                return true; // swallowed
            const int qtKey = ui::QtKey(key);
            if (press && key != before && qtKey != 0 && alive()) {
                // the control handles the new key in place of the pressed one
                QString text;
                if ((key >= '0' && key <= '9') || key == ' ')
                    text = QChar(key);
                else if (key >= 'A' && key <= 'Z')
                    text = (k->modifiers() & Qt::ShiftModifier) ? QChar(key) : QChar(key).toLower();
                else if (key == 13)
                    text = QStringLiteral("\r");
                else if (key == 9)
                    text = QStringLiteral("\t");
                QKeyEvent replaced(QEvent::KeyPress, qtKey, k->modifiers(), text, k->isAutoRepeat(), 1);
                FSynthetic = true;
                QCoreApplication::sendEvent(c->WidgetOrNull(), &replaced);
                FSynthetic = false;
                return true;
            }
        }
        if (!press || k->text().isEmpty() || !alive())
            return false;
        if (auto *b = SlotOf<TqsKeyPressEvent>(c, "OnKeyPress")) {
            QChar ch = k->text().at(0);
            const QChar typed = ch;
            b->DoEvent(c, ch);
            if (ch.isNull())
                return true;
            if (ch != typed && alive()) {
                // the replacement goes to the widget in place of the typed key
                QKeyEvent replaced(QEvent::KeyPress, ch.isLetterOrNumber() ? QChar(ch.toUpper()).unicode() : 0, k->modifiers(),
                                   QString(ch), k->isAutoRepeat(), 1);
                FSynthetic = true;
                QCoreApplication::sendEvent(c->WidgetOrNull(), &replaced);
                FSynthetic = false;
                return true;
            }
        }
        return false;
    }
    case QEvent::FocusIn: notify("OnEnter"); return false;
    case QEvent::FocusOut: notify("OnExit"); return false;
    case QEvent::Show:
        notify("OnShow");
        return false;
    case QEvent::Hide: notify("OnHide"); return false;
    case QEvent::WindowActivate: notify("OnActivate"); return false;
    case QEvent::WindowDeactivate: notify("OnDeactivate"); return false;
    case QEvent::Resize: {
        if (FResizing)
            return false;
        auto *r = static_cast<QResizeEvent *>(event);
        if (auto *b = SlotOf<TqsCanResizeEvent>(c, "OnCanResize")) {
            // no veto before the resize here: a refused or changed size is set right after it
            int w = r->size().width(), h = r->size().height();
            bool resize = true;
            b->DoEvent(c, w, h, resize);
            const QSize target = resize ? QSize(w, h) : r->oldSize();
            if (alive() && target.isValid() && target != r->size()) {
                QWidget *widget = c->WidgetOrNull();
                QTimer::singleShot(0, widget, [this, widget, target] {
                    FResizing = true;
                    widget->resize(target);
                    FResizing = false;
                });
            }
        }
        notify("OnResize");
        return false;
    }
    default: return false;
    }
}

TControl *ControlOf(const QWidget *widget)
{
    const QVariant h = widget ? widget->property(kHandleProperty) : QVariant();
    return h.isValid() ? rtl::ObjectHandles::objectAs<TControl>(h.toInt()) : nullptr;
}

void FireClick(TControl *control)
{
    if (auto *b = SlotOf<TqsNotifyEvent>(control, "OnClick"))
        b->DoEvent(control);
}

// ---- Controls

TControl::TControl(TComponent *AOwner) : TComponent(AOwner) {}

TControl::~TControl()
{
    if (FFilter)
        FFilter->FControl = nullptr;
    if (QWidget *w = FWidget) {
        // the widget may be in the middle of delivering an event to this control's handler
        w->hide();
        w->setProperty(kHandleProperty, QVariant());
        w->deleteLater();
    }
}

void TControl::Adopt(QWidget *widget)
{
    FWidget = widget;
    widget->setProperty(kHandleProperty, rtl::ObjectHandles::handleOf(this));
    FFilter = new EventFilter(this, widget);
    widget->installEventFilter(FFilter);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        WatchPart(area->viewport());
}

QWidget &TControl::Widget() const
{
    if (!FWidget)
        throw EqsRunError(QStringLiteral("The control %1 has no window any more").arg(ClassName()));
    return *FWidget;
}

TControl *TControl::Parent() const
{
    return FParentHandle ? rtl::ObjectHandles::objectAs<TControl>(FParentHandle) : nullptr;
}

void TControl::SetParent(TControl *parent)
{
    if (parent == this)
        throw EqsRunError(QStringLiteral("A control cannot be its own parent"));
    QWidget &w = Widget();
    QWidget *target = nullptr;
    if (parent) {
        target = &parent->Widget();
        if (auto *scroll = qobject_cast<QScrollArea *>(target))
            target = scroll->widget();
        for (QWidget *p = target; p; p = p->parentWidget())
            if (p == &w)
                throw EqsRunError(QStringLiteral("A control cannot be placed inside itself"));
    }
    const QRect geometry = w.geometry();
    w.setParent(target);
    w.setGeometry(geometry);
    FParentHandle = parent ? rtl::ObjectHandles::handleOf(parent) : 0;
    w.setVisible(target && FVisible);
}

void TControl::SetVisible(bool on)
{
    FVisible = on;
    if (FParentHandle)
        Widget().setVisible(on);
}

void TControl::SetSlot(const QString &event, TqsFormEvent *bridge)
{
    FSlots.insert(event, bridge);
    // moves without a button held reach the widget only when it asks for them
    if (event == QLatin1String("OnMouseMove") && FWidget) {
        FWidget->setMouseTracking(true);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(FWidget.data()))
            area->viewport()->setMouseTracking(true);
    }
}

void TControl::WatchPart(QWidget *part)
{
    if (part && FFilter)
        part->installEventFilter(FFilter);
}

void TControl::ClearSlot(const QString &event, const TqsFormEvent *bridge)
{
    auto it = FSlots.find(event);
    if (it != FSlots.end() && (!bridge || it.value() == bridge))
        FSlots.erase(it);
}

QString TControl::Text() const { return Widget().windowTitle(); }
void TControl::SetText(const QString &text) { Widget().setWindowTitle(text); }

TGroupBox::TGroupBox(TComponent *AOwner) : TWinControl(AOwner) { Adopt(new QGroupBox); }
QString TGroupBox::Text() const { return static_cast<QGroupBox &>(Widget()).title(); }
void TGroupBox::SetText(const QString &text) { static_cast<QGroupBox &>(Widget()).setTitle(text); }

TLabel::TLabel(TComponent *AOwner) : TControl(AOwner) { Adopt(new QLabel); }
QString TLabel::Text() const { return static_cast<QLabel &>(Widget()).text(); }
void TLabel::SetText(const QString &text) { static_cast<QLabel &>(Widget()).setText(text); }

TEdit::TEdit(TComponent *AOwner) : TWinControl(AOwner)
{
    auto *e = new QLineEdit;
    Adopt(e);
    QObject::connect(e, &QLineEdit::textChanged, e, [e] {
        if (auto *b = SlotOf<TqsNotifyEvent>(ControlOf(e), "OnChange"))
            b->DoEvent(ControlOf(e));
    });
}
QString TEdit::Text() const { return static_cast<QLineEdit &>(Widget()).text(); }
void TEdit::SetText(const QString &text) { static_cast<QLineEdit &>(Widget()).setText(text); }

namespace {
// The list behind a control's Items or Lines: each change a script makes reaches the
// widget at once.
class ControlItems final : public qscl::TStringList
{
public:
    explicit ControlItems(TControl *control) : FControl(rtl::ObjectHandles::handleOf(control)) {}
    void Changed() noexcept override
    {
        try {
            if (auto *c = rtl::ObjectHandles::objectAs<TControl>(FControl); c && c->WidgetOrNull())
                c->ItemsChanged();
        } catch (...) {
        }
    }

private:
    int32_t FControl;
};

// The control's list by its handle, made at first use (again when a script freed it).
qscl::TStrings *ItemsOf(TControl *control, int32_t &handle, bool &made)
{
    made = false;
    if (auto *list = rtl::ObjectHandles::objectAs<qscl::TStrings>(handle))
        return list;
    auto *list = new ControlItems(control);
    handle = rtl::ObjectHandles::handleOf(list);
    made = true;
    return list;
}

// Shows lines in a list widget, the current entry kept while it is still there.
template<class W>
void Refill(W &widget, const QStringList &lines, int current, const QString &currentText)
{
    widget.clear();
    widget.addItems(lines);
    const int keep = current >= 0 && current < lines.size() && lines[current] == currentText ? current : -1;
    if constexpr (std::is_same_v<W, QComboBox>)
        widget.setCurrentIndex(keep);
    else
        widget.setCurrentRow(keep);
}
} // namespace

TMemo::TMemo(TComponent *AOwner) : TWinControl(AOwner)
{
    auto *e = new QPlainTextEdit;
    Adopt(e);
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [e] {
        // the lines follow what is typed
        if (auto *memo = dynamic_cast<TMemo *>(ControlOf(e)); memo && !memo->FToWidget)
            if (auto *lines = rtl::ObjectHandles::objectAs<qscl::TStrings>(memo->FLines))
                lines->List.SetText(e->toPlainText());
        if (auto *b = SlotOf<TqsNotifyEvent>(ControlOf(e), "OnChange"))
            b->DoEvent(ControlOf(e));
    });
}
TMemo::~TMemo() { delete rtl::ObjectHandles::objectAs<qscl::TStrings>(FLines); }
QString TMemo::Text() const { return static_cast<QPlainTextEdit &>(Widget()).toPlainText(); }
void TMemo::SetText(const QString &text) { static_cast<QPlainTextEdit &>(Widget()).setPlainText(text); }

qscl::TStrings *TMemo::Items()
{
    bool made = false;
    qscl::TStrings *lines = ItemsOf(this, FLines, made);
    if (made)
        lines->List.SetText(Text());
    return lines;
}

void TMemo::ItemsChanged()
{
    auto *lines = rtl::ObjectHandles::objectAs<qscl::TStrings>(FLines);
    if (!lines)
        return;
    // OnChange runs from here and may free the memo
    const int32_t handle = rtl::ObjectHandles::handleOf(this);
    FToWidget = true;
    static_cast<QPlainTextEdit &>(Widget()).setPlainText(lines->List.toQStringList().join(QLatin1Char('\n')));
    if (rtl::ObjectHandles::objectAs<TMemo>(handle))
        FToWidget = false;
}

namespace {
// Tells the control when its list opens and closes.
class ScriptComboBox : public QComboBox
{
public:
    void showPopup() override
    {
        Notify("OnDropDown");
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        Notify("OnCloseUp");
    }

private:
    void Notify(const char *event)
    {
        if (auto *b = SlotOf<TqsNotifyEvent>(ControlOf(this), event))
            b->DoEvent(ControlOf(this));
    }
};
} // namespace

TCustomComboBox::TCustomComboBox(TComponent *AOwner) : TWinControl(AOwner)
{
    auto *c = new ScriptComboBox;
    c->setEditable(true);
    Adopt(c);
    WatchPart(c->lineEdit());
    auto change = [c] {
        if (auto *b = SlotOf<TqsNotifyEvent>(ControlOf(c), "OnChange"))
            b->DoEvent(ControlOf(c));
    };
    QObject::connect(c, &QComboBox::currentIndexChanged, c, change);
    QObject::connect(c, &QComboBox::editTextChanged, c, change);
}

TCustomComboBox::~TCustomComboBox() { delete rtl::ObjectHandles::objectAs<qscl::TStrings>(FItems); }

qscl::TStrings *TCustomComboBox::Items()
{
    bool made = false;
    return ItemsOf(this, FItems, made);
}

void TCustomComboBox::ItemsChanged()
{
    auto &c = static_cast<QComboBox &>(Widget());
    const QSignalBlocker quiet(&c); // a new list is no change of the choice
    const QString text = c.currentText();
    Refill(c, Items()->List.toQStringList(), c.currentIndex(), text);
    if (c.isEditable())
        c.setEditText(text);
}

QString TCustomComboBox::Text() const { return static_cast<QComboBox &>(Widget()).currentText(); }
void TCustomComboBox::SetText(const QString &text)
{
    auto &c = static_cast<QComboBox &>(Widget());
    if (c.isEditable())
        c.setEditText(text);
    else
        c.setCurrentIndex(c.findText(text));
}

void TCustomComboBox::SetStyle(int style)
{
    // csDropDownList picks from the list only; the other styles take typed text
    FStyle = style;
    auto &c = static_cast<QComboBox &>(Widget());
    c.setEditable(style != 2);
    WatchPart(c.lineEdit()); // a new one when the box became editable again
}

TButton::TButton(TComponent *AOwner) : TWinControl(AOwner)
{
    auto *b = new QPushButton;
    b->setAutoDefault(false);
    Adopt(b);
    QObject::connect(b, &QPushButton::clicked, b, [b] {
        TControl *c = ControlOf(b);
        const int32_t handle = c ? rtl::ObjectHandles::handleOf(c) : 0;
        FireClick(c);
        // a button with a modal result closes its modal form after its own handler
        auto *button = rtl::ObjectHandles::objectAs<TButton>(handle);
        if (button && button->ModalResult != 0)
            if (auto *form = dynamic_cast<TCustomForm *>(ControlOf(b->window())))
                form->SetModalResult(button->ModalResult);
    });
}
QString TButton::Text() const { return static_cast<QPushButton &>(Widget()).text(); }
void TButton::SetText(const QString &text) { static_cast<QPushButton &>(Widget()).setText(text); }

TCheckBox::TCheckBox(TComponent *AOwner) : TWinControl(AOwner)
{
    auto *b = new QCheckBox;
    Adopt(b);
    QObject::connect(b, &QCheckBox::clicked, b, [b] { FireClick(ControlOf(b)); });
}
QString TCheckBox::Text() const { return static_cast<QCheckBox &>(Widget()).text(); }
void TCheckBox::SetText(const QString &text) { static_cast<QCheckBox &>(Widget()).setText(text); }

TRadioButton::TRadioButton(TComponent *AOwner) : TWinControl(AOwner)
{
    auto *b = new QRadioButton;
    Adopt(b);
    QObject::connect(b, &QRadioButton::clicked, b, [b] { FireClick(ControlOf(b)); });
}
QString TRadioButton::Text() const { return static_cast<QRadioButton &>(Widget()).text(); }
void TRadioButton::SetText(const QString &text) { static_cast<QRadioButton &>(Widget()).setText(text); }

TCustomListBox::TCustomListBox(TComponent *AOwner) : TWinControl(AOwner) { Adopt(new QListWidget); }
TCustomListBox::~TCustomListBox() { delete rtl::ObjectHandles::objectAs<qscl::TStrings>(FItems); }

qscl::TStrings *TCustomListBox::Items()
{
    bool made = false;
    return ItemsOf(this, FItems, made);
}

void TCustomListBox::ItemsChanged()
{
    auto &l = static_cast<QListWidget &>(Widget());
    const QListWidgetItem *current = l.currentItem();
    Refill(l, Items()->List.toQStringList(), l.currentRow(), current ? current->text() : QString());
}

TScrollBox::TScrollBox(TComponent *AOwner) : TScrollingWinControl(AOwner)
{
    auto *s = new QScrollArea;
    s->setWidget(new QWidget);
    s->setWidgetResizable(true);
    Adopt(s);
}

// ---- Forms

namespace {
// The form's window: closing goes through the form's close path, and Escape closes too.
class FormDialog : public QDialog
{
public:
    explicit FormDialog(TCustomForm *form) : FHandle(rtl::ObjectHandles::handleOf(form)) {}
    void closeEvent(QCloseEvent *e) override
    {
        auto *form = rtl::ObjectHandles::objectAs<TCustomForm>(FHandle);
        if (form && !form->CloseRequested()) {
            e->ignore();
            return;
        }
        e->accept();
        form = rtl::ObjectHandles::objectAs<TCustomForm>(FHandle);
        done(form && form->ModalResult() ? form->ModalResult() : 2 /* mrCancel */);
    }
    void reject() override { close(); }
    void paintEvent(QPaintEvent *e) override
    {
        QDialog::paintEvent(e);
        if (auto *form = rtl::ObjectHandles::objectAs<TCustomForm>(FHandle))
            form->Paint(*this);
    }

private:
    int32_t FHandle;
};
} // namespace

TCustomForm::TCustomForm(TComponent *AOwner) : TScrollingWinControl(AOwner)
{
    auto *d = new FormDialog(this);
    d->resize(320, 240);
    Adopt(d);
}

TCustomForm::~TCustomForm()
{
    // OnDestroy sees the form and its controls whole; marked as going first, so that the
    // handler cannot free the form again or make it modal
    SetState(csDestroying, true);
    if (auto *b = SlotOf<TqsNotifyEvent>(this, "OnDestroy"))
        b->DoEvent(this);
    delete rtl::ObjectHandles::objectAs<qscl::TCanvas>(FCanvas);
}

QDialog &TCustomForm::Dialog() const { return static_cast<QDialog &>(Widget()); }
QString TCustomForm::Text() const { return Widget().windowTitle(); }
void TCustomForm::SetText(const QString &text) { Widget().setWindowTitle(text); }

int TCustomForm::ShowModal()
{
    QDialog &d = Dialog();
    if (FModal || d.isVisible())
        throw EqsRunError(QStringLiteral("Cannot make a visible window modal"));
    if (HasState(csDestroying))
        throw EqsRunError(QStringLiteral("Cannot show a form that is being freed"));
    const int32_t handle = rtl::ObjectHandles::handleOf(this);
    FModal = true;
    FModalResult = 0;
    const QPointer<QDialog> guard(&d);
    const int result = d.exec();
    // a handler may have freed the form meanwhile
    auto *self = rtl::ObjectHandles::objectAs<TCustomForm>(handle);
    if (!self)
        return result;
    FModal = false;
    if (FFreePending)
        delete this;
    return result;
}

void TCustomForm::Close()
{
    QDialog &d = Dialog();
    if (d.isVisible())
        d.close();
}

void TCustomForm::SetModalResult(int result)
{
    FModalResult = result;
    if (result != 0 && FModal && Dialog().isVisible())
        Dialog().close();
}

bool TCustomForm::CloseRequested()
{
    const int32_t handle = rtl::ObjectHandles::handleOf(this);
    auto alive = [handle] { return rtl::ObjectHandles::objectAs<TCustomForm>(handle); };
    bool canClose = true;
    if (auto *b = SlotOf<TqsCloseQueryEvent>(this, "OnCloseQuery"))
        b->DoEvent(this, canClose);
    if (!alive())
        return true;
    if (!canClose) {
        FModalResult = 0;
        return false;
    }
    int action = caHide;
    if (auto *b = SlotOf<TqsCloseEvent>(this, "OnClose"))
        b->DoEvent(this, action);
    if (!alive())
        return true;
    switch (action) {
    case caNone: FModalResult = 0; return false;
    case caMinimize: Dialog().showMinimized(); return false;
    case caFree:
        if (FModal)
            FFreePending = true; // ShowModal frees it once the modal loop has ended
        else
            FreeLater();
        return true;
    default: return true;
    }
}

void TCustomForm::FreeLater()
{
    const int32_t handle = rtl::ObjectHandles::handleOf(this);
    QTimer::singleShot(0, &Dialog(), [handle] { delete rtl::ObjectHandles::objectAs<TCustomForm>(handle); });
}

qscl::TCanvas &TCustomForm::Canvas()
{
    // a script may have freed the canvas: a new one then takes its place
    if (auto *canvas = rtl::ObjectHandles::objectAs<qscl::TCanvas>(FCanvas))
        return *canvas;
    auto *canvas = new qscl::TCanvas;
    FCanvas = rtl::ObjectHandles::handleOf(canvas);
    canvas->Borrow(
        this, [](TPersistent *o) { return &static_cast<TCustomForm *>(o)->Layer(); },
        [](TPersistent *o, int x, int y) { return static_cast<TCustomForm *>(o)->LayerPixel(x, y); });
    return *canvas;
}

namespace {
// A form larger than this keeps its drawing to the top left part.
constexpr int kMaxLayerSide = 4096;
} // namespace

::TCanvas &TCustomForm::Layer()
{
    QWidget &w = Widget();
    const QSize want = QSize(std::clamp(w.width(), 1, kMaxLayerSide), std::clamp(w.height(), 1, kMaxLayerSide))
                           .expandedTo(FLayer.size());
    if (want != FLayer.size()) {
        // grown with the form, keeping what was drawn and where the pen stands
        QPoint pen;
        if (FLayerCanvas)
            pen = FLayerCanvas->penPos();
        FLayerCanvas.reset();
        QImage grown(want, QImage::Format_ARGB32_Premultiplied);
        grown.fill(Qt::transparent);
        if (!FLayer.isNull()) {
            QPainter p(&grown);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, FLayer);
        }
        FLayer = std::move(grown);
        FLayerCanvas = std::make_unique<gfx::PainterCanvas>(&FLayer, 96, 96);
        FLayerCanvas->moveTo(pen.x(), pen.y());
    }
    // drawing from OnPaint is shown by the paint under way
    if (!FPainting)
        w.update();
    return *FLayerCanvas;
}

TColor TCustomForm::LayerPixel(int x, int y)
{
    QWidget &w = Widget();
    if (!w.rect().contains(x, y))
        return -1;
    if (FLayerCanvas)
        FLayerCanvas->flush();
    if (FLayer.valid(x, y) && qAlpha(FLayer.pixel(x, y)) == 255)
        return qscl::ImagePixel(FLayer, x, y);
    // where nothing was drawn the form's own colour shows
    const QColor bg = w.palette().color(w.backgroundRole());
    return TColor(bg.red() | bg.green() << 8 | bg.blue() << 16);
}

void TCustomForm::Paint(QWidget &widget)
{
    if (auto *b = SlotOf<TqsNotifyEvent>(this, "OnPaint")) {
        const int32_t handle = rtl::ObjectHandles::handleOf(this);
        if (FLayerCanvas) {
            FLayerCanvas->flush();
            FLayer.fill(Qt::transparent);
        }
        FPainting = true;
        b->DoEvent(this);
        if (!rtl::ObjectHandles::objectAs<TCustomForm>(handle))
            return; // freed by its handler
        FPainting = false;
    }
    if (!FLayerCanvas)
        return;
    FLayerCanvas->flush();
    QPainter p(&widget);
    p.drawImage(0, 0, FLayer);
}

// ---- Keys

int ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    int s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

} // namespace qsforms
