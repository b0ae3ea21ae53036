#include "export/dialogs/csvexportdialog.h"

#include "export/common/exportoutput.h"
#include "export/csv/csvexport.h"
#include "report/resources/kvlresources.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TkvlCSVExportDialog::TkvlCSVExportDialog(QWidget *Parent) : TkvlExportDialog(Parent)
{
    setObjectName(QStringLiteral("TkvlCSVExportDialog"));
    setWindowTitle(kvlGet(8850));
    resize(277, 242);
    FGroupQuality = new QGroupBox(kvlGet(8302), this);
    auto *quality = new QVBoxLayout(FGroupQuality);
    FOEM = new QCheckBox(kvlGet(8304), FGroupQuality);
    FSeparatorL = new QLabel(kvlGet(8853), FGroupQuality);
    FSeparatorE = new QLineEdit(FGroupQuality);
    auto *sep = new QHBoxLayout;
    sep->addWidget(FSeparatorL);
    sep->addWidget(FSeparatorE, 1);
    quality->addWidget(FOEM);
    quality->addLayout(sep);
    OptionsLayout()->addWidget(FGroupQuality);
    OpenCB()->setText(kvlGet(8706));
}

void TkvlCSVExportDialog::Load(TkvlCSVExport &Filter)
{
    TkvlExportDialog::Load(Filter, Filter.OpenAfterExport);
    FOEM->setChecked(Filter.OEMCodepage);
    FSeparatorE->setText(Filter.Separator);
}

int TkvlCSVExportDialog::Apply(TkvlCSVExport &Filter)
{
    Filter.OEMCodepage = FOEM->isChecked();
    Filter.Separator = FSeparatorE->text();
    return TkvlExportDialog::Apply(Filter, Filter.OpenAfterExport);
}

void kvlRegisterExportDialogs() { kvlRegisterExportDialogFor<TkvlCSVExportDialog, TkvlCSVExport>(); }
