#include "tests/exportdriver/driverreports.h"

#include "tests/engine/preparedfixture.h"

#include "report/views/kvlcheckbox.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"

namespace {

TkvlMemoView *NumberMemo(TkvlComponent *Parent, const QString &Name, double Left, const QString &Dec,
                         const QString &Th)
{
    TkvlMemoView *m = preparedtest::newMemo(Parent, Name, Left, 0, 200, 20);
    m->DisplayFormat()->Kind = fkNumeric;
    m->DisplayFormat()->FormatStr = QStringLiteral("%2.2f");
    m->DisplayFormat()->DecimalSeparator = Dec;
    m->DisplayFormat()->ThousandSeparator = Th;
    return m;
}

TkvlPreviewPages *StartStore(TkvlReport &Report, TkvlReportPage *Page)
{
    auto *store = static_cast<TkvlPreviewPages *>(Report.PreviewPages());
    store->Initialize();
    store->BeginPass();
    store->AddSourcePage(Page);
    return store;
}

std::unique_ptr<TkvlReport> NewReport()
{
    preparedtest::registerOnce();
    auto report = std::make_unique<TkvlReport>(nullptr);
    report->EngineOptions()->NewSilentMode = simSilent;
    report->EngineOptions()->EnableThreadSafe = true;  // no progress windows in tests
    return report;
}

const char *const kAlign[] = {"sinistra", "destra", "centro", "giustificato"};
const char *const kVAlign[] = {"alto", "basso", "mezzo"};
constexpr int kRotations[] = {0, 45, 90, 180, 270};

} // namespace

ThreePageSheetReport::ThreePageSheetReport() : report(NewReport())
{
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    page->LeftMargin = page->TopMargin = 10;
    auto *data = new TkvlMasterData(page);
    data->SetName(QStringLiteral("D"));
    data->SetBounds(0, 0, 600, 100);
    auto *name = preparedtest::newMemo(data, QStringLiteral("Name"), 0, 0, 200, 20);
    auto *it = NumberMemo(data, QStringLiteral("It"), 200, QStringLiteral(","), QStringLiteral("."));
    auto *en = NumberMemo(data, QStringLiteral("En"), 400, QStringLiteral("."), QStringLiteral(","));
    auto *total = preparedtest::newMemo(data, QStringLiteral("Total"), 0, 20, 600, 20);
    total->SetColor(clYellow);
    total->Font()->SetStyle(FontStyleBit(fsBold));
    auto *turned = preparedtest::newMemo(data, QStringLiteral("Turned"), 0, 40, 200, 60);
    turned->SetRotation(90);
    auto *picture = new TkvlPictureView(data);
    picture->SetName(QStringLiteral("Picture"));
    picture->SetBounds(400, 40, 200, 60);
    picture->SetColor(clBlue);
    for (TkvlMemoView *m : {name, it, en, total, turned})
        m->Font()->SetName(QStringLiteral("Arial"));
    TkvlPreviewPages *store = StartStore(*report, page);
    for (int n = 1; n <= 3; ++n) {
        store->AddPage(page);
        name->SetText(QStringLiteral("Evento %1").arg(n));
        it->SetText(QStringLiteral("1.234,5%1").arg(n));
        en->SetText(QStringLiteral("2,345.6%1").arg(n));
        total->SetText(QStringLiteral("Totale pagina %1").arg(n));
        turned->SetText(QStringLiteral("Ruotato %1").arg(n));
        store->AddObject(data);
    }
    store->Finish();
}

QStringList ThreePageSheetReport::PageTexts(int N)
{
    return {QStringLiteral("Evento %1").arg(N), QStringLiteral("1234.5%1").arg(N), QStringLiteral("2345.6%1").arg(N),
            QStringLiteral("Totale pagina %1").arg(N), QStringLiteral("Ruotato %1").arg(N)};
}

ManyRowReport::ManyRowReport(int Count, int PerPage) : report(NewReport())
{
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    auto *data = new TkvlMasterData(page);
    data->SetName(QStringLiteral("D"));
    data->SetBounds(0, 0, 400, 20);
    auto *name = preparedtest::newMemo(data, QStringLiteral("Name"), 0, 0, 200, 20);
    auto *value = NumberMemo(data, QStringLiteral("Value"), 200, QStringLiteral(","), QStringLiteral("."));
    TkvlPreviewPages *store = StartStore(*report, page);
    for (int n = 1; n <= Count; ++n) {
        const int onPage = (n - 1) % PerPage;
        if (onPage == 0)
            store->AddPage(page);
        data->SetTop(onPage * 20);
        name->SetText(QStringLiteral("Riga %1").arg(n));
        value->SetText(QStringLiteral("%1,25").arg(n));
        store->AddObject(data);
    }
    store->Finish();
}

QString TwentyPageReport::HebrewText() { return QStringLiteral("שלום עולם"); }

QStringList TwentyPageReport::PageTexts(int N)
{
    const int p = N - 1;
    QStringList texts{
        QStringLiteral("Pagina %1, %2 in %3: l'attività della città è più che perfetta, perché così è.")
            .arg(N)
            .arg(QLatin1String(kAlign[p % 4]), QLatin1String(kVAlign[(p / 4) % 3])),
        QStringLiteral("Ruotato di %1 gradi").arg(kRotations[p % 5]),
        QStringLiteral("Cornice doppia %1").arg(N)};
    if (p % 5 == 0)
        texts << HebrewText();
    return texts;
}

TwentyPageReport::TwentyPageReport() : report(NewReport())
{
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 10;
    auto *data = new TkvlMasterData(page);
    data->SetName(QStringLiteral("D"));
    data->SetBounds(0, 0, 700, 600);
    auto *aligned = preparedtest::newMemo(data, QStringLiteral("Aligned"), 0, 0, 400, 120);
    aligned->Frame()->SetTyp(kvlFrameAll);
    auto *turned = preparedtest::newMemo(data, QStringLiteral("Turned"), 450, 0, 200, 200);
    turned->HAlign = haCenter;
    turned->VAlign = vaCenter;
    auto *shape = new TkvlShapeView(data);
    shape->SetName(QStringLiteral("Shape"));
    shape->SetBounds(0, 220, 120, 80);
    shape->SetColor(0x80C0FF);
    auto *across = new TkvlLineView(data);
    across->SetName(QStringLiteral("Across"));
    across->SetBounds(150, 240, 200, 0);
    across->ArrowEnd = true;
    auto *down = new TkvlLineView(data);
    down->SetName(QStringLiteral("Down"));
    down->SetBounds(380, 220, 0, 80);
    down->ArrowStart = down->ArrowSolid = true;
    auto *check = new TkvlCheckBoxView(data);
    check->SetName(QStringLiteral("Check"));
    check->SetBounds(450, 230, 20, 20);
    auto *framed = preparedtest::newMemo(data, QStringLiteral("Framed"), 0, 330, 300, 40);
    framed->Frame()->SetTyp(kvlFrameAll);
    framed->Frame()->SetStyle(fsDouble);
    framed->Frame()->SetWidth(3);
    auto *hebrew = preparedtest::newMemo(data, QStringLiteral("Hebrew"), 0, 400, 300, 30);
    hebrew->RTLReading = true;
    for (TkvlMemoView *m : {aligned, turned, framed, hebrew}) {
        m->Font()->SetName(QStringLiteral("Arial"));
        m->Font()->SetSize(10);
    }
    TkvlPreviewPages *store = StartStore(*report, page);
    for (int p = 0; p < kPages; ++p) {
        const QStringList texts = PageTexts(p + 1);
        store->AddPage(page);
        aligned->HAlign = TkvlHAlign(p % 4);
        aligned->VAlign = TkvlVAlign((p / 4) % 3);
        aligned->SetText(texts[0]);
        turned->SetRotation(kRotations[p % 5]);
        turned->SetText(texts[1]);
        shape->Shape = TkvlShapeKind(p % 7);
        check->Checked = p % 2 == 0;
        framed->SetText(texts[2]);
        hebrew->SetText(p % 5 == 0 ? HebrewText() : QString());
        store->AddObject(data);
    }
    store->Finish();
}

std::unique_ptr<TkvlXLSXExport> QuietXlsxExport(const QString &FileName)
{
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->FileName = FileName;
    return f;
}
