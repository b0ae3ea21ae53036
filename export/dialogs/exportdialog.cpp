#include "export/dialogs/exportdialog.h"

#include "export/common/exportoutput.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlexportfilter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TkvlExportDialog::TkvlExportDialog(QWidget *Parent) : QDialog(Parent)
{
    auto *root = new QVBoxLayout(this);
    FGroupPageRange = new QGroupBox(kvlGet(7), this);
    auto *range = new QVBoxLayout(FGroupPageRange);
    FAll = new QRadioButton(kvlGet(3), FGroupPageRange);
    FCurPage = new QRadioButton(kvlGet(4), FGroupPageRange);
    FPageNumbers = new QRadioButton(kvlGet(5), FGroupPageRange);
    FPageNumbersE = new QLineEdit(FGroupPageRange);
    FDescr = new QLabel(kvlGet(9), FGroupPageRange);
    FDescr->setWordWrap(true);
    auto *numbers = new QHBoxLayout;
    numbers->addWidget(FPageNumbers);
    numbers->addWidget(FPageNumbersE, 1);
    range->addWidget(FAll);
    range->addWidget(FCurPage);
    range->addLayout(numbers);
    range->addWidget(FDescr);
    FAll->setChecked(true);
    root->addWidget(FGroupPageRange);
    FOptions = new QVBoxLayout;
    root->addLayout(FOptions);
    FOpen = new QCheckBox(this);
    root->addWidget(FOpen);
    auto *buttons = new QDialogButtonBox(this);
    FOk = buttons->addButton(kvlGet(1), QDialogButtonBox::AcceptRole);
    FCancel = buttons->addButton(kvlGet(2), QDialogButtonBox::RejectRole);
    FOk->setDefault(true);
    root->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FPageNumbersE, &QLineEdit::textEdited, this, [this] { FPageNumbers->setChecked(true); });
    FPageNumbersE->installEventFilter(this);
}

bool TkvlExportDialog::eventFilter(QObject *Watched, QEvent *Event)
{
    // Characters other than digits, ',' and '-' never reach the page field.
    if (Watched == FPageNumbersE && Event->type() == QEvent::KeyPress) {
        const QString t = static_cast<QKeyEvent *>(Event)->text();
        if (!t.isEmpty() && t.at(0).isPrint() && !kvlIsPageRangeChar(t.at(0)))
            return true;
    }
    return QDialog::eventFilter(Watched, Event);
}

void TkvlExportDialog::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(objectName());
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlExportDialog::Load(TkvlCustomExportFilter &Filter, bool &OpenAfterExport)
{
    FOpen->setVisible(!Filter.SlaveExport);
    if (Filter.SlaveExport)
        OpenAfterExport = false;
    FOverwritePrompt = Filter.OverwritePrompt;
    if (!Filter.FileName.isEmpty() || Filter.SlaveExport) {
        FSaveFileName = Filter.FileName;
    } else {
        const QString report = kvlReportFileName(Filter.Report);
        FSaveFileName = report.isEmpty()
                            ? QString()
                            : QFileInfo(QString(report).replace(QLatin1Char('\\'), QLatin1Char('/'))).completeBaseName() +
                                  Filter.DefaultExt;
    }
    FOpen->setChecked(OpenAfterExport);
    if (!Filter.PageNumbers.isEmpty()) {
        FPageNumbersE->setText(Filter.PageNumbers);
        FPageNumbers->setChecked(true);
    } else {
        FAll->setChecked(true);
    }
}

int TkvlExportDialog::Apply(TkvlCustomExportFilter &Filter, bool &OpenAfterExport)
{
    Filter.PageNumbers.clear();
    Filter.CurPage = false;
    if (FCurPage->isChecked())
        Filter.CurPage = true;
    else if (FPageNumbers->isChecked())
        Filter.PageNumbers = FPageNumbersE->text();
    OpenAfterExport = FOpen->isChecked();
    if (Filter.SlaveExport)
        return mrOk;
    ui::FileDialogRequest request;
    request.fileName = FSaveFileName;
    request.initialDir = Filter.DefaultPath;
    request.filter = Filter.FilterDesc;
    request.defaultExt = Filter.DefaultExt.startsWith(QLatin1Char('.')) ? Filter.DefaultExt.mid(1) : Filter.DefaultExt;
    request.overwritePrompt = FOverwritePrompt;
    const ui::FileDialogResult answer = ui::fileDialogs().Save(request);
    if (!answer.accepted || answer.fileName().isEmpty())
        return mrCancel;
    Filter.FileName = answer.fileName();
    return mrOk;
}

int TkvlExportDialog::Run(TkvlCustomExportFilter &Filter, bool &OpenAfterExport)
{
    Load(Filter, OpenAfterExport);
    if (exec() != QDialog::Accepted)
        return mrCancel;
    return Apply(Filter, OpenAfterExport);
}
