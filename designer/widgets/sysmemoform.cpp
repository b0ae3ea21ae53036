#include "designer/widgets/sysmemoform.h"

#include "designer/widgets/hostdialog.h"
#include "engine/widgets/kvlcombobox.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QComboBox *editableList(QWidget *Parent, const char *Name)
{
    auto *cb = new QComboBox(Parent);
    cb->setObjectName(QLatin1String(Name));
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    return cb;
}

} // namespace

TkvlSysMemoEditorForm::TkvlSysMemoEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer, bool AggregateOnly)
    : QDialog(Parent), FDesigner(Designer), FAggregateOnly(AggregateOnly)
{
    setWindowTitle(kvlGet(3300));
    SysVariableRB = new QRadioButton(kvlGet(3307), this);
    SysVariableRB->setObjectName(QStringLiteral("SysVariableRB"));
    SysVariableRB->setChecked(true);
    AggregateRB = new QRadioButton(kvlGet(3306), this);
    AggregateRB->setObjectName(QStringLiteral("AggregateRB"));
    TextRB = new QRadioButton(kvlGet(3309), this);
    TextRB->setObjectName(QStringLiteral("TextRB"));

    FGroupBox1 = new QGroupBox(this);
    SysVariableCB = editableList(FGroupBox1, "SysVariableCB");
    SysVariableCB->addItems(kvlSysVariables());
    SysVariableCB->setEditText(QString());
    (new QVBoxLayout(FGroupBox1))->addWidget(SysVariableCB);

    FAggregatePanel = new QGroupBox(this);
    FunctionCB = editableList(FAggregatePanel, "FunctionCB");
    FunctionCB->addItems({QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"), QStringLiteral("AVG"),
                          QStringLiteral("COUNT")});
    FunctionCB->setEditText(QString());
    DataBandCB = editableList(FAggregatePanel, "DataBandCB");
    DataSetCB = editableList(FAggregatePanel, "DataSetCB");
    DataFieldCB = editableList(FAggregatePanel, "DataFieldCB");
    ExpressionE = new TkvlComboEdit(FAggregatePanel);
    ExpressionE->setObjectName(QStringLiteral("ExpressionE"));
    ExpressionE->setEditable(true);
    CountInvisibleCB = new QCheckBox(kvlGet(3308), FAggregatePanel);
    CountInvisibleCB->setObjectName(QStringLiteral("CountInvisibleCB"));
    RunningTotalCB = new QCheckBox(kvlGet(3310), FAggregatePanel);
    RunningTotalCB->setObjectName(QStringLiteral("RunningTotalCB"));
    SampleL = new QLabel(FAggregatePanel);
    SampleL->setObjectName(QStringLiteral("SampleL"));
    auto *ag = new QGridLayout(FAggregatePanel);
    const std::pair<int, QWidget *> rows[] = {
        {3304, FunctionCB}, {3301, DataBandCB}, {3302, DataSetCB}, {3303, DataFieldCB}, {3305, ExpressionE}};
    int row = 0;
    for (auto [caption, w] : rows) {
        ag->addWidget(new QLabel(kvlGet(caption), FAggregatePanel), row, 0);
        ag->addWidget(w, row++, 1);
    }
    ag->addWidget(CountInvisibleCB, row++, 0, 1, 2);
    ag->addWidget(RunningTotalCB, row++, 0, 1, 2);
    ag->addWidget(SampleL, row, 0, 1, 2);
    ag->setColumnStretch(1, 1);

    FGroupBox2 = new QGroupBox(this);
    TextE = new QLineEdit(FGroupBox2);
    TextE->setObjectName(QStringLiteral("TextE"));
    (new QVBoxLayout(FGroupBox2))->addWidget(TextE);

    auto *l = new QVBoxLayout(this);
    l->addWidget(SysVariableRB);
    l->addWidget(FGroupBox1);
    l->addWidget(AggregateRB);
    l->addWidget(FAggregatePanel);
    l->addWidget(TextRB);
    l->addWidget(FGroupBox2);
    QPushButton *ok = nullptr, *cancel = nullptr;
    l->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), ok, cancel));

    auto sample = [this] { UpdateSample(); };
    connect(FunctionCB, &QComboBox::currentTextChanged, this, sample);
    connect(CountInvisibleCB, &QCheckBox::toggled, this, sample);
    connect(RunningTotalCB, &QCheckBox::toggled, this, sample);
    connect(AggregateRB, &QRadioButton::toggled, this, sample);
    connect(DataBandCB, &QComboBox::currentTextChanged, this, [this](const QString &Band) {
        if (!FDesigner)
            return;
        const QString ds = kvlBandDataSet(FDesigner->Report(), FDesigner->Objects, Band);
        if (!ds.isEmpty()) {
            DataSetCB->setEditText(ds);
            FillFields();
        }
        UpdateSample();
    });
    connect(DataSetCB, &QComboBox::currentTextChanged, this, [this] {
        FillFields();
        ExpressionE->setEditText(QString());
        UpdateSample();
    });
    connect(DataFieldCB, &QComboBox::currentTextChanged, this, [this] {
        ExpressionE->setEditText(QString());
        UpdateSample();
    });
    connect(ExpressionE, &QComboBox::editTextChanged, this, sample);
    ExpressionE->OnButtonClick = [this](TkvlComboEdit *) {
        if (!FDesigner)
            return;
        const QString e = FDesigner->InsertExpression(ExpressionE->currentText());
        if (!e.isEmpty())
            ExpressionE->setEditText(e);
        UpdateSample();
    };
}

void TkvlSysMemoEditorForm::showEvent(QShowEvent *Event)
{
    if (FDesigner) {
        DataBandCB->addItems(kvlDataBandNames(FDesigner->Objects));
        DataSetCB->addItems(kvlReportDataSets(FDesigner->Report()));
        DataBandCB->setEditText(QString());
        DataSetCB->setEditText(QString());
    }
    const QString text = kvlStripLineBreak(Text);
    if (FAggregateOnly) {
        setWindowTitle(kvlResources().Get(QStringLiteral("agAggregate")));
        AggregateRB->setChecked(true);
        for (QWidget *w : std::initializer_list<QWidget *>{SysVariableRB, AggregateRB, TextRB, FGroupBox1, FGroupBox2})
            w->hide();
    } else if (!text.isEmpty() && !kvlIsSysVariable(text)) {
        TextRB->setChecked(true);
        TextE->setText(text);
        TextE->setFocus();
    } else {
        SysVariableRB->setChecked(true);
        SysVariableCB->setEditText(text);
    }
    UpdateSample();
    adjustSize();
    QDialog::showEvent(Event);
}

void TkvlSysMemoEditorForm::FillFields()
{
    const QString field = DataFieldCB->currentText();
    DataFieldCB->blockSignals(true);
    DataFieldCB->clear();
    if (FDesigner)
        DataFieldCB->addItems(kvlDataSetFields(FDesigner->Report(), DataSetCB->currentText()));
    DataFieldCB->setEditText(DataFieldCB->findText(field) >= 0 ? field : QString());
    DataFieldCB->blockSignals(false);
}

TkvlAggregateChoice TkvlSysMemoEditorForm::Choice() const
{
    TkvlAggregateChoice c;
    c.Function = FunctionCB->currentText();
    c.Expression = ExpressionE->currentText();
    c.DataSet = DataSetCB->currentText();
    c.DataField = DataFieldCB->currentText();
    c.Band = DataBandCB->currentText();
    c.CountInvisible = CountInvisibleCB->isChecked();
    c.RunningTotal = RunningTotalCB->isChecked();
    return c;
}

void TkvlSysMemoEditorForm::UpdateSample()
{
    SampleL->setText(AggregateRB->isChecked() ? kvlCreateAggregate(Choice()) : QString());
}

void TkvlSysMemoEditorForm::done(int Result)
{
    if (Result == Accepted) {
        if (SysVariableRB->isChecked())
            Text = SysVariableCB->currentText();
        else if (AggregateRB->isChecked())
            Text = QLatin1Char('[') + kvlCreateAggregate(Choice()) + QLatin1Char(']');
        else
            Text = TextE->text();
    }
    QDialog::done(Result);
}

void TkvlSysMemoEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

bool kvlEditSysMemo(QWidget *Owner, TkvlCustomDesigner *Designer, QString &Text)
{
    TkvlSysMemoEditorForm f(Owner, Designer);
    f.Text = Text;
    if (f.exec() != QDialog::Accepted)
        return false;
    Text = f.Text;
    return true;
}

QString kvlInsertAggregate(QWidget *Owner, TkvlCustomDesigner *Designer)
{
    TkvlSysMemoEditorForm f(Owner, Designer, true);
    return f.exec() == QDialog::Accepted ? f.Text : QString();
}
