// A set of memos rendered offscreen against a reference picture looked at by eye once
// (tests/data/text/memos.png; LIRRA_UPDATE_REFERENCES=1 writes it anew).
#include "report/text/kvldrawtext.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/tfont.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

struct Memo {
    QRect box;
    QString text;
    TkvlHAlign align = haLeft;
    int rotation = 0;
    bool wordBreak = false;
    bool rtl = false;
    QString font = QStringLiteral("Arial");
};

QImage render()
{
    const QString para = QStringLiteral(
        "Il calendario degli eventi mostra le riunioni della settimana con i loro orari.");
    const Memo memos[] = {
        {QRect(10, 10, 180, 80), para, haLeft},
        {QRect(200, 10, 180, 80), para, haCenter},
        {QRect(390, 10, 180, 80), para, haRight},
        {QRect(10, 100, 270, 110), para + QStringLiteral("\nSecondo paragrafo giustificato, "
                                                         "ultima riga a sinistra."), haBlock},
        {QRect(290, 100, 280, 110),
         QStringLiteral("<b>Grassetto</b>, <i>corsivo</i>, <u>sottolineato</u>, <strike>barrato"
                        "</strike>, H<sub>2</sub>O, x<sup>2</sup>, <font color=red>rosso</font> e "
                        "<font color=\"#0000FF\">blu</font>."), haLeft},
        {QRect(10, 220, 130, 130), QStringLiteral("Ruotato 0"), haLeft, 0},
        {QRect(150, 220, 130, 130), QStringLiteral("Ruotato 45 gradi"), haLeft, 45},
        {QRect(290, 220, 130, 130), QStringLiteral("Ruotato 90"), haLeft, 90},
        {QRect(430, 220, 130, 130), QStringLiteral("Ruotato 270"), haLeft, 270},
        {QRect(10, 360, 160, 110),
         QStringLiteral("Программирование информационных систем требует внимательности."),
         haLeft, 0, true},
        {QRect(190, 360, 180, 30), QStringLiteral("שלום עולם abc 123"), haLeft, 0, false, true},
        {QRect(190, 400, 180, 30), QStringLiteral("مرحبا بالعالم"), haLeft, 0, false, true,
         QStringLiteral("DejaVu Sans")},
    };
    QImage img(580, 480, QImage::Format_RGB32);
    img.fill(Qt::white);
    gfx::PainterCanvas canvas(&img, 96, 96);
    TkvlDrawText text;
    TkvlGraphLock lock;
    for (const Memo &m : memos) {
        canvas.pen().color = 0xC0C0C0;
        canvas.brush().style = bsClear;
        canvas.rectangle(m.box.left() - 1, m.box.top() - 1, m.box.right() + 2, m.box.bottom() + 2);
        TFont f;
        f.SetName(m.font);
        f.SetSize(10);
        f.SetColor(0);
        text.SetFont(f);
        text.SetOptions(true, true, m.rtl, m.wordBreak, true, true, m.rotation);
        text.SetGaps(m.align == haBlock ? 12 : 0, 0, 0);
        text.SetDimensions(1, 1, 1, m.box, m.box);
        text.SetText(m.text.split(QLatin1Char('\n')), false);
        text.DrawText(&canvas, m.align, vaTop);
    }
    canvas.flush();
    return img;
}

TEST(TextRender, MemoSetMatchesTheReferencePicture)
{
    const QImage img = render();
    const QString file = testsupport::dataFile(QStringLiteral("text/memos.png"));
    if (qEnvironmentVariable("LIRRA_UPDATE_REFERENCES") == QLatin1String("1")) {
        QDir().mkpath(QFileInfo(file).path());
        ASSERT_TRUE(img.save(file));
    }
    QImage ref(file);
    ASSERT_FALSE(ref.isNull()) << file.toStdString();
    ref = ref.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ref.size(), img.size());
    // Antialiasing may differ a little between rasterizer versions; glyphs out of place do not.
    int off = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(ref.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                    std::abs(qBlue(a[x]) - qBlue(b[x]))});
            off += d > 64;
        }
    }
    EXPECT_LE(off, img.width() * img.height() / 1000) << "pixels that differ";
}

} // namespace
