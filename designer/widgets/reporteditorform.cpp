#include "designer/widgets/reporteditorform.h"

#include "designer/widgets/bandeditorforms.h"
#include "designer/widgets/dialogtools.h"
#include "engine/widgets/kvlpaperchoice.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/picturehelpers.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/resources/kvlresources.h"
#include "report/utils/messages.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize kPictureBox(96, 96);

QIcon stripImage(const TImageList &Images, int Index)
{
    return Index < Images.Count() ? QIcon(QPixmap::fromImage(Images.Image(Index))) : QIcon();
}



QRadioButton *radio(QWidget *Parent, int Caption, const char *Name)
{
    auto *r = new QRadioButton(kvlGet(Caption), Parent);
    r->setObjectName(QLatin1String(Name));
    return r;
}

} // namespace

TkvlReportEditorForm::TkvlReportEditorForm(TkvlReport *AReport, TkvlCustomDesigner *Designer,
                                           TkvlTemplateFolder &Templates, QWidget *Owner)
    : QDialog(Owner), FReport(AReport), FDesigner(Designer), FFolder(Templates),
      FPicture(std::make_unique<TPicture>()), FHiddenPassword(!AReport->ReportOptions()->HiddenPassword.isEmpty())
{
    setObjectName(QStringLiteral("TkvlReportEditorForm"));
    setWindowTitle(kvlGet(4700));
    auto *v = new QVBoxLayout(this);
    FTabs = new QTabWidget(this);
    v->addWidget(FTabs);

    // ---- general ----
    auto *general = new QWidget(FTabs);
    general->setObjectName(QStringLiteral("GeneralTS"));
    auto *gl = new QVBoxLayout(general);
    auto *printerGB = new QGroupBox(kvlGet(4702), general);
    printerGB->setObjectName(QStringLiteral("ReportSettingsL"));
    auto *pg = new QGridLayout(printerGB);
    FPrinters = new QListWidget(printerGB);
    FPrinters->setObjectName(QStringLiteral("PrintersLB"));
    FPrinters->setIconSize(QSize(16, 16));
    FCopies = kvlLineEdit(printerGB, "CopiesE");
    FCollate = kvlCheckBox(printerGB, 4706, "CollateCB");
    pg->addWidget(FPrinters, 0, 0, 1, 3);
    pg->addWidget(new QLabel(kvlGet(4703), printerGB), 1, 0);
    pg->addWidget(FCopies, 1, 1);
    pg->addWidget(FCollate, 1, 2);
    gl->addWidget(printerGB);
    auto *engineGB = new QGroupBox(kvlGet(4704), general);
    engineGB->setObjectName(QStringLiteral("GeneralL"));
    auto *eg = new QGridLayout(engineGB);
    FDoublePass = kvlCheckBox(engineGB, 4707, "DoublePassCB");
    FPrintIfEmpty = kvlCheckBox(engineGB, 4708, "PrintIfEmptyCB");
    FPassword = kvlLineEdit(engineGB, "PasswordE");
    FPassword->setEchoMode(QLineEdit::Password);
    eg->addWidget(FDoublePass, 0, 0, 1, 2);
    eg->addWidget(FPrintIfEmpty, 1, 0, 1, 2);
    eg->addWidget(new QLabel(kvlGet(4705), engineGB), 2, 0);
    eg->addWidget(FPassword, 2, 1);
    gl->addWidget(engineGB);
    FTabs->addTab(general, kvlGet(4701));

    // ---- inheritance ----
    auto *inherit = new QWidget(FTabs);
    inherit->setObjectName(QStringLiteral("InheritTS"));
    auto *il = new QVBoxLayout(inherit);
    auto *inheritGB = new QGroupBox(kvlGet(4723), inherit);
    inheritGB->setObjectName(QStringLiteral("InheritGB"));
    auto *ig = new QGridLayout(inheritGB);
    FInheritState = new QLabel(inheritGB);
    FInheritState->setObjectName(QStringLiteral("InheritStateL"));
    FInheritState->setWordWrap(true);
    FDontChange = radio(inheritGB, 4725, "DontChangeRB");
    FDontChange->setChecked(true);
    FDetach = radio(inheritGB, 4726, "DetachRB");
    FInherit = radio(inheritGB, 4727, "InheritRB");
    FTemplates = new QListWidget(inheritGB);
    FTemplates->setObjectName(QStringLiteral("InheritLV"));
    FTemplates->setViewMode(QListView::IconMode);
    FTemplates->setResizeMode(QListView::Adjust);
    FTemplates->setMovement(QListView::Static);
    FPath = kvlLineEdit(inheritGB, "PathE");
    FBrowse = new QPushButton(QStringLiteral("..."), inheritGB);
    FBrowse->setObjectName(QStringLiteral("BrowseB"));
    FBrowse->setAutoDefault(false);
    ig->addWidget(FInheritState, 0, 0, 1, 3);
    ig->addWidget(new QLabel(kvlGet(4724), inheritGB), 1, 0, 1, 3);
    ig->addWidget(FDontChange, 2, 0, 1, 3);
    ig->addWidget(FDetach, 3, 0, 1, 3);
    ig->addWidget(FInherit, 4, 0, 1, 3);
    ig->addWidget(FTemplates, 5, 0, 1, 3);
    ig->addWidget(new QLabel(kvlGet(4729), inheritGB), 6, 0);
    ig->addWidget(FPath, 6, 1);
    ig->addWidget(FBrowse, 6, 2);
    il->addWidget(inheritGB);
    FTabs->addTab(inherit, kvlGet(4728));

    // ---- description ----
    auto *descr = new QWidget(FTabs);
    descr->setObjectName(QStringLiteral("DescriptionTS"));
    auto *dl = new QVBoxLayout(descr);
    auto *descrGB = new QGroupBox(kvlGet(4720), descr);
    descrGB->setObjectName(QStringLiteral("DescriptionL"));
    auto *dg = new QGridLayout(descrGB);
    FName = kvlLineEdit(descrGB, "NameE");
    FAuthor = kvlLineEdit(descrGB, "AuthorE");
    FDescription = new QPlainTextEdit(descrGB);
    FDescription->setObjectName(QStringLiteral("DescriptionE"));
    FDescription->setTabChangesFocus(true);
    FPictureImg = new QLabel(descrGB);
    FPictureImg->setObjectName(QStringLiteral("PictureImg"));
    FPictureImg->setFixedSize(kPictureBox);
    FPictureImg->setAlignment(Qt::AlignCenter);
    FPictureImg->setFrameShape(QFrame::StyledPanel);
    FPictureB = new QPushButton(kvlGet(4722), descrGB);
    FPictureB->setObjectName(QStringLiteral("PictureB"));
    FPictureB->setAutoDefault(false);
    dg->addWidget(new QLabel(kvlGet(4710), descrGB), 0, 0);
    dg->addWidget(FName, 0, 1, 1, 2);
    dg->addWidget(new QLabel(kvlGet(4713), descrGB), 1, 0);
    dg->addWidget(FAuthor, 1, 1, 1, 2);
    dg->addWidget(new QLabel(kvlGet(4711), descrGB), 2, 0, Qt::AlignTop);
    dg->addWidget(FDescription, 2, 1, 1, 2);
    dg->addWidget(new QLabel(kvlGet(4712), descrGB), 3, 0, Qt::AlignTop);
    dg->addWidget(FPictureImg, 3, 1);
    dg->addWidget(FPictureB, 3, 2, Qt::AlignTop | Qt::AlignLeft);
    dl->addWidget(descrGB);
    auto *versionGB = new QGroupBox(kvlGet(4721), descr);
    versionGB->setObjectName(QStringLiteral("VersionL"));
    auto *vg = new QGridLayout(versionGB);
    const char *vNames[] = {"MajorE", "MinorE", "ReleaseE", "BuildE"};
    for (int i = 0; i < 4; ++i) {
        FVersion[i] = kvlLineEdit(versionGB, vNames[i]);
        vg->addWidget(new QLabel(kvlGet(4714 + i), versionGB), 0, i);
        vg->addWidget(FVersion[i], 1, i);
    }
    FCreated = new QLabel(versionGB);
    FCreated->setObjectName(QStringLiteral("Created1L"));
    FModified = new QLabel(versionGB);
    FModified->setObjectName(QStringLiteral("Modified1L"));
    vg->addWidget(new QLabel(kvlGet(4718), versionGB), 2, 0);
    vg->addWidget(FCreated, 2, 1);
    vg->addWidget(new QLabel(kvlGet(4719), versionGB), 2, 2);
    vg->addWidget(FModified, 2, 3);
    dl->addWidget(versionGB);
    FTabs->addTab(descr, kvlGet(4709));

    v->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), FOk, FCancel));

    // ---- the values ----
    const TkvlPrintOptions *po = FReport->PrintOptions();
    const TkvlPrinterEntries printers = kvlPrinterEntries(po->Printer);
    FPrinterNames = printers.Names;
    const QIcon printerIcon = stripImage(kvlResources().GetPreviewButtonImages(), 2);
    for (const QString &caption : printers.Captions)
        new QListWidgetItem(printerIcon, caption, FPrinters);
    FPrinters->setCurrentRow(printers.Selected);
    if (printers.Selected < 0)
        FPrinters->clearSelection();
    FCollate->setChecked(po->Collate);
    FCopies->setText(QString::number(po->Copies));
    FDoublePass->setChecked(FReport->EngineOptions()->DoublePass);
    FPrintIfEmpty->setChecked(FReport->EngineOptions()->PrintIfEmpty);
    const TkvlReportOptions *ro = FReport->ReportOptions();
    if (FHiddenPassword) {
        FPassword->setEnabled(false);
        QPalette pal = FPassword->palette();
        pal.setColor(QPalette::Base, Qt::gray);
        FPassword->setPalette(pal);
    } else {
        FPassword->setText(ro->Password);
    }
    if (!FReport->ParentReport.trimmed().isEmpty()) {
        FInheritState->setText(
            kvlResources().Get(QStringLiteral("riInherited")).replace(QLatin1String("%s"), FReport->ParentReport));
    } else {
        FInheritState->setText(kvlResources().Get(QStringLiteral("riNotInherited")));
        FDetach->setEnabled(false);
    }
    FillTemplateList();
    FName->setText(ro->Name);
    FAuthor->setText(ro->Author);
    QStringList lines;
    for (int i = 0; i < ro->Description().Count(); ++i)
        lines << ro->Description()[i];
    FDescription->setPlainText(lines.join(u'\n'));
    FPicture->Assign(ro->Picture());
    ShowPicture();
    const QString *versions[] = {&ro->VersionMajor, &ro->VersionMinor, &ro->VersionRelease, &ro->VersionBuild};
    for (int i = 0; i < 4; ++i)
        FVersion[i]->setText(*versions[i]);
    FCreated->setText(rtl::DateTimeToStr(ro->CreateDate));
    FModified->setText(rtl::DateTimeToStr(ro->LastChange));

    connect(FBrowse, &QPushButton::clicked, this, [this] {
        ui::FileDialogRequest r;
        r.title = QStringLiteral("Select folder");
        r.initialDir = FPath->text();
        const ui::FileDialogResult a = ui::fileDialogs().Folder(r);
        if (!a.accepted || a.fileName().isEmpty())
            return;
        FFolder.Path = a.fileName();
        FillTemplateList();
    });
    connect(FPath, &QLineEdit::returnPressed, this, [this] {
        if (!QFileInfo(FPath->text()).isDir())
            return;
        FFolder.Path = FPath->text();
        FillTemplateList();
    });
    // Enter on the inheritance tab changes the folder and never closes the dialog.
    connect(FTabs, &QTabWidget::currentChanged, this, [this, inherit](int) {
        const bool there = FTabs->currentWidget() == inherit;
        FOk->setDefault(!there);
        FOk->setAutoDefault(!there);
    });
    connect(FPictureB, &QPushButton::clicked, this, [this] {
        if (kvlEditPicture(FPicture.get(), this))
            ShowPicture();
    });
    kvlMirrorIfRightToLeft(this);
}

TkvlReportEditorForm::~TkvlReportEditorForm() = default;

void TkvlReportEditorForm::FillTemplateList()
{
    FPath->setText(FFolder.Path);
    FTemplateFiles = FFolder.List ? FFolder.List(FFolder.Path) : QStringList();
    FTemplateFiles.sort();
    FTemplates->clear();
    const QIcon icon = stripImage(kvlResources().GetWizardImages(), 5);
    for (int i = 0; i < FTemplateFiles.size(); ++i) {
        auto *item = new QListWidgetItem(icon, QFileInfo(FTemplateFiles[i]).fileName(), FTemplates);
        item->setData(Qt::UserRole, i);
    }
}

void TkvlReportEditorForm::ShowPicture()
{
    QImage img;
    if (const auto *bmp = dynamic_cast<const TBitmap *>(FPicture->Graphic()))
        img = bmp->image();
    if (img.width() > kPictureBox.width() || img.height() > kPictureBox.height())
        img = img.scaled(kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    FPictureImg->setPixmap(QPixmap::fromImage(img));
}

void TkvlReportEditorForm::done(int Result)
{
    if (Result == Accepted) {
        // The one number first: a bad one leaves the report as it was.
        int copies = 0;
        try {
            copies = int(rtl::StrToInt64(FCopies->text().trimmed()));
        } catch (const Exception &e) {
            kvlRefuseField(FCopies, e.message());
            return;
        }
        TkvlPrintOptions *po = FReport->PrintOptions();
        const int row = FPrinters->currentRow();
        if (row >= 0 && row < FPrinterNames.size() && FPrinters->currentItem()->isSelected()) {
            po->Printer = FPrinterNames[row];
            FReport->SelectPrinter();
        }
        po->Collate = FCollate->isChecked();
        po->Copies = copies;
        FReport->EngineOptions()->DoublePass = FDoublePass->isChecked();
        FReport->EngineOptions()->PrintIfEmpty = FPrintIfEmpty->isChecked();
        TkvlReportOptions *ro = FReport->ReportOptions();
        if (!FHiddenPassword)
            ro->Password = FPassword->text();
        const TkvlInheritChange change = FDetach->isChecked() ? icDetach : FInherit->isChecked() ? icInherit : icNone;
        const QListWidgetItem *chosen = FTemplates->currentItem();
        const QString tmpl = chosen && chosen->isSelected()
                                 ? FTemplateFiles.value(chosen->data(Qt::UserRole).toInt())
                                 : QString();
        try {
            kvlChangeInheritance(FReport, FDesigner, change, tmpl);
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
        }
        ro->Name = FName->text();
        ro->Author = FAuthor->text();
        ro->Description().Clear();
        if (!FDescription->toPlainText().isEmpty())
            for (const QString &line : FDescription->toPlainText().split(u'\n'))
                ro->Description().Add(line);
        ro->Picture()->Assign(FPicture.get());
        ro->VersionMajor = FVersion[0]->text();
        ro->VersionMinor = FVersion[1]->text();
        ro->VersionRelease = FVersion[2]->text();
        ro->VersionBuild = FVersion[3]->text();
    }
    QDialog::done(Result);
}

void TkvlReportEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

bool kvlEditReportOptions(TkvlReport *Report, TkvlCustomDesigner *Designer, TkvlTemplateFolder &Templates,
                          QWidget *Owner)
{
    TkvlReportEditorForm f(Report, Designer, Templates, Owner);
    return f.exec() == QDialog::Accepted;
}
