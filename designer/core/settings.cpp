#include "designer/core/settings.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classbuilder.h"

LIRRA_DEFINE_CLASS(TkvlDesigner)

namespace {

// The process-wide settings component. A weak reference: it can never outlive its component.
rtl::ComponentRef<TkvlDesigner> &current()
{
    static rtl::ComponentRef<TkvlDesigner> ref;
    return ref;
}

const rtl::TypeInfo *orientationType()
{
    static const rtl::TypeInfo *t = rtl::EnumType(QStringLiteral("TPrinterOrientation"), {"poPortrait", "poLandscape"});
    return t;
}

const rtl::TypeInfo *restrictionsType()
{
    static const rtl::TypeInfo *t = rtl::SetType(
        QStringLiteral("TkvlDesignerRestrictions"),
        rtl::EnumType(QStringLiteral("TkvlDesignerRestriction"),
                      {"drDontInsertObject", "drDontDeletePage", "drDontCreatePage", "drDontChangePageOptions",
                       "drDontCreateReport", "drDontLoadReport", "drDontSaveReport", "drDontPreviewReport",
                       "drDontEditVariables", "drDontChangeReportOptions", "drDontEditReportData",
                       "drDontShowRecentFiles", "drDontEditReportScript", "drDontEditInternalDatasets"}));
    return t;
}

const QString kDefaultLanguage = QStringLiteral("DozovoZozedi");
const QString kDefaultExt = QStringLiteral("kv3");

} // namespace

void TkvlDesigner::DeclareClass(rtl::ClassBuilder<TkvlDesigner> &b)
{
    using T = TkvlDesigner;
    b.prop<&T::CloseQuery>("CloseQuery").def(true);
    b.prop<&T::DefaultScriptLanguage>("DefaultScriptLanguage")
        .stored<[](const T &d) { return d.DefaultScriptLanguage != kDefaultLanguage; }>();
    b.prop<&T::DefaultFont, &T::SetDefaultFont>("DefaultFont");
    b.prop<&T::DefaultLeftMargin>("DefaultLeftMargin").def(10.0);
    b.prop<&T::DefaultRightMargin>("DefaultRightMargin").def(10.0);
    b.prop<&T::DefaultTopMargin>("DefaultTopMargin").def(10.0);
    b.prop<&T::DefaultBottomMargin>("DefaultBottomMargin").def(10.0);
    b.prop<&T::DefaultPaperSize>("DefaultPaperSize").def(9);
    b.prop<&T::DefaultOrientation>("DefaultOrientation", orientationType()).def(poPortrait);
    b.prop<&T::Gradient>("Gradient").def(false);
    b.prop<&T::GradientEnd>("GradientEnd", rtl::types::TColor()).def(11982554);
    b.prop<&T::GradientStart>("GradientStart", rtl::types::TColor()).def(clWindow);
    b.prop<&T::OpenDir>("OpenDir");
    b.prop<&T::SaveDir>("SaveDir");
    b.prop<&T::TemplatesExt>("TemplatesExt").stored<[](const T &d) { return d.TemplatesExt != kDefaultExt; }>();
    b.prop<&T::TemplateDir>("TemplateDir");
    b.prop<&T::Standalone>("Standalone").def(false);
    b.prop<&T::Restrictions>("Restrictions", restrictionsType()).def(0);
    b.prop<&T::RTLLanguage>("RTLLanguage").def(false);
    b.prop<&T::MemoParentFont>("MemoParentFont").def(false);
    b.method("OnLoadReport", rtl::MethodType(QStringLiteral("TkvlLoadReportEvent")));
    b.method("OnLoadRecentReport", rtl::MethodType(QStringLiteral("TkvlLoadRecentReportEvent")));
    b.method("OnSaveReport", rtl::MethodType(QStringLiteral("TkvlSaveReportEvent")));
    b.method("OnShow", rtl::types::TNotifyEvent());
    b.method("OnInsertObject", rtl::types::TNotifyEvent());
    b.method("OnShowStartupScreen", rtl::types::TNotifyEvent());
    b.method("OnGetTemplateList", rtl::MethodType(QStringLiteral("TkvlGetTemplateListEvent")));
}

TkvlDesigner::TkvlDesigner(TComponent *AOwner) : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName(QStringLiteral("Arial"));
    FDefaultFont->SetSize(10);
    current() = this;
}

TkvlDesigner::~TkvlDesigner()
{
    current() = nullptr;
}

void TkvlDesigner::SetDefaultFont(TFont *Value)
{
    if (Value)
        FDefaultFont->Assign(Value);
}

TkvlDesigner *kvlDesignerComp() { return current().get(); }

bool kvlDesignerAllows(TkvlDesignerRestriction Op)
{
    const TkvlDesigner *d = kvlDesignerComp();
    return !d || !(d->Restrictions & kvlBit(Op));
}

QString kvlDesignerDefaultLanguage()
{
    const TkvlDesigner *d = kvlDesignerComp();
    return d ? d->DefaultScriptLanguage : kDefaultLanguage;
}

QString kvlDesignerTemplateExt()
{
    TkvlDesigner *d = kvlDesignerComp();
    if (!d)
        return kDefaultExt;
    if (d->TemplatesExt.size() > 1 && d->TemplatesExt.startsWith(QLatin1Char('.')))
        d->TemplatesExt.remove(0, 1);
    return d->TemplatesExt;
}

bool kvlDesignerGradient()
{
    const TkvlDesigner *d = kvlDesignerComp();
    return d && d->Gradient;
}

TColor kvlDesignerGradientStart()
{
    const TkvlDesigner *d = kvlDesignerComp();
    return d ? d->GradientStart : clWindow;
}

TColor kvlDesignerGradientEnd()
{
    const TkvlDesigner *d = kvlDesignerComp();
    return d ? d->GradientEnd : 11982554;
}

std::optional<bool> kvlDesignerLoadReport(TkvlReport *Report)
{
    const TkvlDesigner *d = kvlDesignerComp();
    if (!d || !d->OnLoadReport)
        return std::nullopt;
    return d->OnLoadReport(Report);
}

std::optional<bool> kvlDesignerLoadRecentReport(TkvlReport *Report, const QString &FileName)
{
    const TkvlDesigner *d = kvlDesignerComp();
    if (!d || !d->OnLoadRecentReport)
        return std::nullopt;
    return d->OnLoadRecentReport(Report, FileName);
}

std::optional<bool> kvlDesignerSaveReport(TkvlReport *Report, bool SaveAs)
{
    const TkvlDesigner *d = kvlDesignerComp();
    if (!d || !d->OnSaveReport)
        return std::nullopt;
    return d->OnSaveReport(Report, SaveAs);
}

bool kvlDesignerGetTemplateList(QStringList &List)
{
    List.clear();
    const TkvlDesigner *d = kvlDesignerComp();
    if (!d || !d->OnGetTemplateList)
        return false;
    d->OnGetTemplateList(List);
    return true;
}

void kvlDesignerShow(QObject *Designer)
{
    if (const TkvlDesigner *d = kvlDesignerComp(); d && d->OnShow)
        d->OnShow(Designer);
}

void kvlDesignerInsertObject(TComponent *Object)
{
    if (const TkvlDesigner *d = kvlDesignerComp(); d && d->OnInsertObject)
        d->OnInsertObject(Object);
}

void kvlDesignerShowStartupScreen(QObject *Designer)
{
    if (const TkvlDesigner *d = kvlDesignerComp(); d && d->OnShowStartupScreen)
        d->OnShowStartupScreen(Designer);
}

TkvlPreviewDesignerSettings::TkvlPreviewDesignerSettings() : FOld(kvlDesignerComp())
{
    const TkvlDesignerRestrictions inherited = FOld ? FOld->Restrictions : 0;
    FOwn = std::make_unique<TkvlDesigner>(nullptr);
    FOwn->Restrictions = inherited | kAdded;
}

TkvlPreviewDesignerSettings::~TkvlPreviewDesignerSettings()
{
    FOwn.reset();
    if (TkvlDesigner *old = FOld.get())
        current() = old;
}
