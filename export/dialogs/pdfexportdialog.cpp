#include "export/dialogs/pdfexportdialog.h"

#include "export/common/exportoutput.h"
#include "export/pdf/pdfexport.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlpreview.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QCheckBox *check(const QString &Text, const char *Name, QWidget *Parent, QLayout *Layout)
{
    auto *c = new QCheckBox(Text, Parent);
    c->setObjectName(QLatin1String(Name));
    Layout->addWidget(c);
    return c;
}

QWidget *tab(QTabWidget *Pages, const char *Name, int Caption)
{
    auto *w = new QWidget(Pages);
    w->setObjectName(QLatin1String(Name));
    new QVBoxLayout(w);
    Pages->addTab(w, kvlGet(Caption));
    return w;
}

} // namespace

TkvlPDFExportDialog::TkvlPDFExportDialog(QWidget *Parent) : TkvlExportDialog(Parent)
{
    setObjectName(QStringLiteral("TkvlPDFExportDialog"));
    setWindowTitle(kvlGet(8700));
    resize(294, 342);
    FPages = new QTabWidget(this);
    FPages->setObjectName(QStringLiteral("PageControl1"));

    // Export: the page range, the settings and the open box, all on the first tab.
    QWidget *exportPage = tab(FPages, "ExportPage", 107);
    auto *el = static_cast<QVBoxLayout *>(exportPage->layout());
    GroupPageRange()->setParent(exportPage);
    el->addWidget(GroupPageRange());
    auto *quality = new QGroupBox(kvlGet(8), exportPage);
    quality->setObjectName(QStringLiteral("GroupQuality"));
    auto *ql = new QVBoxLayout(quality);
    FPdfA = check(kvlGet(8701), "PDFACB", quality, ql);
    FEmbedded = check(kvlGet(8702), "EmbeddedCB", quality, ql);
    FPrintOpt = check(kvlGet(8703), "PrintOptCB", quality, ql);
    FOutline = check(kvlGet(8704), "OutlineCB", quality, ql);
    FBackgr = check(kvlGet(8705), "BackgrCB", quality, ql);
    auto *qrow = new QHBoxLayout;
    qrow->addWidget(new QLabel(QStringLiteral("JPEG Quality"), quality));
    FQuality = new QSpinBox(quality);
    FQuality->setObjectName(QStringLiteral("Quality"));
    FQuality->setRange(1, 100);
    qrow->addWidget(FQuality);
    ql->addLayout(qrow);
    FTransparent = check(QStringLiteral("Transparency"), "TransparentCB", quality, ql);
    el->addWidget(quality);
    OpenCB()->setParent(exportPage);
    el->addWidget(OpenCB());
    OpenCB()->setText(kvlGet(8706));
    el->addStretch(1);

    QWidget *infoPage = tab(FPages, "InfoPage", 8972);
    auto *info = new QGroupBox(kvlGet(8971), infoPage);
    info->setObjectName(QStringLiteral("DocInfoGB"));
    auto *il = new QFormLayout(info);
    static const char *const infoNames[6] = {"TitleE", "AuthorE", "SubjectE", "KeywordsE", "CreatorE", "ProducerE"};
    for (int i = 0; i < 6; ++i) {
        FInfo[i] = new QLineEdit(info);
        FInfo[i]->setObjectName(QLatin1String(infoNames[i]));
        il->addRow(kvlGet(8973 + i), FInfo[i]);
    }
    infoPage->layout()->addWidget(info);
    static_cast<QVBoxLayout *>(infoPage->layout())->addStretch(1);

    QWidget *securityPage = tab(FPages, "SecurityPage", 8962);
    auto *sec = new QGroupBox(kvlGet(8979), securityPage);
    sec->setObjectName(QStringLiteral("SecGB"));
    auto *sl = new QFormLayout(sec);
    FOwnPass = new QLineEdit(sec);
    FOwnPass->setObjectName(QStringLiteral("OwnPassE"));
    FUserPass = new QLineEdit(sec);
    FUserPass->setObjectName(QStringLiteral("UserPassE"));
    for (QLineEdit *e : {FOwnPass, FUserPass})
        e->setEchoMode(QLineEdit::Password);
    sl->addRow(kvlGet(8964), FOwnPass);
    sl->addRow(kvlGet(8965), FUserPass);
    auto *perm = new QGroupBox(kvlGet(8980), securityPage);
    perm->setObjectName(QStringLiteral("PermGB"));
    auto *pl = new QVBoxLayout(perm);
    static const char *const permNames[4] = {"PrintCB", "ModCB", "CopyCB", "AnnotCB"};
    for (int i = 0; i < 4; ++i)
        FPerm[i] = check(kvlGet(8966 + i), permNames[i], perm, pl);
    securityPage->layout()->addWidget(sec);
    securityPage->layout()->addWidget(perm);
    static_cast<QVBoxLayout *>(securityPage->layout())->addStretch(1);

    QWidget *viewerPage = tab(FPages, "ViewerPage", 8981);
    auto *viewer = new QGroupBox(kvlGet(8982), viewerPage);
    viewer->setObjectName(QStringLiteral("ViewerGB"));
    auto *vl = new QVBoxLayout(viewer);
    static const char *const viewerNames[6] = {"HideToolbarCB", "HideMenubarCB", "HideWindowUICB",
                                               "FitWindowCB",   "CenterWindowCB", "PrintScalingCB"};
    for (int i = 0; i < 6; ++i)
        FViewer[i] = check(kvlGet(8983 + i), viewerNames[i], viewer, vl);
    viewerPage->layout()->addWidget(viewer);
    static_cast<QVBoxLayout *>(viewerPage->layout())->addStretch(1);

    OptionsLayout()->addWidget(FPages);
}

void TkvlPDFExportDialog::Load(TkvlPDFExport &Filter)
{
    // The outline is offered only when the preview shows one.
    if (!Filter.Report)
        Filter.Outline = true;
    else if (TkvlCustomPreview *preview = Filter.Report->Preview())
        Filter.Outline = preview->OutlineVisible();
    else
        Filter.Outline = Filter.Report->PreviewOptions()->OutlineVisible;

    TkvlExportDialog::Load(Filter, Filter.OpenAfterExport);
    FPdfA->setChecked(Filter.PdfA);
    FEmbedded->setChecked(Filter.EmbeddedFonts);
    FPrintOpt->setChecked(Filter.PrintOptimized);
    FOutline->setChecked(Filter.Outline);
    FOutline->setEnabled(Filter.Outline);
    FBackgr->setChecked(Filter.Background);
    FQuality->setValue(Filter.Quality);
    FTransparent->setChecked(Filter.Transparency);
    const QString *info[6] = {&Filter.Title,    &Filter.Author,  &Filter.Subject,
                              &Filter.Keywords, &Filter.Creator, &Filter.Producer};
    for (int i = 0; i < 6; ++i)
        FInfo[i]->setText(*info[i]);
    FOwnPass->setText(Filter.OwnerPassword);
    FUserPass->setText(Filter.UserPassword);
    for (int i = 0; i < 4; ++i)
        FPerm[i]->setChecked(Filter.ProtectionFlags() & kvlPDFEncBit(TkvlPDFEncBit(i)));
    const bool viewer[6] = {Filter.HideToolbar, Filter.HideMenubar,  Filter.HideWindowUI,
                            Filter.FitWindow,   Filter.CenterWindow, Filter.PrintScaling};
    for (int i = 0; i < 6; ++i)
        FViewer[i]->setChecked(viewer[i]);
}

int TkvlPDFExportDialog::Apply(TkvlPDFExport &Filter)
{
    Filter.OwnerPassword = FOwnPass->text();
    Filter.UserPassword = FUserPass->text();
    TkvlPDFEncBits flags = 0;
    for (int i = 0; i < 4; ++i)
        if (FPerm[i]->isChecked())
            flags |= kvlPDFEncBit(TkvlPDFEncBit(i));
    Filter.SetProtectionFlags(flags);
    Filter.PdfA = FPdfA->isChecked();
    Filter.EmbeddedFonts = FEmbedded->isChecked();
    Filter.PrintOptimized = FPrintOpt->isChecked();
    Filter.Outline = FOutline->isChecked();
    Filter.Background = FBackgr->isChecked();
    Filter.Quality = FQuality->value();
    Filter.Transparency = FTransparent->isChecked();
    QString *info[6] = {&Filter.Title, &Filter.Author, &Filter.Subject, &Filter.Keywords, &Filter.Creator, &Filter.Producer};
    for (int i = 0; i < 6; ++i)
        *info[i] = FInfo[i]->text();
    bool *viewer[6] = {&Filter.HideToolbar, &Filter.HideMenubar,  &Filter.HideWindowUI,
                       &Filter.FitWindow,   &Filter.CenterWindow, &Filter.PrintScaling};
    for (int i = 0; i < 6; ++i)
        *viewer[i] = FViewer[i]->isChecked();
    return TkvlExportDialog::Apply(Filter, Filter.OpenAfterExport);
}

void kvlRegisterPDFExportDialog() { kvlRegisterExportDialogFor<TkvlPDFExportDialog, TkvlPDFExport>(); }
