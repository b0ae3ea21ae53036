#pragma once
// The main events window. Restores its bounds when first shown and then connects;
// saves its bounds when it closes.
#include <QMainWindow>

class TfMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfMain(QWidget *parent = nullptr);
    ~TfMain() override;

    // "Apri": connects to the events database.
    virtual void bOpenRemotoClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();

    bool FShown = false;
};
