#include "tests/print/cupsscheduler.h"

#include "platform/print/cups/cupsprintsystem.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>

#include <algorithm>
#include <iterator>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

int freeLoopbackPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

QString findProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                                 QStringLiteral("/sbin"), QStringLiteral("/bin")});
}

QString pdfDriverPpd()
{
    for (const char *p : {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd",
                          "/usr/share/ppd/cups-pdf/CUPS-PDF.ppd"})
        if (QFile::exists(QString::fromLatin1(p)))
            return QString::fromLatin1(p);
    return QString();
}

// A file printer whose filter passes PDF and raw documents through unchanged (a queue made
// raw writes nothing to a file device), with two papers and four input slots.
const char *const kPassThroughPpd = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PASS.PPD"
*Manufacturer: "Test"
*Product: "(Pass)"
*ModelName: "Pass-through file printer"
*ShortNickName: "Pass-through file printer"
*NickName: "Pass-through file printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 gziptoany"
*cupsFilter: "application/vnd.cups-raw 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "14 14 581 828"
*ImageableArea Letter/US Letter: "14 14 598 778"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"
*OpenUI *InputSlot/Media Source: PickOne
*OrderDependency: 20 AnySetup *InputSlot
*DefaultInputSlot: Lower
*InputSlot Upper/Cassetto superiore: ""
*InputSlot Lower/Cassetto inferiore: ""
*InputSlot Manual/Alimentazione manuale: ""
*InputSlot Vassoio9/Vassoio 9: ""
*CloseUI: *InputSlot
*OpenUI *Duplex/Fronte e retro: PickOne
*OrderDependency: 30 AnySetup *Duplex
*DefaultDuplex: None
*Duplex None/Solo fronte: ""
*Duplex DuplexNoTumble/Lato lungo: ""
*Duplex DuplexTumble/Lato corto: ""
*CloseUI: *Duplex
)PPD";

bool writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
}

// Gives the folder tree to the user filters and backends run as.
void handOver(const QString &path, uid_t uid, gid_t gid)
{
    const QByteArray p = QFile::encodeName(path);
    if (::chown(p.constData(), uid, gid) != 0)
        return;
    QDir d(path);
    for (const QFileInfo &fi : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (fi.isDir())
            handOver(fi.filePath(), uid, gid);
        else if (::chown(QFile::encodeName(fi.filePath()).constData(), uid, gid) != 0)
            return;
    }
}

} // namespace

CupsScheduler::CupsScheduler() = default;

CupsScheduler::~CupsScheduler() { stop(); }

QString CupsScheduler::server() const { return QStringLiteral("127.0.0.1:%1").arg(FPort); }
QString CupsScheduler::fileOutput() const { return FDir.filePath(QStringLiteral("out/received")); }

bool CupsScheduler::run(const QString &program, const QStringList &args, QString *out) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        return false;
    }
    const QString text = QString::fromLocal8Bit(p.readAll());
    if (out)
        *out = text;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool CupsScheduler::start()
{
    if (FRunning)
        return true;
    const QString cupsd = findProgram(QStringLiteral("cupsd"));
    const QString lpstat = findProgram(QStringLiteral("lpstat"));
    const QString lpadmin = findProgram(QStringLiteral("lpadmin"));
    const QString ppd = pdfDriverPpd();
    if (cupsd.isEmpty() || lpstat.isEmpty() || lpadmin.isEmpty() || ppd.isEmpty()) {
        FWhy = QStringLiteral("cupsd, lpstat, lpadmin or the cups-pdf driver is not installed");
        return false;
    }
    if (!FDir.isValid() || (FPort = freeLoopbackPort()) == 0) {
        FWhy = QStringLiteral("no temporary folder or free port");
        return false;
    }
    const QString root = FDir.path();
    for (const char *sub : {"spool/tmp", "cache", "state", "log", "out"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    // Filters and backends run as this user; as root the scheduler takes "lp".
    QString user, groupName;
    uid_t uid = ::getuid();
    gid_t gid = ::getgid();
    if (uid == 0) {
        if (const passwd *pw = ::getpwnam("lp")) {
            uid = pw->pw_uid;
            gid = pw->pw_gid;
        }
    }
    if (const passwd *pw = ::getpwuid(uid))
        user = QString::fromLocal8Bit(pw->pw_name);
    if (const struct group *gr = ::getgrgid(gid))
        groupName = QString::fromLocal8Bit(gr->gr_name);
    const QString conf = QStringLiteral(
                             "Listen 127.0.0.1:%1\n"
                             "LogLevel warn\n"
                             "Browsing No\n"
                             "BrowseLocalProtocols none\n"
                             "DefaultShared No\n"
                             "WebInterface No\n"
                             "PreserveJobFiles Yes\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
                             "</Policy>\n")
                             .arg(FPort);
    const QString files = QStringLiteral(
                              "ServerRoot %1\n"
                              "RequestRoot %1/spool\n"
                              "TempDir %1/spool/tmp\n"
                              "CacheDir %1/cache\n"
                              "StateDir %1/state\n"
                              "AccessLog %1/log/access_log\n"
                              "ErrorLog %1/log/error_log\n"
                              "PageLog %1/log/page_log\n"
                              "Printcap %1/printcap\n"
                              "ServerBin /usr/lib/cups\n"
                              "DataDir /usr/share/cups\n"
                              "FileDevice Yes\n"
                              "User %2\n"
                              "Group %3\n")
                              .arg(root, user, groupName);
    if (!writeFile(root + QStringLiteral("/cupsd.conf"), conf)
        || !writeFile(root + QStringLiteral("/cups-files.conf"), files)
        || !writeFile(root + QStringLiteral("/passthrough.ppd"), QString::fromLatin1(kPassThroughPpd))) {
        FWhy = QStringLiteral("cannot write the scheduler's configuration");
        return false;
    }
    QFile(fileOutput()).open(QIODevice::WriteOnly);
    QFile::setPermissions(root, QFile::permissions(root) | QFile::ExeGroup | QFile::ExeOther | QFile::ReadGroup
                                    | QFile::ReadOther);
    handOver(root, uid, gid);

    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess->start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                            QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    if (!FProcess->waitForStarted(5000)) {
        FWhy = QStringLiteral("cupsd did not start: ") + FProcess->errorString();
        FProcess.reset();
        return false;
    }
    const QString host = server();
    const QDeadlineTimer deadline(20000);
    bool answered = false;
    while (!deadline.hasExpired()) {
        if (FProcess->state() != QProcess::Running)
            break;
        QString out;
        if (run(lpstat, {QStringLiteral("-h"), host, QStringLiteral("-r")}, &out)
            && out.contains(QLatin1String("is running"))) {
            answered = true;
            break;
        }
        QThread::msleep(100);
    }
    if (!answered) {
        QFile log(root + QStringLiteral("/log/error_log"));
        log.open(QIODevice::ReadOnly);
        FWhy = QStringLiteral("cupsd did not answer: ") + QString::fromLocal8Bit(log.readAll().right(400));
        stop();
        return false;
    }
    const QStringList h{QStringLiteral("-h"), host};
    QString out;
    if (!run(lpadmin, h + QStringList{QStringLiteral("-p"), QString::fromLatin1(PdfQueue), QStringLiteral("-E"),
                                       QStringLiteral("-v"), QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), ppd},
             &out)
        || !run(lpadmin, h + QStringList{QStringLiteral("-p"), QString::fromLatin1(FileQueue), QStringLiteral("-E"),
                                          QStringLiteral("-v"), QStringLiteral("file://") + fileOutput(),
                                          QStringLiteral("-P"), root + QStringLiteral("/passthrough.ppd")},
                &out)
        || !run(lpadmin, h + QStringList{QStringLiteral("-d"), QString::fromLatin1(FileQueue)}, &out)) {
        FWhy = QStringLiteral("lpadmin failed: ") + out;
        stop();
        return false;
    }
    qputenv("CUPS_SERVER", host.toLatin1());
    FRunning = true;
    return true;
}

QByteArray CupsScheduler::waitForOutput(qsizetype minBytes, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray last;
    while (!deadline.hasExpired()) {
        QFile f(fileOutput());
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray data = f.readAll();
            if (data.size() >= minBytes && data == last)
                return data;
            last = data;
        }
        QThread::msleep(200);
    }
    return last;
}

QList<CupsScheduler::Job> CupsScheduler::jobs(int afterId) const
{
    QList<Job> out;
    http_t *http = httpConnect2("127.0.0.1", FPort, nullptr, AF_INET, HTTP_ENCRYPTION_IF_REQUESTED, 1, 10000, nullptr);
    if (!http)
        return out;
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOBS);
    const QByteArray uri = QStringLiteral("ipp://127.0.0.1:%1/printers/%2").arg(FPort).arg(QLatin1String(FileQueue)).toLatin1();
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char *const wanted[] = {"job-id", "job-name", "media", "media-source", "sides", "copies"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                  nullptr, wanted);
    ipp_t *response = cupsDoRequest(http, request, "/");
    Job job;
    auto flush = [&] {
        if (job.id > afterId) {
            QFile doc(FDir.filePath(QStringLiteral("spool/d%1-001").arg(job.id, 5, 10, QLatin1Char('0'))));
            if (doc.open(QIODevice::ReadOnly))
                job.document = doc.readAll();
            out.append(job);
        }
        job = Job();
    };
    for (ipp_attribute_t *a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char *name = ippGetName(a);
        if (!name) {  // the end of one job's group
            flush();
            continue;
        }
        const QByteArray n(name);
        auto text = [a] { return QString::fromUtf8(ippGetString(a, 0, nullptr)); };
        if (n == "job-id")
            job.id = ippGetInteger(a, 0);
        else if (n == "job-name")
            job.name = text();
        else if (n == "media")
            job.media = text();
        else if (n == "media-source")
            job.source = text();
        else if (n == "sides")
            job.sides = text();
        else if (n == "copies")
            job.copies = ippGetInteger(a, 0);
    }
    flush();
    ippDelete(response);
    httpClose(http);
    std::sort(out.begin(), out.end(), [](const Job &x, const Job &y) { return x.id < y.id; });
    return out;
}

void CupsScheduler::stop()
{
    FRunning = false;
    if (!FProcess)
        return;
    if (FProcess->state() != QProcess::NotRunning) {
        FProcess->terminate();  // SIGTERM to the scheduler's own process id
        if (!FProcess->waitForFinished(10000)) {
            FProcess->kill();
            FProcess->waitForFinished(5000);
        }
    }
    FProcess.reset();
}

CupsScheduler &cupsScheduler()
{
    static CupsScheduler scheduler;
    static const bool started = scheduler.start();
    (void)started;
    return scheduler;
}

namespace {

class SchedulerEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        cupsScheduler();
        print::installCupsPrintSystem();
    }
    void TearDown() override { cupsScheduler().stop(); }
};

[[maybe_unused]] ::testing::Environment *const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new SchedulerEnvironment);

} // namespace

} // namespace testsupport
