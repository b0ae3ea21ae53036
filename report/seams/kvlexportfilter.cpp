#include "report/seams/kvlexportfilter.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/registry/kvlregistries.h"

#include <utility>

LIRRA_DEFINE_CLASS(TkvlCustomExportFilter)

void TkvlCustomExportFilter::DeclareClass(rtl::ClassBuilder<TkvlCustomExportFilter> &b)
{
    using T = TkvlCustomExportFilter;
    b.prop<&T::ShowDialog>("ShowDialog").def(true);
    b.prop<&T::FileName>("FileName");
    b.prop<&T::ExportNotPrintable>("ExportNotPrintable").def(false);
    b.prop<&T::UseFileCache>("UseFileCache");
    b.prop<&T::DefaultPath>("DefaultPath");
    b.prop<&T::ShowProgress>("ShowProgress");
    b.prop<&T::OverwritePrompt>("OverwritePrompt");
    b.prop<&T::CreationTime>("CreationTime", rtl::types::TDateTime());
    b.prop<&T::DataOnly>("DataOnly");
    b.method("OnBeforeExport", rtl::types::TNotifyEvent());
    b.method("OnBeginExport", rtl::types::TNotifyEvent());
    b.description([] { return QString(); });
}

bool &TkvlCustomExportFilter::NoRegisterNext()
{
    thread_local bool next = false;
    return next;
}

TkvlCustomExportFilter::TkvlCustomExportFilter(TComponent *AOwner)
    : TComponent(AOwner), FNoRegister(std::exchange(NoRegisterNext(), false))
{
    if (!FNoRegister)
        kvlExportFilters().Register(this);
}

TkvlCustomExportFilter::~TkvlCustomExportFilter()
{
    if (!FNoRegister)
        if (TkvlExportFilterCollection *filters = kvlExportFiltersIfCreated())
            filters->Unregister(this);
}

TStringList &TkvlCustomExportFilter::Files()
{
    if (!FFiles)
        FFiles = std::make_unique<TStringList>();
    return *FFiles;
}
