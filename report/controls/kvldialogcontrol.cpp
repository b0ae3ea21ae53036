#include "report/controls/kvldialogcontrol.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/widgets/kvlformutils.h"
#include "report/widgets/kvlparentform.h"

#include <QImage>
#include <QVariant>
#include <QWidget>

LIRRA_DEFINE_CLASS(TkvlDialogControl)

namespace {

// Whole pixels, ties to even.
int rnd(double v) { return int(rtl::Round(v)); }

// The property that holds a control's text: buttons, labels and edits have "text", group
// boxes "title"; other widgets show their window title.
const char *textProperty(const QWidget *w)
{
    for (const char *name : {"text", "title"})
        if (w->metaObject()->indexOfProperty(name) >= 0)
            return name;
    return nullptr;
}

} // namespace

void TkvlDialogControl::DeclareClass(rtl::ClassBuilder<TkvlDialogControl> &b)
{
    using T = TkvlDialogControl;
    b.publish("Left");
    b.publish("Top");
    b.publish("Width");
    b.publish("Height");
    b.publish("Font");
    b.publish("GroupIndex");
    b.publish("ParentFont").def(true);
    b.prop<&T::Enabled, &T::SetEnabled>("Enabled").def(true);
    b.prop<&T::Hint, &T::SetHint>("Hint");
    b.prop<&T::ShowHint, &T::SetShowHint>("ShowHint");
    b.publish("Visible").def(true);
}

TkvlDialogControl::TkvlDialogControl(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlReportComponent(AOwner, Design)
{
}

TkvlDialogControl::~TkvlDialogControl()
{
    // The objects inside go first: their controls live on ours.
    while (ObjectCount() > 0)
        delete Object(ObjectCount() - 1);
    delete FControl.data();
}

void TkvlDialogControl::SetControl(std::unique_ptr<QWidget> Value)
{
    delete FControl.data();
    FControl = Value.release();
    QString base = ClassName();
    for (QLatin1StringView part : {QLatin1StringView("Tkvl"), QLatin1StringView("Control")})
        if (const qsizetype at = base.indexOf(part); at >= 0)
            base.remove(at, part.size());
    SetBaseName(base);
    if (!FControl)
        return;
    applyWindowParent();
    FontChanged(Font());
    SetParentFont(ParentFont());
}

// ---- state the control holds ------------------------------------------------------------

QString TkvlDialogControl::Caption() const
{
    if (!FControl)
        return {};
    const char *prop = textProperty(FControl);
    return prop ? FControl->property(prop).toString() : FControl->windowTitle();
}

void TkvlDialogControl::SetCaption(const QString &Value)
{
    if (!FControl)
        return;
    if (const char *prop = textProperty(FControl))
        FControl->setProperty(prop, Value);
    else
        FControl->setWindowTitle(Value);
}

void TkvlDialogControl::SetColor(TColor Value)
{
    FColor = Value;
    if (FControl)
        kvlSetBackground(FControl, Value);
}

bool TkvlDialogControl::Enabled() const { return !FControl || !FControl->testAttribute(Qt::WA_Disabled); }

void TkvlDialogControl::SetEnabled(bool Value)
{
    if (FControl)
        FControl->setEnabled(Value);
}

void TkvlDialogControl::SetHint(const QString &Value)
{
    FHint = Value;
    SetShowHint(FShowHint);
}

void TkvlDialogControl::SetShowHint(bool Value)
{
    FShowHint = Value;
    if (FControl)
        FControl->setToolTip(Value ? FHint : QString());
}

bool TkvlDialogControl::TabStop() const
{
    return !FControl || FControl->focusPolicy() == Qt::NoFocus || (FControl->focusPolicy() & Qt::TabFocus);
}

void TkvlDialogControl::SetTabStop(bool Value)
{
    if (!FControl || FControl->focusPolicy() == Qt::NoFocus)
        return;
    const int policy = Value ? FControl->focusPolicy() | Qt::TabFocus : FControl->focusPolicy() & ~Qt::TabFocus;
    // Clearing the tab bit must not leave NoFocus: the control still takes clicks.
    FControl->setFocusPolicy(Qt::FocusPolicy(policy ? policy : Qt::ClickFocus));
}

// ---- geometry and tree ------------------------------------------------------------------

void TkvlDialogControl::applyGeometry()
{
    if (FControl)
        FControl->setGeometry(rnd(Left()), rnd(Top()), rnd(Width()), rnd(Height()));
}

void TkvlDialogControl::SetLeft(double Value)
{
    TkvlReportComponent::SetLeft(Value);
    applyGeometry();
}

void TkvlDialogControl::SetTop(double Value)
{
    TkvlReportComponent::SetTop(Value);
    applyGeometry();
}

void TkvlDialogControl::SetWidth(double Value)
{
    TkvlReportComponent::SetWidth(Value);
    applyGeometry();
}

void TkvlDialogControl::SetHeight(double Value)
{
    TkvlReportComponent::SetHeight(Value);
    applyGeometry();
}

void TkvlDialogControl::SetVisible(bool Value)
{
    TkvlReportComponent::SetVisible(Value);
    if (FControl)
        FControl->setVisible(Value);
}

void TkvlDialogControl::FontChanged(TFont *Sender)
{
    TkvlReportComponent::FontChanged(Sender);
    if (!FControl)
        return;
    FControl->setFont(kvlQFont(*Font()));
    QPalette p = FControl->palette();
    const QColor text = rtl::ToQColor(Font()->Color());
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    FControl->setPalette(p);
}

void TkvlDialogControl::SetParentFont(bool Value)
{
    TkvlReportComponent::SetParentFont(Value);
    if (FControl && Value)
        FControl->setFont(QFont());  // no font of its own: Qt takes the parent window's
}

void TkvlDialogControl::applyWindowParent()
{
    QWidget *window = nullptr;
    if (TkvlComponent *p = Parent()) {
        if (p->Is<TkvlDialogControl>())
            window = static_cast<TkvlDialogControl *>(p)->Control();
        else if (p->Is<TkvlDialogPage>())
            window = dynamic_cast<QWidget *>(static_cast<TkvlDialogPage *>(p)->Form());
    }
    if (!window)
        window = kvlParentForm();
    FControl->setParent(window);
    applyGeometry();
    FControl->setVisible(Visible());
}

void TkvlDialogControl::SetParent(TkvlComponent *Value)
{
    TkvlReportComponent::SetParent(Value);
    if (FControl)
        applyWindowParent();
}

void TkvlDialogControl::SetName(const QString &NewName)
{
    const bool follow = CaptionFollowsName && FControl && Caption() == Name() && !GetIsLoading();
    TkvlReportComponent::SetName(NewName);
    if (follow)
        SetCaption(Name());
}

void TkvlDialogControl::DialogActivated(TkvlDialogPage *Page)
{
    if (OnActivate)
        OnActivate(Page);
}

void TkvlDialogControl::Draw(TCanvas *Canvas, double, double, double, double)
{
    if (!FControl)
        return;
    const int w = rnd(Width()), h = rnd(Height());
    if (w <= 0 || h <= 0)
        return;
    kvlParentForm()->CreateControlHandle(FControl);
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(rtl::ToQColor(clBtnFace));
    FControl->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    Canvas->drawImage(QRect(rnd(GetAbsLeft()), rnd(GetAbsTop()), w, h), image);
}

void kvlRegisterDialogControlClasses() { rtl::RegisterClasses({TkvlDialogControl::StaticClass()}); }
