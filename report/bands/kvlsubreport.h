#pragma once
// The object that prints another page of the same report in its place.
#include "report/views/kvlview.h"

class TkvlReportPage;

class TkvlSubreport : public TkvlView {
    LIRRA_CLASS(TkvlSubreport, TkvlView)
public:
    explicit TkvlSubreport(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    // The page this object prints (the page it sits on is GetPage()).
    TkvlReportPage *Page() const;
    // Links the page both ways: the page then knows itself as a subreport (and a page linked
    // before no longer does).
    void SetPage(TkvlReportPage *Value);
    bool PrintOnParent = false;

    // The view's background and frame, then the object's name.
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;

private:
    rtl::ComponentRef<TkvlReportPage> FPage;
};
