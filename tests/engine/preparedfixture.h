#pragma once
// A report whose prepared pages are written into the real prepared-pages store by hand, as the
// engine writes them: per page a page header, a data band and a page footer, each with a memo.
#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlpreview.h"
#include "script/grammar/qsgrammars.h"

#include <QStringList>
#include <memory>

namespace preparedtest {

inline void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        qsRegisterStandardLanguages();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)done;
}

inline TkvlMemoView *newMemo(TkvlComponent *Parent, const QString &Name, double Left, double Top, double Width,
                             double Height, const QString &Text = {})
{
    auto *m = new TkvlMemoView(Parent);
    m->SetName(Name);
    m->SetBounds(Left, Top, Width, Height);
    m->SetText(Text);
    return m;
}

// A preview control that only records what the store asks of it.
class RecordingPreview : public TkvlCustomPreview {
public:
    QStringList Calls;
    void Init(TkvlReport *AReport, TkvlCustomPreviewPages *APreviewPages) override
    {
        Report = AReport;
        PreviewPages = APreviewPages;
    }
    void UnInit(TkvlCustomPreviewPages *) override {}
    void Lock() override { Calls << QStringLiteral("Lock"); }
    void Unlock() override { Calls << QStringLiteral("Unlock"); }
    void RefreshReport() override { Calls << QStringLiteral("RefreshReport"); }
    void InternalOnProgressStart(TkvlReport *, TkvlProgressType, int) override {}
    void InternalOnProgress(TkvlReport *, TkvlProgressType, int) override {}
    void InternalOnProgressStop(TkvlReport *, TkvlProgressType, int) override {}
};

// Template page "Page1" (A4, margins left 10, right 20, top and bottom 5 mm): band H (page
// header) with memo "h", band D (data) with memo Dat ("d" + page number) and memo Hid, which is
// hidden from export, band F (page footer) with memo "f[TOTALPAGES#]".
struct PreparedReport {
    PreparedReport()
    {
        registerOnce();
        report = std::make_unique<TkvlReport>(nullptr);
        report->EngineOptions()->NewSilentMode = simSilent;
        report->EngineOptions()->EnableThreadSafe = true;  // no progress windows in tests
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(9);
        page->LeftMargin = 10;
        page->RightMargin = 20;
        page->TopMargin = page->BottomMargin = 5;
        header = new TkvlPageHeader(page);
        header->SetName(QStringLiteral("H"));
        header->SetBounds(0, 0, 600, 30);
        newMemo(header, QStringLiteral("Hdr"), 0, 0, 100, 20, QStringLiteral("h"));
        data = new TkvlMasterData(page);
        data->SetName(QStringLiteral("D"));
        data->SetBounds(0, 40, 600, 30);
        dataMemo = newMemo(data, QStringLiteral("Dat"), 5, 2, 100, 20);
        auto *hidden = newMemo(data, QStringLiteral("Hid"), 200, 2, 100, 20, QStringLiteral("x"));
        hidden->Visibility = kvlBit(vsPreview) | kvlBit(vsPrint);
        footer = new TkvlPageFooter(page);
        footer->SetName(QStringLiteral("F"));
        footer->SetBounds(0, 900, 600, 30);
        newMemo(footer, QStringLiteral("Ftr"), 0, 0, 100, 20, QStringLiteral("f[TOTALPAGES#]"));
        store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
        store->Initialize();
        store->BeginPass();
        store->AddSourcePage(page);
    }

    void addPages(int N)
    {
        for (int i = 0; i < N; ++i) {
            store->AddPage(page);
            dataMemo->SetText(QStringLiteral("d%1").arg(store->CurPage + 1));
            store->AddObject(header);
            store->AddObject(data);
            store->AddObject(footer);
        }
        store->Finish();
    }

    void attachPreview() { report->SetPreview(&preview); }

    RecordingPreview preview;  // outlives the report, which detaches it when it goes
    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page;
    TkvlPageHeader *header;
    TkvlMasterData *data;
    TkvlPageFooter *footer;
    TkvlMemoView *dataMemo;
    TkvlPreviewPages *store;
};

} // namespace preparedtest
