#include "export/common/exportoutput.h"

#include "platform/rtl/replacingfile.h"
#include "platform/rtl/stream.h"
#include "platform/ui/services.h"
#include "platform/ui/shell.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"
#include "report/seams/kvlexportfilter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cstdio>
#include <cstdlib>

TkvlExportOutput::TkvlExportOutput() = default;

TkvlExportOutput::~TkvlExportOutput() { Discard(); }

bool TkvlExportOutput::Open(TStream *CallerStream, const QString &FileName)
{
    Discard();
    FError.clear();
    FFileName = FileName;
    if (CallerStream) {
        FStream = CallerStream;
        return true;
    }
    try {
        FFile = std::make_unique<TReplacingFile>(FileName);
        FStream = &FFile->Stream();
        return true;
    } catch (const std::exception &) {
        FError = QStringLiteral("Impossibile creare il file \"%1\".").arg(QDir::toNativeSeparators(FileName));
        return false;
    }
}

bool TkvlExportOutput::Commit()
{
    if (!FFile)
        return true;
    FStream = nullptr;
    try {
        FFile->Commit();
    } catch (const std::exception &) {
        FError = QStringLiteral("Impossibile scrivere il file \"%1\".").arg(QDir::toNativeSeparators(FFileName));
        FFile.reset();
        return false;
    }
    FFile.reset();
    return true;
}

void TkvlExportOutput::Discard()
{
    FStream = nullptr;
    FFile.reset();
}

QString kvlExportTarget(const QString &FileName, const QString &DefaultPath)
{
    if (FileName.isEmpty() || DefaultPath.isEmpty() || FileName.contains(QLatin1Char('/')))
        return FileName;
    QString dir = DefaultPath;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + FileName;
}

namespace {

// The folder of slave exports: private to this process (mode 0700, random name), made on
// first use and removed with its files when the program ends.
QString SlaveExportFolder()
{
    static QMutex lock;
    static QString dir;
    QMutexLocker guard(&lock);
    if (dir.isEmpty()) {
        QByteArray templ = QFile::encodeName(QDir::tempPath() + QStringLiteral("/kvexport-XXXXXX"));
        if (!::mkdtemp(templ.data()))
            return QString();
        dir = QFile::decodeName(templ) + QLatin1Char('/');
        if (QCoreApplication::instance())
            qAddPostRoutine([] { QDir(dir).removeRecursively(); });
    }
    return dir;
}

} // namespace

QString kvlSlaveExportFileName(const QString &ReportFileName, const QString &Extension)
{
    const QString folder = SlaveExportFolder();
    if (folder.isEmpty())
        return QString();
    if (!ReportFileName.isEmpty()) {
        QString base = QFileInfo(QString(ReportFileName).replace(QLatin1Char('\\'), QLatin1Char('/'))).completeBaseName();
        return folder + base + Extension;
    }
    try {
        auto f = TFileStream::CreateTemp(folder, QStringLiteral("kv"));
        const QString name = f->FileName();
        f.reset();
        QFile::remove(name);
        return name + Extension;
    } catch (const std::exception &) {
        return QString();
    }
}

QString kvlReportFileName(const TkvlReport *)
{
    // The report does not carry its template's file name yet.
    return QString();
}

QString kvlReportTempDir(const TkvlReport *Report)
{
    return Report ? Report->EngineOptions()->TempDir : QString();
}

bool kvlPrepareExportTarget(TkvlCustomExportFilter &Filter, const QString &Extension)
{
    if (Filter.SlaveExport && Filter.FileName.isEmpty())
        Filter.FileName = kvlSlaveExportFileName(kvlReportFileName(Filter.Report), Extension);
    if (Filter.FileName.isEmpty() && !Filter.Stream)
        return false;
    Filter.FileName = kvlExportTarget(Filter.FileName, Filter.DefaultPath);
    return true;
}

void kvlOpenExportedFile(const QString &FileName)
{
    ui::shell().OpenDocument(FileName);
}

void kvlCompleteExport(TkvlExportOutput &Output, TkvlReport *, bool OpenAfterExport, const QString &FileName)
{
    const bool isFile = Output.IsFile();
    if (!Output.Commit())
        throw EWriteError(Output.Error());
    if (OpenAfterExport && isFile)
        kvlOpenExportedFile(FileName);
}

bool kvlIsPageRangeChar(QChar c)
{
    return c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('-');
}

namespace {

struct DialogRegistry {
    QMutex lock;
    QHash<QString, TkvlExportDialogRunner> runners;
};

DialogRegistry &Dialogs()
{
    static DialogRegistry r;
    return r;
}

} // namespace

void kvlSetExportDialog(const QString &ClassName, TkvlExportDialogRunner Runner)
{
    QMutexLocker guard(&Dialogs().lock);
    Dialogs().runners.insert(ClassName, Runner);
}

int kvlRunExportDialog(TkvlCustomExportFilter &Filter)
{
    TkvlExportDialogRunner run = nullptr;
    {
        QMutexLocker guard(&Dialogs().lock);
        run = Dialogs().runners.value(Filter.ClassName());
    }
    if (run)
        return run(Filter);
    return Filter.FileName.isEmpty() && !Filter.SlaveExport ? mrCancel : mrOk;
}
