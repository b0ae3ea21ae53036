#include "report/run/kvlfiletrust.h"

#include "platform/rtl/apppath.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"
#include "script/core/qsscript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {

bool under(const QString &Path, const QString &Folder)
{
    return !Folder.isEmpty() && Path.size() > Folder.size() && Path.startsWith(Folder) &&
           (Folder.endsWith(QLatin1Char('/')) || Path[Folder.size()] == QLatin1Char('/'));
}

QString canonicalFolder(const QString &Folder)
{
    return Folder.isEmpty() ? QString() : QDir(Folder).canonicalPath();
}

bool onUserInterfaceThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

QString kvlResolvedPath(const QString &FileName)
{
    QFileInfo info(QDir::cleanPath(QFileInfo(FileName).absoluteFilePath()));
    // A chain of links, followed as the system would (bounded as the system bounds it).
    for (int hops = 0; hops < 40 && info.isSymLink(); ++hops)
        info = QFileInfo(info.symLinkTarget());
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QDir(info.absolutePath()).canonicalPath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    if (folder == QLatin1String("/"))
        return folder + info.fileName();
    return folder + QLatin1Char('/') + info.fileName();
}

TkvlFileTrust::TkvlFileTrust(const TkvlReport *Report) : FReport(Report)
{
    Folders << rtl::AppPath() + QStringLiteral("LirraCal_Report");
    RefusedFiles << rtl::AppPath() + QStringLiteral("LirraCalConf.ini");
}

bool TkvlFileTrust::Allows(const QString &FileName, TqsFileAccess Access)
{
    // No name reaches no file: the opening fails with its own error.
    if (FileName.isEmpty())
        return true;
    const QString path = kvlResolvedPath(FileName);
    if (Refused(path))
        return false;
    if (Free(path))
        return true;
    auto known = FAnswers.constFind(path);
    if (known != FAnswers.cend())
        return *known;
    const bool yes = onUserInterfaceThread() && Ask(path, Access);
    FAnswers.insert(path, yes);
    return yes;
}

bool TkvlFileTrust::Free(const QString &Path) const
{
    if (under(Path, canonicalFolder(QDir::tempPath())))
        return true;
    for (const QString &f : Folders)
        if (under(Path, canonicalFolder(f)))
            return true;
    if (FReport->FileName.isEmpty())
        return false;
    // A template kept in the home folder (or above it) frees nothing: the user's own
    // settings files live there.
    const QString own = canonicalFolder(QFileInfo(FReport->FileName).absolutePath());
    const QString home = canonicalFolder(QDir::homePath());
    if (own.isEmpty() || own == home || under(home, own))
        return false;
    return under(Path, own);
}

bool TkvlFileTrust::Refused(const QString &Path) const
{
    const QString suffix = QFileInfo(Path).suffix();
    if (suffix.compare(QLatin1String("fdb"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("gdb"), Qt::CaseInsensitive) == 0)
        return true;
    for (const QString &f : RefusedFiles)
        if (!f.isEmpty() && kvlResolvedPath(f) == Path)
            return true;
    return false;
}

bool TkvlFileTrust::Ask(const QString &Path, TqsFileAccess Access) const
{
    QString name = FReport->FileName;
    if (name.isEmpty())
        name = FReport->Name();
    ui::MessageRequest r;
    r.caption = ui::AppCaption(QStringLiteral("Accesso ai file"));
    r.text = QStringLiteral("Il modello di stampa \"%1\" vuole %2 un file fuori dalla sua cartella:\n\n%3\n\n"
                            "Consentire l'accesso? Rispondere Sì solo se il modello viene da una fonte fidata.")
                 .arg(name, Access == TqsFileAccess::Read ? QStringLiteral("leggere") : QStringLiteral("scrivere"), Path);
    r.icon = ui::MsgIcon::Warning;
    r.buttons = ui::mbYes | ui::mbNo;
    r.defaultButton = ui::mbNo;
    return ui::messageBoxes().Show(r) == ui::mbYes;
}

void kvlGuardScriptFiles(TqsScript *Script, TkvlFileTrust *Trust)
{
    Script->OnFileAccess = [Trust](const QString &FileName, TqsFileAccess Access) { return Trust->Allows(FileName, Access); };
}
