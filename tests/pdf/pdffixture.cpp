#include "tests/pdf/pdffixture.h"

#include "engine/store/previewpages.h"
#include "export/resources/exportstrings.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlviews.h"
#include "tests/export/exporttestutil.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlRegisterObjectTreeClasses();
        kvlRegisterViewClasses();
        kvlRegisterMemoClasses();
        kvlRegisterPageClasses();
        kvlRegisterPDFExportClasses();
        kvlInitResources();
        kvlAddExportStrings();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)done;
}

} // namespace

struct PdfFixture::Impl {
    QTemporaryDir tmp;
};

PdfFixture::PdfFixture() : d(std::make_unique<Impl>())
{
    registerOnce();
    report = std::make_unique<TkvlReport>(nullptr);
    filter = TkvlCustomExportFilter::CreateNoRegister<TkvlPDFExport>();
    filter->Report = report.get();
    filter->ShowDialog = false;
    dir = d->tmp.path();
}

PdfFixture::~PdfFixture() = default;

TkvlReportPage *PdfFixture::NewPage()
{
    auto *p = new TkvlReportPage(report.get());
    p->SetSizeAndDimensions(9, 210, 297);
    p->LeftMargin = p->RightMargin = p->TopMargin = p->BottomMargin = 10;
    return p;
}

TkvlMemoView *PdfFixture::NewMemo(const QString &Text, double X, double Y, double W, double H, int Size,
                                  const QString &FontName)
{
    auto *m = new TkvlMemoView(report.get());
    TFont f;
    f.SetName(FontName);
    f.SetSize(Size);
    m->SetFont(&f);
    m->SetBounds(X, Y, W, H);
    m->SetText(Text);
    return m;
}

QByteArray PdfFixture::Export(const std::vector<std::pair<TkvlReportPage *, std::vector<TkvlComponent *>>> &Pages)
{
    TMemoryStream out;
    filter->Stream = &out;
    EXPECT_TRUE(filter->Start());
    int index = 0;
    for (const auto &[page, objects] : Pages) {
        filter->StartPage(page, index);
        for (TkvlComponent *o : objects)
            filter->ExportObject(o);
        filter->FinishPage(page, index);
        ++index;
    }
    filter->Finish();
    filter->Stream = nullptr;
    return QByteArray(out.Memory(), qsizetype(out.Size()));
}

QByteArray PdfFixture::Content(TkvlReportPage *Page, const std::vector<TkvlComponent *> &Objects)
{
    TMemoryStream out;
    filter->Stream = &out;
    EXPECT_TRUE(filter->Start());
    filter->StartPage(Page, 0);
    for (TkvlComponent *o : Objects)
        filter->ExportObject(o);
    const QByteArray content = filter->PageContent();
    filter->FinishPage(Page, 0);
    filter->Finish();
    filter->Stream = nullptr;
    return content;
}

QString PdfFixture::Save(const QByteArray &Pdf, const QString &Name)
{
    const QString path = dir + QLatin1Char('/') + Name;
    exporttest::WriteFile(path, Pdf);
    return path;
}

QByteArray RunTool(const QString &Program, const QStringList &Args)
{
    const exporttest::RunResult r = exporttest::RunProgram(Program, Args);
    return r.exitCode == 0 ? r.out : QByteArray();
}
