#pragma once
// A non-visual component of a report (a record source, a database connection) as it sits
// on the data page or a dialog page: a 28 x 28 icon with its name under it, never printed.
#include "report/core/kvlcomponent.h"

#include <memory>

class TkvlDialogComponent : public TkvlReportComponent {
    LIRRA_CLASS(TkvlDialogComponent, TkvlReportComponent)
public:
    explicit TkvlDialogComponent(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlDialogComponent() override;

    // The wrapped component, owned; kinds set it.
    TComponent *Component() const { return FComponent.get(); }
    void SetComponent(std::unique_ptr<TComponent> Value) { FComponent = std::move(Value); }
    int32_t ImageIndex = 0;

    // Draws the icon at 1:1 whatever the scale and offsets, and sizes the object 28 x 28.
    void Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override;
    // "pLeft" and "pTop": the rounded position, written only inside a report.
    void DefineProperties(TFiler &Filer) override;

private:
    std::unique_ptr<TComponent> FComponent;
};
