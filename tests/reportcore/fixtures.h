#pragma once
// Small report trees for the object-tree tests.
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

// A printable object with nothing to draw.
class TkvlProbeView : public TkvlView {
    LIRRA_CLASS(TkvlProbeView, TkvlView)
public:
    using TkvlView::TkvlView;
    void Draw(TCanvas *, double, double, double, double) override {}
};

// A container like a band.
class TkvlProbeBand : public TkvlReportComponent {
    LIRRA_CLASS(TkvlProbeBand, TkvlReportComponent)
public:
    using TkvlReportComponent::TkvlReportComponent;
    void Draw(TCanvas *, double, double, double, double) override {}
};

// report > page > band > (views)
struct ReportTree {
    TkvlReport *report = new TkvlReport(nullptr);
    TkvlPage *page = new TkvlPage(report);
    TkvlProbeBand *band = new TkvlProbeBand(page);
    ReportTree()
    {
        page->SetName(QStringLiteral("Page1"));
        band->SetName(QStringLiteral("Band1"));
    }
    ~ReportTree() { delete report; }

    TkvlProbeView *view(const char *name, double l = 0, double t = 0, double w = 10, double h = 10,
                        TkvlComponent *parent = nullptr)
    {
        auto *v = new TkvlProbeView(parent ? parent : band);
        if (name && *name)
            v->SetName(QString::fromLatin1(name));
        v->SetBounds(l, t, w, h);
        return v;
    }
};
