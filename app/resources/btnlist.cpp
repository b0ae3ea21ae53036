#include "app/resources/btnlist.h"

#include <QAbstractButton>
#include <QAction>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

QPen pen(const QColor &c, qreal w = 1.6)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawCross(QPainter &p, const QColor &c, qreal inset)
{
    p.setPen(pen(c, 2.2));
    p.drawLine(QPointF(inset, inset), QPointF(kSize - inset, kSize - inset));
    p.drawLine(QPointF(kSize - inset, inset), QPointF(inset, kSize - inset));
}

void drawWindow(QPainter &p, bool open)
{
    p.setPen(pen(QColor(60, 60, 60), 1.0));
    p.setBrush(open ? QColor(220, 245, 220) : QColor(235, 235, 235));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.fillRect(QRectF(2, 3, 12, 3), open ? QColor(40, 150, 60) : QColor(150, 150, 150));
}

void drawDocument(QPainter &p, const QColor &mark)
{
    p.setPen(pen(QColor(70, 70, 70), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
    p.setPen(pen(mark, 1.2));
    for (int y = 5; y <= 11; y += 3)
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
}

void drawArrowCircle(QPainter &p, const QColor &c)
{
    p.setPen(pen(c, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 290 * 16);
    QPainterPath head;
    head.moveTo(13.5, 1.5);
    head.lineTo(14.0, 7.0);
    head.lineTo(9.0, 5.0);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(head);
}

void drawPicture(QPainter &p, int index)
{
    const QColor red(200, 40, 40), green(40, 150, 60), blue(40, 90, 190), orange(230, 140, 20);
    switch (index) {
    case 0: // leave the program: a door with an arrow
        p.setPen(pen(QColor(90, 60, 30), 1.2));
        p.setBrush(QColor(200, 160, 110));
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        p.setPen(pen(red, 2.0));
        p.drawLine(QPointF(8, 8), QPointF(15, 8));
        p.drawLine(QPointF(12, 5), QPointF(15, 8));
        p.drawLine(QPointF(12, 11), QPointF(15, 8));
        break;
    case 1: // forced end: a red stop sign
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        drawCross(p, Qt::white, 5);
        break;
    case 2: // save: a disk
        p.setPen(pen(QColor(30, 50, 110), 1.0));
        p.setBrush(blue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.fillRect(QRectF(4, 2, 8, 5), Qt::white);
        p.fillRect(QRectF(5, 10, 6, 4), QColor(200, 200, 200));
        break;
    case 4: // delete: a bin
    case 15:
        p.setPen(pen(QColor(60, 60, 60), 1.0));
        p.setBrush(index == 4 ? QColor(190, 190, 190) : QColor(230, 120, 120));
        p.drawRect(QRectF(3.5, 4.5, 9, 10));
        p.drawLine(QPointF(2, 3), QPointF(14, 3));
        p.drawLine(QPointF(6, 1.5), QPointF(10, 1.5));
        for (qreal x = 6; x <= 10; x += 2)
            p.drawLine(QPointF(x, 6.5), QPointF(x, 12.5));
        break;
    case 6: // a view of the table: a grid
        p.setPen(pen(QColor(60, 60, 60), 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.fillRect(QRectF(2, 3, 12, 3), blue);
        p.drawLine(QPointF(2, 9.5), QPointF(14, 9.5));
        p.drawLine(QPointF(6.5, 6), QPointF(6.5, 13.5));
        break;
    case 16: // connect: a green plug
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(pen(Qt::white, 2.0));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        p.drawLine(QPointF(8, 5), QPointF(11, 8));
        p.drawLine(QPointF(8, 11), QPointF(11, 8));
        break;
    case 17: // disconnect
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(130, 130, 130));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(pen(Qt::white, 2.0));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        break;
    case 19: // clear the filters: an eraser cross
        drawCross(p, orange, 3);
        break;
    case 20: // a window that is closed
        drawWindow(p, false);
        break;
    case 21: // a window that is open
        drawWindow(p, true);
        break;
    case 24: // home page: a house
    {
        QPainterPath roof;
        roof.moveTo(1, 8);
        roof.lineTo(8, 1.5);
        roof.lineTo(15, 8);
        p.setPen(pen(red, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(roof);
        p.setPen(pen(QColor(60, 60, 60), 1.0));
        p.setBrush(QColor(240, 220, 170));
        p.drawRect(QRectF(3.5, 8.5, 9, 6));
        break;
    }
    case 25: // user guide: a document
        drawDocument(p, blue);
        break;
    case 26: // reload: a circular arrow
        drawArrowCircle(p, green);
        break;
    case 27: // calendar: a page with a red header
        p.setPen(pen(QColor(60, 60, 60), 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 13, 12));
        p.fillRect(QRectF(2, 3, 12, 3), red);
        for (int y = 8; y <= 12; y += 2)
            for (int x = 4; x <= 12; x += 3)
                p.fillRect(QRectF(x, y, 1.5, 1.2), QColor(80, 80, 80));
        break;
    case 28: // print a report: a printer with a sheet coming out
        p.setPen(pen(QColor(60, 60, 60), 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.fillRect(QRectF(11.5, 8, 1.5, 1.2), green);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(pen(blue, 1.0));
        p.drawLine(QPointF(5.5, 12.5), QPointF(10.5, 12.5));
        break;
    case 29: // edit a report: a pencil over a page
        drawDocument(p, QColor(150, 150, 150));
        p.setPen(pen(QColor(60, 60, 60), 1.0));
        p.setBrush(orange);
        {
            QPainterPath pencil;
            pencil.moveTo(15, 4);
            pencil.lineTo(13, 2);
            pencil.lineTo(5, 10);
            pencil.lineTo(4, 13);
            pencil.lineTo(7, 12);
            pencil.closeSubpath();
            p.drawPath(pencil);
        }
        break;
    case 30: // archive: a box
        p.setPen(pen(QColor(90, 60, 30), 1.0));
        p.setBrush(QColor(210, 170, 110));
        p.drawRect(QRectF(1.5, 5.5, 13, 9));
        p.drawRect(QRectF(0.5, 2.5, 15, 3));
        p.drawLine(QPointF(6, 8.5), QPointF(10, 8.5));
        break;
    case 31: // undo the archiving: a box with a return arrow
        p.setPen(pen(QColor(90, 60, 30), 1.0));
        p.setBrush(QColor(210, 170, 110));
        p.drawRect(QRectF(1.5, 7.5, 13, 7));
        p.setPen(pen(blue, 1.8));
        p.drawLine(QPointF(8, 11), QPointF(8, 2));
        p.drawLine(QPointF(5, 5), QPointF(8, 2));
        p.drawLine(QPointF(11, 5), QPointF(8, 2));
        break;
    case 32: // duplicate: two pages
        p.setPen(pen(QColor(70, 70, 70), 1.0));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(1.5, 1.5, 9, 10));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 4.5, 9, 10));
        break;
    default:
        break;
    }
}

bool hasPicture(int index)
{
    switch (index) {
    case 0: case 1: case 2: case 4: case 6: case 15: case 16: case 17: case 19: case 20: case 21:
    case 24: case 25: case 26: case 27: case 28: case 29: case 30: case 31: case 32:
        return true;
    default:
        return false;
    }
}

} // namespace

QIcon BtnListIcon(int index)
{
    static QHash<int, QIcon> cache;
    if (!hasPicture(index))
        return QIcon();
    auto it = cache.find(index);
    if (it != cache.end())
        return *it;
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(kSize * scale, kSize * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        drawPicture(p, index);
        p.end();
        icon.addPixmap(pm);
    }
    cache.insert(index, icon);
    return icon;
}

void SetImageIndex(QAbstractButton *button, int index)
{
    button->setIcon(BtnListIcon(index));
    button->setProperty("ImageIndex", index);
}

void SetImageIndex(QAction *action, int index)
{
    action->setIcon(BtnListIcon(index));
    action->setProperty("ImageIndex", index);
}

int ImageIndex(const QObject *object)
{
    const QVariant v = object ? object->property("ImageIndex") : QVariant();
    return v.isValid() ? v.toInt() : -1;
}
