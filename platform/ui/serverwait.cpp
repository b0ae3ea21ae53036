#include "platform/ui/serverwait.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

TServerWaitNotice::TServerWaitNotice(std::function<void()> cancel, QWidget *parent)
    : QDialog(parent), m_cancel(std::move(cancel))
{
    setObjectName(QStringLiteral("serverWaitNotice"));
    setWindowTitle(Caption);
    setWindowModality(Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(Text, this);
    layout->addWidget(label);
    auto *button = new QPushButton(CancelCaption, this);
    button->setObjectName(QStringLiteral("cancelButton"));
    layout->addWidget(button, 0, Qt::AlignHCenter);
    connect(button, &QPushButton::clicked, this, [this, button] {
        button->setEnabled(false);
        if (m_cancel)
            m_cancel();
    });
}

void TServerWaitNotice::reject()
{
    if (m_cancel)
        m_cancel();
}

} // namespace ui
