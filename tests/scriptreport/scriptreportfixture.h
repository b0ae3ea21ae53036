#pragma once
// Start-up for the report-binding tests: the class registry, the report unit, the engine and
// its store, the script languages and every binding module in the program's order.
#include "engine/run/kvlengine.h"
#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreportunit.h"
#include "report/resources/kvlresources.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/forms/qsforms.h"
#include "script/grammar/qsgrammars.h"
#include "script/report/kvlclassrtti.h"

#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace scriptreporttest {

inline void RegisterOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        qsRegisterStandardLanguages();
        qsRegisterClassLibModules();
        qsRegisterFormsModules();
        kvlRegisterReportModules(&TqsFormsFunctions::Create);
        kvlRegisterBandEngine();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)done;
}

} // namespace scriptreporttest
