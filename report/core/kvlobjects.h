#pragma once
// The report, page and view classes as the object tree knows them. Each kind adds its own
// content in its own unit; here are only the members the tree relies on.
#include "platform/rtl/stringlist.h"
#include "report/core/kvlcomponent.h"

#include <functional>

class TkvlXMLSerializer;

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

    // Problems met while loading, each once, sorted.
    TStringList Errors;
    // The serializer of the read or write in progress, so that nested lists reuse it.
    TkvlXMLSerializer *XMLSerializer = nullptr;
    // The host's optional element of its own at the end of a template.
    std::function<void(TkvlXMLItem *)> OnGetCustomData;
    std::function<void(TkvlXMLItem *)> OnSaveCustomData;
    // Reads of templates hold the process-wide loading lock.
    virtual bool EnableThreadSafe() const { return false; }
    // The object of the parent template that Name is written against (nothing without one).
    virtual void GetAncestor(const QString &Name, TPersistent *&Ancestor)
    {
        (void)Name;
        (void)Ancestor;
    }
};

// Registers the classes above with the class registry (start-up).
void kvlRegisterObjectTreeClasses();
