#pragma once
// What every export filter shares: where its output goes, how a file name is completed,
// the private folder of exports run on behalf of another component, and opening the result.
#include <QString>
#include <memory>

class TStream;
class TReplacingFile;
class TkvlCustomExportFilter;
class TkvlReport;

// The output of one export: a caller's stream, or a temporary file beside the target that
// replaces the target only when the export completes. A failed or abandoned export leaves
// the earlier file as it was and no temporary file behind.
class TkvlExportOutput {
public:
    TkvlExportOutput();
    ~TkvlExportOutput();  // discards an uncommitted file
    TkvlExportOutput(const TkvlExportOutput &) = delete;
    TkvlExportOutput &operator=(const TkvlExportOutput &) = delete;

    // The caller's stream when given (never freed here), else a new file for FileName. False,
    // with Error() naming the file, when the file cannot be made.
    bool Open(TStream *CallerStream, const QString &FileName);
    TStream *Stream() const { return FStream; }
    bool IsFile() const { return FFile != nullptr; }
    const QString &FileName() const { return FFileName; }
    const QString &Error() const { return FError; }
    // Closes the file and renames it over the target; false (target untouched, Error set)
    // when that fails. Nothing to do for a caller's stream.
    bool Commit();
    // Closes and deletes the temporary file.
    void Discard();

private:
    TStream *FStream = nullptr;
    std::unique_ptr<TReplacingFile> FFile;
    QString FFileName, FError;
};

// FileName as the filter will write it: a name without a folder goes into DefaultPath.
QString kvlExportTarget(const QString &FileName, const QString &DefaultPath);

// A file name for an export run on behalf of another component: in a folder of this process's
// own (made once with mkdtemp, removed at exit), named after the report file, or "kv" plus a
// unique number, with Extension (".csv").
QString kvlSlaveExportFileName(const QString &ReportFileName, const QString &Extension);

// The report's template file name; empty while the report has none.
QString kvlReportFileName(const TkvlReport *Report);
// The report's temporary folder (engine options), empty for the system's.
QString kvlReportTempDir(const TkvlReport *Report);

// Completes the filter's file name before Start: a slave export without a name gets a private
// one, and a bare name goes into DefaultPath. False when there is neither a name nor a stream.
bool kvlPrepareExportTarget(TkvlCustomExportFilter &Filter, const QString &Extension);

// Hands the written file to the desktop's program for its type.
void kvlOpenExportedFile(const QString &FileName);

// The last step of every filter's Finish: puts the written file in place and opens it when
// asked (never a caller's stream). EWriteError naming the file when it cannot be put in place,
// for the export driver to report like any other failure of the export.
void kvlCompleteExport(TkvlExportOutput &Output, TkvlReport *Report, bool OpenAfterExport, const QString &FileName);

// The page-range field takes digits, ',' and '-' only.
bool kvlIsPageRangeChar(QChar c);

// Options dialogs of the filters live in the widgets library, which registers one runner per
// filter class at start-up. Without one, an export that already has a file name goes on.
using TkvlExportDialogRunner = int (*)(TkvlCustomExportFilter &Filter);
void kvlSetExportDialog(const QString &ClassName, TkvlExportDialogRunner Runner);
// The filter's dialog's modal result (mrOk, mrCancel).
int kvlRunExportDialog(TkvlCustomExportFilter &Filter);
