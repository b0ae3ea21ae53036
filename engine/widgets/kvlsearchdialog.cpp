#include "engine/widgets/kvlsearchdialog.h"

#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The last text accepted; only the user-interface thread reads or writes it.
QString &lastSearchText()
{
    static QString text;
    return text;
}

} // namespace

TkvlSearchDialog::TkvlSearchDialog(QWidget *Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("TkvlSearchDialog"));
    setWindowTitle(kvlGet(300));
    auto *v = new QVBoxLayout(this);
    v->addWidget(new QLabel(kvlGet(301), this));
    FText = new QLineEdit(this);
    FText->setObjectName(QStringLiteral("TextE"));
    v->addWidget(FText);
    FReplacePanel = new QWidget(this);
    FReplacePanel->setObjectName(QStringLiteral("ReplacePanel"));
    auto *rv = new QVBoxLayout(FReplacePanel);
    rv->setContentsMargins(0, 0, 0, 0);
    rv->addWidget(new QLabel(kvlGet(303), FReplacePanel));
    FReplace = new QLineEdit(FReplacePanel);
    FReplace->setObjectName(QStringLiteral("ReplaceE"));
    rv->addWidget(FReplace);
    FReplacePanel->hide();
    v->addWidget(FReplacePanel);
    auto *options = new QGroupBox(kvlGet(302), this);
    auto *ov = new QVBoxLayout(options);
    FTop = new QCheckBox(kvlGet(304), options);
    FTop->setObjectName(QStringLiteral("TopCB"));
    FCase = new QCheckBox(kvlGet(305), options);
    FCase->setObjectName(QStringLiteral("CaseCB"));
    ov->addWidget(FTop);
    ov->addWidget(FCase);
    v->addWidget(options);
    v->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), FOk, FCancel));
    kvlMirrorIfRightToLeft(this);
    kvlCenterOnScreen(this, nullptr);
}

void TkvlSearchDialog::showEvent(QShowEvent *Event)
{
    FText->setText(lastSearchText());
    FText->setFocus();
    FText->selectAll();
    QDialog::showEvent(Event);
}

void TkvlSearchDialog::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlSearchDialog::done(int Result)
{
    if (Result == Accepted)
        lastSearchText() = FText->text();
    QDialog::done(Result);
}
