#pragma once
// The band engine as the report sees it. The engine itself lives with the preview and
// printing code; the report creates one with itself and reaches it only through this base.
#include "platform/rtl/datetime.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/reflect/persistent.h"
#include "platform/rtl/variant.h"
#include "report/seams/kvlseamtypes.h"

#include <QString>
#include <functional>
#include <vector>

class TkvlReport;
class TkvlBand;
class TkvlPage;
class TkvlDialogPage;
class TkvlComponent;
class TkvlCustomPreviewPages;

class TkvlCustomEngine : public TPersistent {
    LIRRA_CLASS(TkvlCustomEngine, TPersistent)
public:
    explicit TkvlCustomEngine(TkvlReport *AReport);
    ~TkvlCustomEngine() override;

    // ---- state read by the report and by scripts while a run goes on ----
    int CurColumn = 0;
    int CurVColumn = 0;
    int CurLine = 0;
    int CurLineThrough = 0;  // running line number over the whole report
    bool FinalPass = false;
    // Objects told about the run; the report empties it before each script preparation.
    std::vector<rtl::ComponentRef<TkvlComponent>> NotifyList;
    double PageHeight = 0;
    double PageWidth = 0;
    TkvlCustomPreviewPages *PreviewPages = nullptr;
    bool Running = false;
    rtl::TDateTime StartDate = 0;
    rtl::TDateTime StartTime = 0;
    int TotalPages = 0;
    bool SecondScriptCall = false;
    double CurX = 0;
    double CurY = 0;
    // Host hook that shows one dialog page and sets its modal result.
    std::function<void(TkvlDialogPage *Page, TModalResult &Result)> OnRunDialog;
    // Host hook that builds a page's content itself (through ShowBand, NewPage, NewColumn).
    std::function<void(TkvlPage *Page)> OnManualBuild;

    TkvlReport *Report() const { return FReport; }

    virtual double GetPageHeight() { return PageHeight; }
    virtual void EndPage() = 0;
    virtual void BreakAllKeep() {}
    virtual void NewColumn() = 0;
    virtual void NewPage() = 0;
    virtual void ShowBand(TkvlBand *Band) = 0;
    virtual void ShowBand(const rtl::ClassInfo *BandClass) = 0;
    virtual double HeaderHeight() = 0;
    virtual double FooterHeight() = 0;
    virtual double FreeSpace() = 0;
    virtual Variant GetAggregateValue(const QString &Name, const QString &Expression, TkvlBand *Band, int Flags) = 0;
    // Whether the run produced a report.
    virtual bool Run(bool RunDialogs, bool ClearLast = false, TkvlPage *Page = nullptr) = 0;

    // The report's DoublePass engine option.
    bool GetDoublePass() const;
    // Shows the band of that name; a name that is not a band of the report does nothing.
    void ShowBandByName(const QString &Name);
    // Stops the run: sets the report's Terminated.
    void StopReport();

private:
    TkvlReport *FReport;
};
