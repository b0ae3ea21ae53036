// The report document: creation, clearing, destruction, record sources, settings storage
// and the setters that copy or attach.
#include "report/document/kvlreport.h"

#include "platform/rtl/apppath.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldialogcomponent.h"
#include "report/options/kvloptions.h"
#include "report/options/kvlregistry.h"
#include "report/pages/kvlreportpage.h"
#include "report/printers/kvlprinters.h"
#include "report/seams/kvldesigner.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlfactories.h"
#include "report/seams/kvlpreview.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/serial/collectionio.h"
#include "report/styles/kvlstyles.h"
#include "report/text/kvldrawtext.h"
#include "report/vars/kvlvariables.h"
#include "report/progress/kvlwindows.h"
#include "report/run/kvlexpressioncache.h"
#include "report/run/kvlfiletrust.h"
#include "script/core/qsscript.h"

#include <QTimer>

#include <QDir>

LIRRA_DEFINE_CLASS(TkvlReport)

namespace {
const QString &defaultIniFile()
{
    static const QString s = QStringLiteral("\\Software\\Korvelle Works");
    return s;
}
} // namespace

void TkvlReport::DeclareClass(rtl::ClassBuilder<TkvlReport> &b)
{
    using T = TkvlReport;
    b.prop<[](const T &) { return T::Version(); }, [](T &, const QString &) {}>("Version");
    b.prop<[](const T &r) { return r.ParentReport; }, [](T &r, const QString &v) { r.SetParentReport(v); }>("ParentReport");
    b.prop<&T::DataSet, &T::SetDataSet>("DataSet");
    b.prop<&T::DataSetName, &T::SetDataSetName>("DataSetName");
    b.prop<&T::DotMatrixReport>("DotMatrixReport");
    b.prop<&T::EngineOptions, &T::SetEngineOptions>("EngineOptions");
    b.prop<&T::IniFile>("IniFile");
    b.prop<&T::OldStyleProgress>("OldStyleProgress").def(false);
    b.prop<&T::PreviewOptions, &T::SetPreviewOptions>("PreviewOptions");
    b.prop<&T::PrintOptions, &T::SetPrintOptions>("PrintOptions");
    b.prop<&T::ReportOptions, &T::SetReportOptions>("ReportOptions");
    b.prop<&T::ScriptLanguage>("ScriptLanguage");
    b.prop<[](T &r) -> TStringList & { return r.ScriptText(); }>("ScriptText", rtl::types::TStrings());
    b.prop<&T::ShowProgress>("ShowProgress").def(true);
    b.prop<&T::StoreInDFM>("StoreInDFM").def(true);
    b.prop<&T::OnRunDialogs>("OnRunDialogs", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnStartReport>("OnStartReport", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnStopReport>("OnStopReport", kvltypes::Event("TkvlNotifyEvent"));
    b.prop<&T::OnReportPrint>("OnReportPrint", kvltypes::Event("TkvlNotifyEvent"));
    b.description([] { return kvlResourceText(QStringLiteral("obReport")); });
}

TkvlReport::TkvlReport(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlComponent(AOwner, Design),
      FEngineOptions(std::make_unique<TkvlEngineOptions>()),
      FPreviewOptions(std::make_unique<TkvlPreviewOptions>()),
      FPrintOptions(std::make_unique<TkvlPrintOptions>()),
      FReportOptions(std::make_unique<TkvlReportOptions>(this)),
      FDataSets(std::make_unique<TkvlReportDataSets>(this)),
      FEnabledDataSets(std::make_unique<TkvlReportDataSets>(this)),
      FVariables(std::make_unique<TkvlVariables>(this)),
      FStyles(std::make_unique<TkvlStyles>(this)),
      FScript(std::make_unique<TqsScript>()),
      FDrawText(std::make_unique<TkvlDrawText>()),
      FExpressionCache(std::make_unique<TkvlExpressionCache>(FScript.get())),
      FFileTrust(std::make_unique<TkvlFileTrust>(this))
{
    IniFile = defaultIniFile();
    FScript->ExtendedCharset = true;
    kvlGuardScriptFiles(FScript.get(), FFileTrust.get());
    FErrors.SetSorted(true);
    FErrors.SetDuplicates(dupIgnore);
    SetkvComponentStyle(kvComponentStyle() | kvlBit(csHandlesNestedProperties));
    if (kvlEngineFactory)
        FEngine = kvlEngineFactory(this);
    if (kvlPreviewPagesFactory)
        FMainPreviewPages = kvlPreviewPagesFactory(this);
    FPreviewPages = FMainPreviewPages.get();
    if (FEngine)
        FEngine->PreviewPages = FPreviewPages;
    if (FMainPreviewPages)
        FMainPreviewPages->Engine = FEngine.get();
    Clear();
}

TkvlReport::~TkvlReport()
{
    if (PreviewForm)
        PreviewForm->Close();
    if (TkvlCustomPreview *preview = FPreview) {
        preview->UnInit(FPreviewPages);
        SetPreview(nullptr);
        // A control that outlives the report must not draw or hit-test its pages.
        preview->ReportDestroyed(this);
    }
    // The objects go while the option records and lists they may read still exist.
    TkvlComponent::Clear();
    FMainPreviewPages.reset();
    FEngine.reset();
    FOwnPreviewForm.reset();
}

void TkvlReport::FillSysVariables()
{
    FSysVariables.Clear();
    for (const char *n : {"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#"})
        FSysVariables.Add(QString::fromLatin1(n));
}

void TkvlReport::Clear()
{
    TkvlComponent::Clear();
    FDataSets->Clear();
    FVariables->Clear();
    FStyles->Clear();
    FEngineOptions->Clear();
    FPreviewOptions->Clear();
    FPrintOptions->Clear();
    FReportOptions->Clear();
    FDataSet = nullptr;
    FDataSetName.clear();
    FNameCache.clear();
    DotMatrixReport = false;
    ParentReport.clear();
    FParentReportObject.reset();
    ScriptLanguage = QStringLiteral("DozovoZozedi");
    FScriptText.Clear();
    FScriptText.Add(QStringLiteral("begin"));
    FScriptText.Add(QString());
    FScriptText.Add(QStringLiteral("end."));
    FillSysVariables();
    OnRunDialogs.clear();
    OnStartReport.clear();
    OnStopReport.clear();
}

// ---- setters ----------------------------------------------------------------------------

void TkvlReport::SetEngineOptions(TkvlEngineOptions *Value) { FEngineOptions->Assign(Value); }
void TkvlReport::SetPreviewOptions(TkvlPreviewOptions *Value) { FPreviewOptions->Assign(Value); }
void TkvlReport::SetPrintOptions(TkvlPrintOptions *Value) { FPrintOptions->Assign(Value); }
void TkvlReport::SetReportOptions(TkvlReportOptions *Value) { FReportOptions->Assign(Value); }

void TkvlReport::SetStyles(TkvlStyles *Value)
{
    if (!Value) {
        FStyles->Clear();
        return;
    }
    FStyles->Assign(Value);
    FStyles->Apply();
}

void TkvlReport::SetPreview(TkvlCustomPreview *Value)
{
    if (FPreview == Value)
        return;
    if (FPreview) {
        FPreview->Report = nullptr;
        FPreview->PreviewPages = nullptr;
        PreviewForm = nullptr;
    }
    FPreview = Value;
    if (FPreview) {
        FPreview->Init(this, FPreviewPages);
        FPreview->Report = this;
        FPreview->PreviewPages = FPreviewPages;
        PreviewForm = FPreview->PreviewForm;
    }
}

// ---- record sources ---------------------------------------------------------------------

TkvlDataSet *TkvlReport::DataSet() const { return FDataSet.get(); }

void TkvlReport::SetDataSet(TkvlDataSet *Value)
{
    FDataSet = Value;
    FDataSetName = Value ? Value->UserName() : QString();
}

QString TkvlReport::DataSetName() const
{
    return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TkvlReport::SetDataSetName(const QString &Value)
{
    FDataSetName = Value;
    FDataSet = FindDataSet(this, FDataSet.get(), Value);
}

TkvlDataSet *TkvlReport::GetDataset(const QString &Alias) const
{
    const TkvlDataSetItem *it = FDataSets->Find(Alias);
    return it ? it->DataSet() : nullptr;
}

QString TkvlReport::GetAlias(TkvlDataSet *ADataSet) const
{
    if (!ADataSet)
        return QString();
    if (FDataSets->Find(ADataSet))
        return ADataSet->UserName();
    return kvlResourceText(QStringLiteral("clDSNotIncl"));
}

void TkvlReport::GetDatasetAndField(const QString &ComplexName, TkvlDataSet *&ADataSet, QString &Field) const
{
    ADataSet = nullptr;
    Field.clear();
    const qsizetype p = ComplexName.indexOf(QLatin1String(".\""));
    // A field is named only between the opening quote and a closing one at the very end.
    if (p < 0 || ComplexName.size() < p + 3 || !ComplexName.endsWith(u'"'))
        return;
    ADataSet = GetDataset(ComplexName.left(p));
    Field = ComplexName.mid(p + 2, ComplexName.size() - p - 3);
}

void TkvlReport::GetDataSetList(TStringList &List, bool OnlyDB) const
{
    List.Clear();
    for (int i = 0; i < FDataSets->Count(); ++i) {
        TkvlDataSet *ds = FDataSets->Items(i)->DataSet();
        if (!ds || (OnlyDB && ds->Is<TkvlUserDataSet>()))
            continue;
        List.AddObject(ds->UserName(), ds);
    }
}

void TkvlReport::GetActiveDataSetList(TStringList &List) const
{
    if (FEngineOptions->UseGlobalDataSetList) {
        kvlGetDataSetList(List);
        return;
    }
    List.Clear();
    for (int i = 0; i < FEnabledDataSets->Count(); ++i)
        if (TkvlDataSet *ds = FEnabledDataSets->Items(i)->DataSet())
            List.AddObject(ds->UserName(), ds);
}

void TkvlReport::DataSetRemoved(TkvlDataSet *ADataSet)
{
    for (int i = FDataSets->Count() - 1; i >= 0; --i)
        if (FDataSets->Items(i)->DataSet() == ADataSet)
            FDataSets->Delete(i);
    if (FDataSet.get() == ADataSet)
        FDataSet = nullptr;
    FNameCache.clear();
    if (Designer)
        Designer->UpdateDataTree();
}

// ---- data page ----------------------------------------------------------------------------

void TkvlReport::CheckDataPage()
{
    std::vector<TkvlDialogComponent *> dialogComponents;
    for (TkvlComponent *c : GetAllObjects()) {
        if (c->Is<TkvlDataPage>())
            return;
        if (auto *d = rtl_cast<TkvlDialogComponent>(c))
            dialogComponents.push_back(d);
    }
    auto *page = new TkvlDataPage(this);
    if (FindObject(u"Data"))
        page->CreateUniqueName();
    else
        page->SetName(QStringLiteral("Data"));
    MoveObject(IndexOfObject(page), 0);
    for (size_t i = 0; i < dialogComponents.size(); ++i) {
        TkvlDialogComponent *d = dialogComponents[i];
        d->SetParent(page);
        d->SetLeft(60 + 64 * double(i));
        d->SetTop(20);
    }
}

// ---- environment --------------------------------------------------------------------------

std::unique_ptr<TCustomIniFile> TkvlReport::GetIniFile() const
{
    if (IniFile.startsWith(QLatin1String("\\Software\\"), Qt::CaseInsensitive)) {
        // The key's values live in the file of its subkeys: "\A\B" is "A/B.ini".
        QString file, section;
        if (kvlRegistryKeyLocation(TkvlRegistryRoot::CurrentUser, IniFile + QStringLiteral("\\x"), file, section))
            return std::make_unique<TIniFile>(file);
    }
    return std::make_unique<TIniFile>(IniFile);
}

QString TkvlReport::GetApplicationFolder() const
{
    if (IsDesigning)
        return QDir::currentPath() + u'/';
    return rtl::AppPath();
}

void TkvlReport::SelectPrinter()
{
    TkvlPrinters &printers = kvlPrinters();
    const int i = printers.IndexOf(FPrintOptions->Printer);
    if (i >= 0)
        printers.SetPrinterIndex(i);
}

// ---- the report's lists in templates ------------------------------------------------------

namespace {
TkvlReportLists listsOf(TkvlReport *r)
{
    TkvlReportLists l;
    l.Datasets = r->DataSets();
    l.Variables = &r->Variables();
    l.Styles = &r->Styles();
    return l;
}
} // namespace

void TkvlReport::WriteNestedProperties(TkvlXMLItem *Item) { kvlWriteReportLists(this, listsOf(this), Item); }
bool TkvlReport::ReadNestedProperty(TkvlXMLItem *Item) { return kvlReadReportList(this, listsOf(this), Item); }
