#pragma once
// The four option records of a report: how a run behaves, how the preview looks, what
// printing does, and the template's descriptive data. Their stored published properties
// are written into the template as "EngineOptions.ConvertNulls" and so on.
#include "platform/gfx/picture.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/reflect/persistent.h"
#include "platform/rtl/stringlist.h"
#include "report/utils/silentmode.h"

#include <QString>
#include <cstdint>
#include <memory>

class QThread;
class TkvlReport;

enum TkvlPreviewButton : uint8_t {
    pbPrint,
    pbLoad,
    pbSave,
    pbExport,
    pbZoom,
    pbFind,
    pbOutline,
    pbPageSetup,
    pbTools,
    pbEdit,
    pbNavigator,
    pbExportQuick,
    pbNoClose,
    pbNoFullScreen,
    pbNoEmail,
};
// Set of TkvlPreviewButton: bit 1 << button.
using TkvlPreviewButtons = uint32_t;
constexpr TkvlPreviewButtons kvlBit(TkvlPreviewButton b) { return TkvlPreviewButtons(1u << b); }
// pbPrint .. pbExportQuick.
constexpr TkvlPreviewButtons kvlDefaultPreviewButtons = 4095;

enum TkvlZoomMode : uint8_t { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
enum TkvlPrintMode : uint8_t { pmDefault, pmSplit, pmJoin, pmScale };
enum TkvlPrintPages : uint8_t { ppAll, ppOdd, ppEven };
enum TkvlDuplexMode : uint8_t { dmNone, dmVertical, dmHorizontal, dmSimplex };

// Published enumeration types of the option records.
namespace kvltypes {
const rtl::TypeInfo *SilentMode();      // TkvlSilentMode
const rtl::TypeInfo *PreviewButtons();  // TkvlPreviewButtons
const rtl::TypeInfo *ZoomMode();        // TkvlZoomMode
const rtl::TypeInfo *PrintMode();       // TkvlPrintMode
const rtl::TypeInfo *PrintPages();      // TkvlPrintPages
const rtl::TypeInfo *DuplexMode();      // TkvlDuplexMode
} // namespace kvltypes

// How a run behaves.
class TkvlEngineOptions : public TPersistent {
    LIRRA_CLASS(TkvlEngineOptions, TPersistent)
public:
    TkvlEngineOptions() = default;

    bool ConvertNulls = true;     // null field values become 0, empty text or False
    bool DoublePass = false;
    int32_t MaxMemSize = 10;
    bool PrintIfEmpty = true;
    TkvlSilentMode NewSilentMode = simMessageBoxes;
    QString TempDir;
    bool UseFileCache = false;
    bool IgnoreDevByZero = false;
    bool DestroyForms = true;       // snapshot before a run, restored after
    bool EnableThreadSafe = false;  // no progress windows, no message processing, no prompts
    bool UseGlobalDataSetList = true;
    QThread *ReportThread = nullptr;  // held only

    // A view of NewSilentMode: True is simSilent; setting False gives simMessageBoxes.
    bool SilentMode() const { return NewSilentMode == simSilent; }
    void SetSilentMode(bool Value) { NewSilentMode = Value ? simSilent : simMessageBoxes; }

    void Clear();
    // Copies the stored settings from another engine-options record; other objects are ignored.
    void Assign(TPersistent *Source) override;
};

// How the preview window looks and acts.
class TkvlPreviewOptions : public TPersistent {
    LIRRA_CLASS(TkvlPreviewOptions, TPersistent)
public:
    TkvlPreviewOptions() = default;

    bool AllowEdit = true;
    TkvlPreviewButtons Buttons = kvlDefaultPreviewButtons;
    bool DoubleBuffered = true;
    bool Maximized = true;
    bool MDIChild = false;
    bool Modal = true;
    bool OutlineExpand = true;
    bool OutlineVisible = false;
    int32_t OutlineWidth = 120;
    int32_t PagesInCache = 50;
    bool ThumbnailVisible = false;
    bool ShowCaptions = false;
    double Zoom = 1.0;
    TkvlZoomMode ZoomMode = zmDefault;
    bool PictureCacheInFile = false;
    bool RTLPreview = false;

    bool IsZoomStored() const { return Zoom != 0; }

    void Clear();
    void Assign(TPersistent *Source) override;
};

// What printing does.
class TkvlPrintOptions : public TPersistent {
    LIRRA_CLASS(TkvlPrintOptions, TPersistent)
public:
    TkvlPrintOptions();

    int32_t Copies = 1;
    bool Collate = true;
    QString PageNumbers;
    QString Printer;  // the string table's "prDefault" text
    TkvlPrintMode PrintMode = pmDefault;
    int32_t PrintOnSheet = 0;
    TkvlPrintPages PrintPages = ppAll;
    bool Reverse = false;
    bool ShowDialog = true;
    bool SwapPageSize = false;
    int32_t PagesOnSheet = 0;
    QString PrnOutFileName;
    TkvlDuplexMode Duplex = dmNone;
    int32_t SplicingLine = 3;

    // Every default except SwapPageSize and PrnOutFileName, which stay.
    void Clear();
    void Assign(TPersistent *Source) override;
};

// The template's descriptive data, its password and its named connection.
class TkvlReportOptions : public TPersistent {
    LIRRA_CLASS(TkvlReportOptions, TPersistent)
public:
    // Without a report the connection name is only stored.
    explicit TkvlReportOptions(TkvlReport *AReport = nullptr);

    TkvlReport *Report() const { return FReport; }

    QString Author;
    bool Compressed = false;
    rtl::TDateTime CreateDate = 0;
    QString InitString;
    QString Name;
    rtl::TDateTime LastChange = 0;
    QString Password;
    QString VersionBuild, VersionMajor, VersionMinor, VersionRelease;
    TStringList &Description() { return FDescription; }
    const TStringList &Description() const { return FDescription; }
    // Owned; never nullptr.
    TPicture *Picture() const { return FPicture.get(); }

    const QString &ConnectionName() const { return FConnectionName; }
    // Stores the name; a non-empty name is then looked up among the named connections and
    // each connection string found is handed to the report's OnSetConnection.
    void SetConnectionName(const QString &Value);

    QString PrevPassword;    // the password already accepted
    QString HiddenPassword;  // supplied by the host so that no prompt is shown
    bool Info = false;       // information only: loading keeps just the descriptive data

    // Unless Info: the descriptive data is emptied and the dates become now. Always:
    // connection name, init string, name and passwords are emptied.
    void Clear();
    // Every stored property; the connection name without the lookup.
    void Assign(TPersistent *Source) override;

private:
    TkvlReport *FReport;
    QString FConnectionName;
    TStringList FDescription;
    std::unique_ptr<TPicture> FPicture;
};

// Key of the named connections (local machine first, then current user, then the same two
// with "RUD" appended).
inline constexpr const char *kvlConnectionsKey = "\\Software\\Korvelle Works\\Connections";
