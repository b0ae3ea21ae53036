#include "report/core/kvlobjects.h"

#include "platform/gfx/picture.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"

LIRRA_DEFINE_CLASS(TkvlPage)
LIRRA_DEFINE_CLASS(TkvlReport)

void TkvlPage::DeclareClass(rtl::ClassBuilder<TkvlPage> &b)
{
    b.publish("Font");
    b.publish("Visible");
}

void TkvlReport::DeclareClass(rtl::ClassBuilder<TkvlReport> &) {}

TkvlPage::TkvlPage(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlComponent(AOwner, Design) {}

TkvlReport::TkvlReport(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlComponent(AOwner, Design),
      FEngineOptions(std::make_unique<TkvlEngineOptions>()),
      FPreviewOptions(std::make_unique<TkvlPreviewOptions>()),
      FPrintOptions(std::make_unique<TkvlPrintOptions>()),
      FReportOptions(std::make_unique<TkvlReportOptions>(this)),
      FDataSets(std::make_unique<TkvlReportDataSets>(this)),
      FEnabledDataSets(std::make_unique<TkvlReportDataSets>(this))
{
}

TkvlReport::~TkvlReport()
{
    // The objects go while the option records and lists they may read still exist.
    Clear();
}

Variant TkvlReport::Calc(const QString &Expr)
{
    return Evaluator ? Evaluator(Expr) : Variant::null();
}

void TkvlReport::DoNotifyEvent(TPersistent *Object, const QString &EventName, bool RunAlways)
{
    if (EventName.isEmpty())
        return;
    Variant params = Variant::arrayOf({rtl::objectToVariant(Object)});
    DoParamEvent(EventName, params, RunAlways);
}

void TkvlReport::DoParamEvent(const QString &EventName, Variant &Params, bool)
{
    if (!EventName.isEmpty() && ScriptEvent)
        ScriptEvent(EventName, Params);
}

void kvlRegisterObjectTreeClasses()
{
    rtl::RegisterClasses({TkvlComponent::StaticClass(), TkvlReportComponent::StaticClass(), TkvlView::StaticClass(),
                          TkvlPage::StaticClass(), TkvlDialogPage::StaticClass(), TkvlReport::StaticClass(),
                          TPicture::StaticClass()});
}
