#pragma once
// A designer window reduced to what the files, clipboard and trees ask of it: it counts the
// calls and keeps the lists the real window keeps.
#include "tests/nulldesigner.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/dmp/kvldmpviews.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvldesigner.h"

#include <memory>

namespace designertest {

class FakeDesigner : public TNullDesigner {
public:
    explicit FakeDesigner(TkvlReport *AReport, bool Preview = false) : TNullDesigner(nullptr, AReport, Preview) {}
    int locks = 0, reloads = 0, pageReloads = 0, dataTreeUpdates = 0;
    int lastPageReload = 0;
    // The undo steps the window would drop on a reload.
    int undoSteps = 0;

    QString InsertExpression(const QString &Expr) override { return Expr; }
    void Lock() override { ++locks; }
    void ReloadPages(int Index) override
    {
        ++pageReloads;
        lastPageReload = Index;
    }
    void ReloadReport() override
    {
        ++reloads;
        undoSteps = 0;
        SetModified(false);
    }
    void UpdateDataTree() override { ++dataTreeUpdates; }
    void SetModified(bool Value) override
    {
        TkvlCustomDesigner::SetModified(Value);
        if (Value)
            ++undoSteps;
    }
};

// A dialog button for the page-kind rules.
class TkvlTestButtonControl final : public TkvlDialogControl {
    LIRRA_CLASS(TkvlTestButtonControl, TkvlDialogControl)
public:
    explicit TkvlTestButtonControl(TComponent *AOwner) : TkvlDialogControl(AOwner) {}
};

void initOnce();

// A report with a data page and one report page, shown in a fake designer.
struct Fixture {
    bool initialized = (initOnce(), true);
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlDataPage *dataPage = nullptr;
    TkvlReportPage *page = nullptr;
    std::unique_ptr<FakeDesigner> designer;

    Fixture()
    {
        dataPage = new TkvlDataPage(report.get());
        dataPage->SetName(QStringLiteral("Data"));
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        designer = std::make_unique<FakeDesigner>(report.get());
        designer->SetPage(page);
    }

    template <class B> B *band(TkvlPage *on, const char *name, double top, double height)
    {
        auto *b = new B(on);
        b->SetName(QString::fromLatin1(name));
        b->SetBounds(0, top, 700, height);
        return b;
    }
    TkvlMemoView *memo(TkvlComponent *parent, const char *name, double left, double top, const QString &text = {})
    {
        auto *m = new TkvlMemoView(parent);
        m->SetName(QString::fromLatin1(name));
        m->SetBounds(left, top, 100, 18);
        if (!text.isEmpty())
            m->SetText(text);
        return m;
    }
    // The designer's object list for the current page.
    void load() { designer->Objects = designer->Page()->GetAllObjects(); }
};

} // namespace designertest
