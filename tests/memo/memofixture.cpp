#include "tests/memo/memofixture.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/views/kvlviews.h"

void registerMemoClassesOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlRegisterObjectTreeClasses();
        kvlRegisterViewClasses();
        kvlRegisterMemoClasses();
        return true;
    }();
    (void)done;
}

MemoReport::MemoReport() : TkvlReport(nullptr)
{
    Evaluator = [this](const QString &Expr) {
        Evaluated << Expr;
        return Values.value(Expr, Variant::null());
    };
}

MemoFixture::MemoFixture() { registerMemoClassesOnce(); }

TkvlMemoView *MemoFixture::NewMemo(const QString &Text)
{
    auto *m = new TkvlMemoView(&report);
    m->SetLayoutObject(&layout);
    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(72);
    m->SetFont(&f);
    m->GapX = m->GapY = 0;
    m->LineSpacing = 0;
    m->SetText(Text);
    return m;
}
