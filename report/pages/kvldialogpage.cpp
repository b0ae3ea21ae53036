#include "report/pages/kvldialogpage.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlresourcetext.h"
#include "report/options/kvloptions.h"
#include "report/progress/kvlwindows.h"

#include <mutex>

LIRRA_DEFINE_CLASS(TkvlDialogPage)

namespace {

// Whole pixels, ties to even.
int rnd(double v) { return int(rtl::Round(v)); }

const rtl::TypeInfo *borderStyleType()
{
    static const rtl::TypeInfo *t = rtl::EnumType(
        QStringLiteral("TFormBorderStyle"), {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
    return t;
}

const rtl::TypeInfo *positionType()
{
    static const rtl::TypeInfo *t = rtl::EnumType(
        QStringLiteral("TPosition"), {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                                      "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
    return t;
}

const rtl::TypeInfo *windowStateType()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TWindowState"), {"wsNormal", "wsMinimized", "wsMaximized"});
    return t;
}

bool threadSafeEngine(const TkvlComponent *Page)
{
    const TkvlReport *r = Page->GetReport();
    return r && r->EngineOptions()->EnableThreadSafe;
}

} // namespace

uint8_t ShiftToByte(TShiftState Shift) { return uint8_t(Shift & 0xFF); }

void TkvlDialogPage::DeclareClass(rtl::ClassBuilder<TkvlDialogPage> &b)
{
    using T = TkvlDialogPage;
    b.prop<&T::BorderStyle, &T::SetBorderStyle>("BorderStyle", borderStyleType()).def(bsSizeable);
    b.prop<&T::Caption, &T::SetCaption>("Caption");
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).def(clBtnFace);
    b.publish("Height");
    b.prop<&T::ClientHeight, &T::SetClientHeight>("ClientHeight");
    b.publish("Left");
    b.prop<&T::Position>("Position", positionType()).def(poScreenCenter);
    b.publish("Top");
    b.publish("Width");
    b.prop<&T::ClientWidth, &T::SetClientWidth>("ClientWidth");
    b.prop<&T::WindowState>("WindowState", windowStateType()).def(wsNormal);
    b.prop<&T::OnActivate>("OnActivate", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnClick>("OnClick", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnCloseQuery>("OnCloseQuery", kvltypes::Event("TkvlCloseQueryEvent"));
    b.prop<&T::OnDeactivate>("OnDeactivate", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnHide>("OnHide", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnKeyDown>("OnKeyDown", kvltypes::Event("TkvlKeyEvent"));
    b.prop<&T::OnKeyPress>("OnKeyPress", kvltypes::Event("TkvlKeyPressEvent"));
    b.prop<&T::OnKeyUp>("OnKeyUp", kvltypes::Event("TkvlKeyEvent"));
    b.prop<&T::OnShow>("OnShow", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnResize>("OnResize", kvltypes::Event("TkvlNotifyEvent"));
    b.description([] { return kvlResourceText(QStringLiteral("obDlgPage")); });
}

TkvlDialogPage::TkvlDialogPage(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlPage(AOwner, Design), FForm(kvlWindows().CreateDialogWindow(threadSafeEngine(this)))
{
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    FForm->SetColor(FColor);
}

TkvlDialogPage::~TkvlDialogPage()
{
    std::lock_guard lock(kvlLoadingLock());
    while (ObjectCount() > 0)
        delete Object(ObjectCount() - 1);
    FForm.reset();
}

void TkvlDialogPage::SetCaption(const QString &Value)
{
    FCaption = Value;
    FForm->SetCaption(Value);
}

void TkvlDialogPage::SetColor(TColor Value)
{
    FColor = Value;
    FForm->SetColor(Value);
}

void TkvlDialogPage::moveForm()
{
    const QRect b = FForm->Bounds();
    FForm->SetBounds(QRect(rnd(Left()), rnd(Top()), b.width(), b.height()));
}

void TkvlDialogPage::SetLeft(double Value)
{
    TkvlPage::SetLeft(Value);
    moveForm();
}

void TkvlDialogPage::SetTop(double Value)
{
    TkvlPage::SetTop(Value);
    moveForm();
}

void TkvlDialogPage::SetWidth(double Value)
{
    TkvlPage::SetWidth(Value);
    if (GetIsLoading() && FClientWidth != 0)
        return;
    QRect b = FForm->Bounds();
    b.setWidth(rnd(Width()));
    FForm->SetBounds(b);
}

void TkvlDialogPage::SetHeight(double Value)
{
    TkvlPage::SetHeight(Value);
    if (GetIsLoading() && FClientHeight != 0)
        return;
    QRect b = FForm->Bounds();
    b.setHeight(rnd(Height()));
    FForm->SetBounds(b);
}

double TkvlDialogPage::ClientWidth() const { return FForm->ClientSize().width(); }
double TkvlDialogPage::ClientHeight() const { return FForm->ClientSize().height(); }

void TkvlDialogPage::SetClientWidth(double Value)
{
    FForm->SetClientSize(QSize(rnd(Value), FForm->ClientSize().height()));
    FClientWidth = Value;
    TkvlPage::SetWidth(FForm->Bounds().width());
}

void TkvlDialogPage::SetClientHeight(double Value)
{
    FForm->SetClientSize(QSize(FForm->ClientSize().width(), rnd(Value)));
    FClientHeight = Value;
    TkvlPage::SetHeight(FForm->Bounds().height());
}

void TkvlDialogPage::FontChanged(TFont *Sender)
{
    TkvlPage::FontChanged(Sender);
    FForm->SetFont(*Font());
}

// ---- running ----------------------------------------------------------------------------

void TkvlDialogPage::Initialize()
{
    if (FForm->Visible())
        FForm->Hide();
    FForm->SetPosition(Position);
    FForm->SetWindowState(WindowState);
    FForm->OnActivate = [this] { activated(); };
    FForm->OnClick = [this] { doNotify(OnClick); };
    FForm->OnCloseQuery = [this] { return closeQuery(); };
    FForm->OnDeactivate = [this] { doNotify(OnDeactivate); };
    FForm->OnHide = [this] { doNotify(OnHide); };
    FForm->OnKeyDown = [this](uint16_t &Key, TShiftState Shift) { keyEvent(OnKeyDown, Key, Shift); };
    FForm->OnKeyPress = [this](QChar &Key) { keyPressed(Key); };
    FForm->OnKeyUp = [this](uint16_t &Key, TShiftState Shift) { keyEvent(OnKeyUp, Key, Shift); };
    FForm->OnShow = [this] { shown(); };
    FForm->OnResize = [this] { doNotify(OnResize); };
}

TModalResult TkvlDialogPage::ShowModal()
{
    Initialize();
    FForm->SetBorderStyle(FBorderStyle);
    FForm->SetStayOnTop(false);
    FForm->OnMoveSize = [this] { copyBoundsFromForm(); };
    struct Restore {
        TkvlDialogWindow *form;
        ~Restore()
        {
            form->OnMoveSize = nullptr;
            form->SetStayOnTop(true);
        }
    } restore{FForm.get()};
    return FForm->ShowModal();
}

void TkvlDialogPage::copyBoundsFromForm()
{
    const QRect b = FForm->Bounds();
    TkvlPage::SetLeft(b.left());
    TkvlPage::SetTop(b.top());
    TkvlPage::SetWidth(b.width());
    TkvlPage::SetHeight(b.height());
}

void TkvlDialogPage::doNotify(const QString &EventName)
{
    if (TkvlReport *r = GetReport())
        r->DoNotifyEvent(this, EventName);
}

void TkvlDialogPage::activated()
{
    copyBoundsFromForm();
    doNotify(OnActivate);
    for (TkvlComponent *c : GetAllObjects())
        if (auto *listener = dynamic_cast<TkvlDialogActivation *>(c))
            listener->DialogActivated(this);
}

void TkvlDialogPage::shown()
{
    FForm->FocusActiveControl();
    doNotify(OnShow);
}

bool TkvlDialogPage::closeQuery()
{
    TkvlReport *r = GetReport();
    if (!r || OnCloseQuery.isEmpty())
        return true;
    Variant params = Variant::arrayOf({rtl::objectToVariant(this), Variant(true)});
    r->DoParamEvent(OnCloseQuery, params);
    return params.arrayGet(1).toBool();
}

void TkvlDialogPage::keyEvent(const QString &EventName, uint16_t &Key, TShiftState Shift)
{
    TkvlReport *r = GetReport();
    if (!r || EventName.isEmpty())
        return;
    Variant params = Variant::arrayOf({rtl::objectToVariant(this), Variant(int(Key)), Variant(int(ShiftToByte(Shift)))});
    r->DoParamEvent(EventName, params);
    Key = uint16_t(params.arrayGet(1).toInt());
}

void TkvlDialogPage::keyPressed(QChar &Key)
{
    TkvlReport *r = GetReport();
    if (!r || OnKeyPress.isEmpty())
        return;
    Variant params = Variant::arrayOf({rtl::objectToVariant(this), Variant(Key)});
    r->DoParamEvent(OnKeyPress, params);
    const QString s = params.arrayGet(1).toString();
    Key = s.isEmpty() ? QChar(0) : s.at(0);
}
