#include "designer/widgets/formateditorform.h"

#include "report/resources/kvlresources.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

TkvlFormatEditorForm::TkvlFormatEditorForm(QWidget *Parent) : TkvlHostDialog(Parent)
{
    setWindowTitle(kvlGet(4500));
    QWidget *c = Content();
    ExpressionL = new QLabel(kvlGet(4401), c);
    ComboBox1 = new QComboBox(c);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    auto *categoryL = new QLabel(kvlGet(4501), c);
    CategoryLB = new QListWidget(c);
    CategoryLB->setObjectName(QStringLiteral("CategoryLB"));
    auto *formatL = new QLabel(kvlGet(4502), c);
    FormatLB = new QListWidget(c);
    FormatLB->setObjectName(QStringLiteral("FormatLB"));
    auto *group = new QGroupBox(c);
    FormatStrL = new QLabel(kvlGet(4503), group);
    FormatE = new QLineEdit(group);
    FormatE->setObjectName(QStringLiteral("FormatE"));
    SeparatorL = new QLabel(kvlGet(4504), group);
    SeparatorE = new QLineEdit(QStringLiteral(","), group);
    SeparatorE->setObjectName(QStringLiteral("SeparatorE"));
    SeparatorE->setMaximumWidth(40);

    auto *g = new QGridLayout(group);
    g->addWidget(FormatStrL, 0, 0);
    g->addWidget(FormatE, 0, 1);
    g->addWidget(SeparatorL, 1, 0);
    g->addWidget(SeparatorE, 1, 1, Qt::AlignLeft);
    auto *l = new QGridLayout(c);
    l->setContentsMargins(0, 0, 0, 0);
    auto *top = new QHBoxLayout;
    top->addWidget(ExpressionL);
    top->addWidget(ComboBox1, 1);
    l->addLayout(top, 0, 0, 1, 2);
    l->addWidget(categoryL, 1, 0);
    l->addWidget(formatL, 1, 1);
    l->addWidget(CategoryLB, 2, 0);
    l->addWidget(FormatLB, 2, 1);
    l->addWidget(group, 3, 0, 1, 2);
    l->setColumnStretch(0, 1);
    l->setColumnStretch(1, 1);
    AddOkCancel();
    resize(420, 330);

    connect(CategoryLB, &QListWidget::itemSelectionChanged, this, [this] { CategoryClick(); });
    connect(FormatLB, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *it) { FormatE->setText(kvlSampleFormat(it->data(Qt::UserRole).toString())); });
    connect(ComboBox1, &QComboBox::activated, this, [this](int Index) {
        UpdateCurFormat();
        FEditor.Current = Index;
        UpdateControls();
    });
}

void TkvlFormatEditorForm::ShowStep()
{
    FEditor.Fill();
    ComboBox1->clear();
    ComboBox1->addItems(FEditor.Entries());
    ComboBox1->setEnabled(FEditor.HasExpressions());
    ExpressionL->setEnabled(FEditor.HasExpressions());
    CategoryLB->blockSignals(true);
    CategoryLB->clear();
    for (TkvlFormatKind k : {fkText, fkNumeric, fkDateTime, fkBoolean})
        CategoryLB->addItem(kvlResources().Get(kvlFormatKindKey(k)));
    CategoryLB->blockSignals(false);
    ComboBox1->setCurrentIndex(0);
    FEditor.Current = 0;
    UpdateControls();
}

void TkvlFormatEditorForm::UpdateControls()
{
    const TkvlFormat *f = FEditor.CurrentFormat();
    if (!f)
        return;
    CategoryLB->setCurrentRow(f->Kind);
    CategoryClick();
    QStringList samples;
    for (int i = 0; i < FormatLB->count(); ++i)
        samples.append(FormatLB->item(i)->data(Qt::UserRole).toString());
    FormatLB->setCurrentRow(kvlFindSample(samples, f->FormatStr));
    FormatE->setText(f->FormatStr);
    SeparatorE->setText(f->DecimalSeparator);
}

void TkvlFormatEditorForm::CategoryClick()
{
    FormatLB->clear();
    const int kind = CategoryLB->currentRow();
    const bool text = kind <= fkText;
    FormatE->setEnabled(!text);
    FormatStrL->setEnabled(!text);
    SeparatorE->setEnabled(kind == fkNumeric);
    SeparatorL->setEnabled(kind == fkNumeric);
    if (text)
        return;
    for (const QString &s : kvlFormatSamples(TkvlFormatKind(kind))) {
        auto *it = new QListWidgetItem(kvlSampleCaption(s), FormatLB);
        it->setData(Qt::UserRole, s);
    }
}

void TkvlFormatEditorForm::UpdateCurFormat()
{
    const int kind = CategoryLB->currentRow();
    FEditor.Store(TkvlFormatKind(kind < 0 ? 0 : kind), FormatE->text(), SeparatorE->text());
}

void TkvlFormatEditorForm::HideStep()
{
    if (ModalResult() != Accepted)
        return;
    UpdateCurFormat();
    FEditor.WriteBack();
}

bool kvlEditDisplayFormats(QWidget *Owner, TkvlCustomMemoView *Memo)
{
    TkvlFormatEditorForm f(Owner);
    f.SetMemo(Memo);
    return f.exec() == QDialog::Accepted;
}
