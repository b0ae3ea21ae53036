#pragma once
// A report page with free-standing bands in a gesture core, and helpers that drive it with
// the mouse in workspace pixels.
#include "designer/core/gestures.h"
#include "tests/designerworkspace/wsfixture.h"

#include <memory>
#include <vector>

namespace gesturetest {

struct Page {
    bool initialized = (wstest::initOnce(), true);
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlReportPage *page = new TkvlReportPage(report.get());
    TkvlObjectLists lists;
    TkvlGestures ws;
    int modified = 0, inserted = 0;
    std::vector<TkvlRect> reports;

    Page()
    {
        page->SetName(QStringLiteral("Page1"));
        ws.SetLists(&lists);
        ws.SetPage(page);
        ws.FFreeBandsPlacement = true;  // bands stay where the test puts them
        ws.FBandHeader = 20;
        ws.FGridX = ws.FGridY = 4;
        ws.OnModify = [this] { ++modified; };
        ws.OnInsert = [this] { ++inserted; };
        ws.OnNotifyPosition = [this](const TkvlRect &r) { reports.push_back(r); };
    }

    template <class B = TkvlMasterData> B *makeBand(const char *name, double left, double top, double w, double h)
    {
        auto *b = new B(page);
        b->SetName(QString::fromLatin1(name));
        b->SetBounds(left, top, w, h);
        return b;
    }
    template <class V = TkvlMemoView>
    V *view(TkvlComponent *parent, const char *name, double left, double top, double w, double h)
    {
        auto *v = new V(parent);
        v->SetName(QString::fromLatin1(name));
        v->SetBounds(left, top, w, h);
        return v;
    }
    // The window's lists for the page as it stands, laid out.
    void load()
    {
        lists.Load(page);
        ws.SetPageDimensions(800, 1000, TkvlMargins{});
        ws.AdjustBands(true);
    }
    void select(std::initializer_list<TkvlComponent *> objects) { lists.Selected.assign(objects); }

    // Hover, press, moves and release, all with the same keys.
    void drag(QPoint from, std::initializer_list<QPoint> to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        ws.MouseMove(keys, from.x(), from.y());
        ws.MouseDown(Qt::LeftButton, keys, from.x(), from.y());
        QPoint last = from;
        for (QPoint p : to) {
            ws.MouseMove(keys, p.x(), p.y());
            last = p;
        }
        ws.MouseUp(Qt::LeftButton, keys, last.x(), last.y());
    }
    void click(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) { drag(at, {}, keys); }
};

inline TkvlRect absBounds(const TkvlComponent *c)
{
    return TkvlRect{c->GetAbsLeft(), c->GetAbsTop(), c->Width(), c->Height()};
}

} // namespace gesturetest
