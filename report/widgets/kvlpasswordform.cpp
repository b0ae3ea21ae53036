#include "report/widgets/kvlpasswordform.h"

#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TkvlPasswordForm::TkvlPasswordForm(QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(kvlGet(5000));
    setFixedSize(252, 92);
    auto *picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    picture->setGeometry(8, 8, 32, 32);
    auto *label = new QLabel(kvlGet(5001), this);
    label->setObjectName(QStringLiteral("PasswordL"));
    label->setGeometry(88, 8, 157, 16);
    FEdit = new QLineEdit(this);
    FEdit->setObjectName(QStringLiteral("PasswordE"));
    FEdit->setEchoMode(QLineEdit::Password);
    FEdit->setGeometry(88, 28, 157, 21);
    FOk = new QPushButton(kvlGet(1), this);
    FOk->setObjectName(QStringLiteral("OkB"));
    FOk->setDefault(true);
    FOk->setGeometry(88, 60, 75, 25);
    FCancel = new QPushButton(kvlGet(2), this);
    FCancel->setObjectName(QStringLiteral("CancelB"));
    FCancel->setGeometry(170, 60, 75, 25);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    kvlMirrorIfRightToLeft(this);
    kvlCenterOnScreen(this, nullptr);
    FEdit->setFocus();
}

QString TkvlPasswordForm::Password() const { return FEdit->text(); }
