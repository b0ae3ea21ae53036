#include "tests/exportgrid/gridfixture.h"

#include "export/resources/exportstrings.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/seams/kvlexportfilter.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlviews.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

void registerGridTestClassesOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlRegisterObjectTreeClasses();
        kvlRegisterViewClasses();
        kvlRegisterMemoClasses();
        kvlRegisterBandClasses();
        kvlRegisterPageClasses();
        kvlAddExportStrings();
        return true;
    }();
    (void)done;
}

TkvlMemoView *NewMemo(TkvlComponent *Parent, double L, double T, double W, double H, const QString &Text)
{
    auto *m = new TkvlMemoView(Parent);
    m->Font()->SetName(QStringLiteral("Arial"));
    m->Font()->SetSize(10);
    m->GapX = m->GapY = 0;
    m->SetBounds(L, T, W, H);
    m->SetText(Text);
    return m;
}

HandMadePages::HandMadePages() { registerGridTestClassesOnce(); }
HandMadePages::~HandMadePages() = default;

TkvlBand *HandMadePages::AddPage()
{
    auto page = std::make_unique<TkvlReportPage>(nullptr);
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
    auto *band = new TkvlMasterData(page.get());
    band->SetBounds(0, 0, 700, 1000);
    Pages.push_back(std::move(page));
    return band;
}

bool RunExport(TkvlCustomExportFilter &Filter, HandMadePages &Pages, bool FailBeforeFinish)
{
    if (!Filter.Start())
        return false;
    for (int i = 0; i < int(Pages.Pages.size()); ++i) {
        TkvlReportPage *page = Pages.Pages[size_t(i)].get();
        Filter.StartPage(page, i);
        TkvlPictureView background(nullptr);
        background.SetName(QStringLiteral("_pagebackground"));
        background.SetBounds(0, 0, 700, 1000);
        Filter.ExportObject(&background);
        for (TkvlComponent *band : page->Objects()) {
            Filter.ExportObject(band);
            for (TkvlComponent *view : band->Objects())
                Filter.ExportObject(view);
        }
        Filter.FinishPage(page, i);
    }
    Filter.ExportFailed = FailBeforeFinish;
    Filter.Finish();
    return true;
}

QList<QStringList> PythonCsvRows(const QString &File, const QString &Encoding, const QString &Delimiter)
{
    const QString script = QStringLiteral(
        "import csv, json, sys\n"
        "with open(sys.argv[1], newline='', encoding=sys.argv[2]) as f:\n"
        "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[3]))))\n");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, File, Encoding, Delimiter});
    p.waitForFinished(30000);
    QList<QStringList> rows;
    const QJsonArray a = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
    for (const auto &r : a) {
        QStringList row;
        for (const auto &c : r.toArray())
            row << c.toString();
        rows << row;
    }
    if (p.exitCode() != 0)
        rows << QStringList{QStringLiteral("python failed:"), QString::fromUtf8(p.readAllStandardError())};
    return rows;
}
