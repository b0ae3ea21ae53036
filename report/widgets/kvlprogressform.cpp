#include "report/widgets/kvlprogressform.h"

#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

TkvlProgressForm::TkvlProgressForm(QWidget *Parent)
    : QWidget(Parent, Qt::Window | Qt::FramelessWindowHint)
{
    setFixedSize(271, 101);
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, 271, 101);
    FMessage = new QLabel(panel);
    FMessage->setObjectName(QStringLiteral("LMessage"));
    FMessage->setAlignment(Qt::AlignCenter);
    FMessage->setGeometry(16, 11, 237, 20);
    FBar = new QProgressBar(panel);
    FBar->setObjectName(QStringLiteral("Bar"));
    FBar->setGeometry(16, 37, 237, 17);
    FBar->setTextVisible(false);
    FBar->setRange(0, 100);
    FBar->setValue(0);
    FCancel = new QPushButton(kvlGet(2), panel);
    FCancel->setObjectName(QStringLiteral("CancelB"));
    FCancel->setGeometry(100, 64, 75, 25);
    connect(FCancel, &QPushButton::clicked, this, [this] { SetTerminated(true); });
    kvlMirrorIfRightToLeft(this);

    FActiveForm = QApplication::activeWindow();
    if (FActiveForm == this)
        FActiveForm = nullptr;
    if (FActiveForm)
        FActiveForm->setEnabled(false);
    kvlCenterOnScreen(this, nullptr);
}

TkvlProgressForm::~TkvlProgressForm() { enableActiveForm(); }

void TkvlProgressForm::enableActiveForm()
{
    if (FActiveForm)
        FActiveForm->setEnabled(true);
}

void TkvlProgressForm::ShowWindow()
{
    show();
    if (FActiveForm)
        kvlCenterOnScreen(this, FActiveForm);
    raise();
    QCoreApplication::processEvents();
}

void TkvlProgressForm::PositionChanged()
{
    FBar->setMaximum(MaxValue());
    FBar->setValue(Position());
    if (isVisible())
        raise();
    // Long work calls in here after each step: it keeps the window (and Cancel) alive.
    QCoreApplication::processEvents();
}

void TkvlProgressForm::MessageChanged()
{
    FMessage->setText(Message());
    FMessage->repaint();
}

void TkvlProgressForm::LayoutChanged()
{
    FBar->setVisible(ShowProgress());
    FCancel->setVisible(CancelVisible());
    FMessage->move(FMessage->x(), MessageTop());
}

void TkvlProgressForm::hideEvent(QHideEvent *e)
{
    enableActiveForm();
    QWidget::hideEvent(e);
}

// The window has no title strip: any point of it drags it.
void TkvlProgressForm::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        FDragOffset = e->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(e);
}

void TkvlProgressForm::mouseMoveEvent(QMouseEvent *e)
{
    if (e->buttons() & Qt::LeftButton)
        move(e->globalPosition().toPoint() - FDragOffset);
    QWidget::mouseMoveEvent(e);
}
