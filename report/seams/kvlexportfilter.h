#pragma once
// Base of the export filters. A filter enters the process's export-filter registry when it
// is created and leaves it when it is destroyed, so the preview offers every filter that
// exists. Order of calls for one export: ShowModal (only with ShowDialog; the export goes
// on only on OK), Start (false ends it), then per page StartPage, ExportObject for each
// object, FinishPage; last Finish, which also runs when the export is cancelled or fails
// after a successful Start.
#include "platform/rtl/datetime.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/stringlist.h"
#include "report/seams/kvlseamtypes.h"

#include <QString>
#include <functional>
#include <memory>

class TStream;
class TkvlReport;
class TkvlPage;
class TkvlComponent;

class TkvlCustomExportFilter : public TComponent {
    LIRRA_CLASS(TkvlCustomExportFilter, TComponent)
public:
    explicit TkvlCustomExportFilter(TComponent *AOwner);
    // Leaves the registry (unless never entered).
    ~TkvlCustomExportFilter() override;

    // A filter of class T that stays out of the registry, without an owner.
    template <class T> static std::unique_ptr<T> CreateNoRegister()
    {
        NoRegisterNext() = true;
        try {
            return std::unique_ptr<T>(new T(nullptr));
        } catch (...) {
            NoRegisterNext() = false;
            throw;
        }
    }
    bool NoRegister() const { return FNoRegister; }

    bool CurPage = false;
    bool ExportNotPrintable = false;
    QString FileName;
    QString PageNumbers;
    TkvlReport *Report = nullptr;
    bool ShowDialog = true;
    TStream *Stream = nullptr;  // a stream to export into instead of a file (not owned)
    bool UseFileCache = true;
    QString DefaultPath;
    bool SlaveExport = false;
    bool ShowProgress = true;
    QString DefaultExt;
    QString FilterDesc;
    bool SuppressPageHeadersFooters = false;
    QString Title;
    bool OverwritePrompt = false;
    rtl::TDateTime CreationTime = 0;
    bool DataOnly = false;
    std::function<void(TkvlCustomExportFilter *Sender)> OnBeforeExport;
    std::function<void(TkvlCustomExportFilter *Sender)> OnBeginExport;

    // Names of the files the export wrote; made on first use.
    TStringList &Files();
    bool HasFiles() const { return FFiles != nullptr; }

    // The filter's description (a class operation; empty for the base).
    QString GetDescription() const { return ClassType()->description(); }
    // Why Start answered false (naming the file that could not be made); empty when there was
    // nothing to export to. For the driver's error list.
    virtual QString StartError() const { return FStartError; }
    // Set by the driver before Finish when the export failed: the filter then discards its
    // output and keeps what was there before.
    bool ExportFailed = false;

    virtual TModalResult ShowModal() { return mrOk; }
    virtual bool Start() { return true; }
    virtual void ExportObject(TkvlComponent *) {}
    virtual void Finish() {}
    virtual void FinishPage(TkvlPage *, int) {}
    virtual void StartPage(TkvlPage *, int) {}

protected:
    void SetStartError(const QString &Value) { FStartError = Value; }

private:
    static bool &NoRegisterNext();

    bool FNoRegister;
    std::unique_ptr<TStringList> FFiles;
    QString FStartError;
};
