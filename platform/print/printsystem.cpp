#include "platform/print/printdevice.h"
#include "platform/print/printerdialog.h"

#include <atomic>
#include <utility>

namespace print {

namespace {

// Set once at start-up, before any report reads its printers.
std::atomic<PrintSystem *> gSystem{nullptr};
std::atomic<IPrinterDialog *> gDialog{nullptr};

// Without a print system there is no printer to set up.
class NoPrinterDialog final : public IPrinterDialog {
public:
    bool Execute(const QString &, const QList<NumberedName> &, PageSetup &) override { return false; }
};

// The queue of a name when no print system is installed: it is never there.
class AbsentPrinter final : public Printer {
public:
    explicit AbsentPrinter(const QString &name) : FName(name) {}
    const QString &name() const override { return FName; }
    bool open() override { return false; }
    bool isOpen() const override { return false; }
    const QList<NumberedName> &papers() const override { return FNone; }
    const QList<NumberedName> &bins() const override { return FNone; }
    const PageSetup &defaults() const override { return FSetup; }
    std::optional<PageMetrics> metrics(const PageSetup &) const override { return std::nullopt; }
    bool beginDoc(const QString &, const QString &, const PageSetup &) override { return false; }
    void setPageSetup(const PageSetup &) override {}
    bool beginPage() override { return false; }
    QPainter *painter() const override { return nullptr; }
    bool endPage() override { return false; }
    bool endDoc() override { return false; }
    void abort() override {}
    bool printing() const override { return false; }
    QString lastError() const override { return QStringLiteral("No print system is installed"); }
    bool beginRawDoc(const QString &) override { return false; }
    bool writeRawDoc(const QByteArray &) override { return false; }
    bool endRawDoc() override { return false; }

private:
    QString FName;
    QList<NumberedName> FNone;
    PageSetup FSetup;
};

} // namespace

PrintSystem *installPrintSystem(PrintSystem *system) { return gSystem.exchange(system); }

QStringList printerNames()
{
    PrintSystem *s = gSystem.load();
    return s ? s->printerNames() : QStringList();
}

QString defaultPrinterName()
{
    PrintSystem *s = gSystem.load();
    return s ? s->defaultPrinterName() : QString();
}

std::unique_ptr<Printer> makePrinter(const QString &name)
{
    PrintSystem *s = gSystem.load();
    return s ? s->printer(name) : std::make_unique<AbsentPrinter>(name);
}

int knownBinNumber(const QString &keyword)
{
    // The IPP media-source keywords and the driver slot names that mean the same tray.
    static const std::pair<const char *, int> known[] = {
        {"top", 1},           {"upper", 1},          {"only-one", 1},      {"onlyone", 1},
        {"bottom", 2},        {"lower", 2},          {"middle", 3},        {"manual", 4},
        {"envelope", 5},      {"manual-envelope", 6}, {"envmanual", 6},    {"auto", 7},
        {"autoselect", 7},    {"tractor", 8},        {"small-format", 9},  {"smallformat", 9},
        {"large-format", 10}, {"largeformat", 10},   {"large-capacity", 11}, {"largecapacity", 11},
        {"cassette", 14},     {"form-source", 15},   {"formsource", 15},
    };
    const QString k = keyword.trimmed().toLower();
    for (const auto &[name, number] : known)
        if (k == QLatin1String(name))
            return number;
    return 0;
}

IPrinterDialog &printerDialog()
{
    static NoPrinterDialog none;
    IPrinterDialog *d = gDialog.load();
    return d ? *d : none;
}

IPrinterDialog *install(IPrinterDialog *dialog) { return gDialog.exchange(dialog); }

} // namespace print
