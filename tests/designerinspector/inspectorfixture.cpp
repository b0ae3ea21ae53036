#include "inspectorfixture.h"

#include "designer/core/designerreg.h"
#include "designer/core/propeditors.h"
#include "designer/core/resources/designerstrings.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlpicture.h"
#include "tests/document/documentfixture.h"

void registerDesignerOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerReportClassesOnce();
    kvlInitResources();
    kvlAddDesignerStrings();
    kvlRegisterDesigner();
}

SmallReport::SmallReport() : report(std::make_unique<TkvlReport>(nullptr))
{
    page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    band = new TkvlMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 20, 700, 40);
    memo1 = new TkvlMemoView(band);
    memo1->SetName(QStringLiteral("Memo1"));
    memo1->SetBounds(10, 0, 90, 18);
    memo2 = new TkvlMemoView(band);
    memo2->SetName(QStringLiteral("Memo2"));
    memo2->SetBounds(110, 0, 90, 18);
    picture = new TkvlPictureView(band);
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(300, 0, 40, 40);
}

SmallReport::~SmallReport() = default;

TkvlPropertyItem *findRow(TkvlPropertyList *List, const QString &Path)
{
    const QStringList parts = Path.split(QLatin1Char('.'));
    TkvlPropertyItem *found = nullptr;
    for (const QString &part : parts) {
        if (!List)
            return nullptr;
        found = nullptr;
        for (int i = 0; i < List->Count() && !found; ++i)
            if (List->Items(i).Editor->GetName() == part)
                found = &List->Items(i);
        if (!found)
            return nullptr;
        List = found->SubProperty.get();
    }
    return found;
}

QString editorOf(TkvlComponent *Object, const QString &Path)
{
    auto list = kvlCreatePropertyList({Object}, nullptr);
    TkvlPropertyItem *item = findRow(list.get(), Path);
    return item ? QString::fromLatin1(item->Editor->ClassName()) : QString();
}
