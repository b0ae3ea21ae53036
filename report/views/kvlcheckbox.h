#pragma once
// A check mark, cross, line cross or plus for a true value and, optionally, a cross, line
// cross or minus for a false one. The value comes from a field, an expression or Checked.
#include "report/views/kvlview.h"

enum TkvlCheckStyle : uint8_t { csCross, csCheck, csLineCross, csPlus };
enum TkvlUncheckStyle : uint8_t { usEmpty, usCross, usLineCross, usMinus };

class TkvlCheckBoxView : public TkvlView {
    LIRRA_CLASS(TkvlCheckBoxView, TkvlView)
public:
    // 5 mm square and checked.
    explicit TkvlCheckBoxView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    bool Checked = true;
    TkvlCheckStyle CheckStyle = csCross;
    TkvlUncheckStyle UncheckStyle = usEmpty;
    TColor CheckColor = 0;
    QString Expression;

    // Background, the mark, the frame.
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;
    // A bound field wins over Expression; a null field value is False.
    void GetData() override;

private:
    void DrawMark(int L, int T, int R, int B);
};
