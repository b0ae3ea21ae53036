#include "engine/widgets/kvlpreviewtabstrip.h"

#include "engine/preview/kvlpreviewtabs.h"
#include "platform/gfx/picturehelpers.h"
#include "report/resources/kvlresources.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The close cross: the preview's button image 17 drawn at (0, 1) on a 16 x 16 square whose
// colour ($008080) is the transparent one.
QIcon makeCloseIcon()
{
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    TImageList &images = kvlResources().GetPreviewButtonImages();
    if (images.Count() > 17) {
        QImage glyph = images.Image(17).convertToFormat(QImage::Format_ARGB32);
        const QRgb key = qRgb(0x80, 0x80, 0x00);  // $008080 in the Windows order
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                if ((glyph.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF))
                    glyph.setPixel(x, y, qRgba(0, 0, 0, 0));
        QPainter p(&square);
        p.drawImage(0, 1, glyph);
    }
    return QIcon(QPixmap::fromImage(square));
}

} // namespace

TkvlPreviewTabStrip::TkvlPreviewTabStrip(QWidget *Parent) : QTabBar(Parent), FCloseIcon(makeCloseIcon())
{
    setObjectName(QStringLiteral("TabStrip"));
    setFixedHeight(22);
    setIconSize(QSize(16, 16));
    setDrawBase(false);
    hide();
    connect(this, &QTabBar::currentChanged, this, [this](int Index) {
        if (!FSyncing && Index >= 0 && OnSelect)
            OnSelect(Index);
    });
}

void TkvlPreviewTabStrip::Sync(const TkvlPreviewTabs &Tabs)
{
    FSyncing = true;
    while (count() > Tabs.Count())
        removeTab(count() - 1);
    for (int i = 0; i < Tabs.Count(); ++i) {
        const TkvlPreviewTabItem &item = Tabs.Items(i);
        const QString caption = item.Caption.isEmpty() ? item.Name : item.Caption;
        if (i >= count())
            addTab(FCloseIcon, caption);
        else
            setTabText(i, caption);
        setTabData(i, QVariant::fromValue<void *>(item.Report));
    }
    if (Tabs.Count() > 0)
        setCurrentIndex(Tabs.CurTab());
    FSyncing = false;
    setVisible(count() > 1);
}

QRect TkvlPreviewTabStrip::CloseCrossRect(int Index) const
{
    const QRect tab = tabRect(Index);
    // x from left + 8 to left + 18, y above 5 and at most 18.
    return QRect(tab.left() + 8, 6, 11, 13);
}

void TkvlPreviewTabStrip::mouseReleaseEvent(QMouseEvent *Event)
{
    QTabBar::mouseReleaseEvent(Event);
    if (Event->button() != Qt::LeftButton)
        return;
    const int selected = currentIndex();
    if (selected <= 0)
        return;
    if (CloseCrossRect(selected).contains(Event->position().toPoint()) && OnClose)
        OnClose(selected);
}
