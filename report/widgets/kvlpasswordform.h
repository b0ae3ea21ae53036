#pragma once
// The password prompt of protected templates.
#include <QDialog>

class QLineEdit;
class QPushButton;

class TkvlPasswordForm final : public QDialog {
public:
    explicit TkvlPasswordForm(QWidget *Parent = nullptr);

    QString Password() const;
    QLineEdit *PasswordE() const { return FEdit; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

private:
    QLineEdit *FEdit;
    QPushButton *FOk;
    QPushButton *FCancel;
};
