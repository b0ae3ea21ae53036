// The data module's report components.
#include "app/dm/dm.h"

#include "export/csv/csvexport.h"
#include "export/xlsx/xlsxexport.h"
#include "report/data/kvldbdataset.h"

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

    kvlXLSXExport1 = new TkvlXLSXExport(Components.get());
    kvlXLSXExport1->SetName(QStringLiteral("kvlXLSXExport1"));
    kvlXLSXExport1->UseFileCache = true;
    kvlXLSXExport1->ShowProgress = true;
    kvlXLSXExport1->OverwritePrompt = false;
    kvlXLSXExport1->DataOnly = false;
    kvlXLSXExport1->ChunkSize = 0;
    kvlXLSXExport1->PictureType = gpPNG;
}
