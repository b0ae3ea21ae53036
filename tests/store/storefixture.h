#pragma once
// A report with one page holding a data band and five memos, "run" into a prepared-pages
// store by hand: rows of changing texts written as the engine writes them.
#include "engine/store/previewpages.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlfactories.h"

#include <QString>
#include <memory>
#include <vector>

namespace storetest {

inline void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)done;
}

// The text of memo M in row R of page P: what the fixture writes and the tests expect.
inline QString cellText(int P, int R, int M) { return QStringLiteral("p%1 r%2 m%3").arg(P).arg(R).arg(M); }

struct Fixture {
    static constexpr int kRows = 8;
    static constexpr int kMemos = 5;
    static constexpr double kRowHeight = 30;

    explicit Fixture(bool UseFileCache = false, int MaxMemSize = 10, int PagesInCache = 50)
    {
        registerOnce();
        report = std::make_unique<TkvlReport>(nullptr);
        report->EngineOptions()->UseFileCache = UseFileCache;
        report->EngineOptions()->MaxMemSize = MaxMemSize;
        report->EngineOptions()->NewSilentMode = simSilent;
        report->PreviewOptions()->PagesInCache = PagesInCache;
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(9);
        band = new TkvlMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 0, 600, kRowHeight);
        for (int m = 0; m < kMemos; ++m) {
            auto *memo = new TkvlMemoView(band);
            memo->SetName(QStringLiteral("Memo%1").arg(m + 1));
            memo->SetBounds(10 + 110 * m, 4, 100, 20);
            memos.push_back(memo);
        }
        store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
        store->Initialize();
        store->BeginPass();
        store->AddSourcePage(page);
    }

    // One page of rows, as the engine writes it.
    void addPage()
    {
        store->AddPage(page);
        const int p = store->CurPage;
        for (int r = 0; r < kRows; ++r) {
            band->SetTop(20 + r * kRowHeight);
            for (int m = 0; m < kMemos; ++m)
                memos[size_t(m)]->SetText(cellText(p, r, m));
            store->AddObject(band);
        }
        band->SetTop(0);
    }
    void addPages(int N)
    {
        for (int i = 0; i < N; ++i)
            addPage();
    }

    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page;
    TkvlMasterData *band;
    std::vector<TkvlMemoView *> memos;
    TkvlPreviewPages *store;
};

// Texts drawn for a page, with where they were drawn.
inline std::vector<gfx::TextRecord> drawnTexts(TkvlPreviewPages &Store, int Index)
{
    gfx::RecordingCanvas canvas;
    Store.DrawPage(Index, &canvas, 1, 1, 0, 0);
    std::vector<gfx::TextRecord> out = canvas.textRecords();
    for (auto &t : out)
        t.index = 0;
    return out;
}

inline QStringList textsOf(const std::vector<gfx::TextRecord> &Records)
{
    QStringList out;
    for (const auto &r : Records)
        out.append(r.text);
    return out;
}

} // namespace storetest
