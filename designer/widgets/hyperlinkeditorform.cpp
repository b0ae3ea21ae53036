#include "designer/widgets/hyperlinkeditorform.h"

#include "designer/widgets/hostdialog.h"
#include "engine/widgets/kvlcombobox.h"
#include "platform/ui/services.h"
#include "report/resources/kvlresources.h"
#include "report/document/kvlreport.h"
#include "report/seams/kvldesigner.h"
#include "report/vars/kvlvariables.h"
#include "report/views/kvlview.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Captions of each kind: radio, value label, expression label, hint.
struct KindTexts {
    int Radio, ValueL, ExprL, Hint;
};
constexpr KindTexts kTexts[] = {{6202, 6209, 6210, 6223}, {6204, 6213, 6214, 6225}, {6203, 6211, 6212, 6224},
                                {6205, 6217, 6218, 6226}, {6206, 6217, 6218, 6227}, {6207, 6220, 6221, 6228}};
// The order the radio buttons are listed in.
constexpr TkvlHyperlinkKind kListed[] = {hkURL, hkPageNumber, hkAnchor, hkDetailReport, hkDetailPage, hkCustom};

QComboBox *editableList(QWidget *Parent, const char *Name, bool Editable = true)
{
    auto *cb = new QComboBox(Parent);
    cb->setObjectName(QLatin1String(Name));
    cb->setEditable(Editable);
    cb->setInsertPolicy(QComboBox::NoInsert);
    return cb;
}

} // namespace

TkvlHyperlinkEditorForm::TkvlHyperlinkEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer)
    : QDialog(Parent), FDesigner(Designer)
{
    setWindowTitle(kvlGet(6200));
    auto *kindGB = new QGroupBox(kvlGet(6201), this);
    auto *kl = new QVBoxLayout(kindGB);
    for (TkvlHyperlinkKind k : kListed) {
        KindRB[k] = new QRadioButton(kvlGet(kTexts[k].Radio), kindGB);
        KindRB[k]->setObjectName(QStringLiteral("KindRB%1").arg(int(k)));
        kl->addWidget(KindRB[k]);
        connect(KindRB[k], &QRadioButton::toggled, this, [this] { ArrangePanels(); });
    }
    kl->addStretch();

    auto *propertiesGB = new QGroupBox(kvlGet(6208), this);
    auto *pl = new QVBoxLayout(propertiesGB);
    for (int k = 0; k < 6; ++k) {
        KindP[k] = new QWidget(propertiesGB);
        auto *l = new QVBoxLayout(KindP[k]);
        l->setContentsMargins(0, 0, 0, 0);
        if (k == hkDetailReport) {
            l->addWidget(new QLabel(kvlGet(6215), KindP[k]));
            ReportNameE = new TkvlComboEdit(KindP[k]);
            ReportNameE->setObjectName(QStringLiteral("ReportNameE"));
            ReportNameE->setEditable(true);
            l->addWidget(ReportNameE);
            l->addWidget(new QLabel(kvlGet(6216), KindP[k]));
            ReportParamCB = editableList(KindP[k], "ReportParamCB");
            l->addWidget(ReportParamCB);
        } else if (k == hkDetailPage) {
            l->addWidget(new QLabel(kvlGet(6219), KindP[k]));
            ReportPageCB = editableList(KindP[k], "ReportPageCB", false);
            l->addWidget(ReportPageCB);
            l->addWidget(new QLabel(kvlGet(6216), KindP[k]));
            ReportPageParamCB = editableList(KindP[k], "ReportPageParamCB");
            l->addWidget(ReportPageParamCB);
        }
        auto *valueL = new QLabel(kvlGet(kTexts[k].ValueL), KindP[k]);
        valueL->setWordWrap(true);
        l->addWidget(valueL);
        ValueE[k] = new QLineEdit(KindP[k]);
        ValueE[k]->setObjectName(QStringLiteral("ValueE%1").arg(k));
        l->addWidget(ValueE[k]);
        auto *exprL = new QLabel(kvlGet(kTexts[k].ExprL), KindP[k]);
        exprL->setWordWrap(true);
        l->addWidget(exprL);
        ExprE[k] = new TkvlComboEdit(KindP[k]);
        ExprE[k]->setObjectName(QStringLiteral("ExprE%1").arg(k));
        ExprE[k]->setEditable(true);
        ExprE[k]->OnButtonClick = [this](TkvlComboEdit *Sender) {
            if (!FDesigner)
                return;
            const QString e = FDesigner->InsertExpression(Sender->currentText());
            if (!e.isEmpty())
                Sender->setEditText(e);
        };
        l->addWidget(ExprE[k]);
        l->addStretch();
        pl->addWidget(KindP[k]);
    }
    ReportNameE->OnButtonClick = [this](TkvlComboEdit *) {
        ui::FileDialogRequest r;
        r.fileName = ReportNameE->currentText();
        r.filter = kvlGet(2471);
        const ui::FileDialogResult res = ui::fileDialogs().Open(r);
        if (!res.accepted)
            return;
        ReportNameE->setEditText(res.fileName());
        ReportParamCB->clear();
        ReportParamCB->addItems(kvlFileVariableNames(res.fileName()));
        ReportParamCB->setEditText(QString());
    };

    auto *hint1 = new QLabel(kvlGet(6222), this);
    hint1->setWordWrap(true);
    Hint2L = new QLabel(this);
    Hint2L->setObjectName(QStringLiteral("Hint2L"));
    Hint2L->setWordWrap(true);
    QFont bold = Hint2L->font();
    bold.setBold(true);
    Hint2L->setFont(bold);
    ModifyAppearanceCB = new QCheckBox(kvlGet(6229), this);
    ModifyAppearanceCB->setObjectName(QStringLiteral("ModifyAppearanceCB"));

    auto *top = new QHBoxLayout;
    top->addWidget(kindGB);
    top->addWidget(propertiesGB, 1);
    auto *l = new QVBoxLayout(this);
    l->addLayout(top);
    l->addWidget(hint1);
    l->addWidget(Hint2L);
    l->addWidget(ModifyAppearanceCB);
    QPushButton *ok = nullptr, *cancel = nullptr;
    l->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), ok, cancel));
    KindRB[hkURL]->setChecked(true);
    ArrangePanels();
    resize(560, 400);
}

TkvlHyperlinkKind TkvlHyperlinkEditorForm::Kind() const
{
    for (int k = 0; k < 6; ++k)
        if (KindRB[k]->isChecked())
            return TkvlHyperlinkKind(k);
    return hkURL;
}

void TkvlHyperlinkEditorForm::ArrangePanels()
{
    const TkvlHyperlinkKind kind = Kind();
    for (int k = 0; k < 6; ++k)
        KindP[k]->setVisible(k == kind);
    Hint2L->setText(kvlGet(kTexts[kind].Hint));
}

void TkvlHyperlinkEditorForm::showEvent(QShowEvent *Event)
{
    TkvlReport *report = FDesigner ? FDesigner->Report() : nullptr;
    ReportPageParamCB->clear();
    ReportPageCB->clear();
    if (report) {
        ReportPageParamCB->addItems(kvlVariableNames(report->Variables()));
        ReportPageCB->addItems(kvlOtherPageNames(report, FDesigner->Page()));
    }
    // Filled lists show no entry until one is chosen.
    ReportPageParamCB->setEditText(QString());
    ReportPageCB->setCurrentIndex(-1);
    if (View) {
        const TkvlHyperlink *h = View->Hyperlink();
        const int k = h->FKind <= hkCustom ? h->FKind : hkURL;
        KindRB[k]->setChecked(true);
        ValueE[k]->setText(h->FValue);
        ExprE[k]->setEditText(h->FExpression);
        if (k == hkDetailReport) {
            ReportNameE->setEditText(h->FDetailReport);
            ReportParamCB->clear();
            ReportParamCB->addItems(kvlFileVariableNames(h->FDetailReport));
            ReportParamCB->setEditText(h->FReportVariable);
        } else if (k == hkDetailPage) {
            ReportPageCB->setCurrentIndex(ReportPageCB->findText(h->FDetailPage));
            ReportPageParamCB->setEditText(h->FReportVariable);
        }
    } else {
        KindRB[hkURL]->setChecked(true);
    }
    ArrangePanels();
    QDialog::showEvent(Event);
}

void TkvlHyperlinkEditorForm::done(int Result)
{
    if (Result == Accepted && View) {
        TkvlHyperlinkChoice c;
        c.Kind = Kind();
        c.Value = ValueE[c.Kind]->text();
        c.Expression = ExprE[c.Kind]->currentText();
        if (c.Kind == hkDetailReport) {
            c.DetailReport = ReportNameE->currentText();
            c.ReportVariable = ReportParamCB->currentText();
        } else if (c.Kind == hkDetailPage) {
            c.DetailPage = ReportPageCB->currentText();
            c.ReportVariable = ReportPageParamCB->currentText();
        }
        c.ModifyAppearance = ModifyAppearanceCB->isChecked();
        kvlApplyHyperlink(View, FDesigner ? FDesigner->Report() : nullptr, c);
    }
    QDialog::done(Result);
}

void TkvlHyperlinkEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

bool kvlEditHyperlink(QWidget *Owner, TkvlCustomDesigner *Designer, TkvlView *View)
{
    TkvlHyperlinkEditorForm f(Owner, Designer);
    f.View = View;
    return f.exec() == QDialog::Accepted;
}
