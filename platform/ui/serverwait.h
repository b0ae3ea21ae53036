#pragma once
// A small window saying that the program waits for the database server, with "Annulla".
// It is shown without a modal loop of its own (the caller already waits in one) and keeps
// clicks from the other windows while it is up.
#include <QDialog>
#include <functional>

namespace ui {

class TServerWaitNotice : public QDialog
{
public:
    explicit TServerWaitNotice(std::function<void()> cancel, QWidget *parent = nullptr);

    static inline const QString Caption = QStringLiteral("LirraCal");
    static inline const QString Text = QStringLiteral("LirraCal è in attesa del server del database…");
    static inline const QString CancelCaption = QStringLiteral("Annulla");

protected:
    // Escape and the window's close button cancel, like "Annulla".
    void reject() override;

private:
    std::function<void()> m_cancel;
};

} // namespace ui
