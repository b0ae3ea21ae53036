#pragma once
// The borderless pop-up of drop-down editors. It closes when it loses activation and notes the
// time, so that the click that closed it does not open it again; closed without a modal result
// it deletes itself.
#include <QWidget>

class TkvlPopupForm : public QWidget {
public:
    explicit TkvlPopupForm(QWidget *Parent = nullptr);

    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

protected:
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    int FModalResult = 0;
};
