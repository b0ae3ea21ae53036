#pragma once
// The report, page and view classes as the object tree knows them. Each kind adds its own
// content in its own unit; here are only the members the tree relies on.
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"
#include "report/core/kvlcomponent.h"
#include "report/views/kvlview.h"


#include <functional>
#include <memory>

class TkvlEngineOptions;
class TkvlPreviewOptions;
class TkvlPrintOptions;
class TkvlReportOptions;
class TkvlReportDataSets;
class TkvlXMLSerializer;
class TkvlCustomDesigner;

// Bands and their kinds.
#include "report/bands/kvlband.h"

// Base of the pages of a report.
class TkvlPage : public TkvlComponent {
    LIRRA_CLASS(TkvlPage, TkvlComponent)
public:
    explicit TkvlPage(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // The character cell that objects on the page snap to; false on pages without a grid.
    virtual bool GetCellSize(double &CellWidth, double &CellHeight) const
    {
        (void)CellWidth;
        (void)CellHeight;
        return false;
    }
};

// Dialog pages.
#include "report/pages/kvldialogpage.h"

// The report document: the root of the object tree and the owner of its objects.
class TkvlReport : public TkvlComponent {
    LIRRA_CLASS(TkvlReport, TkvlComponent)
public:
    explicit TkvlReport(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlReport() override;

    // ---- what record sources, option records and the engine seams read and write ----
    TkvlEngineOptions *EngineOptions() const { return FEngineOptions.get(); }
    TkvlPreviewOptions *PreviewOptions() const { return FPreviewOptions.get(); }
    TkvlPrintOptions *PrintOptions() const { return FPrintOptions.get(); }
    TkvlReportOptions *ReportOptions() const { return FReportOptions.get(); }
    // The record sources the report uses (references only).
    TkvlReportDataSets *DataSets() const { return FDataSets.get(); }
    // The record sources the host offers the report when the engine options switch the
    // process-wide list off; then no other source is found by name.
    TkvlReportDataSets *EnabledDataSets() const { return FEnabledDataSets.get(); }
    // Problems met while loading, preparing or exporting, reported once afterwards.
    TStringList &Errors() { return FErrors; }
    // Name of the object being processed, for error texts.
    QString CurObject;
    // Set to stop a run.
    bool Terminated = false;
    bool Modified = false;
    // The serializer of the read or write in progress, so that nested lists reuse it.
    TkvlXMLSerializer *XMLSerializer = nullptr;
    // The host's optional element of its own at the end of a template.
    std::function<void(TkvlXMLItem *)> OnGetCustomData;
    std::function<void(TkvlXMLItem *)> OnSaveCustomData;
    // The object of the parent template that Name is written against (nothing without one).
    virtual void GetAncestor(const QString &Name, TPersistent *&Ancestor)
    {
        (void)Name;
        (void)Ancestor;
    }
    // Receives the connection strings found for ReportOptions.ConnectionName.
    std::function<void(const QString &ConnString)> OnSetConnection;

    // ---- what the objects call while printing and designing ----
    // Language the report's expressions and script are written in.
    QString ScriptLanguage = QStringLiteral("DozovoZozedi");
    // The open designer window, nullptr otherwise.
    TkvlCustomDesigner *Designer = nullptr;
    // Evaluates an expression in the report's script language. Until the report runs its
    // own script, the evaluator below answers (Null without one).
    virtual Variant Calc(const QString &Expr);
    std::function<Variant(const QString &Expr)> Evaluator;
    // Runs the script procedure EventName with Object as its one argument, or with the
    // arguments of Params (a variant array passed by reference: changed values come back);
    // nothing for an empty name. Until the report runs its own script, ScriptEvent stands in
    // (nothing runs without it).
    virtual void DoNotifyEvent(TPersistent *Object, const QString &EventName, bool RunAlways = false);
    virtual void DoParamEvent(const QString &EventName, Variant &Params, bool RunAlways = false);
    std::function<void(const QString &EventName, Variant &Params)> ScriptEvent;
    // The object the script variable "Self" names while it prints.
    TkvlComponent *SelfValue() const { return FSelfValue.get(); }
    virtual void SetSelfValue(TkvlComponent *Value) { FSelfValue = Value; }

private:
    std::unique_ptr<TkvlEngineOptions> FEngineOptions;
    std::unique_ptr<TkvlPreviewOptions> FPreviewOptions;
    std::unique_ptr<TkvlPrintOptions> FPrintOptions;
    std::unique_ptr<TkvlReportOptions> FReportOptions;
    std::unique_ptr<TkvlReportDataSets> FDataSets;
    std::unique_ptr<TkvlReportDataSets> FEnabledDataSets;
    TStringList FErrors;
    rtl::ComponentRef<TkvlComponent> FSelfValue;
};

// Registers the classes above, and the picture class of their option records, with the
// class registry (start-up).
void kvlRegisterObjectTreeClasses();
