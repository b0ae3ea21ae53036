#include "report/widgets/kvlformutils.h"

#include "platform/gfx/tfont.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

static void mirrorChildren(QWidget *Parent)
{
    for (QObject *o : Parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow())
            continue;
        QRect r = w->geometry();
        r.moveLeft(Parent->width() - r.right() - 1);
        w->setGeometry(r);
        mirrorChildren(w);
    }
}

void kvlMirrorIfRightToLeft(QWidget *Window)
{
    if (Window->layoutDirection() == Qt::RightToLeft)
        mirrorChildren(Window);
}

void kvlCenterOnScreen(QWidget *Window, const QWidget *Anchor)
{
    QScreen *screen = Anchor ? Anchor->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect r(QPoint(), Window->frameGeometry().size());
    r.moveCenter(area.center());
    r.moveLeft(qBound(area.left(), r.left(), qMax(area.left(), area.right() - r.width() + 1)));
    r.moveTop(qBound(area.top(), r.top(), qMax(area.top(), area.bottom() - r.height() + 1)));
    Window->move(r.topLeft());
}

QFont kvlQFont(const TFont &Font)
{
    QFont f(Font.Name());
    // Negative heights are character heights in pixels; a positive cell height is taken as one.
    f.setPixelSize(qMax(1, qAbs(Font.Height())));
    f.setBold(Font.HasStyle(fsBold));
    f.setItalic(Font.HasStyle(fsItalic));
    f.setUnderline(Font.HasStyle(fsUnderline));
    f.setStrikeOut(Font.HasStyle(fsStrikeOut));
    return f;
}

void kvlSetBackground(QWidget *Widget, TColor Color)
{
    QPalette p = Widget->palette();
    p.setColor(Widget->backgroundRole(), rtl::ToQColor(Color));
    Widget->setPalette(p);
    Widget->setAutoFillBackground(true);
}

QHBoxLayout *kvlOkCancelRow(QDialog *Dialog, const QString &OkCaption, const char *OkName,
                            const QString &CancelCaption, QPushButton *&Ok, QPushButton *&Cancel)
{
    Ok = new QPushButton(OkCaption, Dialog);
    Ok->setObjectName(QLatin1String(OkName));
    Ok->setDefault(true);
    Cancel = new QPushButton(CancelCaption, Dialog);
    Cancel->setObjectName(QStringLiteral("CancelB"));
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Ok);
    row->addWidget(Cancel);
    QObject::connect(Ok, &QPushButton::clicked, Dialog, &QDialog::accept);
    QObject::connect(Cancel, &QPushButton::clicked, Dialog, &QDialog::reject);
    return row;
}

void kvlFitFixedForm(QWidget *Form, const QSize &ClientSize)
{
    QFont small = Form->font();
    small.setPixelSize(11);
    Form->setFont(small);
    for (QLayout *l : Form->findChildren<QLayout *>()) {
        l->setSpacing(2);
        if (l->parent() != Form)
            l->setContentsMargins(6, 2, 6, 2);
    }
    Form->setFixedSize(ClientSize);
}
