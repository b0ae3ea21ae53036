#pragma once
// The question asked when an inherited template has objects named as in its parent.
#include "report/progress/kvlwindows.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

class TkvlInheritErrorForm final : public QDialog {
public:
    explicit TkvlInheritErrorForm(QWidget *Parent = nullptr);

    // The choice once the window closed: Cancel unless it was accepted.
    TkvlInheritAnswer Answer() const;

    QRadioButton *DeleteRB() const { return FDelete; }
    QRadioButton *RenameRB() const { return FRename; }
    QPushButton *OkB() const { return FOk; }
    QPushButton *CancelB() const { return FCancel; }

private:
    QRadioButton *FDelete;
    QRadioButton *FRename;
    QPushButton *FOk;
    QPushButton *FCancel;
};
