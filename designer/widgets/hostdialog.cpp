#include "designer/widgets/hostdialog.h"

#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QBitmap>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QLayout>
#include <QVBoxLayout>

TkvlHostDialog::TkvlHostDialog(QWidget *Parent) : QDialog(Parent), FContent(new QWidget(this))
{
    FContent->setObjectName(QStringLiteral("Content"));
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(6, 6, 6, 6);
    l->addWidget(FContent, 1);
}

void TkvlHostDialog::AddOkCancel(const char *OkName)
{
    static_cast<QVBoxLayout *>(layout())->addLayout(kvlOkCancelRow(this, kvlGet(1), OkName, kvlGet(2), OkB, CancelB));
}

void TkvlHostDialog::HostControls(QWidget *Host)
{
    FHost = Host;
    layout()->removeWidget(FContent);
    if (!Host->layout()) {
        auto *l = new QVBoxLayout(Host);
        l->setContentsMargins(4, 4, 4, 4);
    }
    FContent->setParent(Host);
    Host->layout()->addWidget(FContent);
    FContent->show();
    ShowStep();
}

void TkvlHostDialog::UnhostControls(int ModalResult)
{
    FModalResult = ModalResult;
    if (FHost && FHost->layout())
        FHost->layout()->removeWidget(FContent);
    FHost = nullptr;
    FContent->setParent(this);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, FContent, 1);
    HideStep();
}

void TkvlHostDialog::done(int Result)
{
    if (!FHost) {
        FModalResult = Result;
        HideStep();
    }
    QDialog::done(Result);
}

void TkvlHostDialog::showEvent(QShowEvent *Event)
{
    QDialog::showEvent(Event);
    if (!FHost)
        ShowStep();
}

void TkvlHostDialog::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

bool kvlHelpKey(QWidget *Window, const QKeyEvent *Event)
{
    if (Event->key() != Qt::Key_F1)
        return false;
    kvlResources().Help(Window);
    return true;
}

QIcon kvlGlyphIcon(int Index)
{
    const QImage glyph = kvlResources().GlyphImage(Index).copy(0, 0, 16, 16).convertToFormat(QImage::Format_ARGB32);
    QImage icon = glyph;
    bool drawn = false;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb p = icon.pixel(x, y);
            if ((p & 0xFFFFFF) == 0x808000 || (p & 0xFFFFFF) == 0xFF00FF)
                icon.setPixel(x, y, 0);
            else
                drawn = true;
        }
    return drawn ? QIcon(QPixmap::fromImage(icon)) : QIcon();
}
