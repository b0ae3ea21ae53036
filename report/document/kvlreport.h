#pragma once
// The report document: the root of the object tree (its direct children are the pages), the
// holder of what a template carries (record sources, variables, styles, script, the four
// option records) and the owner of what runs it (engine, prepared pages, text layout).
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"
#include "report/core/kvlcomponent.h"
#include "report/seams/kvlseamtypes.h"

#include <QHash>
#include <array>
#include <atomic>
#include <functional>
#include <unordered_map>
#include <memory>
#include <vector>

class TCustomIniFile;
class TkvlCustomDesigner;
class TkvlCustomDatabase;
class TkvlCustomEngine;
class TkvlCustomPreview;
class TkvlCustomPreviewForm;
class TkvlCustomPreviewPages;
class TkvlDataSet;
class TkvlDrawText;
class TkvlEngineOptions;
class TkvlExpressionCache;
class TkvlFileTrust;
class TkvlHyperlink;
class TkvlCustomExportFilter;
class TkvlPage;
class TkvlView;
class QTimer;
class QWidget;
class TkvlPreviewOptions;
class TkvlPrintOptions;
class TkvlProgress;
class TkvlReportDataSets;
class TkvlReportOptions;
class TkvlStyles;
class TkvlVariables;
class TkvlXMLSerializer;
class TqsScript;

class TkvlReport : public TkvlComponent {
    LIRRA_CLASS(TkvlReport, TkvlComponent)
public:
    // Empty (after Clear), with its engine and prepared pages when their factories are set.
    explicit TkvlReport(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // Frees the objects first, while the lists and records they may read still exist.
    ~TkvlReport() override;

    // Empties the tree, the record-source list, variables and styles, and resets the options,
    // script and main record source.
    void Clear() override;

    // ---- loading and saving ----
    // Clear, then reads the file when it exists (or raises EFOpenError when it does not and
    // ExceptionIfNotFound). True when the file existed.
    bool LoadFromFile(const QString &AFileName, bool ExceptionIfNotFound = false);
    // Reads a template. Nothing escapes: problems end in Errors and are reported once under
    // "clErrors" as the silent mode says. The caller's engine and preview options (but the
    // ones a template decides), settings path, preview and progress options survive. A
    // password the user does not confirm leaves the report empty.
    void LoadFromStream(TStream &Stream) override;
    // Writes a template; the password is stored encoded unless a crypter takes the stream.
    void SaveToStream(TStream &Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                      bool Streaming = false) override;
    // Replaces the file whole; an absolute ParentReport path becomes relative to its folder.
    void SaveToFile(const QString &AFileName);

    // ---- settings and environment ----
    // The settings storage; a path beginning "\Software\" is that key of the current user's
    // settings (an ini file under the user's configuration folder). The caller frees it.
    std::unique_ptr<TCustomIniFile> GetIniFile() const;
    // The program's folder, ending with '/'.
    QString GetApplicationFolder() const;
    // Makes the print options' printer current when the system has it.
    void SelectPrinter();
    // Makes sure the report has a data page ("Data", first among the pages) and moves every
    // dialog component onto it.
    void CheckDataPage();

    // ---- record sources ----
    TkvlDataSet *GetDataset(const QString &Alias) const;
    // The source's user name, "clDSNotIncl" when the report does not list it, empty for nil.
    QString GetAlias(TkvlDataSet *ADataSet) const;
    // Splits 'SOURCE."FIELD"' into the source and the field.
    void GetDatasetAndField(const QString &ComplexName, TkvlDataSet *&ADataSet, QString &Field) const;
    void GetDataSetList(TStringList &List, bool OnlyDB = false) const;
    void GetActiveDataSetList(TStringList &List) const;
    TkvlDataSet *DataSet() const;
    void SetDataSet(TkvlDataSet *Value);
    // A record source of the report is being destroyed: its entry goes, and the main
    // source when it was that one; an open designer updates its data tree.
    void DataSetRemoved(TkvlDataSet *ADataSet);
    QString DataSetName() const;
    void SetDataSetName(const QString &Value);

    // ---- what the report holds ----
    TkvlEngineOptions *EngineOptions() const { return FEngineOptions.get(); }
    TkvlPreviewOptions *PreviewOptions() const { return FPreviewOptions.get(); }
    TkvlPrintOptions *PrintOptions() const { return FPrintOptions.get(); }
    TkvlReportOptions *ReportOptions() const { return FReportOptions.get(); }
    // The setters copy.
    void SetEngineOptions(TkvlEngineOptions *Value);
    void SetPreviewOptions(TkvlPreviewOptions *Value);
    void SetPrintOptions(TkvlPrintOptions *Value);
    void SetReportOptions(TkvlReportOptions *Value);
    // The record sources the report uses (references only).
    TkvlReportDataSets *DataSets() const { return FDataSets.get(); }
    // The record sources the host offers the report when the engine options switch the
    // process-wide list off; then no other source is found by name.
    TkvlReportDataSets *EnabledDataSets() const { return FEnabledDataSets.get(); }
    TkvlVariables &Variables() const { return *FVariables; }
    TkvlStyles &Styles() const { return *FStyles; }
    // nullptr empties the styles; otherwise a copy, applied to every memo.
    void SetStyles(TkvlStyles *Value);
    // Problems met while loading, preparing or exporting; sorted, each once.
    TStringList &Errors() { return FErrors; }
    TStringList &ScriptText() { return FScriptText; }
    void SetScriptText(const TStringList &Value) { FScriptText.Assign(Value); }
    TqsScript *Script() const { return FScript.get(); }
    // Decides on the files the script reaches (report/run/kvlfiletrust.h).
    TkvlFileTrust &FileTrust() const { return *FFileTrust; }
    TkvlDrawText &DrawText() const { return *FDrawText; }
    // Names of the system variables.
    const TStringList &SysVariables() const { return FSysVariables; }
    TStringList &DrillState() { return FDrillState; }
    static QString Version() { return QStringLiteral("5.6.1"); }

    // ---- what runs it ----
    TkvlCustomEngine *Engine() const { return FEngine.get(); }
    // The prepared pages in use; the report's own store unless switched.
    TkvlCustomPreviewPages *PreviewPages() const { return FPreviewPages; }
    void SetPreviewPages(TkvlCustomPreviewPages *Value) { FPreviewPages = Value; }
    TkvlCustomPreviewPages *MainPreviewPages() const { return FMainPreviewPages.get(); }
    TkvlCustomPreview *Preview() const { return FPreview; }
    // Detaches the old control and binds the new one to the report's prepared pages.
    void SetPreview(TkvlCustomPreview *Value);
    // The preview window while it is shown (not owned).
    TkvlCustomPreviewForm *PreviewForm = nullptr;
    TkvlProgress *Progress = nullptr;

    // ---- stored settings ----
    QString ParentReport;
    bool DotMatrixReport = false;
    QString IniFile;
    bool OldStyleProgress = false;
    bool ShowProgress = true;
    bool StoreInDFM = true;
    // Language the report's expressions and script are written in.
    QString ScriptLanguage = QStringLiteral("DozovoZozedi");
    // Script procedures run at these moments (empty: none).
    QString OnRunDialogs, OnStartReport, OnStopReport, OnReportPrint;

    // ---- state ----
    QString FileName;        // of the last LoadFromFile
    TStream *LoadStream = nullptr;
    bool StreamLoaded = false;
    bool Reloading = false;  // reloading its own snapshot: no password asked
    // Name of the object being processed, for error texts.
    QString CurObject;
    // Set to stop a run; another thread may set it (a thread-safe run stops at it).
    std::atomic<bool> Terminated{false};
    bool Modified = false;
    // The serializer of the read or write in progress, so that nested lists reuse it.
    TkvlXMLSerializer *XMLSerializer = nullptr;
    // The open designer window, nullptr otherwise.
    TkvlCustomDesigner *Designer = nullptr;
    // The designer roads; each does nothing while a designer is open or none is registered
    // (kvlDesignerClass). A modal designer is freed when it returns.
    void DesignReport(bool Modal = true, bool MDIChild = false);
    void DesignReportInPanel(QWidget *Panel);
    // A prepared page in the designer, modally; True when the user changed it.
    bool DesignPreviewPage();

    // ---- host hooks ----
    // The host's optional element of its own at the end of a template.
    std::function<void(TkvlXMLItem *)> OnGetCustomData;
    std::function<void(TkvlXMLItem *)> OnSaveCustomData;
    // Receives the connection strings found for ReportOptions.ConnectionName.
    std::function<void(const QString &ConnString)> OnSetConnection;
    // Lets the host build a connection string from the current one; the result replaces it.
    std::function<QString(const QString &ConnString)> OnEditConnection;
    // ---- inheritance (report/document/inheritance.cpp) ----
    // The object of the parent template that Name is written against: the parent copy for
    // the report's own name, else its object of that name; nothing without a parent.
    virtual void GetAncestor(const QString &Name, TPersistent *&Ancestor);
    // Loads the parent template into the report and keeps a copy of it; everything it holds
    // is marked inherited. Empty: no parent, no inherited flags. A chain that returns to a
    // template already loading is refused with one error.
    void SetParentReport(const QString &Value);
    TkvlReport *ParentReportObject() const { return FParentReportObject.get(); }
    // When set, loads parent templates in place of LoadFromFile.
    std::function<void(TkvlReport *Report, const QString &FileName)> OnLoadTemplate;
    enum TkvlInheriteMode { imDefault, imDelete, imRename };
    // Makes the report inherit from the template, merging its own objects, variables, styles
    // and script in. False when the template is the report's own file or the user cancels.
    bool InheritFromTemplate(const QString &TemplateName, TkvlInheriteMode InheriteMode = imDefault);

    // ---- evaluation (report/run) ----
    // The AScript value that means the report's own script and makes an error read
    // "clErrorInExp" + message instead of naming the current object.
    static TqsScript *const CalcMarker;
    // The value of a name as DoGetValue resolves it, else the expression evaluated through
    // the expression cache on behalf of AScript (nullptr: the report's script). An error is
    // listed in Errors and raised. A host evaluator, when set, answers instead (tests).
    virtual Variant Calc(const QString &Expr, TqsScript *AScript = nullptr);
    std::function<Variant(const QString &Expr)> Evaluator;
    // Resolves a name: legacy hook, record-source field, system variable, host events,
    // report variable (a one-line text evaluated), process-wide variable, script name.
    bool DoGetValue(const QString &Name, Variant &Value);
    // Texts differing only in case are distinct expressions either way; kept for templates.
    bool CaseSensitiveExpressions = false;
    TkvlExpressionCache &ExpressionCache() const { return *FExpressionCache; }
    // A host function of the script; calls go to OnUserFunction.
    void AddFunction(const QString &FuncName, const QString &Category = QString(),
                     const QString &Description = QString());
    // Runs the script procedure EventName with Object as its one argument, or with the
    // arguments of Params (a variant array passed by reference: changed values come back);
    // nothing for an empty name, or while the engine is not running unless RunAlways.
    // ScriptEvent, when set, stands in for the script (tests and hosts without one).
    virtual void DoNotifyEvent(TPersistent *Object, const QString &EventName, bool RunAlways = false);
    virtual void DoParamEvent(const QString &EventName, Variant &Params, bool RunAlways = false);
    std::function<void(const QString &EventName, Variant &Params)> ScriptEvent;
    void DoBeforePrint(TkvlComponent *c);
    void DoAfterPrint(TkvlComponent *c);
    void DoPreviewClick(TkvlView *v, TMouseButton Button, TShiftState Shift, bool &Modified, bool DblClick = false);
    void DoMouseEnter(TkvlView *v, bool &Refresh);
    void DoMouseLeave(TkvlView *v, bool &Refresh);
    void DoMouseUp(TkvlView *v, double X, double Y, TMouseButton Button, TShiftState Shift, bool &Refresh);
    // The object the script variable "Self" names while it prints.
    TkvlComponent *SelfValue() const { return FSelfValue.get(); }
    virtual void SetSelfValue(TkvlComponent *Value);
    // The script variable "Value": the value of the expression being printed.
    Variant LocalValue() const;
    void SetLocalValue(const Variant &Value);

    // ---- running (report/run) ----
    // Builds the prepared pages; False (errors reported once) on any problem.
    bool PrepareReport(bool ClearLastReport = true);
    // Registers the objects and functions in the script and compiles it (a parent template's
    // first). ActiveReport nil means the report itself.
    bool PrepareScript(TkvlReport *ActiveReport = nullptr);
    // Runs the engine for one page, dialogs off, last pages kept.
    bool PreparePage(TkvlPage *Page);
    // Prepares and shows; nothing while the engine runs.
    void ShowReport(bool ClearLastReport = true);
    void ShowPreparedReport();
    bool Print();
    bool Export(TkvlCustomExportFilter *Filter);
    // True also terminates a running script.
    void SetTerminated(bool Value);
    // Whether the 50 ms start timer of ShowReport is armed.
    bool StartTimerActive() const;
    // Runs what the timer's first tick runs (tests drive it without an event loop).
    void StartTimerTick();
    // Progress of the engine, printing and export.
    void InternalOnProgressStart(TkvlProgressType Kind);
    void InternalOnProgress(TkvlProgressType Kind, int Progress);
    void InternalOnProgressStop(TkvlProgressType Kind);
    void SetProgressMessage(const QString &Value, bool IsHint = false);
    // Reports the error list once under "clErrors" as the silent mode says.
    void ReportErrors();

    // ---- host events ----
    std::function<void(TkvlReport *)> OnBeginDoc, OnEndDoc, OnAfterScriptCompile, OnPreview;
    std::function<void(const QString &Name, Variant &Value)> OnGetValue;
    std::function<void(TkvlReport *, const QString &Name, Variant &Value)> OnNewGetValue;
    std::function<Variant(const QString &MethodName, Variant &Params)> OnUserFunction;
    std::function<void(TkvlComponent *)> OnBeforePrint, OnAfterPrint;
    std::function<void(TkvlView *, TMouseButton, TShiftState, bool &Modified)> OnClickObject, OnDblClickObject;
    std::function<void(TkvlView *)> OnMouseEnter, OnMouseLeave;
    // The mouse is over a printed object of the preview.
    std::function<void(TkvlView *)> OnMouseOverObject;
    // Loads the template of a detail-report link into Report; False leaves it to the file.
    std::function<bool(TkvlReport *Report, const QString &TemplateName, TkvlHyperlink *Hyperlink)> OnLoadDetailTemplate;
    std::function<void(TkvlReport *, TkvlProgressType, int)> OnProgressStart, OnProgress, OnProgressStop;
    // Printing: before the job, before each page (with its copy number), after the job (also
    // after a failure).
    std::function<void(TkvlReport *)> OnPrintReport, OnAfterPrintReport;
    std::function<void(TkvlPage *, int CopyNo)> OnPrintPage;
    // A database connection of the report is about to connect / has disconnected
    // (TkvlCustomDatabase::Connect, Disconnect).
    std::function<void(TkvlReport *, TkvlCustomDatabase *)> OnBeforeConnect, OnAfterDisconnect;
    // The preview window closes (the window passed).
    std::function<void(TkvlCustomPreviewForm *)> OnClosePreview;

    // ---- streaming of the report's lists ----
    void WriteNestedProperties(TkvlXMLItem *Item) override;
    bool ReadNestedProperty(TkvlXMLItem *Item) override;

protected:
    // Reads the XML: the legacy load hook when it takes the stream, else the object tree.
    virtual void DoLoadFromStream(TStream &Stream);

private:
    friend struct TkvlReportRun;
    void FillSysVariables();

    std::unique_ptr<TkvlEngineOptions> FEngineOptions;
    std::unique_ptr<TkvlPreviewOptions> FPreviewOptions;
    std::unique_ptr<TkvlPrintOptions> FPrintOptions;
    std::unique_ptr<TkvlReportOptions> FReportOptions;
    std::unique_ptr<TkvlReportDataSets> FDataSets;
    std::unique_ptr<TkvlReportDataSets> FEnabledDataSets;
    std::unique_ptr<TkvlVariables> FVariables;
    std::unique_ptr<TkvlStyles> FStyles;
    std::unique_ptr<TqsScript> FScript;
    std::unique_ptr<TkvlDrawText> FDrawText;
    TStringList FErrors;
    TStringList FScriptText;
    TStringList FSysVariables;
    TStringList FDrillState;
    rtl::ComponentRef<TkvlDataSet> FDataSet;
    QString FDataSetName;
    std::unique_ptr<TkvlCustomEngine> FEngine;
    std::unique_ptr<TkvlCustomPreviewPages> FMainPreviewPages;
    TkvlCustomPreviewPages *FPreviewPages = nullptr;
    TkvlCustomPreview *FPreview = nullptr;
    rtl::ComponentRef<TkvlComponent> FSelfValue;

    // ---- inheritance ----
    std::unique_ptr<TkvlReport> FParentReportObject;
    std::vector<QString> FLoadingParents;  // parent templates being loaded (cycle guard)
    QStringList FLoadErrors;               // what the last load met (and reported)
    // Host functions given through AddFunction, passed on to a parent template's script.
    struct HostFunction {
        QString Syntax, Category, Description;
    };
    std::vector<HostFunction> FHostFunctions;
    TkvlCustomDesigner *newDesigner(bool PreviewDesigner);
    void closeModalDesigner(TkvlCustomDesigner *Designer);
    void addHostFunction(const HostFunction &Function, TkvlReport *Handler);

    // ---- run state (report/run) ----
    std::unique_ptr<TkvlExpressionCache> FExpressionCache;
    std::unique_ptr<TkvlFileTrust> FFileTrust;
    std::unique_ptr<QTimer> FStartTimer;
    std::unique_ptr<TkvlProgress> FProgress;
    std::unique_ptr<TkvlCustomPreviewForm> FOwnPreviewForm;
    TqsScript *FSaveParentScript = nullptr;
    bool FParentScriptSaved = false;
    class TqsCustomVariable *FLocalValueVar = nullptr;
    class TqsCustomVariable *FSelfValueVar = nullptr;
    std::vector<QString> FVariablesInUse;  // report variables being evaluated (cycle guard)
    int FCalcDepth = 0;
    // The record source and field, or system variable, a name stands for; parsed once per run.
    // For a text that is none of them: the variables' name generations at which neither list
    // had it (0: not known), whether a script item could have it, and its compiled function
    // with the expression cache's generation it belongs to.
    struct NameInfo {
        rtl::ComponentRef<TkvlDataSet> DataSet;
        QString Field;
        int SysVar = -1;
        bool IsField = false;
        bool MayNameScriptItem = true;
        uint64_t NoVariableAt = 0, NoGlobalAt = 0, FunctionAt = 0;
        class TqsProcVariable *Function = nullptr;
    };
    // The names parsed in this run by text, and the last texts asked for by where their
    // characters lie: a caller that keeps its string finds its entry again without hashing it
    // (the text is still compared, so a reused buffer never finds another text's entry).
    struct NameCache {
        using Entry = std::pair<const QString, NameInfo>;
        std::unordered_map<QString, NameInfo> ByText;  // entries stay put while others are added
        struct Recent {
            const QChar *Data = nullptr;
            Entry *Found = nullptr;
        };
        std::array<Recent, 64> Recents{};
        void clear()
        {
            ByText.clear();
            Recents.fill(Recent{});
        }
    };
    NameCache FNameCache;
    // nullptr for a field of a record source that is not there yet (not remembered).
    NameInfo *ParseName(const QString &Name);
    std::unordered_map<QString, NameInfo>::iterator parseNewName(const QString &Name);
    bool DoGetValue(const QString &Name, Variant &Value, NameInfo *Info);
    bool lookUpVariable(const QString &Name, Variant &Value);
};
