#include "export/dialogs/xlsxexportdialog.h"

#include "export/common/exportoutput.h"
#include "export/xlsx/xlsxexport.h"
#include "report/resources/kvlresources.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

TkvlXLSXExportDialog::TkvlXLSXExportDialog(QWidget *Parent) : TkvlExportDialog(Parent)
{
    setObjectName(QStringLiteral("TkvlXLSXExportDialog"));
    setWindowTitle(kvlGet(9200));
    resize(287, 383);
    auto *options = new QGroupBox(kvlGet(8), this);
    options->setObjectName(QStringLiteral("GroupOptions"));
    auto *ol = new QVBoxLayout(options);
    FContinuous = new QCheckBox(kvlGet(8950), options);
    FPageBreaks = new QCheckBox(kvlGet(6), options);
    FWysiwyg = new QCheckBox(kvlGet(8102), options);
    ol->addWidget(FContinuous);
    ol->addWidget(FPageBreaks);
    ol->addWidget(FWysiwyg);

    auto *split = new QGroupBox(kvlGet(9001), this);
    split->setObjectName(QStringLiteral("SplitToSheetGB"));
    auto *sl = new QVBoxLayout(split);
    FRPages = new QRadioButton(kvlGet(9003), split);
    FNotSplit = new QRadioButton(kvlGet(9002), split);
    FRowsCount = new QRadioButton(kvlGet(9000), split);
    FChunk = new QLineEdit(split);
    auto *rows = new QHBoxLayout;
    rows->addWidget(FRowsCount);
    rows->addWidget(FChunk, 1);
    sl->addWidget(FRPages);
    sl->addWidget(FNotSplit);
    sl->addLayout(rows);

    OptionsLayout()->addWidget(options);
    OptionsLayout()->addWidget(split);
    OpenCB()->setText(kvlGet(8104));
}

void TkvlXLSXExportDialog::Load(TkvlXLSXExport &Filter)
{
    TkvlExportDialog::Load(Filter, Filter.OpenAfterExport);
    FContinuous->setChecked(!Filter.EmptyLines);
    FPageBreaks->setChecked(Filter.ExportPageBreaks);
    FWysiwyg->setChecked(Filter.Wysiwyg);
    FChunk->setText(QString::number(Filter.ChunkSize));
    if (Filter.SingleSheet)
        FNotSplit->setChecked(true);
    else if (Filter.ChunkSize > 0)
        FRowsCount->setChecked(true);
    else
        FRPages->setChecked(true);
}

int TkvlXLSXExportDialog::Apply(TkvlXLSXExport &Filter)
{
    Filter.Wysiwyg = FWysiwyg->isChecked();
    Filter.EmptyLines = !FContinuous->isChecked();
    Filter.ExportPageBreaks = FPageBreaks->isChecked() && !FContinuous->isChecked();
    Filter.SingleSheet = FNotSplit->isChecked();
    if (FRowsCount->isChecked())
        Filter.ChunkSize = std::max(0, FChunk->text().toInt());
    else if (FRPages->isChecked())
        Filter.ChunkSize = 0;
    return TkvlExportDialog::Apply(Filter, Filter.OpenAfterExport);
}

void kvlRegisterXLSXExportDialog() { kvlRegisterExportDialogFor<TkvlXLSXExportDialog, TkvlXLSXExport>(); }
