#include "designer/widgets/dialogtools.h"

#include "platform/gfx/picturehelpers.h"
#include "report/resources/kvlresources.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

bool blank(const QImage &Img)
{
    for (int y = 0; y < Img.height(); ++y)
        for (int x = 0; x < Img.width(); ++x)
            if (qAlpha(Img.pixel(x, y)))
                return false;
    return true;
}

} // namespace

QToolButton *kvlToolButton(QToolBar *Bar, int Image, const QString &Hint, const char *Name)
{
    auto *b = new QToolButton(Bar);
    b->setObjectName(QLatin1String(Name));
    const TImageList &images = kvlResources().GetMainButtonImages();
    if (Image < images.Count() && !blank(images.Image(Image))) {
        b->setIcon(QIcon(QPixmap::fromImage(images.Image(Image))));
    } else {
        b->setText(Hint);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    b->setToolTip(Hint);
    b->setAutoRaise(true);
    Bar->addWidget(b);
    return b;
}

QLineEdit *kvlLineEdit(QWidget *Parent, const char *Name)
{
    auto *e = new QLineEdit(Parent);
    e->setObjectName(QLatin1String(Name));
    return e;
}

QCheckBox *kvlCheckBox(QWidget *Parent, const QString &Caption, const char *Name)
{
    auto *c = new QCheckBox(Caption, Parent);
    c->setObjectName(QLatin1String(Name));
    return c;
}

QCheckBox *kvlCheckBox(QWidget *Parent, int Caption, const char *Name)
{
    return kvlCheckBox(Parent, kvlGet(Caption), Name);
}
