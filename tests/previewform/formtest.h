#pragma once
// A preview window over a fixture store attached to a real report, with the services faked,
// and export filters whose class names are the ones the window looks for.
#include "engine/run/kvlengine.h"
#include "engine/widgets/kvlpreviewform.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlexportfilter.h"
#include "tests/engine/previewfixture.h"

#include <memory>
#include <vector>

namespace formtest {

inline void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        kvlRegisterBandEngine();
        return true;
    }();
    (void)done;
}

// Keeps the filters the preview exports through and counts its own end.
class RecordingStore : public previewtest::FixtureStore {
public:
    explicit RecordingStore(TkvlReport *Report, bool *Gone = nullptr) : FixtureStore(Report), FGone(Gone) {}
    ~RecordingStore() override
    {
        if (FGone)
            *FGone = true;
    }
    std::vector<TkvlCustomExportFilter *> Exported;
    bool Export(TkvlCustomExportFilter *Filter) override
    {
        Exported.push_back(Filter);
        return true;
    }

private:
    bool *FGone;
};

// A report that says when it goes and owns its store.
class CountedReport : public TkvlReport {
public:
    CountedReport(bool *Gone, int Pages) : TkvlReport(nullptr), FGone(Gone)
    {
        Store = std::make_unique<RecordingStore>(this);
        Store->addPages(Pages);
        SetPreviewPages(Store.get());
    }
    ~CountedReport() override
    {
        *FGone = true;
        SetPreviewPages(MainPreviewPages());
    }
    std::unique_ptr<RecordingStore> Store;

private:
    bool *FGone;
};

struct FormFixture {
    explicit FormFixture(TkvlPreviewButtons Buttons = kvlDefaultPreviewButtons, int Pages = 3)
    {
        registerOnce();
        report = std::make_unique<TkvlReport>(nullptr);
        store = std::make_unique<RecordingStore>(report.get());
        store->addPages(Pages);
        report->SetPreviewPages(store.get());
        report->PreviewOptions()->Buttons = Buttons;
        report->PreviewOptions()->Maximized = false;
    }
    // What the report does when it shows its pages in the window, without showing it modally.
    void open()
    {
        form = std::make_unique<TkvlPreviewForm>();
        form->Preview()->PreviewForm = form.get();
        report->SetPreview(form->Preview());
        form->Init();
        form->show();
    }
    ~FormFixture()
    {
        form.reset();
        report->SetPreviewPages(report->MainPreviewPages());
        report.reset();
    }
    ui::FakeServices services;
    std::unique_ptr<TkvlReport> report;
    std::unique_ptr<RecordingStore> store;
    std::unique_ptr<TkvlPreviewForm> form;
};

} // namespace formtest
