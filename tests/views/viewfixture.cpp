#include "tests/views/viewfixture.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/views/kvlviews.h"

void registerViewClassesOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlRegisterObjectTreeClasses();
        kvlRegisterViewClasses();
        return true;
    }();
    (void)done;
}

ViewReport::ViewReport() : TkvlReport(nullptr)
{
    Evaluator = [this](const QString &Expr) {
        Evaluated << Expr;
        return Values.value(Expr, Variant::null());
    };
}

std::vector<gfx::DrawRecord> recordsOf(const gfx::RecordingCanvas &rec, gfx::DrawRecord::Kind kind)
{
    std::vector<gfx::DrawRecord> out;
    for (const gfx::DrawRecord &r : rec.records())
        if (r.kind == kind)
            out.push_back(r);
    return out;
}
