#include "report/options/kvloptions.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvlregistry.h"
#include "report/resources/kvlresources.h"

LIRRA_DEFINE_CLASS(TkvlEngineOptions)
LIRRA_DEFINE_CLASS(TkvlPreviewOptions)
LIRRA_DEFINE_CLASS(TkvlPrintOptions)
LIRRA_DEFINE_CLASS(TkvlReportOptions)

namespace kvltypes {

const rtl::TypeInfo *SilentMode()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlSilentMode"), {"simMessageBoxes", "simSilent", "simReThrow"});
    return t;
}

const rtl::TypeInfo *PreviewButtons()
{
    static const rtl::TypeInfo *t = rtl::SetType(
        QStringLiteral("TkvlPreviewButtons"),
        rtl::EnumType(QStringLiteral("TkvlPreviewButton"),
                      {"pbPrint", "pbLoad", "pbSave", "pbExport", "pbZoom", "pbFind", "pbOutline", "pbPageSetup",
                       "pbTools", "pbEdit", "pbNavigator", "pbExportQuick", "pbNoClose", "pbNoFullScreen",
                       "pbNoEmail"}));
    return t;
}

const rtl::TypeInfo *ZoomMode()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlZoomMode"), {"zmDefault", "zmWholePage", "zmPageWidth", "zmManyPages"});
    return t;
}

const rtl::TypeInfo *PrintMode()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlPrintMode"), {"pmDefault", "pmSplit", "pmJoin", "pmScale"});
    return t;
}

const rtl::TypeInfo *PrintPages()
{
    static const rtl::TypeInfo *t = rtl::EnumType(QStringLiteral("TkvlPrintPages"), {"ppAll", "ppOdd", "ppEven"});
    return t;
}

const rtl::TypeInfo *DuplexMode()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlDuplexMode"), {"dmNone", "dmVertical", "dmHorizontal", "dmSimplex"});
    return t;
}

} // namespace kvltypes

// ---- engine options ---------------------------------------------------------------------

void TkvlEngineOptions::DeclareClass(rtl::ClassBuilder<TkvlEngineOptions> &b)
{
    using T = TkvlEngineOptions;
    b.prop<&T::ConvertNulls>("ConvertNulls").def(true);
    b.prop<&T::DoublePass>("DoublePass");
    b.prop<&T::MaxMemSize>("MaxMemSize").def(10);
    b.prop<&T::PrintIfEmpty>("PrintIfEmpty").def(true);
    b.prop<&T::SilentMode, &T::SetSilentMode>("SilentMode");
    b.prop<&T::NewSilentMode>("NewSilentMode", kvltypes::SilentMode());
    b.prop<&T::TempDir>("TempDir");
    b.prop<&T::UseFileCache>("UseFileCache");
    b.prop<&T::IgnoreDevByZero>("IgnoreDevByZero");
    b.prop<&T::DestroyForms>("DestroyForms").def(true).stored(false);
    b.prop<&T::EnableThreadSafe>("EnableThreadSafe").def(false).stored(false);
    b.prop<&T::UseGlobalDataSetList>("UseGlobalDataSetList").def(true).stored(false);
}

void TkvlEngineOptions::Clear()
{
    ConvertNulls = true;
    IgnoreDevByZero = false;
    DoublePass = false;
}

void TkvlEngineOptions::Assign(TPersistent *Source)
{
    const auto *s = rtl_cast<TkvlEngineOptions>(Source);
    if (!s)
        return;
    ConvertNulls = s->ConvertNulls;
    DoublePass = s->DoublePass;
    MaxMemSize = s->MaxMemSize;
    PrintIfEmpty = s->PrintIfEmpty;
    NewSilentMode = s->NewSilentMode;
    TempDir = s->TempDir;
    UseFileCache = s->UseFileCache;
    IgnoreDevByZero = s->IgnoreDevByZero;
}

// ---- preview options --------------------------------------------------------------------

void TkvlPreviewOptions::DeclareClass(rtl::ClassBuilder<TkvlPreviewOptions> &b)
{
    using T = TkvlPreviewOptions;
    b.prop<&T::AllowEdit>("AllowEdit").def(true);
    b.prop<&T::Buttons>("Buttons", kvltypes::PreviewButtons());
    b.prop<&T::DoubleBuffered>("DoubleBuffered").def(true);
    b.prop<&T::Maximized>("Maximized").def(true);
    b.prop<&T::MDIChild>("MDIChild");
    b.prop<&T::Modal>("Modal").def(true);
    b.prop<&T::OutlineExpand>("OutlineExpand").def(true);
    b.prop<&T::OutlineVisible>("OutlineVisible");
    b.prop<&T::OutlineWidth>("OutlineWidth").def(120);
    b.prop<&T::PagesInCache>("PagesInCache").def(50);
    b.prop<&T::ThumbnailVisible>("ThumbnailVisible");
    b.prop<&T::ShowCaptions>("ShowCaptions");
    b.prop<&T::Zoom>("Zoom").stored<&T::IsZoomStored>();
    b.prop<&T::ZoomMode>("ZoomMode", kvltypes::ZoomMode());
    b.prop<&T::PictureCacheInFile>("PictureCacheInFile");
    b.prop<&T::RTLPreview>("RTLPreview").def(false).stored(false);
}

void TkvlPreviewOptions::Clear()
{
    OutlineExpand = true;
    OutlineVisible = false;
    OutlineWidth = 120;
    PagesInCache = 50;
    ThumbnailVisible = false;
}

void TkvlPreviewOptions::Assign(TPersistent *Source)
{
    const auto *s = rtl_cast<TkvlPreviewOptions>(Source);
    if (!s)
        return;
    AllowEdit = s->AllowEdit;
    Buttons = s->Buttons;
    DoubleBuffered = s->DoubleBuffered;
    Maximized = s->Maximized;
    MDIChild = s->MDIChild;
    Modal = s->Modal;
    OutlineExpand = s->OutlineExpand;
    OutlineVisible = s->OutlineVisible;
    OutlineWidth = s->OutlineWidth;
    PagesInCache = s->PagesInCache;
    ThumbnailVisible = s->ThumbnailVisible;
    ShowCaptions = s->ShowCaptions;
    Zoom = s->Zoom;
    ZoomMode = s->ZoomMode;
    PictureCacheInFile = s->PictureCacheInFile;
    RTLPreview = s->RTLPreview;
}

// ---- print options ----------------------------------------------------------------------

void TkvlPrintOptions::DeclareClass(rtl::ClassBuilder<TkvlPrintOptions> &b)
{
    using T = TkvlPrintOptions;
    b.prop<&T::Copies>("Copies").def(1);
    b.prop<&T::Collate>("Collate").def(true);
    b.prop<&T::PageNumbers>("PageNumbers");
    b.prop<&T::Printer>("Printer");
    b.prop<&T::PrintMode>("PrintMode", kvltypes::PrintMode());
    b.prop<&T::PrintOnSheet>("PrintOnSheet");
    b.prop<&T::PrintPages>("PrintPages", kvltypes::PrintPages());
    b.prop<&T::Reverse>("Reverse");
    b.prop<&T::ShowDialog>("ShowDialog").def(true);
    b.prop<&T::SwapPageSize>("SwapPageSize").def(false).stored(false);
    b.prop<&T::PagesOnSheet>("PagesOnSheet").def(0).stored(false);
    b.prop<&T::PrnOutFileName>("PrnOutFileName").stored(false);
    b.prop<&T::Duplex>("Duplex", kvltypes::DuplexMode()).def(dmNone).stored(false);
    b.prop<&T::SplicingLine>("SplicingLine").def(3).stored(false);
}

TkvlPrintOptions::TkvlPrintOptions() : Printer(kvlResources().Get(QStringLiteral("prDefault"))) {}

void TkvlPrintOptions::Clear()
{
    Copies = 1;
    Collate = true;
    PageNumbers.clear();
    Printer = kvlResources().Get(QStringLiteral("prDefault"));
    PrintMode = pmDefault;
    PrintOnSheet = 0;
    PrintPages = ppAll;
    Reverse = false;
    ShowDialog = true;
    PagesOnSheet = 0;
    Duplex = dmNone;
    SplicingLine = 3;
}

void TkvlPrintOptions::Assign(TPersistent *Source)
{
    const auto *s = rtl_cast<TkvlPrintOptions>(Source);
    if (!s)
        return;
    Copies = s->Copies;
    Collate = s->Collate;
    PageNumbers = s->PageNumbers;
    Printer = s->Printer;
    PrintMode = s->PrintMode;
    PrintOnSheet = s->PrintOnSheet;
    PrintPages = s->PrintPages;
    Reverse = s->Reverse;
    ShowDialog = s->ShowDialog;
    SplicingLine = s->SplicingLine;
}

// ---- report options ---------------------------------------------------------------------

void TkvlReportOptions::DeclareClass(rtl::ClassBuilder<TkvlReportOptions> &b)
{
    using T = TkvlReportOptions;
    b.prop<&T::Author>("Author");
    b.prop<&T::Compressed>("Compressed");
    b.prop<&T::ConnectionName, &T::SetConnectionName>("ConnectionName");
    b.prop<&T::CreateDate>("CreateDate", rtl::types::TDateTime());
    b.prop<[](T &o) -> TStringList & { return o.Description(); }>("Description", rtl::types::TStrings());
    b.prop<&T::InitString>("InitString");
    b.prop<&T::Name>("Name");
    b.prop<&T::LastChange>("LastChange", rtl::types::TDateTime());
    b.prop<&T::Password>("Password");
    b.prop<&T::Picture>("Picture");
    b.prop<&T::VersionBuild>("VersionBuild");
    b.prop<&T::VersionMajor>("VersionMajor");
    b.prop<&T::VersionMinor>("VersionMinor");
    b.prop<&T::VersionRelease>("VersionRelease");
}

TkvlReportOptions::TkvlReportOptions(TkvlReport *AReport) : FReport(AReport), FPicture(std::make_unique<TPicture>())
{
    CreateDate = rtl::Now();
    LastChange = CreateDate;
}

void TkvlReportOptions::SetConnectionName(const QString &Value)
{
    FConnectionName = Value;
    if (Value.isEmpty() || !FReport || !FReport->OnSetConnection)
        return;
    const QString key = QString::fromLatin1(kvlConnectionsKey);
    const QString keys[] = {key, key, key + QStringLiteral("RUD"), key + QStringLiteral("RUD")};
    const TkvlRegistryRoot roots[] = {TkvlRegistryRoot::LocalMachine, TkvlRegistryRoot::CurrentUser,
                                      TkvlRegistryRoot::LocalMachine, TkvlRegistryRoot::CurrentUser};
    for (int i = 0; i < 4; ++i) {
        const QString conn = kvlReadRegistryString(roots[i], keys[i], Value);
        if (!conn.isEmpty() && FReport->OnSetConnection)
            FReport->OnSetConnection(conn);
    }
}

void TkvlReportOptions::Clear()
{
    if (!Info) {
        Author.clear();
        Compressed = false;
        CreateDate = rtl::Now();
        FDescription.Clear();
        LastChange = rtl::Now();
        FPicture->Clear();
        VersionBuild.clear();
        VersionMajor.clear();
        VersionMinor.clear();
        VersionRelease.clear();
    }
    FConnectionName.clear();
    InitString.clear();
    Name.clear();
    Password.clear();
    PrevPassword.clear();
}

void TkvlReportOptions::Assign(TPersistent *Source)
{
    const auto *s = rtl_cast<TkvlReportOptions>(Source);
    if (!s || s == this)
        return;
    Author = s->Author;
    Compressed = s->Compressed;
    FConnectionName = s->FConnectionName;
    CreateDate = s->CreateDate;
    FDescription.Assign(s->FDescription);
    InitString = s->InitString;
    Name = s->Name;
    LastChange = s->LastChange;
    Password = s->Password;
    FPicture->Assign(s->FPicture.get());
    VersionBuild = s->VersionBuild;
    VersionMajor = s->VersionMajor;
    VersionMinor = s->VersionMinor;
    VersionRelease = s->VersionRelease;
}
