#pragma once
// A prepared report whose objects answer the mouse: links of every kind, a drill-down group, an
// object with a cursor of its own and one with a hint, on two hand-made pages of the real store.
#include "engine/run/kvlengine.h"
#include "platform/ui/fakes.h"
#include "tests/engine/preparedfixture.h"

namespace preparedtest {

constexpr int crHelp = -20;
constexpr int crHandPoint = -21;

inline void setLink(TkvlView *V, TkvlHyperlinkKind Kind, const QString &Value)
{
    V->Hyperlink()->FKind = Kind;
    V->Hyperlink()->FValue = Value;
}

// One page without margins, at scale 1 and offset 0 on screen:
//   group header G (drill-down "g1") 0..30 with memo InG (0,0 100x20) linking to a URL;
//   data band D at 40 with Back (0,40 200x40, anchor "a1") under Front (100,40 200x40, page 2),
//   Help (0,90 50x20, its own cursor, URL), BadPage (60,90, page "x"), Rep (120,90, detail
//   report "dett"), Det (180,90, detail page "pag" of page Detail), Plain (240,90, no link,
//   a hint "breve|lunga").
// Page "Detail" holds one band with memo "dettaglio". Two prepared pages; anchor a1 on page 2.
struct MouseReport {
    MouseReport()
    {
        registerOnce();
        static const bool engine = [] {
            kvlRegisterBandEngine();
            return true;
        }();
        (void)engine;
        report = std::make_unique<TkvlReport>(nullptr);
        report->EngineOptions()->NewSilentMode = simSilent;
        report->EngineOptions()->EnableThreadSafe = true;
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(9);
        page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
        auto *g = new TkvlGroupHeader(page);
        g->SetName(QStringLiteral("G"));
        g->SetBounds(0, 0, 600, 30);
        g->DrillDown = true;
        g->DrillName = QStringLiteral("g1");
        setLink(newMemo(g, QStringLiteral("InG"), 0, 0, 100, 20), hkURL, QStringLiteral("https://esempio.it/g"));
        auto *d = new TkvlMasterData(page);
        d->SetName(QStringLiteral("D"));
        d->SetBounds(0, 40, 600, 100);
        setLink(newMemo(d, QStringLiteral("Back"), 0, 0, 200, 40), hkAnchor, QStringLiteral("a1"));
        setLink(newMemo(d, QStringLiteral("Front"), 100, 0, 200, 40), hkPageNumber, QStringLiteral("2"));
        auto *help = newMemo(d, QStringLiteral("Help"), 0, 50, 50, 20);
        help->Cursor = crHelp;
        setLink(help, hkURL, QStringLiteral("https://esempio.it/aiuto"));
        setLink(newMemo(d, QStringLiteral("BadPage"), 60, 50, 50, 20), hkPageNumber, QStringLiteral("x"));
        auto *rep = newMemo(d, QStringLiteral("Rep"), 120, 50, 50, 20);
        setLink(rep, hkDetailReport, QStringLiteral("dett"));
        rep->Hyperlink()->FTabCaption = QStringLiteral("Dettaglio");
        auto *det = newMemo(d, QStringLiteral("Det"), 180, 50, 50, 20);
        setLink(det, hkDetailPage, QStringLiteral("pag"));
        det->Hyperlink()->FDetailPage = QStringLiteral("Detail");
        det->Hyperlink()->FTabCaption = QStringLiteral("Pagina");
        auto *plain = newMemo(d, QStringLiteral("Plain"), 240, 50, 50, 20);
        plain->Hint = QStringLiteral("breve|lunga");
        plain->ShowHint = true;
        detail = new TkvlReportPage(report.get());
        detail->SetName(QStringLiteral("Detail"));
        detail->SetPaperSize(9);
        auto *db = new TkvlReportTitle(detail);
        db->SetName(QStringLiteral("T"));
        db->SetBounds(0, 0, 600, 30);
        newMemo(db, QStringLiteral("DetMemo"), 0, 0, 100, 20, QStringLiteral("dettaglio"));

        store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
        store->Initialize();
        store->BeginPass();
        store->AddSourcePage(page);
        for (int i = 0; i < 2; ++i) {
            store->AddPage(page);
            store->AddObject(g);
            store->AddObject(d);
        }
        store->AddAnchor(QStringLiteral("a1"));
        store->Finish();

        report->OnMouseEnter = [this](TkvlView *v) { events << QStringLiteral("enter ") + v->Name(); };
        report->OnMouseLeave = [this](TkvlView *v) { events << QStringLiteral("leave ") + v->Name(); };
        report->OnClickObject = [this](TkvlView *v, TMouseButton, TShiftState, bool &Modified) {
            events << QStringLiteral("click ") + v->Name();
            Modified = modifyOnClick;
        };
    }

    // The cursor after the event at (X, Y) on page Index.
    int mouse(int X, int Y, TkvlMouseIntEvents Event = meMouseMove, int Index = 0)
    {
        int cursor = 0;
        store->ObjectOver(Index, X, Y, mbLeft, 0, 1, 0, 0, cursor, Event);
        return cursor;
    }
    int click(int X, int Y) { return mouse(X, Y, meClick); }

    ui::FakeServices services;
    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page;
    TkvlReportPage *detail;
    TkvlPreviewPages *store;
    QStringList events;
    bool modifyOnClick = false;
};


} // namespace preparedtest
