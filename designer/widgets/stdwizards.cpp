#include "designer/widgets/stdwizards.h"

#include "designer/core/stdwizard.h"
#include "designer/widgets/stdwizardform.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"

LIRRA_DEFINE_CLASS(TkvlStdWizard)
LIRRA_DEFINE_CLASS(TkvlDotMatrixWizard)
LIRRA_DEFINE_CLASS(TkvlStdEmptyWizard)
LIRRA_DEFINE_CLASS(TkvlDMPEmptyWizard)

void TkvlStdWizard::DeclareClass(rtl::ClassBuilder<TkvlStdWizard> &b)
{
    b.description([] { return kvlResources().Get(QStringLiteral("wzStd")); });
}

void TkvlDotMatrixWizard::DeclareClass(rtl::ClassBuilder<TkvlDotMatrixWizard> &b)
{
    b.description([] { return kvlResources().Get(QStringLiteral("wzDMP")); });
}

void TkvlStdEmptyWizard::DeclareClass(rtl::ClassBuilder<TkvlStdEmptyWizard> &b)
{
    b.description([] { return kvlResources().Get(QStringLiteral("wzStdEmpty")); });
}

void TkvlDMPEmptyWizard::DeclareClass(rtl::ClassBuilder<TkvlDMPEmptyWizard> &b)
{
    b.description([] { return kvlResources().Get(QStringLiteral("wzDMPEmpty")); });
}

bool TkvlStdWizard::Execute()
{
    return kvlExecuteStdWizard(Designer(), false);
}

bool TkvlDotMatrixWizard::Execute()
{
    return kvlExecuteStdWizard(Designer(), true);
}

bool TkvlStdEmptyWizard::Execute()
{
    if (!Report())
        return false;
    kvlMakeEmptyReport(Designer(), *Report(), false);
    return true;
}

bool TkvlDMPEmptyWizard::Execute()
{
    if (!Report())
        return false;
    kvlMakeEmptyReport(Designer(), *Report(), true);
    return true;
}

void kvlRegisterStdWizards()
{
    kvlWizards().Register1(TkvlStdWizard::StaticClass(), 1);
    kvlWizards().Register1(TkvlStdEmptyWizard::StaticClass(), 0);
    kvlWizards().Register1(TkvlDotMatrixWizard::StaticClass(), 1);
    kvlWizards().Register1(TkvlDMPEmptyWizard::StaticClass(), 0);
}

void kvlUnregisterStdWizards()
{
    for (const rtl::ClassInfo *c : {TkvlStdWizard::StaticClass(), TkvlStdEmptyWizard::StaticClass(),
                                    TkvlDotMatrixWizard::StaticClass(), TkvlDMPEmptyWizard::StaticClass()})
        kvlWizards().Unregister(c);
}
