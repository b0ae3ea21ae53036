#pragma once
// The report, page and view classes as the object tree knows them. Each kind adds its own
// content in its own unit; here are only the members the tree relies on.
#include "report/core/kvlcomponent.h"

// Alignment of a view inside its band or page.
enum TkvlAlign : uint8_t { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };

// Base of the printable objects; its parent aligns it by Align.
class TkvlView : public TkvlReportComponent {
    LIRRA_CLASS(TkvlView, TkvlReportComponent)
public:
    explicit TkvlView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    TkvlAlign Align() const { return FAlign; }
    virtual void SetAlign(TkvlAlign Value) { FAlign = Value; }

private:
    TkvlAlign FAlign = baNone;
};

// Base of the pages of a report.
class TkvlPage : public TkvlComponent {
    LIRRA_CLASS(TkvlPage, TkvlComponent)
public:
    explicit TkvlPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
};

// A page shown as a dialog window; its objects are placed in window coordinates.
class TkvlDialogPage : public TkvlPage {
    LIRRA_CLASS(TkvlDialogPage, TkvlPage)
public:
    explicit TkvlDialogPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
};

// The report document: the root of the object tree and the owner of its objects.
class TkvlReport : public TkvlComponent {
    LIRRA_CLASS(TkvlReport, TkvlComponent)
public:
    explicit TkvlReport(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
};

// Registers the classes above with the class registry (start-up).
void kvlRegisterObjectTreeClasses();
