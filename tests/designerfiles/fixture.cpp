#include "tests/designerfiles/fakedesigner.h"

#include "designer/core/resources/designerstrings.h"
#include "report/resources/kvlresources.h"

LIRRA_DEFINE_CLASS(designertest::TkvlTestButtonControl)
void designertest::TkvlTestButtonControl::DeclareClass(rtl::ClassBuilder<TkvlTestButtonControl> &) {}

namespace designertest {

void initOnce()
{
    static const bool done = [] {
        kvlInitReportUnit();
        kvlRegisterDialogControlClasses();
        kvlRegisterDMPClasses();
        rtl::RegisterClass(TkvlTestButtonControl::StaticClass());
        kvlAddDesignerStrings();
        return true;
    }();
    (void)done;
}

} // namespace designertest
