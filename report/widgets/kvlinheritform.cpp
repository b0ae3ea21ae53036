#include "report/widgets/kvlinheritform.h"

#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

TkvlInheritErrorForm::TkvlInheritErrorForm(QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(kvlGet(6000));
    setFixedSize(256, 152);
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setGeometry(8, 8, 32, 32);
    auto *message = new QLabel(kvlGet(6001), this);
    message->setObjectName(QStringLiteral("MessageL"));
    message->setWordWrap(true);
    message->setGeometry(48, 8, 200, 44);
    FDelete = new QRadioButton(kvlGet(6002), this);
    FDelete->setObjectName(QStringLiteral("DeleteRB"));
    FDelete->setGeometry(48, 58, 200, 19);
    FDelete->setChecked(true);
    FRename = new QRadioButton(kvlGet(6003), this);
    FRename->setObjectName(QStringLiteral("RenameRB"));
    FRename->setGeometry(48, 82, 200, 19);
    FOk = new QPushButton(kvlGet(1), this);
    FOk->setObjectName(QStringLiteral("OkB"));
    FOk->setDefault(true);
    FOk->setGeometry(92, 118, 75, 25);
    FCancel = new QPushButton(kvlGet(2), this);
    FCancel->setObjectName(QStringLiteral("CancelB"));
    FCancel->setGeometry(173, 118, 75, 25);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    kvlMirrorIfRightToLeft(this);
    kvlCenterOnScreen(this, nullptr);
}

TkvlInheritAnswer TkvlInheritErrorForm::Answer() const
{
    if (result() != QDialog::Accepted)
        return TkvlInheritAnswer::Cancel;
    return FDelete->isChecked() ? TkvlInheritAnswer::Delete : TkvlInheritAnswer::Rename;
}
