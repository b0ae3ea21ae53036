// The data module's report components.
#include "app/dm/dm.h"

#include "designer/core/settings.h"
#include "export/csv/csvexport.h"
#include "export/docx/docxexport.h"
#include "export/pdf/pdfexport.h"
#include "export/xlsx/xlsxexport.h"
#include "platform/gfx/tfont.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/run/kvlfiletrust.h"

namespace {

TkvlDBDataset *makeSource(TComponent *Owner, const char *Name, const char *UserName, TDataSet *DataSet,
                          std::initializer_list<const char *> Fields)
{
    auto *source = new TkvlDBDataset(Owner);
    source->SetName(QLatin1String(Name));
    source->SetUserName(QLatin1String(UserName));
    source->SetDataSet(DataSet);
    // Each visible field under its own name.
    for (const char *f : Fields)
        source->FieldAliases().Add(QLatin1String(f) + QLatin1Char('=') + QLatin1String(f));
    source->CloseDataSource = false;
    source->BCDToCurrency = false;
    return source;
}

} // namespace

void Tdm::CreateReportComponents()
{
    Components = std::make_unique<TComponent>(nullptr);
    Components->SetName(QStringLiteral("dm"));
    rtl::AddGlobalContainer(Components.get());

    // ARC stays out of the events' fields.
    fEVENTS = makeSource(Components.get(), "fEVENTS", "EVENTS", &EVENTS,
                         {"ID", "TITLE", "START_EVENT", "END_EVENT", "SEDE", "COLOR"});
    fSEDI = makeSource(Components.get(), "fSEDI", "SEDI", &SEDI, {"SEDE", "SEDECOLOR"});
    fTITOLI = makeSource(Components.get(), "fTITOLI", "TITOLI", &TITOLI, {"TITOLO"});

    kvlCSVExport1 = new TkvlCSVExport(Components.get());
    kvlCSVExport1->SetName(QStringLiteral("kvlCSVExport1"));
    kvlCSVExport1->UseFileCache = true;
    kvlCSVExport1->ShowProgress = true;
    kvlCSVExport1->OverwritePrompt = false;
    kvlCSVExport1->DataOnly = false;
    kvlCSVExport1->Separator = QStringLiteral(";");
    kvlCSVExport1->OEMCodepage = false;
    kvlCSVExport1->UTF8 = false;
    kvlCSVExport1->NoSysSymbols = true;
    kvlCSVExport1->ForcedQuotes = false;

    kvlPDFExport1 = new TkvlPDFExport(Components.get());
    kvlPDFExport1->SetName(QStringLiteral("kvlPDFExport1"));
    kvlPDFExport1->UseFileCache = true;
    kvlPDFExport1->ShowProgress = true;
    kvlPDFExport1->OverwritePrompt = false;
    kvlPDFExport1->DataOnly = false;
    kvlPDFExport1->PrintOptimized = false;
    kvlPDFExport1->Outline = false;
    kvlPDFExport1->Background = false;
    kvlPDFExport1->HTMLTags = true;
    kvlPDFExport1->Quality = 95;
    kvlPDFExport1->Transparency = false;
    kvlPDFExport1->Author = QStringLiteral("Korvelle");
    kvlPDFExport1->Subject = QStringLiteral("Korvelle PDF export");
    kvlPDFExport1->SetProtectionFlags(kvlPDFEncBit(ePrint) | kvlPDFEncBit(eModify) | kvlPDFEncBit(eCopy) | kvlPDFEncBit(eAnnot));
    kvlPDFExport1->HideToolbar = false;
    kvlPDFExport1->HideMenubar = false;
    kvlPDFExport1->HideWindowUI = false;
    kvlPDFExport1->FitWindow = false;
    kvlPDFExport1->CenterWindow = false;
    kvlPDFExport1->PrintScaling = false;
    kvlPDFExport1->PdfA = false;

    kvlXLSXExport1 = new TkvlXLSXExport(Components.get());
    kvlXLSXExport1->SetName(QStringLiteral("kvlXLSXExport1"));
    kvlXLSXExport1->UseFileCache = true;
    kvlXLSXExport1->ShowProgress = true;
    kvlXLSXExport1->OverwritePrompt = false;
    kvlXLSXExport1->DataOnly = false;
    kvlXLSXExport1->ChunkSize = 0;
    kvlXLSXExport1->PictureType = gpPNG;

    kvlDOCXExport1 = new TkvlDOCXExport(Components.get());
    kvlDOCXExport1->SetName(QStringLiteral("kvlDOCXExport1"));
    kvlDOCXExport1->UseFileCache = true;
    kvlDOCXExport1->ShowProgress = true;
    kvlDOCXExport1->OverwritePrompt = false;
    kvlDOCXExport1->DataOnly = false;
    kvlDOCXExport1->OpenAfterExport = false;
    kvlDOCXExport1->PictureType = gpPNG;

    fREP = new TkvlReport(Components.get());
    fREP->SetName(QStringLiteral("fREP"));
    fREP->SetDataSet(fEVENTS);
    fREP->IniFile = QStringLiteral("\\Software\\Korvelle Works");
    // Templates keep this when loaded: every road prepares first and then shows the preview.
    fREP->OldStyleProgress = true;
    TkvlPreviewOptions *preview = fREP->PreviewOptions();
    preview->Buttons = kvlBit(pbPrint) | kvlBit(pbLoad) | kvlBit(pbSave) | kvlBit(pbExport) | kvlBit(pbZoom) |
                       kvlBit(pbFind) | kvlBit(pbOutline) | kvlBit(pbPageSetup) | kvlBit(pbTools) | kvlBit(pbEdit) |
                       kvlBit(pbNavigator) | kvlBit(pbExportQuick);
    preview->PagesInCache = 30;
    preview->ThumbnailVisible = true;
    preview->Zoom = 1.0;
    preview->PictureCacheInFile = true;
    fREP->PrintOptions()->Printer = kvlResources().Get(QStringLiteral("prDefault"));
    fREP->PrintOptions()->PrintOnSheet = 0;
    fREP->ScriptLanguage = QStringLiteral("DozovoZozedi");
    fREP->ScriptText().SetText(QStringLiteral("begin\r\n\r\nend."));
    // A template's script never reaches the events database, wherever the settings put it.
    if (const TDatabaseConfig db = ReadDatabaseConfig(ConfigFile()); db.embedded)
        fREP->FileTrust().RefusedFiles << db.database;
    for (TkvlDBDataset *source : {fSEDI, fTITOLI, fEVENTS})
        fREP->DataSets()->Add(source);
    auto *data = new TkvlDataPage(fREP);
    data->SetName(QStringLiteral("Data"));
    data->SetWidth(1000);
    data->SetHeight(1000);
    auto *page = new TkvlReportPage(fREP);
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 10;

    kvlDesigner1 = new TkvlDesigner(Components.get());
    kvlDesigner1->SetName(QStringLiteral("kvlDesigner1"));
    kvlDesigner1->DefaultScriptLanguage = QStringLiteral("DozovoZozedi");
    kvlDesigner1->DefaultFont()->SetName(QStringLiteral("Arial"));
    kvlDesigner1->DefaultFont()->SetHeight(-13);
    kvlDesigner1->DefaultFont()->SetColor(clWindowText);
    kvlDesigner1->DefaultLeftMargin = kvlDesigner1->DefaultRightMargin = 10;
    kvlDesigner1->DefaultTopMargin = kvlDesigner1->DefaultBottomMargin = 10;
    kvlDesigner1->DefaultPaperSize = 9;
    kvlDesigner1->DefaultOrientation = poPortrait;
    kvlDesigner1->GradientStart = clWindow;
    kvlDesigner1->GradientEnd = 11982554;
    kvlDesigner1->TemplatesExt = QStringLiteral("kv3");
    kvlDesigner1->Restrictions = 0;
    kvlDesigner1->RTLLanguage = false;
    kvlDesigner1->MemoParentFont = false;
}
