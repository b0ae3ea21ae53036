#include "platform/print/cups/cupsprintsystem.h"

#include "platform/print/cups/duplex_p.h"
#include "platform/print/printdevice.h"
#include "platform/print/printerdialog.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cups/cups.h>

#include <cmath>
#include <algorithm>
#include <utility>
#include <vector>

namespace print {

namespace {

constexpr double kMmPerInch = 25.4;

int windowsNumber(const QPageSize &size)
{
    const int id = size.windowsId();
    return id > 0 ? id : kCustomPaper;  // Qt answers 0 or 256 for sizes without a number
}

// Reads the input slots of a queue through the scheduler: known kinds numbered as usual,
// others from 256 upward in the driver's order. The default slot's number goes to defBin.
QList<NumberedName> readBins(const QString &queue, int &defBin, QStringList &keywords)
{
    QList<NumberedName> bins;
    defBin = kAutoBin;
    keywords.clear();
    const QByteArray name = queue.toLocal8Bit();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return bins;
    if (cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        int next = kFirstOtherBin;
        if (ipp_attribute_t *a = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "media-source")) {
            const int count = ippGetCount(a);
            for (int i = 0; i < count; ++i) {
                const char *kw = ippGetString(a, i, nullptr);
                if (!kw)
                    continue;
                const QString keyword = QString::fromUtf8(kw);
                int number = knownBinNumber(keyword);
                if (number == kAutoBin)
                    continue;  // the automatic bin is always listed first by the caller
                if (number == 0)
                    number = next++;
                const char *text = cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info, "media-source", kw);
                bins.append({number, QString::fromUtf8(text ? text : kw)});
                keywords.append(keyword);
            }
        }
        if (ipp_attribute_t *d = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-source")) {
            const QString kw = QString::fromUtf8(ippGetString(d, 0, nullptr));
            const qsizetype at = keywords.indexOf(kw);
            if (at >= 0)
                defBin = bins[at].number;
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return bins;
}

bool destSaysLandscape(const QString &queue)
{
    const QByteArray name = queue.toLocal8Bit();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return false;
    const char *v = cupsGetOption("orientation-requested", dest->num_options, dest->options);
    const bool landscape = v && (qstrcmp(v, "4") == 0 || qstrcmp(v, "5") == 0);
    cupsFreeDests(1, dest);
    return landscape;
}

} // namespace

// One CUPS queue.
class CupsPrinter final : public Printer {
public:
    explicit CupsPrinter(const QString &name);
    ~CupsPrinter() override;

    const QString &name() const override;
    bool open() override;
    bool isOpen() const override;
    const QList<NumberedName> &papers() const override;
    const QList<NumberedName> &bins() const override;
    const PageSetup &defaults() const override;
    std::optional<PageMetrics> metrics(const PageSetup &setup) const override;
    bool beginDoc(const QString &title, const QString &fileName, const PageSetup &setup) override;
    void setPageSetup(const PageSetup &setup) override;
    bool beginPage() override;
    QPainter *painter() const override;
    bool endPage() override;
    bool endDoc() override;
    void abort() override;
    bool printing() const override;
    QString lastError() const override;
    bool beginRawDoc(const QString &title) override;
    bool writeRawDoc(const QByteArray &data) override;
    bool endRawDoc() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

struct CupsPrinter::Private {
    QString name;
    QPrinterInfo info;
    bool open = false;
    QList<NumberedName> papers;
    QList<QPageSize> paperSizes;  // parallel to papers
    QList<NumberedName> bins;
    QStringList binKeywords;  // parallel to bins
    PageSetup defaults;
    std::unique_ptr<QPrinter> device;  // the information context

    // Job state. The queue takes media, bin and sides per job, so a document whose pages
    // change them goes out as one job per run of pages that share them.
    struct Part {
        std::unique_ptr<QTemporaryFile> spool;
        PageSetup setup;
    };
    std::unique_ptr<QPrinter> job;
    QPainter painter;
    std::unique_ptr<QTemporaryFile> spool;  // of the part being drawn
    std::vector<Part> parts;                // drawn before it
    QString title, fileName, error;
    PageSetup jobSetup;   // of the part being drawn: its first page's
    PageSetup nextSetup;  // for the next page
    bool pageOpen = false;
    int pagesStarted = 0;  // of the part being drawn
    int rawJob = 0;

    QPageSize pageSize(const PageSetup &s) const
    {
        if (s.paper != kCustomPaper)
            for (qsizetype i = 0; i < papers.size(); ++i)
                if (papers[i].number == s.paper)
                    return paperSizes[i];
        return QPageSize(QSizeF(s.widthMm, s.heightMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    }

    // Page layout of a setup with the device's unprintable border as margins.
    QPageLayout layoutFor(QPrinter &p, const PageSetup &s) const
    {
        p.setPageSize(pageSize(s));
        p.setPageOrientation(s.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        QPageLayout l = p.pageLayout();
        const QPageSize wanted = pageSize(s);
        if (!l.pageSize().isEquivalentTo(wanted))  // the device refused it: the caller's size holds
            l = QPageLayout(wanted, l.orientation(), QMarginsF(), QPageLayout::Millimeter);
        l.setMargins(l.minimumMargins());
        return l;
    }

    void failJob(const QString &why)
    {
        error = why;
        if (painter.isActive())
            painter.end();
        job.reset();
        spool.reset();
        parts.clear();
        pageOpen = false;
    }

    // A PDF device for the pages of one part, written to the part's spool file (or to the
    // user's file).
    bool startPart(const PageSetup &setup)
    {
        QString target = fileName;
        if (target.isEmpty()) {
            spool = std::make_unique<QTemporaryFile>();
            if (!spool->open()) {
                failJob(QStringLiteral("Cannot create the spool file"));
                return false;
            }
            target = spool->fileName();
            spool->close();
        }
        job = std::make_unique<QPrinter>(QPrinter::HighResolution);
        job->setOutputFormat(QPrinter::PdfFormat);
        job->setResolution(device->resolution());
        job->setDocName(title);
        job->setCreator(QStringLiteral("LirraCal"));
        job->setOutputFileName(target);
        job->setPageLayout(layoutFor(*device, setup));
        jobSetup = setup;
        pagesStarted = 0;
        return true;
    }

    // What the queue takes per job: media, bin and sides (copies are the same throughout).
    struct JobOptions {
        QByteArray media, source, sides;
        bool operator==(const JobOptions &) const = default;
    };

    JobOptions jobOptions(const PageSetup &s) const
    {
        JobOptions o;
        const QPageSize size = pageSize(s);
        const QSizeF mm = size.size(QPageSize::Millimeter);
        o.media = s.paper == kCustomPaper || size.key().isEmpty()
            ? QStringLiteral("Custom.%1x%2mm").arg(mm.width(), 0, 'f', 1).arg(mm.height(), 0, 'f', 1).toLatin1()
            : size.key().toLatin1();
        for (qsizetype i = 0; i < bins.size(); ++i)
            if (bins[i].number == s.bin)
                o.source = binKeywords[i].toLatin1();
        o.sides = s.duplex == DuplexVertical ? "two-sided-long-edge"
            : s.duplex == DuplexHorizontal   ? "two-sided-short-edge"
                                             : "one-sided";
        return o;
    }

    // Sends one part's document; the job id, or 0 with the error kept.
    int submit(const Part &part, int copies)
    {
        const JobOptions o = jobOptions(part.setup);
        cups_option_t *options = nullptr;
        int n = cupsAddOption("media", o.media.constData(), 0, &options);
        if (!o.source.isEmpty())
            n = cupsAddOption("media-source", o.source.constData(), n, &options);
        n = cupsAddOption("sides", o.sides.constData(), n, &options);
        if (copies > 1)
            n = cupsAddOption("copies", QByteArray::number(copies).constData(), n, &options);
        const QByteArray queue = name.toLocal8Bit();
        const QByteArray file = QFile::encodeName(part.spool->fileName());
        const QByteArray t = (title.isEmpty() ? part.spool->fileName() : title).toUtf8();
        const int id = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), file.constData(), t.constData(), n, options);
        cupsFreeOptions(n, options);
        if (id <= 0)
            error = QString::fromUtf8(cupsLastErrorString());
        return id > 0 ? id : 0;
    }
};

CupsPrinter::CupsPrinter(const QString &name) : d(std::make_unique<Private>()) { d->name = name; }

CupsPrinter::~CupsPrinter()
{
    if (printing())
        abort();
    if (d->rawJob)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, d->name.toLocal8Bit().constData(), d->rawJob, 0);
}

const QString &CupsPrinter::name() const { return d->name; }
bool CupsPrinter::isOpen() const { return d->open; }
const QList<NumberedName> &CupsPrinter::papers() const { return d->papers; }
const QList<NumberedName> &CupsPrinter::bins() const { return d->bins; }
const PageSetup &CupsPrinter::defaults() const { return d->defaults; }
bool CupsPrinter::printing() const { return d->job != nullptr; }
QString CupsPrinter::lastError() const { return d->error; }
QPainter *CupsPrinter::painter() const { return d->painter.isActive() ? &d->painter : nullptr; }

bool CupsPrinter::open()
{
    if (d->open)
        return true;
    d->info = QPrinterInfo::printerInfo(d->name);
    if (d->info.isNull())
        return false;
    d->device = std::make_unique<QPrinter>(d->info, QPrinter::HighResolution);
    d->papers.clear();
    d->paperSizes.clear();
    for (const QPageSize &size : d->info.supportedPageSizes()) {
        const int number = windowsNumber(size);
        if (number == kCustomPaper)
            continue;
        d->papers.append({number, size.name()});
        d->paperSizes.append(size);
    }
    PageSetup &def = d->defaults;
    QPageSize size = d->info.defaultPageSize();
    if (!size.isValid())
        size = d->device->pageLayout().pageSize();
    def.paper = windowsNumber(size);
    const QSizeF mm = size.size(QPageSize::Millimeter);
    def.widthMm = mm.width();
    def.heightMm = mm.height();
    def.landscape = destSaysLandscape(d->name);
    def.duplex = duplexValue(d->info.defaultDuplexMode());
    d->bins = readBins(d->name, def.bin, d->binKeywords);
    d->open = true;
    return true;
}

std::optional<PageMetrics> CupsPrinter::metrics(const PageSetup &setup) const
{
    if (!d->open)
        return std::nullopt;
    QPrinter &p = *d->device;
    const int dpi = p.resolution();
    if (dpi <= 0)
        return std::nullopt;
    const QPageLayout l = d->layoutFor(p, setup);
    const QRectF full = l.fullRect(QPageLayout::Millimeter);
    const QRectF inner = l.paintRect(QPageLayout::Millimeter);
    auto px = [dpi](double mm) { return int(std::lround(mm / kMmPerInch * dpi)); };
    PageMetrics m;
    m.dpiX = m.dpiY = dpi;
    m.paperWidth = px(full.width());
    m.paperHeight = px(full.height());
    m.printableWidth = px(inner.width());
    m.printableHeight = px(inner.height());
    m.offsetX = px(inner.left());
    m.offsetY = px(inner.top());
    return m;
}

bool CupsPrinter::beginDoc(const QString &title, const QString &fileName, const PageSetup &setup)
{
    if (!d->open || printing()) {
        d->error = QStringLiteral("The printer is not ready");
        return false;
    }
    d->error.clear();
    d->title = title;
    d->fileName = fileName;
    d->parts.clear();
    d->nextSetup = setup;
    d->pageOpen = false;
    return d->startPart(setup);
}

void CupsPrinter::setPageSetup(const PageSetup &setup)
{
    if (!printing())
        return;
    d->nextSetup = setup;
    if (d->pagesStarted == 0)
        d->jobSetup = setup;
    d->job->setPageLayout(d->layoutFor(*d->device, setup));
}

bool CupsPrinter::beginPage()
{
    if (!printing() || d->pageOpen)
        return false;
    // A page that needs other job options starts the next part (a file takes every page).
    if (d->pagesStarted > 0 && d->fileName.isEmpty() && d->jobOptions(d->nextSetup) != d->jobOptions(d->jobSetup)) {
        d->painter.end();
        d->parts.push_back({std::move(d->spool), d->jobSetup});
        if (!d->startPart(d->nextSetup))
            return false;
    }
    if (d->pagesStarted == 0) {
        if (!d->painter.begin(d->job.get())) {
            d->failJob(QStringLiteral("Cannot write the print document"));
            return false;
        }
    } else if (!d->job->newPage()) {
        d->failJob(QStringLiteral("Cannot start a new page"));
        return false;
    }
    ++d->pagesStarted;
    d->pageOpen = true;
    return true;
}

bool CupsPrinter::endPage()
{
    if (!d->pageOpen)
        return false;
    d->pageOpen = false;
    return true;
}

bool CupsPrinter::endDoc()
{
    if (!printing())
        return false;
    if (d->pagesStarted == 0 && d->parts.empty())  // an empty document still has one blank page
        beginPage();
    if (d->painter.isActive())
        d->painter.end();
    d->job.reset();
    d->pageOpen = false;
    if (!d->fileName.isEmpty())
        return true;
    if (d->pagesStarted > 0)
        d->parts.push_back({std::move(d->spool), d->jobSetup});
    std::vector<Private::Part> parts = std::move(d->parts);
    d->parts.clear();
    // Several jobs make the copies as whole documents in turn, so they stay collated.
    const int copies = std::max(1, parts.empty() ? 1 : parts.front().setup.copies);
    const int rounds = parts.size() > 1 ? copies : 1;
    for (int round = 0; round < rounds; ++round)
        for (const Private::Part &part : parts)
            if (!d->submit(part, parts.size() > 1 ? 1 : copies))
                return false;
    return true;
}

void CupsPrinter::abort()
{
    if (!printing())
        return;
    if (d->painter.isActive())
        d->job->abort();
    d->failJob(QString());
    if (!d->fileName.isEmpty())
        QFile::remove(d->fileName);
}

bool CupsPrinter::beginRawDoc(const QString &title)
{
    if (d->rawJob)
        return false;
    const QByteArray queue = d->name.toLocal8Bit();
    const QByteArray t = title.toUtf8();
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), t.constData(), 0, nullptr);
    if (id <= 0) {
        d->error = QString::fromUtf8(cupsLastErrorString());
        return false;
    }
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), id, t.constData(), CUPS_FORMAT_RAW, 1)
        != HTTP_STATUS_CONTINUE) {
        d->error = QString::fromUtf8(cupsLastErrorString());
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), id, 0);
        return false;
    }
    d->rawJob = id;
    return true;
}

bool CupsPrinter::writeRawDoc(const QByteArray &data)
{
    if (!d->rawJob)
        return false;
    return cupsWriteRequestData(CUPS_HTTP_DEFAULT, data.constData(), size_t(data.size())) == HTTP_STATUS_CONTINUE;
}

bool CupsPrinter::endRawDoc()
{
    if (!d->rawJob)
        return false;
    const QByteArray queue = d->name.toLocal8Bit();
    const bool ok = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) == IPP_STATUS_OK;
    if (!ok)
        d->error = QString::fromUtf8(cupsLastErrorString());
    d->rawJob = 0;
    return ok;
}

namespace {

class CupsPrintSystem final : public PrintSystem {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }
    std::unique_ptr<Printer> printer(const QString &name) override { return std::make_unique<CupsPrinter>(name); }
};

} // namespace

IPrinterDialog &qtPrinterDialog();

void installCupsPrintSystem()
{
    static CupsPrintSystem system;
    installPrintSystem(&system);
    install(&qtPrinterDialog());
}

} // namespace print
