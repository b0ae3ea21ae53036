#include "export/dialogs/docxexportdialog.h"

#include "export/common/exportoutput.h"
#include "export/docx/docxexport.h"
#include "report/resources/kvlresources.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

void AssignText(QWidget *W)
{
    const int tag = W->property("Tag").toInt();
    if (tag <= 0)
        return;
    const QString text = kvlGet(tag);
    if (W->isWindow())
        W->setWindowTitle(text);
    else if (auto *g = qobject_cast<QGroupBox *>(W))
        g->setTitle(text);
    else if (auto *b = qobject_cast<QAbstractButton *>(W))
        b->setText(text);
    else if (auto *l = qobject_cast<QLabel *>(W))
        l->setText(text);
}

void SetTag(QWidget *W, int Tag) { W->setProperty("Tag", Tag); }

} // namespace

void kvlAssignTexts(QWidget *Root)
{
    AssignText(Root);
    for (QWidget *w : Root->findChildren<QWidget *>())
        AssignText(w);
}

TkvlDOCXExportDialog::TkvlDOCXExportDialog(QWidget *Parent) : TkvlExportDialog(Parent)
{
    setObjectName(QStringLiteral("TkvlDOCXExportDialog"));
    resize(287, 203);
    SetTag(this, 9203);
    SetTag(OkB(), 1);
    SetTag(CancelB(), 2);
    SetTag(GroupPageRange(), 7);
    SetTag(AllRB(), 3);
    SetTag(CurPageRB(), 4);
    SetTag(PageNumbersRB(), 5);
    SetTag(DescrL(), 9);
    SetTag(OpenCB(), 8706);
    kvlAssignTexts(this);
}

void TkvlDOCXExportDialog::Load(TkvlDOCXExport &Filter)
{
    TkvlExportDialog::Load(Filter, Filter.OpenAfterExport);
    OpenCB()->setEnabled(!Filter.SlaveExport);
}

int TkvlDOCXExportDialog::Apply(TkvlDOCXExport &Filter) { return TkvlExportDialog::Apply(Filter, Filter.OpenAfterExport); }

void kvlRegisterDOCXExportDialog()
{
    kvlSetExportDialog(TkvlDOCXExport::StaticClass()->name(), [](TkvlCustomExportFilter &F) {
        auto &filter = static_cast<TkvlDOCXExport &>(F);
        TkvlDOCXExportDialog dialog;
        dialog.Load(filter);
        if (dialog.exec() != QDialog::Accepted)
            return int(mrCancel);
        return dialog.Apply(filter);
    });
}
