#pragma once
// The objects of dot-matrix pages: text and lines on the character grid, and raw printer
// commands.
#include "report/dmp/kvldmpgrid.h"
#include "report/memo/kvlmemo.h"
#include "report/views/kvlline.h"

// Text in whole cells, in the fixed dot-matrix font.
class TkvlDMPMemoView : public TkvlCustomMemoView {
    LIRRA_CLASS(TkvlDMPMemoView, TkvlCustomMemoView)
public:
    explicit TkvlDMPMemoView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    TkvlDMPFontStyles FontStyle() const { return FFontStyle; }
    // A style of its own: ParentFont goes off.
    void SetFontStyle(TkvlDMPFontStyles Value);
    // The fixed font in the memo's style; no character or line spacing, no gaps.
    void ResetFontOptions();
    // On a dot-matrix page, inheriting also takes the page's style.
    void SetParentFont(bool Value) override;
    bool TruncOutboundText = false;

    // Left rounds to whole cells (right-aligned memos: the cells below); the others round.
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetWidth(double Value) override;
    void SetHeight(double Value) override;
    // The four bounds as given, not snapped.
    void SetBoundsDirect(double ALeft, double ATop, double AWidth, double AHeight);

    double CalcHeight() override;
    double CalcWidth() override;
    // Around the cells: half a cell outside the bounds on every side.
    void DrawFrame() override;
    // The lines and columns that fit the object, each line followed by CR LF.
    QString GetoutBoundText() const;

private:
    TkvlDMPFontStyles FFontStyle = 0;
};

// A line through the middle of the cells.
class TkvlDMPLineView : public TkvlCustomLineView {
    LIRRA_CLASS(TkvlDMPLineView, TkvlCustomLineView)
public:
    explicit TkvlDMPLineView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    TkvlDMPFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TkvlDMPFontStyles Value);
    void SetParentFont(bool Value) override;

    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    void SetWidth(double Value) override;

private:
    TkvlDMPFontStyles FFontStyle = 0;
};

// Bytes sent to the printer as they are: "#27#64" (decimal codes) or "1B40" (hexadecimal pairs).
class TkvlDMPCommand : public TkvlView {
    LIRRA_CLASS(TkvlDMPCommand, TkvlView)
public:
    explicit TkvlDMPCommand(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    QString Command;
    void SetLeft(double Value) override;
    void SetTop(double Value) override;
    // The command's bytes as characters 0 to 255; an empty, malformed or larger code raises
    // EConvertError.
    QString ToChr() const;
};

// Start-up: the page class enters the class registry, the three objects the object registry
// (dot-matrix category).
void kvlRegisterDMPClasses();
