#include "tests/run/runfixture.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreportunit.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlfactories.h"
#include "report/vars/kvlvariables.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/grammar/qsgrammars.h"
#include "platform/ui/services.h"

void registerRunClassesOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        qsRegisterStandardLanguages();
        qsRegisterClassLibModules();
        kvlInitResources();
        return true;
    }();
    (void)done;
}

RunFixture::RunFixture()
{
    registerRunClassesOnce();
    previousBoxes = ui::install(&boxes);
    kvlEngineFactory = [](TkvlReport *r) -> std::unique_ptr<TkvlCustomEngine> { return std::make_unique<FakeEngine>(r); };
    report = std::make_unique<TkvlReport>(nullptr);
    kvlEngineFactory = nullptr;
}

RunFixture::~RunFixture()
{
    report.reset();
    dataSets.clear();
    ui::install(previousBoxes);
}

TestDataSet *RunFixture::addDataSet(const QString &Name)
{
    auto ds = std::make_unique<TestDataSet>(nullptr);
    ds->SetUserName(Name);
    report->DataSets()->Add(ds.get());
    dataSets.push_back(std::move(ds));
    return dataSets.back().get();
}

void setVariable(TkvlReport &Report, const QString &Name, const Variant &Value)
{
    TkvlVariables &vars = Report.Variables();
    const int i = vars.IndexOf(Name);
    TkvlVariable *v = i >= 0 ? vars.Items(i) : vars.Add();
    v->SetName(Name);
    v->SetValue(Value);
}
